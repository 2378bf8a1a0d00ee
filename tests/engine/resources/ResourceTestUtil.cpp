#include "ResourceTestUtil.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "core/LogManager.h"

namespace vqtest {

std::vector<std::string> logLines(const std::string& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

bool logHas(const std::string& line) {
    for (const std::string& logged : logLines())
        if (logged == line)
            return true;
    return false;
}

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

} // namespace

std::vector<std::string> messageLines(const std::string& file) {
    std::vector<std::string> lines;
    for (const std::string& line : logLines(file))
        if (!endsWith(line, " started") && !endsWith(line, " shut down"))
            lines.push_back(line);
    return lines;
}

namespace {

void put16(std::ofstream& out, uint16_t value) {
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, uint32_t value) {
    for (int i = 0; i < 4; i++)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

void writeToneWav(const std::string& path, int sample_count, int sample_rate, double frequency, double amplitude) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t data_bytes = static_cast<uint32_t>(sample_count) * 2;
    out.write("RIFF", 4);
    put32(out, 36 + data_bytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, static_cast<uint32_t>(sample_rate));
    put32(out, static_cast<uint32_t>(sample_rate) * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, data_bytes);
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < sample_count; i++) {
        const double value = amplitude * std::sin(2.0 * pi * frequency * i / sample_rate);
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767.0))));
    }
}

std::string spriteText(const std::string& frames, const std::string& width, const std::string& height,
                       const std::string& slowdown, const std::string& color, const std::vector<std::string>& rows,
                       bool final_newline) {
    std::ostringstream text;
    text << frames << '\n' << width << '\n' << height << '\n' << slowdown << '\n' << color;
    for (const std::string& row : rows)
        text << '\n' << row;
    if (final_newline)
        text << '\n';
    return text.str();
}

} // namespace vqtest

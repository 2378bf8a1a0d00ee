#ifndef VQ_TESTS_RESOURCES_RESOURCETESTUTIL_H
#define VQ_TESTS_RESOURCES_RESOURCETESTUTIL_H

#include <string>
#include <vector>

namespace vqtest {

// The lines of velloq.log in the working directory, without line feeds.
std::vector<std::string> logLines(const std::string& file = "velloq.log");
bool logHas(const std::string& line);
// Lines of the log that come after the log manager's own start line and are
// not start/stop milestones: what the code under test wrote.
std::vector<std::string> messageLines(const std::string& file = "velloq.log");

// A mono 16-bit PCM WAV holding a sine tone of sample_count samples.
void writeToneWav(const std::string& path, int sample_count, int sample_rate = 22050, double frequency = 440.0,
                  double amplitude = 0.5);

// A sprite file with the given header values and rows, lines joined by
// '\n'; final_newline adds one after the last row.
std::string spriteText(const std::string& frames, const std::string& width, const std::string& height,
                       const std::string& slowdown, const std::string& color, const std::vector<std::string>& rows,
                       bool final_newline = false);

} // namespace vqtest

#endif

// soundgen: renders the game's sound effects and music from text descriptions.
//
//   soundgen effects <effects.txt> <out-dir> [name...]   one <name>.wav per sound (all, or those named)
//   soundgen music <music.txt> <out.wav> [stem-dir]      the looping music as a stereo WAV;
//                                                        stem-dir receives each instrument alone
#include "Arranger.h"
#include "Effects.h"
#include "Script.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

using namespace soundgen;

void report(const std::string& path, const Audio& audio) {
    std::printf("%-34s %6.3f s  peak %6.2f dBFS\n", path.c_str(), audio.seconds(), gainToDb(peakOf(audio)));
}

int runEffects(const std::string& script, const std::string& outDir, const std::vector<std::string>& only) {
    const std::vector<Sound> sounds = parseEffects(readTextFile(script));
    for (const std::string& name : only) {
        const bool known = std::any_of(sounds.begin(), sounds.end(), [&](const Sound& s) { return s.name == name; });
        if (!known) {
            std::fprintf(stderr, "soundgen: no sound named '%s' in %s\n", name.c_str(), script.c_str());
            return 1;
        }
    }
    for (const Sound& sound : sounds) {
        if (!only.empty() && std::find(only.begin(), only.end(), sound.name) == only.end()) continue;
        const Audio audio = renderEffect(sound);
        const std::string path = outDir + "/" + sound.name + ".wav";
        writeWav(path, audio);
        report(path, audio);
    }
    return 0;
}

int runMusic(const std::string& script, const std::string& outPath, const std::string& stemDir) {
    const Piece music = parseMusic(readTextFile(script));
    std::vector<std::pair<std::string, Audio>> stems;
    const Audio audio = renderMusic(music, stemDir.empty() ? nullptr : &stems);
    writeWav(outPath, audio);
    report(outPath, audio);
    // One gain for all stems keeps their balance readable.
    double loudest = 0.0;
    for (const auto& stem : stems) loudest = std::max(loudest, peakOf(stem.second));
    for (auto& [name, stem] : stems) {
        if (loudest > 0.0)
            for (float& s : stem.samples) s = static_cast<float>(s * dbToGain(-3.0) / loudest);
        writeWav(stemDir + "/" + name + ".wav", stem);
    }
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: soundgen effects <effects.txt> <out-dir> [name...]\n"
                         "       soundgen music <music.txt> <out.wav> [stem-dir]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() >= 3 && args[0] == "effects")
            return runEffects(args[1], args[2], std::vector<std::string>(args.begin() + 3, args.end()));
        if ((args.size() == 3 || args.size() == 4) && args[0] == "music")
            return runMusic(args[1], args[2], args.size() == 4 ? args[3] : "");
        return usage();
    } catch (const ParseError& e) {
        std::fprintf(stderr, "soundgen: %s: %s\n", args[1].c_str(), e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "soundgen: %s\n", e.what());
    }
    return 1;
}

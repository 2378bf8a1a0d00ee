// spritecheck: loads the game's pictures, sounds and music as the game does
// and shows every sprite in colour, so art can be checked without playing.

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include <unistd.h>

#include "SpriteCheck.h"

namespace {

void usage(std::ostream& out) {
    out << "usage: spritecheck [options] [label-or-file ...]\n"
           "\n"
           "Run from the game's directory. Without arguments every file of the\n"
           "resource table is loaded; with arguments only those sprites, sounds\n"
           "or music (by label or file name). A sprite file that is not in the\n"
           "table is loaded under its file name, so new pictures can be tried.\n"
           "\n"
           "  -q, --quiet     findings only, no pictures\n"
           "  -v, --verbose   also show the reader's progress lines\n"
           "  --color         colours even when not writing to a terminal\n"
           "  --no-color      no colours\n"
           "  -h, --help      this text\n"
           "\n"
           "Exit status: 0 when everything is fine, 1 when problems were found,\n"
           "2 when the check could not run.\n";
}

} // namespace

int main(int argc, char** argv) {
    spritecheck::Options options;
    options.color = isatty(STDOUT_FILENO) != 0;
    if (const char* columns = std::getenv("COLUMNS")) {
        const int value = std::atoi(columns);
        if (value >= 20)
            options.columns = value;
    }
    for (int i = 1; i < argc; i++) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            usage(std::cout);
            return 0;
        } else if (arg == "-q" || arg == "--quiet") {
            options.pictures = false;
        } else if (arg == "-v" || arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--color") {
            options.color = true;
        } else if (arg == "--no-color") {
            options.color = false;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::cerr << "spritecheck: unknown option " << arg << "\n";
            usage(std::cerr);
            return 2;
        } else {
            options.wanted.push_back(arg);
        }
    }
    const int problems = spritecheck::run(options, std::cout, std::cerr);
    if (problems < 0)
        return 2;
    return problems == 0 ? 0 : 1;
}

#include "main/CommandLine.h"

#include <cstring>

namespace {

const char HELP_TEXT[] = "Usage: cornfield [--help | --version]\n"
                         "\n"
                         "A farming game played with the mouse: plant corn, water and fertilize it,\n"
                         "harvest it, chase off the crows and flies, and meet each day's money quota.\n"
                         "SPACE starts a game and leaves the shop, Q quits; the mouse does the rest.\n"
                         "\n"
                         "  --help     show this help and exit\n"
                         "  --version  show the version and exit\n"
                         "\n"
                         "The game's data is read from $CORNFIELD_DATA_DIR when set, else from the\n"
                         "folder it was installed with, else from the working directory. An installed\n"
                         "game logs to $XDG_STATE_HOME/cornfield/velloq.log (by default\n"
                         "~/.local/state/cornfield/velloq.log).\n";

} // namespace

CommandLine::CommandLine(int argc, const char* const* argv) : m_request(PLAY) {
    if (argc <= 1)
        return;
    const char* const first = argv[1];
    if (argc == 2 && std::strcmp(first, "--help") == 0) {
        m_request = HELP;
    } else if (argc == 2 && std::strcmp(first, "--version") == 0) {
        m_request = VERSION;
    } else {
        m_request = REFUSED;
        // The first argument that is not understood alone, or the one after it.
        const bool known = std::strcmp(first, "--help") == 0 || std::strcmp(first, "--version") == 0;
        m_refused = known ? argv[2] : first;
    }
}

bool CommandLine::play() const { return m_request == PLAY; }

int CommandLine::answer(FILE* out, FILE* err) const {
    switch (m_request) {
    case HELP:
        fputs(HELP_TEXT, out);
        return fflush(out) == 0 ? 0 : 1;
    case VERSION:
        fprintf(out, "cornfield %s\n", CORNFIELD_VERSION);
        return fflush(out) == 0 ? 0 : 1;
    case REFUSED:
        fprintf(err, "cornfield: unknown argument '%s' (try cornfield --help)\n", m_refused.c_str());
        return 2;
    case PLAY:
        break;
    }
    return 0;
}

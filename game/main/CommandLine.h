#ifndef CORNFIELD_MAIN_COMMANDLINE_H
#define CORNFIELD_MAIN_COMMANDLINE_H

#include <cstdio>
#include <string>

// What the player asked for on the command line: to play (no arguments),
// --help or --version. Anything else is refused.
class CommandLine {
public:
    CommandLine(int argc, const char* const* argv);

    // False when answer() is all there is to do.
    bool play() const;
    // Prints the help or the version on out, or the one-line complaint on
    // err; the process's exit status: 0, 1 when the answer could not be
    // written, or 2 for a refused command line.
    int answer(FILE* out, FILE* err) const;

private:
    enum Request { PLAY, HELP, VERSION, REFUSED };
    Request m_request;
    std::string m_refused; // the argument that was not understood
};

#endif

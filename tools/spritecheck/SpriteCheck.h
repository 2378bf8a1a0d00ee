#ifndef SPRITECHECK_SPRITECHECK_H
#define SPRITECHECK_SPRITECHECK_H

#include <ostream>
#include <string>
#include <vector>

namespace vq {
class Sprite;
}

namespace spritecheck {

struct Options {
    bool color = false;   // ANSI colours in the pictures
    bool verbose = false; // also echo the reader's progress lines
    bool pictures = true; // print the frames, not only the findings
    int columns = 80;     // terminal width for laying frames side by side
    // Labels or file names to check; empty checks the whole resource table.
    std::vector<std::string> wanted;
};

// How large the game lets a picture be; 0 means no limit of that kind.
struct ArtLimit {
    int max_width = 0;
    int max_height = 0;
    int min_frames = 1;
    // Every look of a plot shares the plot's box; crops fit inside it.
    bool same_as_plot = false;
    bool inside_plot = false;
};

// The limit for a label of the resource table; false for unknown labels.
bool artLimitFor(const std::string& label, ArtLimit& limit);

// Problems of a loaded sprite against the game's rules, as readable lines.
// plot_width and plot_height are the plot's size, or 0 when it is unknown.
std::vector<std::string> artProblems(const vq::Sprite& sprite, int plot_width, int plot_height);

// The frames side by side, each in a thin border, in the sprite's colour.
void printFrames(const vq::Sprite& sprite, const Options& options, std::ostream& out);

// Loads what the options ask for exactly as the game does, prints what the
// engine logged, the findings and the pictures. Returns the number of
// problems found, or -1 when the check could not run at all.
int run(const Options& options, std::ostream& out, std::ostream& err);

} // namespace spritecheck

#endif

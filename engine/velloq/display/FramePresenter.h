#ifndef VQ_DISPLAY_FRAMEPRESENTER_H
#define VQ_DISPLAY_FRAMEPRESENTER_H

// Private to the display sources.

#include <SFML/Graphics/RenderWindow.hpp>

#include <velloq/display/CharacterBatch.h>
#include <velloq/display/FrameDiff.h>
#include <velloq/display/KeptFrame.h>
#include <velloq/display/Quad.h>
#include <velloq/display/QuadPainter.h>

namespace vq {
namespace priv {

// Puts each finished frame into the window's hidden buffer the cheapest
// way. A frame much like the one shown before it, over the same clear
// colour, is built on a kept picture of that one: the picture is copied to
// the window again as it is, or first brought up to date. Any other frame
// is drawn whole into the window.
class FramePresenter {
public:
    enum Outcome { DRAWN, UPDATED, REUSED };

    FramePresenter();
    // For a new window: nothing shown yet, nothing kept. The kept picture
    // is made when a frame first wants it, after the first frame is shown.
    void start();
    void stop();
    // Puts the batch's frame into the window and keeps it as the frame
    // shown; the batch is left with the storage of the one shown before,
    // to start its next frame in. With `reuse` false the frame is drawn
    // whole and nothing is kept.
    Outcome present(sf::RenderWindow& window, CharacterBatch& batch, bool reuse);

private:
    // Whether the frame is best built on the kept picture, which is made
    // the first time it is.
    bool buildOnKept(const QuadFrame& frame, sf::RenderWindow& window, bool reuse);
    // Where no picture can be kept or copied (said once in the log): every
    // frame is drawn whole from then on.
    void giveUpKeeping();

    enum KeptState { NOT_MADE, MADE, IMPOSSIBLE };
    KeptState m_kept_state;
    KeptFrame m_kept;
    // The kept picture holds the frame shown.
    bool m_kept_shown;
    QuadFrame m_shown;
    FrameDiff m_diff;
    QuadPainter m_painter;
};

} // namespace priv
} // namespace vq

#endif

#include <velloq/display/FramePresenter.h>

#include <velloq/core/LogManager.h>

namespace vq {
namespace priv {

namespace {

// Copying the kept picture to the window costs about as much as drawing
// quads over this many pixels (measured with the software renderer): a
// frame that changed little is brought up to date only when what changed
// costs less to draw than the whole frame, less this.
const double COPY_COST = 80000;

} // namespace

FramePresenter::FramePresenter()
    : m_kept_state(NOT_MADE), m_kept(), m_kept_shown(false), m_shown(), m_diff(), m_painter() {}

void FramePresenter::start() {
    stop();
    m_shown = QuadFrame();
}

void FramePresenter::stop() {
    m_kept.stop();
    m_kept_state = NOT_MADE;
    m_kept_shown = false;
}

bool FramePresenter::keptReady(sf::RenderWindow& window) {
    if (m_kept_state == NOT_MADE) {
        m_kept_state = m_kept.start(window) ? MADE : IMPOSSIBLE;
        if (m_kept_state == IMPOSSIBLE)
            LogManager::getInstance().writeLog(1, "Cannot keep the frame shown, every frame is drawn whole");
    }
    return m_kept_state == MADE;
}

bool FramePresenter::buildOnKept(const QuadFrame& frame, sf::RenderWindow& window, bool reuse) {
    return reuse && m_kept_state != IMPOSSIBLE && frame.clear_known && m_shown.clear_known &&
           m_shown.clear == frame.clear &&
           m_diff.plan(m_shown.quads, frame.quads, static_cast<int>(window.getSize().x),
                       static_cast<int>(window.getSize().y), COPY_COST) &&
           keptReady(window);
}

FramePresenter::Outcome FramePresenter::present(sf::RenderWindow& window, CharacterBatch& batch, bool reuse) {
    const QuadFrame& frame = batch.frame();
    Outcome outcome = DRAWN;
    if (buildOnKept(frame, window, reuse)) {
        if (!m_kept_shown) {
            // Like the frame before, whose picture was not kept: so will
            // the next ones be, most likely.
            m_kept.picture().clear(frame.clear);
            m_painter.addAll(frame.quads);
        } else if (m_diff.unchanged()) {
            outcome = REUSED;
        } else {
            for (const Quad& area : m_diff.erased())
                m_painter.addFill(area, frame.clear);
            for (std::size_t index : m_diff.redrawn())
                m_painter.add(frame.quads[index]);
            outcome = UPDATED;
        }
        m_painter.draw(m_kept.picture(), batch.texture());
        m_kept.show(window);
        m_kept_shown = true;
    } else {
        // Unknown ground is left as it is: the frame is drawn over it.
        if (frame.clear_known)
            window.clear(frame.clear);
        m_painter.drawAll(window, frame.quads, batch.texture());
        m_kept_shown = false;
    }
    batch.swapFrame(m_shown);
    return outcome;
}

} // namespace priv
} // namespace vq

#include <velloq/display/FramePresenter.h>

#include <velloq/core/LogManager.h>

namespace vq {
namespace priv {

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

void FramePresenter::giveUpKeeping() {
    m_kept.stop();
    m_kept_state = IMPOSSIBLE;
    LogManager::getInstance().writeLog(1, "Cannot keep the frame shown, every frame is drawn whole");
}

bool FramePresenter::buildOnKept(const QuadFrame& frame, sf::RenderWindow& window, bool reuse) {
    if (!reuse || m_kept_state == IMPOSSIBLE || !frame.clear_known || !m_shown.clear_known ||
        m_shown.clear != frame.clear ||
        !m_diff.plan(m_shown.quads, frame.quads, static_cast<int>(window.getSize().x),
                     static_cast<int>(window.getSize().y)))
        return false;
    if (m_kept_state == NOT_MADE) {
        if (!m_kept.start(window)) {
            giveUpKeeping();
            return false;
        }
        m_kept_state = MADE;
    }
    return true;
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
        m_kept_shown = m_kept.show(window);
        if (!m_kept_shown) {
            giveUpKeeping();
            outcome = DRAWN;
        }
    } else {
        m_kept_shown = false;
    }
    if (!m_kept_shown) {
        // Unknown ground is left as it is: the frame is drawn over it.
        if (frame.clear_known)
            window.clear(frame.clear);
        m_painter.drawAll(window, frame.quads, batch.texture());
    }
    batch.swapFrame(m_shown);
    return outcome;
}

} // namespace priv
} // namespace vq

#include "hud/DisplayText.h"

#include <velloq/display/DisplayManager.h>

namespace {
const char BORDER_LINE[] = "--------";
}

DisplayText::DisplayText() : m_text(), m_border(false) {
    setType("DisplayText");
    setSolidness(vq::GHOST);
    setAltitude(3);
}

DisplayText::DisplayText(std::string text, vq::Vector position, bool border) : DisplayText() {
    m_text = std::move(text);
    m_border = border;
    setPosition(position);
}

void DisplayText::setText(std::string new_text) { m_text = std::move(new_text); }
std::string DisplayText::getText() const { return m_text; }
void DisplayText::setBorder(bool new_border) { m_border = new_border; }

int DisplayText::draw() {
    const vq::DisplayManager& display = vq::DisplayManager::getInstance();
    const vq::Vector position = getPosition();
    if (m_border) {
        display.drawString(position - vq::Vector(0, 1), BORDER_LINE, vq::JUSTIFY_CENTER, vq::WHITE);
        display.drawString(position + vq::Vector(0, 1), BORDER_LINE, vq::JUSTIFY_CENTER, vq::WHITE);
    }
    return display.drawString(position, m_text, vq::JUSTIFY_CENTER, vq::WHITE);
}

#include "hud/DisplayBox.h"

#include <velloq/display/DisplayManager.h>

DisplayBox::DisplayBox() : m_width(0), m_height(0) {
    setType("DisplayBox");
    setSolidness(vq::GHOST);
    setAltitude(3);
}

DisplayBox::DisplayBox(vq::Vector position, int width, int height) : DisplayBox() {
    m_width = width;
    m_height = height;
    setPosition(position);
}

void DisplayBox::setWidth(int new_width) { m_width = new_width; }
int DisplayBox::getWidth() const { return m_width; }
void DisplayBox::setHeight(int new_height) { m_height = new_height; }
int DisplayBox::getHeight() const { return m_height; }

int DisplayBox::draw() {
    const vq::Vector position = getPosition();
    // Halved in double so an odd size sits half a cell off the grid.
    const vq::Vector corner(static_cast<float>(position.getX() - m_width / 2.0),
                            static_cast<float>(position.getY() - m_height / 2.0));
    const vq::DisplayManager& display = vq::DisplayManager::getInstance();
    for (int i = 0; i < m_width; i++) {
        const bool edge_column = i == 0 || i == m_width - 1;
        for (int j = 0; j < m_height; j++) {
            const bool edge_row = j == 0 || j == m_height - 1;
            char ch = ' ';
            if (edge_row && edge_column)
                ch = '+';
            else if (edge_row)
                ch = '-';
            else if (edge_column)
                ch = '|';
            display.drawCh(corner + vq::Vector(static_cast<float>(i), static_cast<float>(j)), ch, vq::WHITE);
        }
    }
    return 0;
}

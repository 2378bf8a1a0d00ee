#ifndef VQ_RESOURCES_FRAME_H
#define VQ_RESOURCES_FRAME_H

#include <string>

#include <velloq/core/Vector.h>
#include <velloq/display/Color.h>
#include <velloq/resources/Transform.h>

namespace vq {

// One rectangular picture of characters, stored row after row.
class Frame {
public:
    Frame();
    Frame(int new_width, int new_height, std::string frame_str);
    Frame(int new_width, int new_height, std::string frame_str, char new_transparency);

    void setWidth(int new_width);
    int getWidth() const;
    void setHeight(int new_height);
    int getHeight() const;
    void setString(std::string new_frame_str);
    std::string getString() const;
    // A character that is not drawn; 0 draws every character.
    void setTransparency(char new_transparency);
    char getTransparency() const;

    // Draws the frame centred on position; 0, or -1 (logged) when it cannot.
    int draw(Vector position, Color color) const;
    int draw(Vector position, Color color, Transform transform) const;

private:
    int m_width;
    int m_height;
    std::string m_frame_str;
    char m_transparency;
};

} // namespace vq

#endif

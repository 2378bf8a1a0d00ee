#ifndef VQ_RESOURCES_SPRITE_H
#define VQ_RESOURCES_SPRITE_H

#include <string>

#include <velloq/core/Vector.h>
#include <velloq/display/Color.h>
#include <velloq/resources/Frame.h>
#include <velloq/resources/Transform.h>

namespace vq {

// A labelled sequence of equally sized frames with one colour and speed.
// Owned by the resource store; objects only point at it.
class Sprite {
public:
    explicit Sprite(int max_frames);
    ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    void setWidth(int new_width);
    int getWidth() const;
    void setHeight(int new_height);
    int getHeight() const;
    void setColor(Color new_color);
    Color getColor() const;
    // Number of draws each frame stays on screen.
    void setSlowdown(int new_sprite_slowdown);
    int getSlowdown() const;
    void setLabel(std::string new_label);
    std::string getLabel() const;
    int getFrameCount() const;

    // -1 (logged) when the frame array is full.
    int addFrame(Frame new_frame);
    // A copy of frame n, or an empty frame when out of range.
    Frame getFrame(int frame_number) const;
    // Sets the transparency of every frame added so far.
    void setTransparency(char transparency);

    int draw(int frame_number, Vector position) const;
    int draw(int frame_number, Vector position, Transform transform) const;

private:
    int m_width;
    int m_height;
    int m_max_frame_count;
    int m_frame_count;
    Color m_color;
    int m_slowdown;
    Frame* m_frame;
    std::string m_label;
};

} // namespace vq

#endif

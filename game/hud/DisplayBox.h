#ifndef CORNFIELD_HUD_DISPLAYBOX_H
#define CORNFIELD_HUD_DISPLAYBOX_H

#include <velloq/core/Vector.h>
#include <velloq/world/Object.h>

// A rectangle outlined with '+', '-' and '|', centred on its position. Its
// inside is painted with spaces, hiding what lies below it.
class DisplayBox : public vq::Object {
public:
    DisplayBox();
    DisplayBox(vq::Vector position, int width, int height);

    void setWidth(int new_width);
    int getWidth() const;
    void setHeight(int new_height);
    int getHeight() const;

    int draw() override;

private:
    int m_width;
    int m_height;
};

#endif

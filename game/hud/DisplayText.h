#ifndef CORNFIELD_HUD_DISPLAYTEXT_H
#define CORNFIELD_HUD_DISPLAYTEXT_H

#include <string>

#include <velloq/core/Vector.h>
#include <velloq/world/Object.h>

// One line of white text centred on its position, optionally framed by a line
// of eight dashes above and below.
class DisplayText : public vq::Object {
public:
    DisplayText();
    DisplayText(std::string text, vq::Vector position, bool border);

    void setText(std::string new_text);
    std::string getText() const;
    void setBorder(bool new_border);

    // The result of drawing the text line (0 on success).
    int draw() override;

private:
    std::string m_text;
    bool m_border;
};

#endif

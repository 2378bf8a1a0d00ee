#ifndef CORNFIELD_HUD_QUOTAMETTEXT_H
#define CORNFIELD_HUD_QUOTAMETTEXT_H

#include <velloq/world/Object.h>

// The "quota met" picture in the middle of the screen; it removes itself
// after 60 steps, over the opening shop.
class QuotaMetText : public vq::Object {
public:
    QuotaMetText();

    int eventHandler(const vq::Event* p_e) override;

private:
    int m_countdown;
};

#endif

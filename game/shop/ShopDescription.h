#ifndef CORNFIELD_SHOP_SHOPDESCRIPTION_H
#define CORNFIELD_SHOP_SHOPDESCRIPTION_H

#include "hud/DisplayText.h"

// The shop's description line: shows what the hovered offer does.
class ShopDescription : public DisplayText {
public:
    ShopDescription();

    int eventHandler(const vq::Event* p_e) override;
};

#endif

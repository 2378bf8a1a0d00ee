#ifndef CORNFIELD_SHOP_SHOPDISPLAY_H
#define CORNFIELD_SHOP_SHOPDISPLAY_H

#include "common/Upgrade.h"
#include "hud/DisplayBox.h"

// One offer in the shop: a box with the upgrade's picture, its name above and
// its price below. A click buys it, once per shop visit.
class ShopDisplay : public DisplayBox {
public:
    // Clicks are ignored for this many steps after the shop opens.
    static constexpr int CLICK_DELAY = 60;

    explicit ShopDisplay(Upgrade upgrade);

    int eventHandler(const vq::Event* p_e) override;
    int draw() override;

    // Buys the upgrade unless this display already did; plays the outcome.
    void tryPurchase();
    // Records the hover state and tells the description line what to show.
    void updateHover(bool inside);

    Upgrade getUpgrade() const;
    bool getPurchased() const;
    bool getHovered() const;
    int getPrice() const;
    int getClickDelay() const;

private:
    Upgrade m_upgrade;
    bool m_purchased;
    bool m_hovered;
    int m_price;
    int m_click_delay;
};

#endif

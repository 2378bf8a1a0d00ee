#ifndef CORNFIELD_COMMON_UPGRADEMANAGER_H
#define CORNFIELD_COMMON_UPGRADEMANAGER_H

#include <map>
#include <string>
#include <vector>

#include "common/Upgrade.h"
#include "core/Manager.h"

// The upgrades on offer, what was bought and how often, prices and purchases.
// Never started or stopped: it works from first use.
class UpgradeManager : public vq::Manager {
public:
    static UpgradeManager& getInstance();

    // Offers every upgrade without a prerequisite, in tree order.
    void initializeUpgradeShop();
    // Back to a new game: no purchases, only the root upgrades on offer.
    void reset();
    void addUpgradeToShop(Upgrade upgrade);

    // The first offer with that name, or the empty record.
    Upgrade getShopUpgrade(std::string name) const;
    bool upgradeInShop(std::string name) const;
    // Repeatable upgrades cost base x (purchases + 1).
    int getUpgradePrice(Upgrade upgrade) const;
    int getPurchaseCount(std::string name) const;
    bool hasUpgrade(std::string name) const;
    // Buys an offered, affordable upgrade; true on success.
    bool attemptPurchaseUpgrade(std::string name);

    // Bought upgrades, one each, in order of first purchase.
    std::vector<Upgrade> getUpgrades() const;
    // The current offers, in the order they were put on offer.
    std::vector<Upgrade> getShop() const;
    // Up to count different offers in random order (not from rand()).
    std::vector<Upgrade> getShopSelection(int count) const;
    // Offers upgrades whose prerequisite has been bought.
    void updateUpgradeShop();

private:
    UpgradeManager();

    std::vector<Upgrade> m_shop;
    std::map<std::string, UpgradePurchase> m_purchases;
    std::vector<std::string> m_purchase_order;
};

#endif

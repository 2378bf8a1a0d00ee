#ifndef CORNFIELD_COMMON_UPGRADEMANAGER_H
#define CORNFIELD_COMMON_UPGRADEMANAGER_H

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <velloq/core/Manager.h>

#include "common/Upgrade.h"

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
    // For tests: from now on the offers come from one generator seeded with
    // `seed`, so they repeat from run to run. The game never calls this and
    // seeds every shop visit from the system's random device.
    void setShopSeed(std::uint32_t seed);
    // Offers upgrades whose prerequisite has been bought.
    void updateUpgradeShop();

private:
    UpgradeManager();

    std::vector<Upgrade> m_shop;
    std::map<std::string, UpgradePurchase> m_purchases;
    std::vector<std::string> m_purchase_order;
    bool m_shop_seeded = false;
    mutable std::mt19937 m_shop_generator;
};

#endif

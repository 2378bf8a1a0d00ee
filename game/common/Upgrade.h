#ifndef CORNFIELD_COMMON_UPGRADE_H
#define CORNFIELD_COMMON_UPGRADE_H

#include <string>
#include <vector>

// One entry of the upgrade catalogue; a plain value copied freely. An empty
// name means no upgrade.
struct Upgrade {
    std::string name;
    std::string description;
    int price = 0;
    // Label of the shop picture ("upg-...").
    std::string sprite;
    // May be bought again and again, each time dearer.
    bool repeatable = false;
    // Must be bought before this one is offered; empty for none.
    std::string prerequisite;
};

// An upgrade as first bought, and how often it has been bought.
struct UpgradePurchase : Upgrade {
    UpgradePurchase() = default;
    explicit UpgradePurchase(const Upgrade& upgrade) : Upgrade(upgrade) {}
    int count = 0;
};

// Every upgrade in catalogue order, filled once by initUpgradeTree().
extern std::vector<Upgrade> upgrade_tree;

// Appends the fifteen upgrades to upgrade_tree.
void initUpgradeTree();
// The record with an empty name.
Upgrade emptyUpgrade();

#endif

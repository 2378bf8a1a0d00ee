#include "common/Upgrade.h"

std::vector<Upgrade> upgrade_tree;

namespace {
Upgrade makeUpgrade(std::string name, std::string sprite, std::string description, int price, bool repeatable,
                    std::string prerequisite) {
    Upgrade upgrade;
    upgrade.name = std::move(name);
    upgrade.description = std::move(description);
    upgrade.price = price;
    upgrade.sprite = std::move(sprite);
    upgrade.repeatable = repeatable;
    upgrade.prerequisite = std::move(prerequisite);
    return upgrade;
}
} // namespace

void initUpgradeTree() {
    upgrade_tree.push_back(
        makeUpgrade("Blue Corn", "upg-blue_corn", "Each corn sells for $5 more ($15).", 100, false, ""));
    upgrade_tree.push_back(
        makeUpgrade("Purple Corn", "upg-purple_corn", "Each corn sells for $5 more ($20).", 300, false, "Blue Corn"));
    upgrade_tree.push_back(
        makeUpgrade("White Corn", "upg-white_corn", "Each corn sells for $5 more ($25).", 600, false, "Purple Corn"));
    upgrade_tree.push_back(
        makeUpgrade("Red Corn", "upg-red_corn", "Each corn sells for $5 more ($30).", 1000, false, "White Corn"));
    upgrade_tree.push_back(makeUpgrade("Fresher Water", "upg-fresher_water",
                                       "Watering corn grows it by a greater amount.", 150, true, ""));
    upgrade_tree.push_back(
        makeUpgrade("When It Rains", "upg-when_it_rains", "Watering cans spawn more frequently.", 175, true, ""));
    upgrade_tree.push_back(makeUpgrade("Scarecrow", "upg-scarecrow", "Crows spawn less often.", 200, true, ""));
    upgrade_tree.push_back(makeUpgrade("Field Work", "upg-field_work", "Adds three additional plots.", 125, true, ""));
    upgrade_tree.push_back(makeUpgrade("Fertilizer", "upg-fertilizer",
                                       "Adds fertilizer, which boosts field growth until harvest.", 300, false, ""));
    upgrade_tree.push_back(
        makeUpgrade("Stuffed Bags", "upg-stuffed_bags", "Fertilizer grows corn faster.", 200, true, "Fertilizer"));
    upgrade_tree.push_back(makeUpgrade("Fast Supplier", "upg-fast_supplier", "Fertilizer spawns more frequently.", 250,
                                       true, "Fertilizer"));
    upgrade_tree.push_back(
        makeUpgrade("Bug Spray", "upg-bug_spray", "Flies take less hits to destroy.", 275, false, ""));
    upgrade_tree.push_back(makeUpgrade("Bug Net", "upg-bug_net", "Flies spawn less often.", 325, true, ""));
    upgrade_tree.push_back(
        makeUpgrade("Instant Scythe", "upg-instant_scythe", "Corn automatically harvests itself.", 350, false, ""));
    upgrade_tree.push_back(makeUpgrade("Seed Drill", "upg-seed_drill", "Corn automatically plants itself.", 1050, false,
                                       "Instant Scythe"));
}

Upgrade emptyUpgrade() { return Upgrade(); }

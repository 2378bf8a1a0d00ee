#include "common/UpgradeManager.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <exception>
#include <numeric>
#include <random>

#include <velloq/core/LogManager.h>

#include "common/MoneyManager.h"

namespace {
// One value from the system's random device; the clock stands in when the
// device cannot be opened, so the shop still opens.
std::uint32_t randomSeed() {
    try {
        std::random_device device("/dev/urandom");
        return device();
    } catch (const std::exception&) {
        vq::LogManager::getInstance().writeLog(1, "Random device unavailable, seeding the shop from the clock");
        return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
}
} // namespace

UpgradeManager::UpgradeManager() {
    initUpgradeTree();
    initializeUpgradeShop();
}

UpgradeManager& UpgradeManager::getInstance() {
    static UpgradeManager instance;
    return instance;
}

void UpgradeManager::initializeUpgradeShop() {
    for (const Upgrade& upgrade : upgrade_tree)
        if (upgrade.prerequisite.empty())
            m_shop.push_back(upgrade);
}

void UpgradeManager::reset() {
    m_shop.clear();
    m_purchases.clear();
    m_purchase_order.clear();
    initializeUpgradeShop();
}

void UpgradeManager::addUpgradeToShop(Upgrade upgrade) { m_shop.push_back(std::move(upgrade)); }

Upgrade UpgradeManager::getShopUpgrade(std::string name) const {
    for (const Upgrade& upgrade : m_shop)
        if (upgrade.name == name)
            return upgrade;
    return emptyUpgrade();
}

bool UpgradeManager::upgradeInShop(std::string name) const { return !getShopUpgrade(std::move(name)).name.empty(); }

int UpgradeManager::getUpgradePrice(Upgrade upgrade) const {
    if (!upgrade.repeatable)
        return upgrade.price;
    return upgrade.price * (getPurchaseCount(upgrade.name) + 1);
}

int UpgradeManager::getPurchaseCount(std::string name) const {
    const auto found = m_purchases.find(name);
    return found == m_purchases.end() ? 0 : found->second.count;
}

bool UpgradeManager::hasUpgrade(std::string name) const { return m_purchases.count(name) != 0; }

bool UpgradeManager::attemptPurchaseUpgrade(std::string name) {
    auto offer = std::find_if(m_shop.begin(), m_shop.end(), [&name](const Upgrade& u) { return u.name == name; });
    if (offer == m_shop.end())
        return false;
    if (!MoneyManager::getInstance().attemptPerformTransaction(getUpgradePrice(*offer)))
        return false;

    // Copied before a one-off upgrade leaves the shop.
    const Upgrade bought = *offer;
    if (!bought.repeatable)
        m_shop.erase(offer);

    auto record = m_purchases.find(name);
    if (record != m_purchases.end()) {
        record->second.count++;
    } else {
        UpgradePurchase purchase(bought);
        purchase.count = 1;
        m_purchases.emplace(name, purchase);
        m_purchase_order.push_back(name);
    }
    return true;
}

std::vector<Upgrade> UpgradeManager::getUpgrades() const {
    std::vector<Upgrade> bought;
    for (const std::string& name : m_purchase_order) {
        const auto record = m_purchases.find(name);
        if (record != m_purchases.end())
            bought.push_back(record->second);
    }
    return bought;
}

std::vector<Upgrade> UpgradeManager::getShop() const { return m_shop; }

std::vector<Upgrade> UpgradeManager::getShopSelection(int count) const {
    std::vector<int> indices(m_shop.size());
    std::iota(indices.begin(), indices.end(), 0);

    // A fresh generator per visit keeps the offers out of the rand() sequence,
    // so a seeded farm day stays reproducible.
    if (m_shop_seeded) {
        std::shuffle(indices.begin(), indices.end(), m_shop_generator);
    } else {
        std::mt19937 generator(randomSeed());
        std::shuffle(indices.begin(), indices.end(), generator);
    }

    const int taken = std::max(0, std::min(count, static_cast<int>(indices.size())));
    std::vector<Upgrade> selection;
    for (int i = 0; i < taken; i++)
        selection.push_back(m_shop[indices[i]]);
    return selection;
}

void UpgradeManager::setShopSeed(std::uint32_t seed) {
    m_shop_seeded = true;
    m_shop_generator.seed(seed);
}

void UpgradeManager::updateUpgradeShop() {
    for (const Upgrade& upgrade : upgrade_tree)
        if (!hasUpgrade(upgrade.name) && !upgradeInShop(upgrade.name) && hasUpgrade(upgrade.prerequisite))
            m_shop.push_back(upgrade);
}

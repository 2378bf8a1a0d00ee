#include "common/MoneyManager.h"

MoneyManager::MoneyManager() : m_money(0), m_quota(0) { setType("MoneyManager"); }

MoneyManager& MoneyManager::getInstance() {
    static MoneyManager instance;
    return instance;
}

void MoneyManager::reset() {
    m_money = 0;
    m_quota = 0;
}

int MoneyManager::getMoney() const { return m_money; }
void MoneyManager::addMoney(int amount) { m_money += amount; }
void MoneyManager::subtractMoney(int amount) { m_money -= amount; }
bool MoneyManager::canAfford(int amount) const { return m_money >= amount; }

bool MoneyManager::attemptPerformTransaction(int amount) {
    if (!canAfford(amount))
        return false;
    subtractMoney(amount);
    return true;
}

int MoneyManager::getQuota() const { return m_quota; }
void MoneyManager::setQuota(int new_quota) { m_quota = new_quota; }
bool MoneyManager::quotaReached() const { return m_money >= m_quota; }

#ifndef CORNFIELD_COMMON_MONEYMANAGER_H
#define CORNFIELD_COMMON_MONEYMANAGER_H

#include <velloq/core/Manager.h>

// The player's money and the day's quota, in whole dollars. Never started or
// stopped: it works from first use.
class MoneyManager : public vq::Manager {
public:
    static MoneyManager& getInstance();

    // Back to a new game's state: no money, no quota.
    void reset();

    int getMoney() const;
    void addMoney(int amount);
    void subtractMoney(int amount);
    bool canAfford(int amount) const;
    // Takes the amount only when it can be paid; true when it was.
    bool attemptPerformTransaction(int amount);

    int getQuota() const;
    void setQuota(int new_quota);
    // The money held reaches the quota (equal counts).
    bool quotaReached() const;

private:
    MoneyManager();

    int m_money;
    int m_quota;
};

#endif

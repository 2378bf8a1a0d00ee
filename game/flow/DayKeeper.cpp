#include "flow/DayKeeper.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <velloq/core/Event.h>
#include <velloq/input/EventKeyboard.h>
#include <velloq/resources/ResourceManager.h>
#include <velloq/world/ObjectList.h>
#include <velloq/world/WorldManager.h>

#include "common/EventNewDay.h"
#include "common/EventStateChange.h"
#include "common/MoneyManager.h"
#include "common/PlaySound.h"
#include "common/UpgradeManager.h"
#include "field/Plot.h"
#include "field/PlotModifier.h"
#include "hud/DisplayText.h"
#include "hud/QuotaMetText.h"
#include "hud/TitleScreen.h"
#include "pests/Crow.h"
#include "pests/Fly.h"
#include "shop/ShopDescription.h"
#include "shop/ShopDisplay.h"

namespace {
// Where the shop's offers stand, by their place in the selection.
const int X_POS[DayKeeper::SHOP_OFFERS] = {35, 65, 50};
const int Y_POS[DayKeeper::SHOP_OFFERS] = {10, 10, 13};

// The shop plays the lounge music; the farm is quiet.
void playMusic() {
    if (vq::Music* p_music = vq::ResourceManager::getInstance().getMusic("lounge"))
        p_music->play(true);
}

void stopMusic() {
    if (vq::Music* p_music = vq::ResourceManager::getInstance().getMusic("lounge"))
        p_music->stop();
}

// Marks every object of the given types for deletion.
void deleteObjectsOfType(const std::vector<std::string>& types) {
    vq::WorldManager& world = vq::WorldManager::getInstance();
    const vq::ObjectList objects = world.getAllObjects();
    for (int i = 0; i < objects.getCount(); i++) {
        const std::string type = objects[i]->getType();
        for (const std::string& doomed : types) {
            if (type == doomed) {
                world.markForDelete(objects[i]);
                break;
            }
        }
    }
}
} // namespace

DayKeeper::DayKeeper() : m_day(0), m_ticks_left(0), m_day_active(false), m_started(false) {
    setType("DayKeeper");
    setSolidness(vq::GHOST);
}

void DayKeeper::reset() {
    m_day = 0;
    m_ticks_left = 0;
    m_day_active = false;
    m_started = false;
    MoneyManager::getInstance().reset();
    UpgradeManager::getInstance().reset();
}

int DayKeeper::getDay() const { return m_day; }
bool DayKeeper::isStarted() const { return m_started; }

void DayKeeper::startDay() {
    m_started = true;
    m_day_active = true;
    m_ticks_left = DAY_LENGTH;
}

int DayKeeper::getTicksLeft() const { return m_ticks_left; }
bool DayKeeper::isDayActive() const { return m_day_active; }

int DayKeeper::quotaForDay(int day) {
    const int k = day - 1;
    return static_cast<int>(5.0 * k * k + 50.0 + k * 25);
}

void DayKeeper::incrementDay() {
    m_day++;
    const EventNewDay new_day(m_day);
    vq::WorldManager::getInstance().onEvent(&new_day);
    MoneyManager::getInstance().setQuota(quotaForDay(m_day));
}

void DayKeeper::swapToShop() {
    EventStateChange to_shop;
    to_shop.setFarm(false);
    vq::WorldManager::getInstance().onEvent(&to_shop);
    playMusic();

    UpgradeManager& upgrades = UpgradeManager::getInstance();
    upgrades.updateUpgradeShop();

    (new DisplayText("SHOP", vq::Vector(50, 5), true))->setType("ShopObject");
    (new DisplayText("Press SPACE to close the shop.", vq::Vector(50, 20), true))->setType("ShopObject");
    auto* p_pumpkin = new vq::Object;
    p_pumpkin->setType("ShopObject");
    p_pumpkin->setSprite("pumpkin");
    p_pumpkin->setPosition(vq::Vector(15, 12));

    const std::vector<Upgrade> offers = upgrades.getShopSelection(SHOP_OFFERS);
    for (size_t i = 0; i < offers.size() && i < static_cast<size_t>(SHOP_OFFERS); i++) {
        auto* p_display = new ShopDisplay(offers[i]);
        p_display->setPosition(vq::Vector(static_cast<float>(X_POS[i]), static_cast<float>(Y_POS[i])));
    }
    auto* p_description = new ShopDescription;
    p_description->setPosition(vq::Vector(50, 18));

    incrementDay();
}

void DayKeeper::swapToFarm() {
    vq::WorldManager& world = vq::WorldManager::getInstance();
    const vq::ObjectList plots = world.objectsOfType("Plot");
    for (int i = 0; i < plots.getCount(); i++)
        if (auto* p_plot = dynamic_cast<Plot*>(plots[i]))
            p_plot->reset();
    stopMusic();

    // Three plots per switch at most: a second Field Work bought in one visit
    // pays off a day later.
    const int allowed =
        START_PLOTS + PLOTS_PER_FIELD_WORK * UpgradeManager::getInstance().getPurchaseCount("Field Work");
    if (plots.getCount() < allowed)
        for (int i = 0; i < PLOTS_PER_FIELD_WORK; i++)
            new Plot;

    EventStateChange to_farm;
    to_farm.setFarm(true);
    world.onEvent(&to_farm);

    deleteObjectsOfType({"ShopDisplay", "ShopDescription", "ShopObject"});
    startDay();
}

void DayKeeper::step() {
    if (!m_day_active)
        return;
    m_ticks_left--;
    if (m_ticks_left != 0)
        return;
    m_day_active = false;
    if (MoneyManager::getInstance().quotaReached()) {
        playSound("success");
        swapToShop();
        new QuotaMetText;
    } else {
        loseGame();
    }
}

void DayKeeper::loseGame() {
    playSound("game_over");
    m_started = false;
    m_day_active = false;
    // Made while the lost game's money is still held: it picks the game-over
    // picture from that.
    new TitleScreen;
    reset();
    deleteObjectsOfType({"Plot", "PlotModifier", "Crow", "Fly"});
}

void DayKeeper::startGame() {
    for (int i = 0; i < START_PLOTS; i++)
        new Plot;
    new PlotModifier(WATERING_CAN);
    new PlotModifier(FERTILIZER);
    new Crow;
    new Fly;
    incrementDay();
    startDay();
}

int DayKeeper::eventHandler(const vq::Event* p_e) {
    if (p_e->getType() == vq::STEP_EVENT) {
        step();
        return 1;
    }
    if (p_e->getType() != vq::KEYBOARD_EVENT)
        return 0;
    const auto* p_keyboard = dynamic_cast<const vq::EventKeyboard*>(p_e);
    if (p_keyboard == nullptr)
        return 0;
    if (p_keyboard->getKey() == vq::Keyboard::Q)
        exit(0);
    if (p_keyboard->getKeyboardAction() != vq::KEY_PRESSED || p_keyboard->getKey() != vq::Keyboard::SPACE)
        return 0;
    if (m_started && !m_day_active) {
        swapToFarm();
        return 1;
    }
    if (m_started)
        return 0;
    startGame();
    return 1;
}

int DayKeeper::draw() { return 0; }

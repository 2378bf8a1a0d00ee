#include "flow/ResourceTable.h"

#include <velloq/resources/ResourceManager.h>

const ResourceEntry SPRITE_RESOURCES[] = {
    {"sprites/plot/empty.txt", "plot_empty"},
    {"sprites/plot/watered.txt", "plot_watered"},
    {"sprites/plot/fertile.txt", "plot_fertile"},
    {"sprites/plot/watered_fertile.txt", "plot_watered_fertile"},
    {"sprites/modifiers/fertilizer.txt", "fertilizer"},
    {"sprites/modifiers/watering_can.txt", "watering_can"},
    {"sprites/corn/growing.txt", "corn_growing"},
    {"sprites/corn/seeds.txt", "corn_seeds"},
    {"sprites/corn/sprouts.txt", "corn_sprouts"},
    {"sprites/corn/yellow.txt", "corn_yellow"},
    {"sprites/corn/blue.txt", "corn_blue"},
    {"sprites/corn/red.txt", "corn_red"},
    {"sprites/corn/purple.txt", "corn_purple"},
    {"sprites/corn/white.txt", "corn_white"},
    {"sprites/pumpkin.txt", "pumpkin"},
    {"sprites/pests/crow.txt", "pest_crow"},
    {"sprites/pests/fly.txt", "pest_fly"},
    {"sprites/pests/crow_damage.txt", "pest_crow_damaged"},
    {"sprites/pests/fly_damage.txt", "pest_fly_damaged"},
    {"sprites/text/gameover.txt", "text_gameover"},
    {"sprites/text/passed.txt", "text_passed"},
    {"sprites/text/title.txt", "text_title"},
    {"sprites/upgrades/red_corn.txt", "upg-red_corn"},
    {"sprites/upgrades/blue_corn.txt", "upg-blue_corn"},
    {"sprites/upgrades/purple_corn.txt", "upg-purple_corn"},
    {"sprites/upgrades/white_corn.txt", "upg-white_corn"},
    {"sprites/upgrades/fresher_water.txt", "upg-fresher_water"},
    {"sprites/upgrades/when_it_rains.txt", "upg-when_it_rains"},
    {"sprites/upgrades/fertilizer.txt", "upg-fertilizer"},
    {"sprites/upgrades/stuffed_bags.txt", "upg-stuffed_bags"},
    {"sprites/upgrades/fast_supplier.txt", "upg-fast_supplier"},
    {"sprites/upgrades/field_work.txt", "upg-field_work"},
    {"sprites/upgrades/scarecrow.txt", "upg-scarecrow"},
    {"sprites/upgrades/bug_spray.txt", "upg-bug_spray"},
    {"sprites/upgrades/bug_net.txt", "upg-bug_net"},
    {"sprites/upgrades/instant_scythe.txt", "upg-instant_scythe"},
    {"sprites/upgrades/seed_drill.txt", "upg-seed_drill"},
};
const std::size_t SPRITE_RESOURCE_COUNT = sizeof(SPRITE_RESOURCES) / sizeof(SPRITE_RESOURCES[0]);
static_assert(sizeof(SPRITE_RESOURCES) / sizeof(SPRITE_RESOURCES[0]) == 37, "the game has 37 sprites");

const ResourceEntry SOUND_RESOURCES[] = {
    {"sounds/crop_done.wav", "crop_done"},
    {"sounds/crop_harvest.wav", "crop_harvest"},
    {"sounds/crop_plant.wav", "crop_plant"},
    {"sounds/fertilizer_drop.wav", "fertilizer_drop"},
    {"sounds/fertilizer_pickup.wav", "fertilizer_pickup"},
    {"sounds/game_over.wav", "game_over"},
    {"sounds/pest_hurt.wav", "pest_hurt"},
    {"sounds/pest_plot_hit.wav", "pest_plot_hit"},
    {"sounds/shop_fail.wav", "shop_fail"},
    {"sounds/shop_success.wav", "shop_success"},
    {"sounds/success.wav", "success"},
    {"sounds/watering_drop.wav", "watering_drop"},
    {"sounds/watering_pickup.wav", "watering_pickup"},
};
const std::size_t SOUND_RESOURCE_COUNT = sizeof(SOUND_RESOURCES) / sizeof(SOUND_RESOURCES[0]);
static_assert(sizeof(SOUND_RESOURCES) / sizeof(SOUND_RESOURCES[0]) == 13, "the game has 13 sounds");

const ResourceEntry MUSIC_RESOURCES[] = {
    {"music/pumpkin_lounge.mp3", "lounge"},
};
const std::size_t MUSIC_RESOURCE_COUNT = sizeof(MUSIC_RESOURCES) / sizeof(MUSIC_RESOURCES[0]);

std::vector<const ResourceEntry*> loadResources() {
    vq::ResourceManager& resources = vq::ResourceManager::getInstance();
    std::vector<const ResourceEntry*> failed;
    for (std::size_t i = 0; i < SPRITE_RESOURCE_COUNT; i++)
        if (resources.loadSprite(SPRITE_RESOURCES[i].file, SPRITE_RESOURCES[i].label) != 0)
            failed.push_back(&SPRITE_RESOURCES[i]);
    for (std::size_t i = 0; i < SOUND_RESOURCE_COUNT; i++)
        if (resources.loadSound(SOUND_RESOURCES[i].file, SOUND_RESOURCES[i].label) != 0)
            failed.push_back(&SOUND_RESOURCES[i]);
    for (std::size_t i = 0; i < MUSIC_RESOURCE_COUNT; i++)
        if (resources.loadMusic(MUSIC_RESOURCES[i].file, MUSIC_RESOURCES[i].label) != 0)
            failed.push_back(&MUSIC_RESOURCES[i]);
    return failed;
}

#pragma once

// Every asset name the game asks the registry for. The asset list must define all of them;
// start-up checks this so that no game in progress ever ends on a missing name.

#include <array>

namespace RequiredAssets {

constexpr std::array<const char*, 49> kBitmaps = {{
    "title",
    "gameover",
    "hud",
    "hud_fill",
    "hud_wl",
    "hud_wh",
    "panorama1",
    "panorama2",
    "panorama3",
    "panorama4",
    "stage1",
    "stage2",
    "stage3",
    "stage4",
    "water_particle",
    "serval_cat_stand",
    "serval_cat_run_1",
    "serval_cat_run_2",
    "serval_cat_step_1",
    "serval_cat_step_2",
    "serval_cat_jump",
    "serval_cat_dodge",
    "serval_cat_attk_1_1",
    "serval_cat_attk_1_2",
    "serval_cat_attk_1_3",
    "serval_cat_attk_1_4",
    "serval_cat_attk_2_1",
    "serval_cat_attk_2_2",
    "serval_cat_attk_2_3",
    "serval_cat_lightwep_1_1",
    "serval_cat_lightwep_1_2",
    "serval_cat_lightwep_1_3",
    "serval_cat_lightwep_1_4",
    "serval_cat_lightwep_2_1",
    "serval_cat_lightwep_2_2",
    "serval_cat_lightwep_2_3",
    "serval_cat_heavywep_1_1",
    "serval_cat_heavywep_1_2",
    "serval_cat_heavywep_1_3",
    "serval_cat_heavywep_2_1",
    "serval_cat_heavywep_2_2",
    "serval_cat_heavywep_2_3",
    "serval_cat_heavywep_2_4",
    "serval_cat_heavywep_2_5",
    "serval_cat_heavywep_2_6",
    "serval_cat_heavywep_2_7",
    "serval_cat_heavywep_2_8",
    "enemy",
    "enemy_boss",
}};

// In the order the game first plays them, which is the order the browser decodes them in.
constexpr std::array<const char*, 5> kSounds = {{
    "title",
    "fight_bgm",
    "last_boss",
    "damage",
    "serval_cat_atk_long",
}};

}  // namespace RequiredAssets

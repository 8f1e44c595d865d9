#pragma once

#include "GeneratedFolder.h"

namespace zorby::bench {

// W1: a large custom UI (25,000 lines) and an add-on pack of 200 items, half of them replacing.
inline FolderRecipe W1() {
    FolderRecipe recipe;
    recipe.textures = {1500, 20, 20};
    recipe.animations = {23450, 80, 80};
    return recipe;
}

// W2: both lists close to the 32,767-line limit and 2,000 replacing items.
inline FolderRecipe W2() {
    FolderRecipe recipe;
    recipe.textures = {31000, 1000, 0};
    recipe.animations = {32000, 1000, 0};
    return recipe;
}

// W3: a real-sized custom UI of about 27,000 lines with the W1 add-on pack; the check and the patch of
// the same folder are timed side by side.
inline FolderRecipe W3() {
    FolderRecipe recipe = W1();
    recipe.animations.lines = 25450;
    return recipe;
}

// A custom UI of about `lines` lines with the W1 add-on pack, its textures a sixteenth of the file as in
// W1; each size gets its own seed, so that folders of different sizes hold different titles.
inline FolderRecipe SizedLikeW1(int lines) {
    FolderRecipe recipe = W1();
    recipe.textures.lines = lines / 16;
    recipe.animations.lines = lines - recipe.textures.lines;
    recipe.seed = static_cast<std::uint64_t>(lines);
    return recipe;
}

} // namespace zorby::bench

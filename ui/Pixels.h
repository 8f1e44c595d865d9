#pragma once

#include "ImageButtonState.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Pictures as the windows hand them to the screen, and the two alpha formulas that the front ends need.
namespace zorby::ui {

// A picture with premultiplied alpha, a pixel a 32-bit 0xAARRGGBB value, rows top to bottom.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;

    std::uint32_t At(int x, int y) const {
        return argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    }
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

// A premultiplied pixel with straight alpha, as icons take it.
std::uint32_t StraightAlpha(std::uint32_t premultiplied);

// The picture laid over an opaque background colour.
Pixels Over(const Pixels& picture, Rgb background);

} // namespace zorby::ui

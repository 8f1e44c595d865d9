#include "Pixels.h"

namespace zorby::ui {

std::uint32_t StraightAlpha(std::uint32_t pixel) {
    const std::uint32_t alpha = pixel >> 24;
    const auto channel = [&](int shift) {
        return alpha == 0 ? 0U : (((pixel >> shift) & 0xFF) * 255 + alpha / 2) / alpha;
    };
    return (alpha << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

Pixels Over(const Pixels& picture, Rgb background) {
    Pixels out = picture;
    for (std::uint32_t& pixel : out.argb) {
        const std::uint32_t keep = 255 - (pixel >> 24);
        const auto channel = [&](int shift, std::uint8_t below) {
            return (((pixel >> shift) & 0xFF) + (below * keep + 127) / 255) << shift;
        };
        pixel = 0xFF000000U | channel(16, background.red) | channel(8, background.green) |
                channel(0, background.blue);
    }
    return out;
}

} // namespace zorby::ui

#pragma once

// The window is laid out in twips (1/1440 inch) at 15 twips per logical pixel.
namespace zorby::ui {

inline constexpr int kTwipsPerPixel = 15;

constexpr int Px(int twips) {
    return twips / kTwipsPerPixel;
}

} // namespace zorby::ui

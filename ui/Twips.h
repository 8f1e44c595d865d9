#pragma once

// The windows are laid out in twips (1/1440 inch): 15 twips a pixel at 96 dots per inch.
namespace zorby::ui {

inline constexpr int kTwipsPerPixel = 15;

struct TwipPoint {
    int left;
    int top;
};

struct TwipSize {
    int width;
    int height;
    friend bool operator==(const TwipSize&, const TwipSize&) = default;
};

struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

// Pixels at 96 dots per inch.
constexpr int Px(int twips) {
    return twips / kTwipsPerPixel;
}

// Pixels at `dpi` dots per inch, truncated like Px.
constexpr int Px(int twips, int dpi) {
    return twips * dpi / 1440;
}

} // namespace zorby::ui

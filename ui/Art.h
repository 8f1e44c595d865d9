#pragma once

#include "ImageButtonState.h"

#include <cstdint>
#include <string>
#include <vector>

// The program's pictures, drawn here in plain C++ with smoothed edges, so that every front end shows
// the same pixels at any scale and needs no picture files.
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
};

// The image button's plate, 102 by 34 logical pixels times `scale`, with transparent corners.
Pixels Plate(PlateTone tone, double scale);

// The program's emblem, a metal-rimmed slate badge with a gold "Z", `size` pixels square. Below 24
// pixels the fine motion marks are left out and the strokes are heavier.
Pixels Emblem(int size);

// The debug toggle's picture: a framed dark chart grid with a light curve across it. `size` is a
// multiple of 16.
Pixels Chart(int size);

// The picture laid over an opaque background colour.
Pixels Over(const Pixels& picture, Rgb background);

// A Windows icon file holding the emblem at each size (32-bit pictures with an AND mask).
std::string IconFile(const std::vector<int>& sizes);

} // namespace zorby::ui

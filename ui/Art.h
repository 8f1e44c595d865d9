#pragma once

#include "ImageButtonState.h"
#include "Pixels.h"

#include <string>
#include <vector>

// The program's pictures, drawn in plain C++ with smoothed edges. They are drawn when the program is
// built (zorby_make_pictures keeps them in the program, Pictures.h) and for its icon file; the programs
// themselves never draw them.
namespace zorby::ui {

// The image button's plate, 102 by 34 logical pixels times `scale`, with transparent corners.
Pixels DrawPlate(PlateTone tone, double scale);

// The program's emblem, a metal-rimmed slate badge with a gold "Z", `size` pixels square. Below 24
// pixels the fine motion marks are left out and the strokes are heavier.
Pixels DrawEmblem(int size);

// The debug toggle's picture: a framed dark chart grid with a light curve across it. `size` is a
// multiple of 16.
Pixels DrawChart(int size);

// A Windows icon file holding the emblem at each size (32-bit pictures with an AND mask).
std::string IconFile(const std::vector<int>& sizes);

} // namespace zorby::ui

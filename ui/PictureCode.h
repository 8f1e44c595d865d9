#pragma once

#include "Pixels.h"

#include <span>
#include <vector>

// The compact code the program keeps its pictures in: smooth gradients and flat areas take a byte or two
// a pixel instead of four, so the pictures add little to the program, and decoding one is a single pass.
//
// Each pixel is the one before it (the first follows transparent black) changed by one step:
//   00iiiiii            the pixel last seen at slot i of 64 (a hash of the pixel picks its slot)
//   01rrggbb            red, green and blue each changed by -2 to 1 (the field minus 2)
//   10gggggg rrrrbbbb   green changed by -32 to 31 (g - 32), red and blue by as much as green, give or
//                       take -8 to 7 (r - 8, b - 8)
//   11nnnnnn            the pixel before, repeated n + 1 times (n up to 61)
//   FE r g b            red, green and blue given whole
//   FF a r g b          the whole pixel
// Alpha changes only through a slot or FF.
namespace zorby::ui {

std::vector<unsigned char> EncodePicture(const Pixels& picture);

// A picture of `width` by `height` from its code; what the code leaves out stays transparent.
Pixels DecodePicture(int width, int height, std::span<const unsigned char> code);

} // namespace zorby::ui

#pragma once

#include "ImageButtonState.h"
#include "Pixels.h"

#include <cstddef>
#include <span>

// The program's pictures as the windows show them. They are drawn once, when the program is built
// (zorby_make_pictures, from Art.h), at the sizes the windows use, and kept in the program in a compact
// code (PictureCode.h): a start only decodes the few it shows. A size that was not made gives the
// nearest larger one (the largest when none is larger), which the front end scales to fit.
namespace zorby::ui {

// The image button's plate for a screen of `dpi` dots per inch: 102 by 34 pixels at 96, larger in
// proportion.
Pixels Plate(PlateTone tone, int dpi);
// The program's emblem, `size` pixels square.
Pixels Emblem(int size);
// The debug toggle's chart, `size` pixels square.
Pixels Chart(int size);

enum class PictureKind { DarkPlate, LightPlate, Emblem, Chart };

// One picture kept in the program: for a plate, `size` is the dots per inch it was drawn for; for the
// others, its width and height.
struct CodedPicture {
    PictureKind kind;
    int size;
    int width;
    int height;
    const unsigned char* code;
    std::size_t codeSize;
};

// Every picture kept, smallest first within each kind; written by zorby_make_pictures.
std::span<const CodedPicture> CodedPictures();

// The kept picture of that kind for `size`: the smallest at least that large, or else the largest.
const CodedPicture& Nearest(PictureKind kind, int size);

} // namespace zorby::ui

#include "Art.h"
#include "PictureCode.h"

#include <fstream>
#include <iostream>
#include <vector>

// Writes the C++ source that keeps the program's pictures (Pictures.h): each drawn once, here, at the
// sizes the windows use. Runs on the build machine, also for a cross build.
namespace {

using namespace zorby::ui;

// The screens' dots per inch at 100% to 200% in steps of 25%, for the plates; the emblem of the About
// box, 48 pixels at 96 dots per inch, in the same steps, and the title bar's 16 and 32; the chart at 16
// pixels and whole multiples of it.
constexpr int kPlateDpis[] = {96, 120, 144, 168, 192};
constexpr int kEmblemSizes[] = {16, 32, 48, 60, 72, 84, 96};
constexpr int kChartSizes[] = {16, 32, 48, 64};

struct Made {
    const char* kind;
    int size;
    Pixels pixels;
};

void WriteSource(std::ostream& out, const std::vector<Made>& made) {
    out << "// Written by zorby_make_pictures (ui/MakePictures.cpp) when the program is built.\n"
           "#include \"Pictures.h\"\n\nnamespace zorby::ui {\nnamespace {\n\n";
    for (std::size_t n = 0; n < made.size(); ++n) {
        const std::vector<unsigned char> code = EncodePicture(made[n].pixels);
        out << "constexpr unsigned char kCode" << n << "[] = {";
        for (std::size_t i = 0; i < code.size(); ++i) {
            out << (i % 24 == 0 ? "\n    " : " ") << int(code[i]) << ',';
        }
        out << "\n};\n";
    }
    out << "\nconstexpr CodedPicture kPictures[] = {\n";
    for (std::size_t n = 0; n < made.size(); ++n) {
        out << "    {PictureKind::" << made[n].kind << ", " << made[n].size << ", " << made[n].pixels.width
            << ", " << made[n].pixels.height << ", kCode" << n << ", sizeof kCode" << n << "},\n";
    }
    out << "};\n\n} // namespace\n\nstd::span<const CodedPicture> CodedPictures() {\n    return "
           "kPictures;\n}\n\n"
           "} // namespace zorby::ui\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: zorby_make_pictures PATH/TO/BakedPictures.cpp\n";
        return 2;
    }
    std::vector<Made> made;
    for (const PlateTone tone : {PlateTone::Dark, PlateTone::Light}) {
        for (const int dpi : kPlateDpis) {
            made.push_back(
                {tone == PlateTone::Dark ? "DarkPlate" : "LightPlate", dpi, DrawPlate(tone, dpi / 96.0)});
        }
    }
    for (const int size : kEmblemSizes) {
        made.push_back({"Emblem", size, DrawEmblem(size)});
    }
    for (const int size : kChartSizes) {
        made.push_back({"Chart", size, DrawChart(size)});
    }
    // A failed run fails the build step, so the build runs it again: no half-written source is used.
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    WriteSource(file, made);
    if (!file.flush()) {
        std::cerr << "zorby_make_pictures: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}

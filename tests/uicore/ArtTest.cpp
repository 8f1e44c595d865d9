#include "Art.h"

#include "PictureCode.h"
#include "Pictures.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace zorby::ui {
namespace {

int Alpha(std::uint32_t pixel) {
    return int(pixel >> 24);
}

// Premultiplied channels of an opaque pixel are its colour.
void ExpectNear(std::uint32_t pixel, Rgb colour, int tolerance) {
    EXPECT_EQ(Alpha(pixel), 255);
    EXPECT_NEAR(int((pixel >> 16) & 0xFF), colour.red, tolerance);
    EXPECT_NEAR(int((pixel >> 8) & 0xFF), colour.green, tolerance);
    EXPECT_NEAR(int(pixel & 0xFF), colour.blue, tolerance);
}

// The plates: transparent corners, an opaque rim, and a slate field that the lit plate brightens.
TEST(Art, PlatesAtEachScale) {
    for (const double scale : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        const Pixels dark = DrawPlate(PlateTone::Dark, scale);
        const Pixels light = DrawPlate(PlateTone::Light, scale);
        EXPECT_EQ(dark.width, int(102 * scale + 0.99));
        EXPECT_EQ(dark.height, int(34 * scale + 0.99));
        EXPECT_EQ(Alpha(dark.At(0, 0)), 0);
        EXPECT_EQ(Alpha(dark.At(dark.width - 1, dark.height - 1)), 0);
        EXPECT_EQ(Alpha(dark.At(int(50 * scale), int(1.5 * scale))), 255);
        // Inside the field, away from the glow's middle.
        ExpectNear(dark.At(int(20 * scale), int(17 * scale)), {36, 42, 53}, 8);
        ExpectNear(light.At(int(20 * scale), int(17 * scale)), {44, 52, 67}, 10);
        EXPECT_GT(light.At(int(51 * scale), int(17 * scale)) & 0xFF,
                  dark.At(int(51 * scale), int(17 * scale)) & 0xFF);
    }
}

TEST(Art, EmblemChartAndBackground) {
    for (const int size : {16, 32, 48}) {
        const Pixels emblem = DrawEmblem(size);
        EXPECT_EQ(Alpha(emblem.At(0, 0)), 0) << size;
        EXPECT_EQ(Alpha(emblem.At(size / 2, size / 2)), 255) << size;
    }
    const Pixels chart = DrawChart(16);
    EXPECT_EQ(Alpha(chart.At(0, 0)), 0);
    ExpectNear(chart.At(0, 1), {64, 64, 64}, 0);
    ExpectNear(chart.At(3, 3), {0, 32, 16}, 0);
    const Pixels flat = Over(DrawPlate(PlateTone::Dark, 1.0), {212, 208, 200});
    ExpectNear(flat.At(0, 0), {212, 208, 200}, 0);
    EXPECT_EQ(flat.At(20, 17), DrawPlate(PlateTone::Dark, 1.0).At(20, 17));
}

// What the programs show is what the code draws, pixel for pixel, and a size that was not kept gives the
// nearest larger one.
TEST(Art, KeptPicturesAreTheDrawnOnes) {
    for (const CodedPicture& kept : CodedPictures()) {
        SCOPED_TRACE(testing::Message() << int(kept.kind) << " at " << kept.size);
        const Pixels drawn =
            kept.kind == PictureKind::DarkPlate    ? DrawPlate(PlateTone::Dark, kept.size / 96.0)
            : kept.kind == PictureKind::LightPlate ? DrawPlate(PlateTone::Light, kept.size / 96.0)
            : kept.kind == PictureKind::Emblem     ? DrawEmblem(kept.size)
                                                   : DrawChart(kept.size);
        EXPECT_TRUE(DecodePicture(kept.width, kept.height, {kept.code, kept.codeSize}) == drawn);
        EXPECT_LT(kept.codeSize, drawn.argb.size() * 2) << "the code keeps a picture in under half its bytes";
    }
    for (const auto& [kind, asked, given] : {std::tuple{PictureKind::DarkPlate, 96, 96},
                                             {PictureKind::LightPlate, 100, 120},
                                             {PictureKind::DarkPlate, 300, 192},
                                             {PictureKind::Emblem, 72, 72},
                                             {PictureKind::Chart, 40, 48},
                                             {PictureKind::Chart, 8, 16}}) {
        EXPECT_EQ(Nearest(kind, asked).size, given) << asked;
        EXPECT_EQ(Nearest(kind, asked).kind, kind);
    }
    EXPECT_TRUE(Plate(PlateTone::Light, 144) == DrawPlate(PlateTone::Light, 1.5));
}

// The program's icon file is the emblem of today: regenerate it with zorby_make_icon after a change.
TEST(Art, IconFileInTheSourcesIsTheEmblem) {
    std::ifstream file(ZORBY_ICON_FILE, std::ios::binary);
    ASSERT_TRUE(file) << ZORBY_ICON_FILE;
    const std::string stored{std::istreambuf_iterator<char>(file), {}};
    const std::string made = IconFile({16, 32, 48});
    ASSERT_EQ(made.substr(0, 6), std::string("\0\0\1\0\3\0", 6));
    EXPECT_TRUE(stored == made);
}

} // namespace
} // namespace zorby::ui

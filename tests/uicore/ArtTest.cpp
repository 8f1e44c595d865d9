#include "Art.h"

#include "PictureCode.h"
#include "Pictures.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>

namespace zorby::ui {
namespace {

// The plates at each scale: transparent corners, which show the background once laid over it, an opaque
// rim, and a field that the lit plate brightens.
TEST(Art, PlatesHaveTheirShape) {
    for (const double scale : {1.0, 1.5, 2.0}) {
        const Pixels dark = DrawPlate(PlateTone::Dark, scale);
        EXPECT_EQ(std::pair(dark.width, dark.height),
                  std::pair(int(102 * scale + 0.99), int(34 * scale + 0.99)));
        EXPECT_EQ(std::tuple(dark.At(0, 0), dark.At(dark.width - 1, dark.height - 1) >> 24,
                             dark.At(int(50 * scale), int(1.5 * scale)) >> 24),
                  std::tuple(0U, 0U, 255U))
            << scale;
        EXPECT_GT(DrawPlate(PlateTone::Light, scale).At(int(51 * scale), int(17 * scale)) & 0xFF,
                  dark.At(int(51 * scale), int(17 * scale)) & 0xFF);
    }
    EXPECT_EQ(Over(DrawPlate(PlateTone::Dark, 1.0), {212, 208, 200}).At(0, 0), 0xFFD4D0C8U);
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

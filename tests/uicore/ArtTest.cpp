#include "Art.h"

#include "PictureCode.h"
#include "Pictures.h"

#include <gtest/gtest.h>
#include <string>

namespace zorby::ui {
namespace {

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

} // namespace
} // namespace zorby::ui

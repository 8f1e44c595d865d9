#include "WindowLayout.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zorby::ui {
namespace {

std::vector<std::string> Names(const std::vector<const ControlEntry*>& controls) {
    std::vector<std::string> names;
    for (const ControlEntry* control : controls) {
        names.emplace_back(control->name);
    }
    return names;
}

TEST(Layout, TabOrderOfEachView) {
    EXPECT_EQ(Names(TabOrder(MainWindowControls(), View::Compact)),
              (std::vector<std::string>{"Backup_Animation", "DebugButton", "PatchCommand", "FancyButton1",
                                        "Restore_Animation"}));
    EXPECT_EQ(Names(TabOrder(MainWindowControls(), View::Debug)),
              (std::vector<std::string>{"Backup_Animation", "DebugButton", "PatchCommand", "FancyButton1",
                                        "Restore_Animation", "Animations", "Header", "MiscItems",
                                        "AllAnimationsTemp", "AllTexturesTemp", "AllZorTexturesTemp",
                                        "AllZorTextures", "AllZorAnimations", "AllTextures", "AllAnimations",
                                        "Textures", "ZorTextures", "ZorAnimations", "AllZorAnimationsTemp"}));
}

// The window stays inside the work area in both views at each dpi: the debug view moves up, and where
// even that is not enough its lists are squeezed. A screen too small for the least squeeze keeps the
// window's top-left corner in reach. The frames are Wine's at each dpi.
struct FitRow {
    const char* name;
    int dpi;
    ScreenRect workArea;
    ScreenSize frame;
    bool squeezed;
    bool fits = true;
};
const FitRow kFitRows[] = {
    {"laptop_at_96_dpi", 96, {0, 0, 1366, 768}, {6, 29}, false},
    {"laptop_at_120_dpi", 120, {0, 0, 1366, 768}, {6, 31}, false},
    {"laptop_at_144_dpi", 144, {0, 0, 1366, 768}, {6, 34}, true},
    {"task_bar_at_the_top", 96, {0, 40, 1024, 520}, {6, 29}, true},
    {"second_screen_on_the_right", 120, {1366, 0, 1280, 1024}, {6, 31}, false},
    {"too_small_for_any_squeeze", 144, {0, 0, 800, 480}, {6, 34}, true, false},
};
class FitInWorkArea : public ::testing::TestWithParam<FitRow> {};
TEST_P(FitInWorkArea, Row) {
    const FitRow& r = GetParam();
    const TwipSize compact = ClientSize(View::Compact, 1.0);
    const ScreenSize outer{Px(compact.width, r.dpi) + r.frame.width,
                           Px(compact.height, r.dpi) + r.frame.height};
    const ScreenPoint opened = OpeningPosition(r.workArea, kCompactOuter, outer, r.dpi);
    const auto inside = [&](ScreenRect w) {
        return w.left >= r.workArea.left && w.top >= r.workArea.top &&
               w.left + w.width <= r.workArea.left + r.workArea.width &&
               w.top + w.height <= r.workArea.top + r.workArea.height;
    };
    EXPECT_TRUE(inside({opened.x, opened.y, outer.width, outer.height}));
    const MainWindowFit debug = FitMainWindow(View::Debug, opened, r.workArea, r.frame, r.dpi);
    EXPECT_EQ(inside(debug.outer), r.fits);
    EXPECT_EQ(debug.listScale < 1.0, r.squeezed);
    EXPECT_GE(debug.listScale, kLeastListScale);
    if (!r.fits) {
        EXPECT_EQ(debug.outer.top, r.workArea.top);
    }
}
INSTANTIATE_TEST_SUITE_P(Layout, FitInWorkArea, ::testing::ValuesIn(kFitRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The compact view shows the command area whole and nothing of the debug area; the About box shows every
// control whole (the credit lines run long).
TEST(Layout, EachAreaLiesInsideItsView) {
    const TwipSize compact{kCompactOuter.width - kMainFrame.width, kCompactOuter.height - kMainFrame.height};
    for (const ControlEntry& c : MainWindowControls()) {
        EXPECT_EQ(c.rect.left + c.rect.width <= compact.width && c.rect.top + c.rect.height <= compact.height,
                  c.area == Area::Command)
            << c.name;
    }
    for (const ControlEntry& c : AboutBoxControls()) {
        EXPECT_LE(c.rect.top + c.rect.height, kAboutClient.height) << c.name;
    }
}

} // namespace
} // namespace zorby::ui

#include "WindowLayout.h"

#include <algorithm>
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
    EXPECT_EQ(Names(TabOrder(AboutBoxControls(), View::Compact)),
              (std::vector<std::string>{"cmdOK", "Label2", "Label3", "Label4"}));
}

// The keyboard starts on the first control a player can use, never on a hidden or greyed-out one.
struct FocusRow {
    const char* name;
    std::vector<std::string> unusable; // hidden or disabled
    const char* first;
};
const FocusRow kFocusRows[] = {
    {"everything_shown", {}, "Backup_Animation"},
    {"backup_exists_and_no_debug_file", {"Backup_Animation", "DebugButton"}, "PatchCommand"},
    {"no_add_on_files", {"Backup_Animation", "DebugButton", "PatchCommand"}, "FancyButton1"},
};
class FirstFocusRow : public ::testing::TestWithParam<FocusRow> {};
TEST_P(FirstFocusRow, Row) {
    const auto usable = [](const ControlEntry& c) {
        const std::vector<std::string>& out = GetParam().unusable;
        return std::find(out.begin(), out.end(), c.name) == out.end();
    };
    EXPECT_EQ(FirstFocus(MainWindowControls(), View::Compact, usable)->name, std::string(GetParam().first));
    EXPECT_EQ(FirstFocus(AboutBoxControls(), View::Compact, usable)->name, std::string("cmdOK"));
}
INSTANTIATE_TEST_SUITE_P(Layout, FirstFocusRow, ::testing::ValuesIn(kFocusRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The window stays inside the work area in both views at each dpi: the debug view moves up, and where
// even that is not enough its lists are squeezed, never so far that two controls come to overlap. A
// screen too small for the least squeeze keeps the window's top-left corner in reach. The frames are
// Wine's at each dpi.
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
bool Overlap(TwipRect a, TwipRect b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}
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
    const MainWindowFit back =
        FitMainWindow(View::Compact, {debug.outer.left, debug.outer.top}, r.workArea, r.frame, r.dpi);
    EXPECT_TRUE(inside(back.outer));
    EXPECT_EQ(back.outer.left, debug.outer.left) << "the compact view stays where the debug view was";
    const auto controls = MainWindowControls();
    const TwipSize client = ClientSize(View::Debug, debug.listScale);
    for (const ControlEntry& a : controls) {
        const TwipRect placed = PlaceInView(a, debug.listScale);
        EXPECT_LE(placed.top + placed.height, client.height) << a.name;
        for (const ControlEntry& b : controls) {
            EXPECT_EQ(Overlap(placed, PlaceInView(b, debug.listScale)), Overlap(a.rect, b.rect))
                << a.name << " and " << b.name;
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Layout, FitInWorkArea, ::testing::ValuesIn(kFitRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The compact view shows the command area whole and nothing of the debug area; the debug view shows all.
TEST(Layout, EachAreaLiesInsideItsView) {
    const TwipSize compact{kCompactOuter.width - kMainFrame.width, kCompactOuter.height - kMainFrame.height};
    const TwipSize debug{kDebugOuter.width - kMainFrame.width, kDebugOuter.height - kMainFrame.height};
    int lists = 0;
    for (const ControlEntry& c : MainWindowControls()) {
        SCOPED_TRACE(c.name);
        const bool inCompact =
            c.rect.left + c.rect.width <= compact.width && c.rect.top + c.rect.height <= compact.height;
        EXPECT_EQ(inCompact, c.area == Area::Command);
        EXPECT_LE(c.rect.left + c.rect.width, debug.width);
        EXPECT_LE(c.rect.top + c.rect.height, debug.height);
        EXPECT_EQ(c.kind == ControlKind::List, c.list != nullptr);
        if (c.list != nullptr) {
            EXPECT_EQ((Workspace().*c.list).Name(), c.name) << "a list shows the list of its name";
            ++lists;
        }
    }
    EXPECT_EQ(lists, 14);
    for (const ControlEntry& c : AboutBoxControls()) {
        EXPECT_LE(c.rect.top + c.rect.height, kAboutClient.height) << c.name; // the credit lines run long
    }
}

struct ToggleRow {
    const char* name;
    TwipSize from;
    TwipSize to;
};
const ToggleRow kToggleRows[] = {
    {"compact_opens_the_debug_view", {4665, 2430}, {8955, 8025}},
    {"debug_view_closes", {8955, 8025}, {4665, 2430}},
    {"any_other_height_gives_the_compact_view", {4665, 2431}, {4665, 2430}},
    {"only_the_height_counts", {9000, 2430}, {8955, 8025}},
};
class Toggle : public ::testing::TestWithParam<ToggleRow> {};
TEST_P(Toggle, Row) {
    EXPECT_EQ(ToggledOuterSize(GetParam().from), GetParam().to);
}
INSTANTIATE_TEST_SUITE_P(Layout, Toggle, ::testing::ValuesIn(kToggleRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct PlacementRow {
    const char* name;
    bool centred;
    double screenWidth, screenHeight, outerWidth, outerHeight;
    TwipPoint expected;
};
const PlacementRow kPlacementRows[] = {
    {"compact_window_on_1024_by_768", false, 15360, 11520, 4665, 2430, {5347, 3030}},
    {"a_third_of_the_free_height_truncated", false, 100, 10, 100, 0, {0, 3}},
    {"negative_free_space_truncates_toward_zero", false, 100, 0, 100, 10, {0, -3}},
    {"halves_round_to_even", false, 2.5, 3.5, 0, 0, {1, 1}},
    {"about_box_centred", true, 15360, 11520, 4695, 2550, {5332, 4485}},
    {"centred_halves_round_to_even", true, 6.5, -6.5, 0, 0, {3, -3}},
};
class Placement : public ::testing::TestWithParam<PlacementRow> {};
TEST_P(Placement, Row) {
    const PlacementRow& r = GetParam();
    const TwipPoint at = r.centred
                             ? CentredPosition(r.screenWidth, r.screenHeight, r.outerWidth, r.outerHeight)
                             : MainWindowPosition(r.screenWidth, r.screenHeight, r.outerWidth, r.outerHeight);
    EXPECT_EQ(at.left, r.expected.left);
    EXPECT_EQ(at.top, r.expected.top);
}
INSTANTIATE_TEST_SUITE_P(Layout, Placement, ::testing::ValuesIn(kPlacementRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorby::ui

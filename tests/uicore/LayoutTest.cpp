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
    EXPECT_EQ(Names(TabOrder(AboutBoxControls(), View::Compact)), (std::vector<std::string>{"cmdOK"}));
}

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
        EXPECT_LE(c.rect.left + c.rect.width, kAboutClient.width + 1000)
            << c.name; // the credit lines run long
        EXPECT_LE(c.rect.top + c.rect.height, kAboutClient.height) << c.name;
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

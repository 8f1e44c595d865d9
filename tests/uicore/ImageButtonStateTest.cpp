#include "ImageButtonState.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace zorby::ui {
namespace {

constexpr ButtonLook kRest{PlateTone::Dark, {0, 0}, {0, 8}, ImageButtonState::kSilver};
constexpr ButtonLook kHover{PlateTone::Light, {0, 0}, {0, 8}, ImageButtonState::kSilver};
constexpr ButtonLook kPressed{PlateTone::Light, {1, 1}, {1, 9}, ImageButtonState::kLightYellow};
constexpr ButtonLook kPressedLeft{PlateTone::Dark, {0, 0}, {1, 9}, ImageButtonState::kLightYellow};
constexpr ButtonLook kDisabledRest{PlateTone::Dark, {0, 0}, {0, 8}, ImageButtonState::kBlack};
constexpr ButtonLook kDisabledHover{PlateTone::Light, {0, 0}, {0, 8}, ImageButtonState::kBlack};

// Events, one word each: over (pointer moves over the plate), in / out (a poll tick with the pointer
// inside or outside), press, up-in (left button let go over the plate), up-out, up-right (another
// button let go over the plate), key, repeat (an activation key held down), off / on (Enabled).
struct Row {
    const char* name;
    const char* events;
    ButtonLook look;
    int clicks;
    bool polling;
};
const Row kRows[] = {
    {"first_poll_outside_stops_polling", "out", kRest, 0, false},
    {"hover_survives_a_poll_inside", "out over in", kHover, 0, true},
    {"hover_ends_on_a_poll_outside", "out over out", kRest, 0, false},
    {"press", "over press", kPressed, 0, true},
    {"release_outside_is_no_click", "over press out up-out", kRest, 0, false},
    {"pointer_left_while_pressed", "over press out", kPressedLeft, 0, false},
    {"other_button_is_no_click", "over press up-right", kHover, 0, true},
    {"click_once_however_often_pressed", "over press press up-in", kHover, 1, true},
    {"release_without_press", "over up-in", kHover, 0, true},
    {"keys", "key key repeat", kRest, 2, true},
    {"disabled_ignores_all", "out off over press up-in key", kDisabledRest, 0, false},
    {"disabling_ends_a_press", "over press off up-in", kDisabledHover, 0, true},
    {"enabled_again_is_silver", "off on", kRest, 0, true},
};

class ButtonStates : public ::testing::TestWithParam<Row> {};

TEST_P(ButtonStates, Row) {
    ImageButtonState state;
    int clicks = 0;
    std::istringstream events(GetParam().events);
    for (std::string event; events >> event;) {
        if (event == "over") {
            state.PointerOver();
        } else if (event == "in" || event == "out") {
            state.Tick(event == "out");
        } else if (event == "press") {
            state.Press();
        } else if (event.starts_with("up-")) {
            clicks += state.Release(event == "up-in") ? 1 : 0;
        } else if (event == "key" || event == "repeat") {
            clicks += state.Key(true, event == "repeat") ? 1 : 0;
        } else {
            ASSERT_TRUE(event == "on" || event == "off") << event;
            state.SetEnabled(event == "on");
        }
    }
    EXPECT_EQ(state.Look(), GetParam().look);
    EXPECT_EQ(clicks, GetParam().clicks);
    EXPECT_EQ(state.Polling(), GetParam().polling);
}

INSTANTIATE_TEST_SUITE_P(ImageButton, ButtonStates, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorby::ui

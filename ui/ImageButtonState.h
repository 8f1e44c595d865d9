#pragma once

#include <cstdint>

namespace zorby::ui {

// The two looks of the image button's plate: at rest, and lit while the pointer is over it.
enum class PlateTone { Dark, Light };

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct PixelOffset {
    int x;
    int y;
    friend bool operator==(const PixelOffset&, const PixelOffset&) = default;
};

// What the button shows: the plate, where the plate and the caption sit, and the caption's colour.
struct ButtonLook {
    PlateTone tone;
    PixelOffset plate;
    PixelOffset caption;
    Rgb captionColour;
    friend bool operator==(const ButtonLook&, const ButtonLook&) = default;
};

// The image button's behaviour, whatever draws it: the plate lights up while the pointer is over it
// (a poll notices when it has left), plate and caption shift by one pixel while a mouse button is held,
// and a completed click or an activation key gives a click. A disabled button ignores the pointer.
//
// The button is 103 by 35 pixels; the plate and the area that takes the mouse are 102 by 34.
class ImageButtonState {
public:
    static constexpr int kWidth = 103;
    static constexpr int kHeight = 35;
    static constexpr int kPlateWidth = 102;
    static constexpr int kPlateHeight = 34;
    static constexpr int kCaptionHeight = 17;
    // The dotted frame shown while the button has keyboard focus: left, top, width, height.
    static constexpr int kFocusMark[4] = {12, 6, 77, 21};

    static constexpr Rgb kSilver{192, 192, 192};
    static constexpr Rgb kLightYellow{255, 255, 128};
    static constexpr Rgb kBlack{0, 0, 0};

    // Whether a pointer at (x, y) in the button's pixels lies outside the plate; its right and bottom
    // edges still count as inside.
    static bool Outside(int x, int y);

    ButtonLook Look() const;
    bool Enabled() const { return enabled_; }
    // The hover poll runs from creation until its first tick finds the pointer outside.
    bool Polling() const { return polling_; }

    // Also recolours the caption: silver when enabled, black when disabled. Disabling ends a press.
    void SetEnabled(bool enabled);
    // The pointer moved over the plate. True when the look changed and the poll must run.
    bool PointerOver();
    // One tick of the hover poll. True when the look changed.
    bool Tick(bool pointerOutside);
    // Any mouse button went down over the plate.
    bool Press();
    // The mouse button went up after a press, wherever the pointer is. True for a click: the left
    // button let go over the plate of an enabled button.
    bool Release(bool leftButtonOverPlate);
    // A key went down while the button had the focus. True for a click.
    bool Key(bool activationKey, bool autoRepeat) const;

private:
    bool enabled_ = true;
    bool lit_ = false;
    bool pressed_ = false;
    bool polling_ = true;
    Rgb caption_ = kSilver;
};

} // namespace zorby::ui

#include "ImageButtonState.h"

namespace zorby::ui {

bool ImageButtonState::Outside(int x, int y) {
    return x < 0 || y < 0 || x > kPlateWidth || y > kPlateHeight;
}

ButtonLook ImageButtonState::Look() const {
    // While pressed, the lit plate shifts; a dark plate shown once the pointer has left stays put.
    const PixelOffset plate = pressed_ && lit_ ? PixelOffset{1, 1} : PixelOffset{0, 0};
    const PixelOffset caption = pressed_ ? PixelOffset{1, 9} : PixelOffset{0, 8};
    return {lit_ ? PlateTone::Light : PlateTone::Dark, plate, caption, caption_};
}

void ImageButtonState::SetEnabled(bool enabled) {
    enabled_ = enabled;
    // A disabled button gets no release, so a press under way would otherwise leave the plate shifted.
    if (!enabled) {
        pressed_ = false;
    }
    caption_ = enabled ? kSilver : kBlack;
}

bool ImageButtonState::PointerOver() {
    if (!enabled_ || lit_) {
        return false;
    }
    lit_ = true;
    polling_ = true;
    return true;
}

bool ImageButtonState::Tick(bool pointerOutside) {
    if (!pointerOutside || !polling_) {
        return false;
    }
    polling_ = false;
    const bool changed = lit_;
    lit_ = false;
    return changed;
}

bool ImageButtonState::Press() {
    if (!enabled_ || pressed_) {
        return false;
    }
    pressed_ = true;
    caption_ = kLightYellow;
    return true;
}

bool ImageButtonState::Release(bool leftButtonOverPlate) {
    if (!pressed_) {
        return false;
    }
    pressed_ = false;
    if (enabled_) {
        caption_ = kSilver;
    }
    return leftButtonOverPlate && enabled_;
}

bool ImageButtonState::Key(bool activationKey, bool autoRepeat) const {
    return activationKey && !autoRepeat && enabled_;
}

} // namespace zorby::ui

#pragma once

#include "ImageButtonState.h"

#include <functional>
#include <string>
#include <windows.h>

namespace zorby::win32 {

// The program's own push button as a native control: the plates of Pictures.h over the button face, the
// caption over them, and ImageButtonState deciding what shows and when `onClick` runs. It takes the
// focus and clicks on Space or Return; its size is fixed. Assistive technology knows it as a push button
// named by its caption (Accessible.h).
class FancyButton {
public:
    static HWND Create(HWND parent, int id, const std::wstring& caption, int left, int top,
                       std::function<void()> onClick);
    // The button behind a window made by Create, or nullptr.
    static FancyButton* Of(HWND window);

    // Also recolours the caption: silver when enabled, black when disabled.
    void SetEnabled(bool enabled);
    const ui::ImageButtonState& State() const { return state_; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void Changed();

    HWND window_ = nullptr;
    std::wstring caption_;
    std::function<void()> onClick_;
    ui::ImageButtonState state_;
};

} // namespace zorby::win32

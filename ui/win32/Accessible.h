#pragma once

#include <windows.h>

// What assistive technology (a screen reader, say) learns of the program's own controls, which the system
// cannot describe by itself: each answers WM_GETOBJECT with its name (the window text), its role and its
// default action, which BM_CLICK carries out. Everything else (place, parent, state: greyed out, focused)
// comes from the system's description of the window. oleacc, ole32 and oleaut32 are loaded on the first
// question: most runs are never asked.
namespace zorby::win32 {

enum class AccessibleRole { PushButton, Link };

// True when the question was answered, with the answer in `result`; otherwise the window's default
// handling answers.
bool AnswerGetObject(HWND control, AccessibleRole role, WPARAM wParam, LPARAM lParam, LRESULT& result);

} // namespace zorby::win32

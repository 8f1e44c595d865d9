#pragma once

#include "WindowPort.h"

#include <string>
#include <windows.h>

namespace zorby::win32 {

// Shows a MessageBoxW and waits for the answer. The box fits the work area of its screen, its text cut
// where it would not; a Yes/No box that is closed instead of answered (WM_CLOSE, Alt+F4, End task, or
// CloseOpenBox) gives Answer::Closed. Esc answers No.
Answer ShowMessageBox(HWND owner, const std::wstring& title, const std::wstring& text, MessageIcon icon,
                      MessageButtons buttons);

// Ends the box that ShowMessageBox has open on this thread as closed (the program is closing or the
// session ends); false when none is open.
bool CloseOpenBox();

} // namespace zorby::win32

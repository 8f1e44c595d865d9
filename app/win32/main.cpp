#include "MainWindow.h"
#include "Native.h"

#include <string>
#include <windows.h>
// These need windows.h first.
#include <commctrl.h>

namespace {

// The help page ships with the program, so the link works without a network.
std::string HelpPageAddress() {
    std::wstring program(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    program.resize(length);
    const std::wstring page =
        program.substr(0, program.find_last_of(L'\\') + 1) + L"help\\custom-ui-folder.html";
    if (length > 0 && length < MAX_PATH && GetFileAttributesW(page.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return zorby::win32::Narrow(page);
    }
    return "https://zorby.example.org/help/custom-ui-folder.html";
}

} // namespace

// Zorby is started inside a custom UI folder and works on the files there. Each run ends after one
// command: "Patch!", "Restore", or closing the window.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);

    zorby::win32::MainWindow window(HelpPageAddress());
    if (window.Load() != zorby::Flow::Continue) {
        return 1;
    }
    window.Show(show);
    return window.Run();
}

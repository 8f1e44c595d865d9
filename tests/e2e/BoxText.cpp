// Prints, as UTF-8, the text of the message box with the given title that is on the screen: what the
// player reads in it. Run under the same Wine server as Zorby.exe; exits 1 when no such box is shown.
#include <cstdio>
#include <string>
#include <windows.h>

int main(int argc, char** argv) {
    const std::string title = argc == 2 ? argv[1] : "";
    const std::wstring wideTitle(title.begin(), title.end());
    // A message box is a dialog window (class #32770) whose text is the static control 0xFFFF.
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", wideTitle.c_str())) != nullptr &&
           !IsWindowVisible(box)) {
    }
    const HWND label = box ? GetDlgItem(box, 0xFFFF) : nullptr;
    if (label == nullptr) {
        return 1;
    }
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
    std::string bytes(3 * text.size(), '\0'); // a UTF-16 unit takes at most three bytes of UTF-8
    bytes.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            static_cast<int>(bytes.size()), nullptr, nullptr)));
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
}

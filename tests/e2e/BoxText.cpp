// Prints, as UTF-8, the text of the message box with the given title that is on the screen: what the
// player reads in it. Run under the same Wine server as Zorby.exe; exits 1 when no such box is shown.
#include <cstdio>
#include <string>
#include <windows.h>

namespace {

struct Search {
    std::wstring title;
    HWND box = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM searchAddress) {
    auto& search = *reinterpret_cast<Search*>(searchAddress);
    wchar_t className[16]{};
    wchar_t title[256]{};
    GetClassNameW(window, className, 16);
    GetWindowTextW(window, title, 256);
    if (IsWindowVisible(window) && std::wstring(className) == L"#32770" && search.title == title) {
        search.box = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: box_text TITLE\n", stderr);
        return 2;
    }
    const std::string title = argv[1];
    Search search{std::wstring(title.begin(), title.end())};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    constexpr int kTextId = 0xFFFF; // the static control of a message box
    const HWND label = search.box ? GetDlgItem(search.box, kTextId) : nullptr;
    if (!label) {
        return 1;
    }
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(label, text.data(), static_cast<int>(text.size()))));
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
}

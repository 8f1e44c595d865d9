#include "AnimationPatcher.h"
#include "CommandLine.h"
#include "Native.h"
#include "Platform.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>
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
        return zorby::win32::Utf8FromWide(page);
    }
    return "https://zorby.example.org/help/custom-ui-folder.html";
}

// True when the command line holds more than the program's name, which Windows quotes when it holds a
// blank and otherwise ends at the first blank.
bool HasArguments(const wchar_t* line) {
    if (*line == L'"') {
        for (++line; *line != L'\0' && *line != L'"'; ++line) {
        }
        line += *line == L'"' ? 1 : 0;
    } else {
        for (; *line != L'\0' && *line != L' ' && *line != L'\t'; ++line) {
        }
    }
    for (; *line == L' ' || *line == L'\t'; ++line) {
    }
    return *line != L'\0';
}

// The arguments after the program's name, as UTF-8. shell32, which splits them, is loaded only when
// there are some, so that a plain start does not load it (an alternating run under Wine found that no
// faster, 1,041 against 1,048 ms, but no slower either).
std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    if (!HasArguments(GetCommandLineW())) {
        return arguments;
    }
    using Split = LPWSTR*(WINAPI*)(LPCWSTR, int*);
    const HMODULE shell = LoadLibraryW(L"shell32.dll");
    const auto split =
        shell ? reinterpret_cast<Split>(reinterpret_cast<void*>(GetProcAddress(shell, "CommandLineToArgvW")))
              : nullptr;
    int count = 0;
    LPWSTR* wide = split ? split(GetCommandLineW(), &count) : nullptr;
    for (int n = 1; wide != nullptr && n < count; ++n) {
        arguments.push_back(zorby::win32::Utf8FromWide(wide[n]));
    }
    LocalFree(wide);
    return arguments;
}

// A window program has no console of its own: its answers go to the console it was started from,
// unless they are redirected to a file or a pipe. False when it was started from none.
bool PrintToParentConsole() {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return false;
    }
    for (const auto& [which, stream] :
         {std::pair{STD_OUTPUT_HANDLE, stdout}, std::pair{STD_ERROR_HANDLE, stderr}}) {
        const HANDLE handle = GetStdHandle(which);
        const bool redirected =
            handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
        if (!redirected && std::freopen("CONOUT$", "w", stream) == nullptr) {
            return true;
        }
    }
    return true;
}

} // namespace

// Zorby is started inside a custom UI folder, or given it (a folder dropped on the program), and works
// on the files there. Each run ends after one command: "Patch!", "Restore", or closing the window. With
// --check, --help or --version it prints its answer and ends without a window.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
    const std::vector<std::string> arguments = Arguments();
    const bool console = !arguments.empty() && PrintToParentConsole();
    const zorby::StartRequest start =
        zorby::RunCommandLine(arguments, zorby::platform::ProgramFolder(), std::cout, std::cerr);
    std::cout.flush();
    if (!start.window) {
        // A player who dropped something on the program has no console to read the usage in.
        if (!start.problem.empty() && !console) {
            MessageBoxW(nullptr,
                        zorby::win32::WideFromMessage(
                            "Zorby cannot start: " + start.problem +
                            ".\nDrop a custom UI folder on Zorby.exe, or start it inside one.")
                            .c_str(),
                        L"Zorby", MB_OK | MB_ICONWARNING);
        }
        return start.status;
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&controls);

    zorby::win32::AnimationPatcher window(HelpPageAddress());
    if (window.Load() != zorby::Flow::Continue) {
        return 1;
    }
    window.Show(show);
    return window.Run();
}

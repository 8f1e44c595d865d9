// Holds a file open as the game or an editor does, for reading and sharing reading only, so that no one
// can replace, rename or delete it meanwhile. Usage: hold_file FILE MILLISECONDS [TRIGGER]: the hold
// starts at once, or once the file TRIGGER exists (waited for at most a minute). Prints "holding" when
// it holds the file and "released" when it lets go. Run under the same Wine server as Zorby.exe;
// the test's paths are ASCII, so the narrow calls read them right.
#include <cstdio>
#include <cstdlib>
#include <windows.h>

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fputs("usage: hold_file FILE MILLISECONDS [TRIGGER]\n", stderr);
        return 2;
    }
    const ULONGLONG giveUp = GetTickCount64() + 60000;
    while (argc == 4 && GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() > giveUp) {
            std::fprintf(stderr, "no %s within a minute\n", argv[3]);
            return 1;
        }
        Sleep(10);
    }
    const HANDLE file =
        CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    std::puts("holding");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    CloseHandle(file);
    std::puts("released");
    std::fflush(stdout);
    return 0;
}

#include "WindowsCalls.h"

#include <windows.h>

namespace zorby::detail {

int MoveReplacingExisting(const std::string& from, const std::string& to) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        return 0;
    }
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
        return 53;
    case ERROR_PATH_NOT_FOUND:
        return 76;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return 70;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return 61;
    default:
        return 57;
    }
}

} // namespace zorby::detail

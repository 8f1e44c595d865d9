#pragma once

#include <string>

// The few Win32 calls of the file layer. Kept apart because <windows.h> defines CopyFile and DeleteFile
// as macros, which would clash with the names of FileHelpers.h.
namespace zorby::detail {

// MoveFileExA with MOVEFILE_REPLACE_EXISTING; 0 when it worked, else the failure number.
int MoveReplacingExisting(const std::string& from, const std::string& to);

} // namespace zorby::detail

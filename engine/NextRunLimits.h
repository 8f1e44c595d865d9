#pragma once

#include "Workspace.h"

#include <optional>
#include <string>

namespace zorby {

// Why the patched lists must not be written, or nothing when they may: the file they make would pass a
// limit that the next run enforces when it reads it (the lines of one list, the size of the file). Such
// a file would say "Patch Completed" and then lock the player out, Restore included.
std::optional<std::string> FindNextRunRefusal(const Workspace& workspace);

} // namespace zorby

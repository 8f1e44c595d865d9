#pragma once

#include "WindowPort.h"
#include "Workspace.h"

#include <optional>
#include <string>

// Checks of the files in the custom UI folder as they stand on disk, made before anything is changed.
namespace zorby {

// Why `name` may not be touched: it is a symbolic link, which Zorby never writes, truncates, replaces or
// deletes through, or it is not a regular file. Nothing when it is a regular file or absent.
std::optional<std::string> RefusalOfNonPlainFile(const char* name);

// Why "Patch!" may not go on: the first input file that is no longer what the scan read (edited, added,
// removed or replaced since), or nothing when all three are as they were.
std::optional<std::string> FindInputChangedSinceScan(const Workspace& workspace);

// Shows why the run cannot go on, in an "Error" box, before anything was changed. Returns Flow::Failed.
Flow Refuse(WindowPort& window, const std::string& reason);

} // namespace zorby

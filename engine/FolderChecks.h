#pragma once

#include "WindowPort.h"
#include "Workspace.h"

#include <optional>
#include <string>

// Checks of the files in the custom UI folder as they stand on disk, made before anything is changed.
namespace zorby {

enum class Writing {
    ByReplacement, // a new version takes the place of the file: its other names, if any, keep the old one
    InPlace,       // the file itself is emptied and written: its other names would change with it
};

// Why `name` may not be touched: it is a symbolic link, which Zorby never writes, truncates, replaces or
// deletes through, or it is not a regular file; a file written in place also when it has other names
// (hard links). Nothing when it is a regular file or absent.
std::optional<Refusal> RefusalOfNonPlainFile(const char* name, Writing writing = Writing::ByReplacement);

// Why "Patch!" may not go on: the first input file that is no longer what the scan read (edited, added,
// removed or replaced since), or nothing when all three are as they were.
std::optional<Refusal> FindInputChangedSinceScan(const Workspace& workspace);

// Shows why the run cannot go on, before anything was changed. Returns Flow::Failed.
Flow Refuse(WindowPort& window, const Refusal& refusal);

} // namespace zorby

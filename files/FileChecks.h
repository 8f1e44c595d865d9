#pragma once

#include "Failure.h"
#include "Platform.h"

#include <string>

// Checks shared by the file services: where a name leads and whether it may be read, written or replaced.
// Not part of the public interface of the file layer.
namespace zorby::detail {

struct ExistingEntry {
    std::string path;
    platform::EntryStatus status;
};

// An entry that must exist. Throws 76 when a folder on the way is missing, 53 when the entry is (with
// links followed, also for a link to nothing), and the failure of looking at it when that fails.
ExistingEntry RequireExisting(const std::string& name, platform::Links links = platform::Links::Follow);

// A file to read from: as RequireExisting, and 75 for a folder or anything else that is not a regular file.
ExistingEntry RequireReadableFile(const std::string& name);

struct WriteTarget {
    std::string path;
    platform::EntryStatus status; // of the existing file; Missing when there is none yet
};

// A file about to be written or replaced. Throws 76 when its folder is missing, 75 when it is a folder
// and 70 when it exists and is read-only.
WriteTarget RequireWritableTarget(const std::string& name);

} // namespace zorby::detail

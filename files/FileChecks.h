#pragma once

#include "Failure.h"

#include <string>
#include <sys/stat.h>

// Checks shared by the file services: where a name leads and whether it may be read, written or replaced.
// Not part of the public interface of the file layer.
namespace zorby::detail {

// The failure for an errno value: 53, 76, 70, 75, 61, or 57 for anything else.
Failure FailureFromErrno(int error);

// A file whose owner write bit is clear is read-only, whoever runs the tool (root included).
inline bool IsReadOnly(const struct stat& status) {
    return (status.st_mode & S_IWUSR) == 0;
}

struct ExistingEntry {
    std::string path;
    struct stat status; // symlinks followed
};

// An entry that must exist. Throws 76 when a folder on the way is missing and 53 when the entry is.
ExistingEntry RequireExisting(const std::string& name);

// A file to read from: as RequireExisting, and 75 for a folder or anything else that is not a regular file.
ExistingEntry RequireReadableFile(const std::string& name);

struct WriteTarget {
    std::string path;
    bool exists = false;
    mode_t mode = 0; // permission bits of the existing file
};

// A file about to be written or replaced. Throws 76 when its folder is missing, 75 when it is a folder
// and 70 when it exists and is read-only.
WriteTarget RequireWritableTarget(const std::string& name);

} // namespace zorby::detail

#pragma once

#include "EntryKind.h"
#include "Platform.h"
#include "TextFile.h"

#include <string>

// Every name here is relative to the current directory (the custom UI folder) unless absolute, and is
// matched without regard to letter case (see PathResolver.h). Failures are thrown as zorby::Failure:
// 53 file not found, 76 path not found, 70 permission denied (also for a read-only file, even when
// running as root), 61 disk full.
namespace zorby {

// True when a regular file of that name exists, also behind a symbolic link; false for a folder or nothing.
bool CheckForFile(const std::string& name);

// What stands under `name` itself: a symbolic link is a Link, whatever it points to (if anything).
// Missing also when a folder on the way is missing.
EntryKind KindOfEntry(const std::string& name);

// What stands under `name`, links followed: its kind, size, names and identity. Missing when nothing
// does; throws when it cannot be looked at.
platform::EntryStatus StatusOfEntry(const std::string& name);

enum class Placement {
    Replace,   // the copy takes the place of an existing target
    WhereNone, // the copy is made only where no target stands; one that appeared meanwhile fails with 58
};

// Copies `source` onto `target`. The target is put in place in one step, so it is either the old file
// (or none) or the complete copy. A copy that replaces gets the source's owner and permission bits where
// the platform has them; one made where none stood is a plain new file.
void CopyFile(const std::string& source, const std::string& target, Placement placement = Placement::Replace);

// Deletes a file without force: a read-only file is left alone and fails with 70. A symbolic link is
// removed itself, never what it points to.
void RemoveFile(const std::string& name);

// Moves `from` to `to` in one step, replacing an existing `to`. A read-only `to` fails with 70 and
// nothing changes.
void MoveFileOver(const std::string& from, const std::string& to);

// Makes the folder `name` (found as every name is, letter case aside) the current folder. Throws 76 when
// there is no such folder.
void EnterFolder(const std::string& name);

// True when the folder that holds `name` itself forbids adding, renaming or removing entries there
// (where the platform tells that apart from a protected file). Never throws.
bool FolderForbidsChanges(const std::string& name);

// Throws exactly what RemoveFile would throw for `name`, without deleting anything.
void CheckDeletable(const std::string& name);

// Throws what writing `name` in place would throw before a byte is written (70 for a read-only file),
// without opening it.
void CheckWritable(const std::string& name);

// Throws what CopyFile(source, target, Placement::WhereNone) would throw before it copies anything: a
// missing source, a folder that may not take a new file. Nothing is created.
void CheckCopyable(const std::string& source, const std::string& target);

} // namespace zorby

#include "FileHelpers.h"

#include "FileChecks.h"
#include "PathResolver.h"
#include "Platform.h"
#include "ReplacementFile.h"

namespace zorby {

namespace {

// The folder part of a name as it is written, "." when it has none; nothing is looked up.
std::string FolderOfName(const std::string& name) {
    const std::size_t separator = name.find_last_of("/\\");
    return separator == std::string::npos ? std::string(".") : name.substr(0, separator + 1);
}

// The file RemoveFile would delete; throws what RemoveFile would throw before it tries. A symbolic link
// is the file: deleting it removes the link, so what it points to does not matter.
std::string RequireDeletable(const std::string& name) {
    const detail::ExistingEntry entry = detail::RequireExisting(name, platform::Links::DoNotFollow);
    if (entry.status.kind == EntryKind::Folder) {
        throw Failure(FileNotFound); // a folder is no file to delete
    }
    if (entry.status.readOnly) {
        throw Failure(PermissionDenied);
    }
    return entry.path;
}

} // namespace

bool CheckForFile(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    return resolved.state == ResolvedPath::State::Exists &&
           platform::StatusOf(resolved.path, platform::Links::Follow).kind == EntryKind::RegularFile;
}

EntryKind KindOfEntry(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    if (resolved.state != ResolvedPath::State::Exists) {
        return EntryKind::Missing;
    }
    return platform::StatusOf(resolved.path, platform::Links::DoNotFollow).kind;
}

platform::EntryStatus StatusOfEntry(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    if (resolved.state != ResolvedPath::State::Exists) {
        return {};
    }
    platform::EntryStatus status = platform::StatusOf(resolved.path, platform::Links::Follow);
    if (status.failure != 0) {
        throw Failure(status.failure);
    }
    return status;
}

void CopyFile(const std::string& source, const std::string& target, Placement placement) {
    const detail::ExistingEntry from = detail::RequireReadableFile(source);
    // A backup is no easier to read than its source; a seeded file is the player's own, writable as any
    // new file (the game's may be read-only, or another user's).
    ReplacementFile copy(target, {}, placement == Placement::Replace ? &from.status : nullptr);
    const platform::FileHandle file = platform::OpenForReading(from.path);
    std::string chunk(64 * 1024, '\0');
    while (const std::size_t got = platform::ReadSome(file, chunk.data(), chunk.size())) {
        copy.Write(std::string_view(chunk.data(), got));
    }
    placement == Placement::Replace ? copy.Commit() : copy.CommitWhereNone();
}

void RemoveFile(const std::string& name) {
    platform::Remove(RequireDeletable(name));
}

void CheckDeletable(const std::string& name) {
    platform::RequireRemovable(RequireDeletable(name));
}

void CheckWritable(const std::string& name) {
    (void)detail::RequireWritableTarget(name);
}

void CheckCopyable(const std::string& source, const std::string& target) {
    (void)detail::RequireReadableFile(source);
    (void)detail::RequireWritableTarget(target);
    if (FolderForbidsChanges(target)) {
        throw Failure(PermissionDenied);
    }
}

void EnterFolder(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    if (resolved.state != ResolvedPath::State::Exists ||
        platform::StatusOf(resolved.path, platform::Links::Follow).kind != EntryKind::Folder) {
        throw Failure(PathNotFound);
    }
    platform::ChangeCurrentFolder(resolved.path);
}

bool FolderForbidsChanges(const std::string& name) {
    return !platform::MayChangeEntriesOf(FolderOfName(name));
}

void MoveFileOver(const std::string& from, const std::string& to) {
    const detail::ExistingEntry source = detail::RequireExisting(from);
    if (source.status.kind == EntryKind::Folder) {
        throw Failure(PathFileAccessError);
    }
    // Resolved first, so that a `to` spelt in another letter case replaces that entry instead of
    // landing beside it. The read-only check there is the only one: some systems (Wine, root on POSIX)
    // would replace a read-only file.
    const detail::WriteTarget target = detail::RequireWritableTarget(to);
    platform::ReplaceInOneStep(source.path, target.path);
}

} // namespace zorby

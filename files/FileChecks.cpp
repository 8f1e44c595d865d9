#include "FileChecks.h"

#include "PathResolver.h"

namespace zorby::detail {

ExistingEntry RequireExisting(const std::string& name, platform::Links links) {
    const ResolvedPath resolved = ResolvePath(name);
    if (resolved.state == ResolvedPath::State::MissingFolder) {
        throw Failure(PathNotFound);
    }
    if (resolved.state == ResolvedPath::State::MissingLeaf) {
        throw Failure(FileNotFound);
    }
    ExistingEntry entry{resolved.path, platform::StatusOf(resolved.path, links)};
    if (entry.status.failure != 0) {
        throw Failure(entry.status.failure);
    }
    if (entry.status.kind == EntryKind::Missing) {
        throw Failure(FileNotFound); // a dangling symlink
    }
    return entry;
}

ExistingEntry RequireReadableFile(const std::string& name) {
    ExistingEntry entry = RequireExisting(name);
    // Folders, pipes and devices alike: reading them would fail or block.
    if (entry.status.kind != EntryKind::RegularFile) {
        throw Failure(PathFileAccessError);
    }
    return entry;
}

WriteTarget RequireWritableTarget(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    if (resolved.state == ResolvedPath::State::MissingFolder) {
        throw Failure(PathNotFound);
    }
    WriteTarget target{resolved.path, {}};
    if (resolved.state == ResolvedPath::State::MissingLeaf) {
        return target;
    }
    const platform::EntryStatus status = platform::StatusOf(target.path, platform::Links::Follow);
    if (status.failure != 0) {
        throw Failure(status.failure);
    }
    if (status.kind == EntryKind::Missing) {
        return target; // a dangling symlink: the new file takes its place
    }
    if (status.kind == EntryKind::Folder) {
        throw Failure(PathFileAccessError);
    }
    if (status.readOnly) {
        throw Failure(PermissionDenied);
    }
    target.status = status;
    return target;
}

} // namespace zorby::detail

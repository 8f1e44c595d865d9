#include "FileChecks.h"

#include "PathResolver.h"

#include <cerrno>

namespace zorby::detail {

Failure FailureFromErrno(int error) {
    switch (error) {
    case ENOENT:
        return Failure(FileNotFound);
    case ENOTDIR:
        return Failure(PathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return Failure(PermissionDenied);
    case EISDIR:
        return Failure(PathFileAccessError);
    case ENOSPC:
    case EDQUOT:
    case EFBIG: // a file-size limit stops the write just as a full disk does
        return Failure(DiskFull);
    default:
        return Failure(DeviceIoError);
    }
}

ExistingEntry RequireExisting(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    if (resolved.state == ResolvedPath::State::MissingFolder) {
        throw Failure(PathNotFound);
    }
    if (resolved.state == ResolvedPath::State::MissingLeaf) {
        throw Failure(FileNotFound);
    }
    ExistingEntry entry{resolved.path, {}};
    if (::stat(entry.path.c_str(), &entry.status) != 0) {
        throw FailureFromErrno(errno); // a dangling symlink ends here as 53
    }
    return entry;
}

ExistingEntry RequireReadableFile(const std::string& name) {
    ExistingEntry entry = RequireExisting(name);
    // Folders, pipes and devices alike: reading them would fail or block.
    if (!S_ISREG(entry.status.st_mode)) {
        throw Failure(PathFileAccessError);
    }
    return entry;
}

WriteTarget RequireWritableTarget(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    if (resolved.state == ResolvedPath::State::MissingFolder) {
        throw Failure(PathNotFound);
    }
    WriteTarget target{resolved.path, false, 0};
    if (resolved.state == ResolvedPath::State::MissingLeaf) {
        return target;
    }
    struct stat status {};
    if (::stat(target.path.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            return target; // a dangling symlink: the new file takes its place
        }
        throw FailureFromErrno(errno);
    }
    if (S_ISDIR(status.st_mode)) {
        throw Failure(PathFileAccessError);
    }
    if (IsReadOnly(status)) {
        throw Failure(PermissionDenied);
    }
    target.exists = true;
    target.mode = status.st_mode & 07777;
    return target;
}

} // namespace zorby::detail

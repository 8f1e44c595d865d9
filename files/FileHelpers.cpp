#include "FileHelpers.h"

#include "ErrorReport.h"
#include "FileChecks.h"
#include "PathResolver.h"
#include "ReplacementFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef _WIN32
#include "WindowsCalls.h"
#endif

namespace zorby {

namespace {

// Closes a descriptor when the scope ends, whatever happens in it.
class DescriptorGuard {
public:
    explicit DescriptorGuard(int fd) : fd_(fd) {}
    ~DescriptorGuard() { ::close(fd_); }
    DescriptorGuard(const DescriptorGuard&) = delete;
    DescriptorGuard& operator=(const DescriptorGuard&) = delete;

private:
    int fd_;
};

// The file RemoveFile would delete; throws what RemoveFile would throw before it tries. A symbolic link
// is the file: deleting it removes the link, so what it points to does not matter.
std::string RequireDeletable(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    if (resolved.state == ResolvedPath::State::MissingFolder) {
        throw Failure(PathNotFound);
    }
    struct stat status {};
    if (resolved.state == ResolvedPath::State::MissingLeaf || ::lstat(resolved.path.c_str(), &status) != 0) {
        throw Failure(FileNotFound);
    }
    if (S_ISDIR(status.st_mode)) {
        throw Failure(FileNotFound); // a folder is no file to delete
    }
    if (!S_ISLNK(status.st_mode) && detail::IsReadOnly(status)) {
        throw Failure(PermissionDenied);
    }
    return resolved.path;
}

} // namespace

bool CheckForFile(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    if (resolved.state != ResolvedPath::State::Exists) {
        return false;
    }
    struct stat status {};
    return ::stat(resolved.path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

EntryKind KindOfEntry(const std::string& name) {
    const ResolvedPath resolved = ResolvePath(name);
    struct stat status {};
    if (resolved.state != ResolvedPath::State::Exists || ::lstat(resolved.path.c_str(), &status) != 0) {
        return EntryKind::Missing;
    }
    if (S_ISLNK(status.st_mode)) {
        return EntryKind::Link;
    }
    if (S_ISREG(status.st_mode)) {
        return EntryKind::RegularFile;
    }
    return S_ISDIR(status.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

void CopyFile(const std::string& source, const std::string& target) {
    const detail::ExistingEntry from = detail::RequireReadableFile(source);
    ReplacementFile copy(target);
    CopyInto(from.path, copy);
    copy.Commit();
}

void CopyInto(const std::string& source, ReplacementFile& copy) {
    const detail::ExistingEntry from = detail::RequireReadableFile(source);
    const int fd = ::open(from.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw detail::FailureFromErrno(errno);
    }
    DescriptorGuard closeSource(fd);
    std::string chunk(64 * 1024, '\0');
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw detail::FailureFromErrno(errno);
        }
        if (got == 0) {
            break;
        }
        copy.Write(std::string_view(chunk.data(), static_cast<std::size_t>(got)));
    }
}

void RemoveFile(const std::string& name) {
    const std::string path = RequireDeletable(name);
    if (::unlink(path.c_str()) != 0) {
        throw detail::FailureFromErrno(errno);
    }
}

void CheckDeletable(const std::string& name) {
    const std::string path = RequireDeletable(name);
    // Deleting also needs write access to the folder (always granted to root, so only this can tell).
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        throw detail::FailureFromErrno(errno);
    }
}

void MoveFileOver(const std::string& from, const std::string& to) {
    const detail::ExistingEntry source = detail::RequireExisting(from);
    if (S_ISDIR(source.status.st_mode)) {
        throw Failure(PathFileAccessError);
    }
    // Resolved first, so that a `to` spelt in another letter case replaces that entry instead of
    // landing beside it.
    const detail::WriteTarget target = detail::RequireWritableTarget(to);
#ifdef _WIN32
    if (const int number = detail::MoveReplacingExisting(source.path, target.path); number != 0) {
        throw Failure(number);
    }
#else
    if (::rename(source.path.c_str(), target.path.c_str()) != 0) {
        throw detail::FailureFromErrno(errno);
    }
#endif
}

Flow DeleteFile(WindowPort& window, const std::string& name, Deletion how) {
    try {
        if (how == Deletion::Now) {
            RemoveFile(name);
        } else {
            CheckDeletable(name);
        }
    } catch (const Failure& failure) {
        if (failure.Number() == PermissionDenied) {
            window.ShowMessage(
                "Protected File",
                "The file " + name +
                    " is write protected - please delete or un-protect this file and try again",
                MessageIcon::Critical, MessageButtons::Ok);
        } else {
            ShowUnexpectedError(window, failure);
        }
        return Flow::Failed;
    }
    return Flow::Continue;
}

} // namespace zorby

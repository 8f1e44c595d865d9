// The file services on POSIX systems (Linux, the BSDs, macOS).

#include "Failure.h"
#include "Platform.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

namespace zorby::platform {

namespace {

int FailureNumberOf(int error) {
    switch (error) {
    case ENOENT:
        return FileNotFound;
    case EEXIST:
        return FileAlreadyExists;
    case ENOTDIR:
        return PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
        return PermissionDenied;
    case EISDIR:
        return PathFileAccessError;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: // a file-size limit stops the write just as a full disk does
        return DiskFull;
    default:
        return DeviceIoError;
    }
}

[[noreturn]] void ThrowErrno(int error) {
    throw Failure(FailureNumberOf(error));
}

int Descriptor(const FileHandle& file) {
    return static_cast<int>(file.Native());
}

// What open(..., 0666) would give a new file.
mode_t DefaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

FileHandle::~FileHandle() {
    if (IsOpen()) {
        ::close(static_cast<int>(native_));
    }
}

EntryStatus StatusOf(const std::string& path, Links links) {
    EntryStatus entry;
    struct stat status {};
    const int result =
        links == Links::Follow ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status);
    if (result != 0) {
        entry.failure = errno == ENOENT ? 0 : FailureNumberOf(errno);
        return entry;
    }
    if (S_ISLNK(status.st_mode)) {
        entry.kind = EntryKind::Link;
    } else if (S_ISREG(status.st_mode)) {
        entry.kind = EntryKind::RegularFile;
    } else if (S_ISDIR(status.st_mode)) {
        entry.kind = EntryKind::Folder;
    } else {
        entry.kind = EntryKind::Other;
    }
    entry.size = static_cast<std::uint64_t>(status.st_size);
    entry.readOnly = entry.kind != EntryKind::Link && (status.st_mode & S_IWUSR) == 0;
    entry.mode = status.st_mode & 07777;
    entry.owner = status.st_uid;
    entry.group = status.st_gid;
    entry.links = static_cast<std::uint32_t>(status.st_nlink);
    entry.volume = static_cast<std::uint64_t>(status.st_dev);
    entry.index = static_cast<std::uint64_t>(status.st_ino);
    entry.changed = static_cast<std::int64_t>(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
    return entry;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::opendir(folder.c_str()), &::closedir);
    if (!entries) {
        ThrowErrno(errno);
    }
    for (;;) {
        errno = 0; // readdir tells the end from a failure only by errno
        const dirent* entry = ::readdir(entries.get());
        if (entry == nullptr) {
            if (errno != 0) {
                ThrowErrno(errno);
            }
            return names;
        }
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
}

std::vector<std::string> EntriesThatMayBe(const std::string& folder, const std::string& /*component*/) {
    return FolderEntries(folder);
}

Root RootOf(std::string_view name) {
    if (!name.empty() && (name.front() == '/' || name.front() == '\\')) {
        return {"/", 1};
    }
    return {};
}

FileHandle OpenForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        ThrowErrno(errno);
    }
    return FileHandle(fd);
}

std::size_t ReadSome(const FileHandle& file, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(Descriptor(file), buffer, size);
        if (got >= 0) {
            return static_cast<std::size_t>(got);
        }
        if (errno != EINTR) {
            ThrowErrno(errno);
        }
    }
}

void WriteAll(const FileHandle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(Descriptor(file), bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void Sync(const FileHandle& file) {
    if (::fsync(Descriptor(file)) != 0) {
        ThrowErrno(errno);
    }
}

void Close(FileHandle& file) {
    if (::close(static_cast<int>(file.Release())) != 0 && errno != EINTR) {
        ThrowErrno(errno);
    }
}

FileHandle CreateNewFile(std::string& pattern, const EntryStatus& model) {
    FileHandle file(::mkstemp(pattern.data()));
    if (!file.IsOpen()) {
        ThrowErrno(errno);
    }
    const auto fail = [&](int error) {
        file = FileHandle();
        ::unlink(pattern.c_str());
        ThrowErrno(error);
    };
    // No program started meanwhile (a link's browser) inherits it.
    if (::fcntl(Descriptor(file), F_SETFD, FD_CLOEXEC) != 0) {
        fail(errno);
    }
    // Set now, while the file is still ours alone. The owner first: changing it may clear set-id bits.
    const bool modelled = model.kind != EntryKind::Missing;
    if (modelled) {
        // Only an administrator may give a file away: where that is refused, the file stays the runner's
        // own, as any new file would.
        (void)::fchown(Descriptor(file), model.owner, model.group);
    }
    // A file system that keeps no permission bits (FAT, exFAT) refuses to set them: the file then has
    // the mode that file system gives every file, which is no failure.
    if (::fchmod(Descriptor(file), modelled ? model.mode : DefaultFileMode()) != 0 && errno != EPERM &&
        errno != ENOTSUP && errno != EOPNOTSUPP && errno != ENOSYS) {
        fail(errno);
    }
    return file;
}

FileHandle OpenTruncatedNotFollowingLinks(const std::string& path) {
    // Truncated only once it is known to be a plain file with this one name.
    FileHandle file(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666));
    if (!file.IsOpen()) {
        ThrowErrno(errno == ELOOP ? EACCES : errno);
    }
    struct stat status {};
    if (::fstat(Descriptor(file), &status) != 0) {
        ThrowErrno(errno);
    }
    if (!S_ISREG(status.st_mode) || status.st_nlink > 1) {
        throw Failure(PermissionDenied);
    }
    if (::ftruncate(Descriptor(file), 0) != 0) {
        ThrowErrno(errno);
    }
    return file;
}

void ReplaceInOneStep(const std::string& from, const std::string& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        ThrowErrno(errno);
    }
}

void PlaceWhereNone(const std::string& from, const std::string& to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        ThrowErrno(errno);
    }
#endif
    // Where the file system cannot rename that way: a second name made only where none is, then the
    // first name dropped.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return;
    }
    // A file system without hard links (FAT, exFAT): a plain rename where nothing stands, looked at last.
    const bool noLinks = errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP;
    struct stat status {};
    if (!noLinks || ::lstat(to.c_str(), &status) == 0) {
        ThrowErrno(noLinks ? EEXIST : errno);
    }
    ReplaceInOneStep(from, to);
}

void Remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0) {
        ThrowErrno(errno);
    }
}

void RequireRemovable(const std::string& path) {
    // Deleting also needs write access to the folder (always granted to root, so only this can tell).
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) {
        ThrowErrno(errno);
    }
}

bool MayChangeEntriesOf(const std::string& folder) {
    // The effective ids and rights, which are those a rename or an unlink is checked against.
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

FileHandle TryLockFolder(const std::string& folder) {
    // The lock is on the folder itself, so no lock file is ever left behind; the system drops it with the
    // last descriptor, when the process ends.
    FileHandle held(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!held.IsOpen()) {
        ThrowErrno(errno);
    }
    while (::flock(Descriptor(held), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) {
            return FileHandle();
        }
        if (errno != EINTR) {
            ThrowErrno(errno);
        }
    }
    return held;
}

FileHandle TryLockName(const std::string& name) {
#ifdef __linux__
    // A socket bound to a name in the abstract namespace: the name is taken for as long as the socket is
    // open, and it is never a file.
    FileHandle held(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!held.IsOpen()) {
        ThrowErrno(errno);
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::size_t length = std::min(name.size(), sizeof address.sun_path - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (::bind(Descriptor(held), reinterpret_cast<const sockaddr*>(&address), size) != 0) {
        if (errno == EADDRINUSE) {
            return FileHandle();
        }
        ThrowErrno(errno);
    }
    return held;
#else
    (void)name; // no such names here: the folder's identity alone holds it
    return FileHandle(::open("/dev/null", O_RDONLY | O_CLOEXEC));
#endif
}

std::int64_t WallClock() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void ChangeCurrentFolder(const std::string& path) {
    if (::chdir(path.c_str()) != 0) {
        ThrowErrno(errno);
    }
}

std::string ProgramFolder() {
    std::string program(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", program.data(), program.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= program.size()) {
        return {};
    }
    program.resize(static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/') + 1);
}

std::string CurrentFolderPath() {
    std::string path(256, '\0');
    while (::getcwd(path.data(), path.size()) == nullptr) {
        if (errno != ERANGE) {
            ThrowErrno(errno);
        }
        path.resize(path.size() * 2);
    }
    path.resize(std::strlen(path.c_str()));
    return path;
}

} // namespace zorby::platform

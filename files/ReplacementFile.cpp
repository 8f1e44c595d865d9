#include "ReplacementFile.h"

#include "FileChecks.h"
#include "PathResolver.h"
#include "PosixFileSink.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorby {

namespace {

// What open(..., 0666) would give a new file.
mode_t DefaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The temporary file of a replacement is hidden beside its target: ".<target>.zorby-" and six letters
// or digits that mkstemp chooses.
constexpr std::string_view kTemporaryMark = ".zorby-";
constexpr std::size_t kTemporaryRandomLetters = 6;

std::string TemporaryPattern(const std::string& folder, const std::string& leaf) {
    return folder + "." + leaf + std::string(kTemporaryMark) + std::string(kTemporaryRandomLetters, 'X');
}

bool IsTemporaryNameOf(std::string_view entry, std::string_view leaf) {
    const std::size_t prefix = 1 + leaf.size() + kTemporaryMark.size();
    if (entry.size() != prefix + kTemporaryRandomLetters || entry[0] != '.' ||
        !EqualIgnoringAsciiCase(entry.substr(1, leaf.size()), leaf) ||
        entry.substr(1 + leaf.size(), kTemporaryMark.size()) != kTemporaryMark) {
        return false;
    }
    const auto letterOrDigit = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    };
    return std::all_of(entry.begin() + static_cast<std::ptrdiff_t>(prefix), entry.end(), letterOrDigit);
}

// Makes the rename itself durable. Best effort: the data is already safe, only the name may be lost.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

ReplacementFile::ReplacementFile(const std::string& name, const SinkWrapper& wrap) {
    const detail::WriteTarget target = detail::RequireWritableTarget(name);
    targetPath_ = target.path;
    const std::string folder = FolderOf(targetPath_);
    std::string pattern = TemporaryPattern(folder, targetPath_.substr(folder.size()));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        throw detail::FailureFromErrno(errno);
    }
    tempPath_ = pattern;
    try {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC); // no program started meanwhile (a link's browser) inherits it
        // Set now, while the file is still ours alone: the replacement keeps the permissions of the old file.
        if (::fchmod(fd, target.exists ? target.mode : DefaultFileMode()) != 0) {
            const int error = errno;
            ::close(fd);
            throw detail::FailureFromErrno(error);
        }
        std::unique_ptr<ByteSink> realSink;
        try {
            realSink = std::make_unique<PosixFileSink>(fd);
        } catch (...) {
            ::close(fd);
            throw;
        }
        sink_ = wrap ? wrap(std::move(realSink)) : std::move(realSink);
        if (!sink_) {
            throw Failure(InvalidArgument);
        }
    } catch (...) {
        Abandon();
        throw;
    }
}

ReplacementFile::~ReplacementFile() {
    if (!committed_) {
        Abandon();
    }
}

void ReplacementFile::Write(std::string_view bytes) {
    RequireUsable();
    Guarded([&] { sink_->Write(bytes); });
}

void ReplacementFile::WriteLine(std::string_view line) {
    // One Write per line, through a buffer that keeps its capacity from line to line.
    lineBuffer_.assign(line).append("\r\n");
    Write(lineBuffer_);
}

void ReplacementFile::Sync() {
    RequireUsable();
    if (!synced_) {
        Guarded([&] { sink_->Finish(); });
        synced_ = true;
    }
}

void ReplacementFile::Commit() {
    Sync();
    Guarded([&] {
        // The target may have been protected while the new version was being written.
        struct stat status {};
        if (::stat(targetPath_.c_str(), &status) == 0 && detail::IsReadOnly(status)) {
            throw Failure(PermissionDenied);
        }
        if (::rename(tempPath_.c_str(), targetPath_.c_str()) != 0) {
            throw detail::FailureFromErrno(errno);
        }
    });
    committed_ = true;
    sink_.reset();
    SyncFolder(FolderOf(targetPath_));
}

void ReplacementFile::RemoveLeftovers(const std::string& name) {
    const ResolvedPath target = ResolvePath(name);
    if (target.state == ResolvedPath::State::MissingFolder) {
        return;
    }
    const std::string folder = FolderOf(target.path);
    const std::string leaf = target.path.substr(folder.size());
    for (const std::string& entry : FolderEntries(folder.empty() ? "." : folder)) {
        struct stat status {};
        const std::string path = folder + entry;
        if (IsTemporaryNameOf(entry, leaf) && ::lstat(path.c_str(), &status) == 0 &&
            S_ISREG(status.st_mode)) {
            ::unlink(path.c_str());
        }
    }
}

void ReplacementFile::RequireUsable() const {
    if (failedNumber_ != 0) {
        throw Failure(failedNumber_);
    }
    if (committed_) {
        throw Failure(InvalidArgument);
    }
}

template <typename Step> void ReplacementFile::Guarded(Step step) {
    try {
        step();
    } catch (const Failure& failure) {
        failedNumber_ = failure.Number();
        Abandon();
        throw;
    } catch (...) {
        failedNumber_ = DeviceIoError;
        Abandon();
        throw;
    }
}

void ReplacementFile::Abandon() noexcept {
    sink_.reset();
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

} // namespace zorby

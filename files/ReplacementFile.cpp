#include "ReplacementFile.h"

#include "FileChecks.h"
#include "FileSink.h"
#include "PathResolver.h"
#include "Platform.h"

#include <algorithm>

namespace zorby {

namespace {

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The temporary file of a replacement is hidden beside its target: ".<target>.zorby-" and six letters
// or digits chosen when it is created.
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

} // namespace

ReplacementFile::ReplacementFile(const std::string& name, const SinkWrapper& wrap,
                                 const platform::EntryStatus* model) {
    const detail::WriteTarget target = detail::RequireWritableTarget(name);
    targetPath_ = target.path;
    const std::string folder = FolderOf(targetPath_);
    std::string pattern = TemporaryPattern(folder, targetPath_.substr(folder.size()));
    // Where the platform has them, the replacement keeps the old file's owner and permission bits.
    platform::FileHandle file = platform::CreateNewFile(pattern, model ? *model : target.status);
    tempPath_ = pattern;
    try {
        sink_ = std::make_unique<FileSink>(std::move(file));
        if (wrap) {
            sink_ = wrap(std::move(sink_));
        }
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

void ReplacementFile::Sync() {
    RequireUsable();
    if (!synced_) {
        Guarded([&] { sink_->Finish(); });
        synced_ = true;
    }
}

void ReplacementFile::Commit() {
    Place(true);
}

void ReplacementFile::CommitWhereNone() {
    Place(false);
}

void ReplacementFile::Place(bool replacing) {
    Sync();
    Guarded([&] {
        if (!replacing) {
            platform::PlaceWhereNone(tempPath_, targetPath_);
            return;
        }
        // The target may have been protected while the new version was being written.
        if (platform::StatusOf(targetPath_, platform::Links::Follow).readOnly) {
            throw Failure(PermissionDenied);
        }
        platform::ReplaceInOneStep(tempPath_, targetPath_);
    });
    committed_ = true;
    sink_.reset();
    // Makes the rename itself durable. Best effort: the data is already safe, only the name may be lost.
    platform::SyncFolder(FolderOf(targetPath_));
}

void ReplacementFile::RemoveLeftovers(const std::string& name) {
    const ResolvedPath target = ResolvePath(name);
    if (target.state == ResolvedPath::State::MissingFolder) {
        return;
    }
    const std::string folder = FolderOf(target.path);
    const std::string leaf = target.path.substr(folder.size());
    std::vector<std::string> entries;
    try {
        entries = platform::FolderEntries(folder.empty() ? "." : folder);
    } catch (const Failure&) {
        return; // best effort: a folder that cannot be listed is reported where its files are needed
    }
    for (const std::string& entry : entries) {
        const std::string path = folder + entry;
        if (IsTemporaryNameOf(entry, leaf) &&
            platform::StatusOf(path, platform::Links::DoNotFollow).kind == EntryKind::RegularFile) {
            try {
                platform::Remove(path);
            } catch (const Failure&) {
                // Best effort: what cannot be removed stays.
            }
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
        try {
            platform::Remove(tempPath_);
        } catch (...) {
            // The run fails anyway; a leftover is removed at the next start.
        }
        tempPath_.clear();
    }
}

} // namespace zorby

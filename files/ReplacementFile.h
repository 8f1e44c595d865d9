#pragma once

#include "Platform.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zorby {

// Where the bytes of a replacement file go. The real one writes to the file on disk; tests wrap it with
// one that fails on purpose.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
    // Flushes everything to disk. Throws Failure when the data cannot be stored.
    virtual void Finish() = 0;
};

// Lets a caller put its own sink around the real one (fault injection in tests).
using SinkWrapper = std::function<std::unique_ptr<ByteSink>(std::unique_ptr<ByteSink>)>;

// Writes a new version of a file next to it and puts it in place in one step, so that the file on disk
// is always either the old one or the complete new one. Without Commit() the temporary file is removed
// and the old file is left as it was; the same happens at once when a write fails, and every later call
// then fails with the same number.
class ReplacementFile {
public:
    // Throws Failure: 76 when the folder is missing, 70 when the target exists and is read-only. The new
    // version gets the owner and permissions of `model` where the platform has them, by default those of
    // the file it replaces.
    explicit ReplacementFile(const std::string& name, const SinkWrapper& wrap = {},
                             const platform::EntryStatus* model = nullptr);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    void Write(std::string_view bytes);
    // Flushes and syncs: the new version is complete on disk, but not yet in place.
    void Sync();
    // Syncs unless done, and renames the temporary file over the target.
    void Commit();
    // As Commit(), but only where nothing stands under the target's name: an entry that appeared
    // meanwhile fails with 58 and is left as it is.
    void CommitWhereNone();

    // Removes the temporary files that replacements of `name` left behind when a run was killed while
    // writing: only names of the form this class gives them, nothing else. Best effort: what cannot be
    // removed stays.
    static void RemoveLeftovers(const std::string& name);

private:
    void RequireUsable() const;
    template <typename Step> void Guarded(Step step);
    void Abandon() noexcept;
    void Place(bool replacing);

    std::string targetPath_;
    std::string tempPath_;
    std::unique_ptr<ByteSink> sink_;
    int failedNumber_ = 0;
    bool synced_ = false;
    bool committed_ = false;
};

} // namespace zorby

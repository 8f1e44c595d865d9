#pragma once

#include "PathResolver.h"
#include "Platform.h"
#include "TextFile.h"

#include <string>

namespace zorby {

// One run per custom UI folder. Two windows open on one folder would each patch over the other's
// result, and the backup of the second would hold the first one's patch instead of the player's
// original. The folder is held by its identity and by its path, letter case aside: some file systems
// without letter case (FAT and exFAT as Linux mounts them) give each spelling of a folder an identity of
// its own. The system drops both holds when the run ends, however it ends, and nothing stays on disk.
class RunLock {
public:
    RunLock() = default;

    // Takes the lock on the current folder, unless another run holds it: see Held().
    static RunLock OnCurrentFolder() {
        const std::string path = FoldedAsciiCase(platform::CurrentFolderPath());
        return RunLock(platform::TryLockFolder("."),
                       platform::TryLockName("zorby-run-" + std::to_string(HashOfBytes(path))));
    }

    bool Held() const { return identity_.IsOpen() && path_.IsOpen(); }

private:
    RunLock(platform::FileHandle identity, platform::FileHandle path)
        : identity_(std::move(identity)), path_(std::move(path)) {}

    platform::FileHandle identity_;
    platform::FileHandle path_;
};

} // namespace zorby

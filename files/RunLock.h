#pragma once

#include "Platform.h"

namespace zorby {

// One run per custom UI folder. Two windows open on one folder would each patch over the other's
// result, and the backup of the second would hold the first one's patch instead of the player's
// original. The system drops the lock when the run ends, however it ends, and nothing stays on disk.
class RunLock {
public:
    RunLock() = default;

    // Takes the lock on the current folder, unless another run holds it: see Held().
    static RunLock OnCurrentFolder() { return RunLock(platform::TryLockFolder(".")); }

    bool Held() const { return hold_.IsOpen(); }

private:
    explicit RunLock(platform::FileHandle hold) : hold_(std::move(hold)) {}

    platform::FileHandle hold_;
};

} // namespace zorby

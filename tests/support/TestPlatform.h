#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>

// The few things tests do that depend on the platform. What a platform cannot do throws
// NotAvailableHere, whose text says why, so that the test can skip with that reason.
namespace zorby::testing {

using Path = std::filesystem::path;

struct NotAvailableHere : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Why tests of POSIX permission bits, or of names that differ only in letter case, cannot run here;
// nullptr where they can.
#ifdef _WIN32
inline constexpr const char* kNoPermissionBits =
    "Windows files have a read-only attribute, no permission bits";
inline constexpr const char* kNoCaseTwins = "a Windows folder cannot hold two names that differ only in case";
#else
inline constexpr const char* kNoPermissionBits = nullptr;
inline constexpr const char* kNoCaseTwins = nullptr;
#endif

void MakeReadOnly(const Path& name); // no write bits on POSIX, the read-only attribute on Windows
void MakeSymbolicLink(const Path& target, const Path& name);
void MakePipe(const Path& name);                        // a named pipe (FIFO)
void MakeSparse(const Path& name, std::uintmax_t size); // `size` bytes that take no room on disk
unsigned SetFileCreationMask(unsigned mask);            // returns the mask before

// A guard for as long as it lives, and no longer.
struct Guard {
    Guard() = default;
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

// The process has no more rights than the owner of its files would: an administrator's right to read and
// change any folder is set aside, so that a folder's permission bits hold for it too.
struct WithoutAdministratorRights : Guard {
    WithoutAdministratorRights();
    ~WithoutAdministratorRights();
    bool dropped = false;
};

// A write that would take any file of the process past `bytes` fails as on a full disk.
struct FileSizeLimit : Guard {
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    std::uint64_t previous = 0;
    void (*previousHandler)(int) = nullptr;
};

#ifdef _WIN32
// The file is held open for reading as another program holds it: sharing reading only (the game, an
// editor), so that it cannot be replaced, renamed or deleted; sharing everything (a virus scanner), so
// that it can be renamed and deleted but not replaced; or sharing nothing. Windows checks sharing open by
// open, so a hold by the test itself stands for another program's.
struct HeldOpen : Guard {
    enum class Sharing { Reading, Everything, Nothing };
    HeldOpen(const Path& name, Sharing sharing);
    ~HeldOpen();
    void* handle;
};
#endif

} // namespace zorby::testing

#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>

// The few things tests do that depend on the platform. What a platform cannot do throws
// NotAvailableHere, whose text says why, so that the test can skip with that reason.
namespace zorby::testing {

class NotAvailableHere : public std::runtime_error {
public:
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

// The platform's own way: no write bits on POSIX, the read-only attribute on Windows.
void MakeReadOnly(const std::filesystem::path& name);

// A symbolic link `name` that points to `target`.
void MakeSymbolicLink(const std::filesystem::path& target, const std::filesystem::path& name);

// A named pipe (FIFO) in the folder.
void MakePipe(const std::filesystem::path& name);

// Gives the file `size` bytes without writing them: a sparse file, which takes no room on disk.
void MakeSparse(const std::filesystem::path& name, std::uintmax_t size);

// Sets the mask of permission bits that new files do not get; returns the one before.
unsigned SetFileCreationMask(unsigned mask);

// While it lives, the process has no more rights than the owner of its files would: an administrator's
// right to read and change any folder is set aside, so that a folder's permission bits hold for it too.
class WithoutAdministratorRights {
public:
    WithoutAdministratorRights();
    ~WithoutAdministratorRights();
    WithoutAdministratorRights(const WithoutAdministratorRights&) = delete;
    WithoutAdministratorRights& operator=(const WithoutAdministratorRights&) = delete;

private:
    bool dropped_ = false;
};

#ifdef _WIN32
// While it lives, the file is held open for reading as another program holds it: sharing reading only
// (the game, an editor), so that it cannot be replaced, renamed or deleted; sharing everything (a virus
// scanner), so that it can be renamed and deleted but not replaced; or sharing nothing. Windows checks
// sharing open by open, so a hold by the test itself stands for another program's.
class HeldOpen {
public:
    enum class Sharing { Reading, Everything, Nothing };
    HeldOpen(const std::filesystem::path& name, Sharing sharing);
    ~HeldOpen();
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

private:
    void* handle_;
};
#endif

// While it lives, a write that would take any file of the process past `bytes` fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t previous_ = 0;
    void (*previousHandler_)(int) = nullptr;
};

} // namespace zorby::testing

#include "TestPlatform.h"

#include <csignal>
#include <string>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <winioctl.h>
#else
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace zorby::testing {

namespace fs = std::filesystem;

#ifdef _WIN32

void MakeReadOnly(const fs::path& name) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        !SetFileAttributesW(name.c_str(), attributes | FILE_ATTRIBUTE_READONLY)) {
        throw std::runtime_error("cannot make " + name.string() + " read-only");
    }
}

void MakeSymbolicLink(const fs::path& target, const fs::path& name) {
    const DWORD flags = SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    // Wine answers success without making anything, so the link is looked for afterwards.
    const DWORD attributes =
        CreateSymbolicLinkW(name.c_str(), fs::path(target).make_preferred().c_str(), flags)
            ? GetFileAttributesW(name.c_str())
            : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        throw NotAvailableHere("no symbolic link can be made here (it takes Windows in developer mode or an "
                               "administrator; Wine cannot hold one)");
    }
}

void MakePipe(const fs::path&) {
    throw NotAvailableHere("Windows has no named pipes in folders");
}

void MakeSparse(const fs::path& name, std::uintmax_t size) {
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD ignored = 0;
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    const bool done = file != INVALID_HANDLE_VALUE &&
                      DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr) &&
                      SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    if (!done) {
        throw std::runtime_error("cannot make " + name.string() + " a sparse file");
    }
}

unsigned SetFileCreationMask(unsigned) {
    throw NotAvailableHere(kNoPermissionBits);
}

FileSizeLimit::FileSizeLimit(std::uint64_t) {
    throw NotAvailableHere("Windows has no limit on the size of the files a process writes");
}

WithoutAdministratorRights::WithoutAdministratorRights() {
    throw NotAvailableHere("a Windows folder has no permission bits to refuse its listing or changes");
}

WithoutAdministratorRights::~WithoutAdministratorRights() = default;

FileSizeLimit::~FileSizeLimit() = default;

HeldOpen::HeldOpen(const fs::path& name, Sharing sharing) {
    // By Sharing: Reading, Everything, Nothing.
    constexpr DWORD kShare[] = {FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0};
    handle_ = CreateFileW(name.c_str(), GENERIC_READ, kShare[static_cast<int>(sharing)], nullptr,
                          OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot hold " + name.string() + " open");
    }
}

HeldOpen::~HeldOpen() {
    CloseHandle(handle_);
}

#else

void MakeReadOnly(const fs::path& name) {
    fs::permissions(name, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

void MakeSymbolicLink(const fs::path& target, const fs::path& name) {
    fs::create_symlink(target, name);
}

void MakePipe(const fs::path& name) {
    if (::mkfifo(name.c_str(), 0644) != 0) {
        throw std::runtime_error("cannot make the pipe " + name.string());
    }
}

void MakeSparse(const fs::path& name, std::uintmax_t size) {
    fs::resize_file(name, size);
}

unsigned SetFileCreationMask(unsigned mask) {
    return ::umask(static_cast<mode_t>(mask));
}

namespace {

// The rights to read and search any folder and to write anything, which root has and a player has not.
constexpr unsigned kAdministratorRights = (1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH);

bool SetEffectiveRights(bool administrator) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) {
        return false;
    }
    data[0].effective = administrator ? data[0].effective | (data[0].permitted & kAdministratorRights)
                                      : data[0].effective & ~kAdministratorRights;
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

// Only the effective rights are set aside: the permitted ones stay, so that they can be taken up again.
WithoutAdministratorRights::WithoutAdministratorRights() {
    if (::geteuid() == 0) {
        if (!SetEffectiveRights(false)) {
            throw NotAvailableHere("the administrator's rights cannot be set aside here");
        }
        dropped_ = true;
    }
}

WithoutAdministratorRights::~WithoutAdministratorRights() {
    if (dropped_) {
        SetEffectiveRights(true);
    }
}

// A write past the limit then fails with EFBIG, which the file layer reports as a full disk. The
// process-wide limit is the real thing, unlike a hook, so it also reaches the backup copy.
FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
        throw std::runtime_error("getrlimit failed");
    }
    previous_ = limit.rlim_cur;
    // Without this the process would be killed instead of seeing the failed write.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        std::signal(SIGXFSZ, previousHandler_);
        throw std::runtime_error("setrlimit failed");
    }
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(previous_);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler_);
}

#endif

} // namespace zorby::testing

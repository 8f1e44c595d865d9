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

namespace {

void Require(bool done, const std::string& what) {
    if (!done) {
        throw std::runtime_error("cannot " + what);
    }
}

} // namespace

#ifdef _WIN32

void MakeReadOnly(const Path& name) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    Require(attributes != INVALID_FILE_ATTRIBUTES &&
                SetFileAttributesW(name.c_str(), attributes | FILE_ATTRIBUTE_READONLY),
            "make " + name.string() + " read-only");
}

void MakeSymbolicLink(const Path& target, const Path& name) {
    // Wine answers success without making anything, so the link is looked for afterwards.
    const DWORD attributes = CreateSymbolicLinkW(name.c_str(), Path(target).make_preferred().c_str(),
                                                 SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)
                                 ? GetFileAttributesW(name.c_str())
                                 : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        throw NotAvailableHere("no symbolic link can be made here (it takes Windows in developer mode or an "
                               "administrator; Wine cannot hold one)");
    }
}

void MakePipe(const Path&) {
    throw NotAvailableHere("Windows has no named pipes in folders");
}

void MakeSparse(const Path& name, std::uintmax_t size) {
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
    Require(done, "make " + name.string() + " a sparse file");
}

unsigned SetFileCreationMask(unsigned) {
    throw NotAvailableHere(kNoPermissionBits);
}

FileSizeLimit::FileSizeLimit(std::uint64_t) {
    throw NotAvailableHere("Windows has no limit on the size of the files a process writes");
}
FileSizeLimit::~FileSizeLimit() = default;

WithoutAdministratorRights::WithoutAdministratorRights() {
    throw NotAvailableHere("a Windows folder has no permission bits to refuse its listing or changes");
}
WithoutAdministratorRights::~WithoutAdministratorRights() = default;

HeldOpen::HeldOpen(const Path& name, Sharing sharing) {
    constexpr DWORD kShare[] = {FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0};
    handle = CreateFileW(name.c_str(), GENERIC_READ, kShare[static_cast<int>(sharing)], nullptr,
                         OPEN_EXISTING, 0, nullptr);
    Require(handle != INVALID_HANDLE_VALUE, "hold " + name.string() + " open");
}
HeldOpen::~HeldOpen() {
    CloseHandle(handle);
}

#else

void MakeReadOnly(const Path& name) {
    fs::permissions(name, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

void MakeSymbolicLink(const Path& target, const Path& name) {
    fs::create_symlink(target, name);
}

void MakePipe(const Path& name) {
    Require(::mkfifo(name.c_str(), 0644) == 0, "make the pipe " + name.string());
}

void MakeSparse(const Path& name, std::uintmax_t size) {
    fs::resize_file(name, size);
}

unsigned SetFileCreationMask(unsigned mask) {
    return ::umask(static_cast<mode_t>(mask));
}

namespace {

// Root's rights to read and search any folder and to write anything, which a player has not. Only the
// effective rights are set aside: the permitted ones stay, so that they can be taken up again.
bool SetEffectiveRights(bool administrator) {
    constexpr unsigned kAdministratorRights = (1U << CAP_DAC_OVERRIDE) | (1U << CAP_DAC_READ_SEARCH);
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

WithoutAdministratorRights::WithoutAdministratorRights() : dropped(::geteuid() == 0) {
    if (dropped && !SetEffectiveRights(false)) {
        throw NotAvailableHere("the administrator's rights cannot be set aside here");
    }
}
WithoutAdministratorRights::~WithoutAdministratorRights() {
    if (dropped) {
        SetEffectiveRights(true);
    }
}

// A write past the limit then fails with EFBIG, which the file layer reports as a full disk. The
// process-wide limit is the real thing, unlike a hook, so it also reaches the backup copy.
FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    rlimit limit{};
    Require(::getrlimit(RLIMIT_FSIZE, &limit) == 0, "read the file-size limit");
    previous = limit.rlim_cur;
    previousHandler = std::signal(SIGXFSZ, SIG_IGN); // or the process would be killed at the write
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
        std::signal(SIGXFSZ, previousHandler);
        Require(false, "set the file-size limit");
    }
}
FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(previous);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler);
}

#endif

} // namespace zorby::testing

// The file services on Windows, through the wide (UTF-16) functions of the Win32 API. Names stay UTF-8
// everywhere else and are converted here, on their way in and out. A file that another program holds
// open is waited for briefly, then reported as in use (55), never as protected.
//
// <windows.h> defines CopyFile and DeleteFile as macros, which would clash with the file helpers of the
// same names: nothing here includes FileHelpers.h.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include "Failure.h"
#include "Platform.h"

#include <algorithm>
#include <random>
#include <windows.h>

namespace zorby::platform {

namespace {

constexpr DWORD kDiskQuotaExceeded = 1295; // ERROR_DISK_QUOTA_EXCEEDED, which MinGW's headers lack

int FailureNumberOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return FileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
        return PathNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileInUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_PRIVILEGE_NOT_HELD:
        return PermissionDenied;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return FileAlreadyExists;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIR_NOT_EMPTY:
        return PathFileAccessError;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case kDiskQuotaExceeded:
    case ERROR_FILE_TOO_LARGE:
        return DiskFull;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return OutOfMemory;
    default:
        return DeviceIoError;
    }
}

// `file`: the one the call was about, which a notice of a file in use names.
[[noreturn]] void ThrowLastError(const std::string& file = {}) {
    throw Failure(FailureNumberOf(GetLastError()), file);
}

// UTF-8 to UTF-16, with '\' between components. Bytes that are no UTF-8 cannot name anything here.
std::wstring Wide(std::string_view path) {
    if (path.empty()) {
        return {};
    }
    const int size = static_cast<int>(path.size());
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (length <= 0) {
        throw Failure(PathFileAccessError);
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), length);
    for (wchar_t& c : wide) {
        if (c == L'/') {
            c = L'\\';
        }
    }
    return wide;
}

std::string Narrow(const wchar_t* name) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, name, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, name, -1, narrow.data(), length, nullptr, nullptr);
    narrow.pop_back(); // the terminating NUL
    return narrow;
}

HANDLE Native(const FileHandle& file) {
    return reinterpret_cast<HANDLE>(file.Native());
}

FileHandle Own(HANDLE handle) {
    return FileHandle(reinterpret_cast<std::intptr_t>(handle));
}

// The name of an open file, for a failure on it that a notice names (another program's lock on a part of
// it); empty when the system does not tell.
std::string NameOf(const FileHandle& file) {
    wchar_t name[MAX_PATH * 2] = {};
    const DWORD length = GetFinalPathNameByHandleW(Native(file), name, static_cast<DWORD>(std::size(name)),
                                                   FILE_NAME_NORMALIZED);
    return length > 0 && length < std::size(name) ? Narrow(name) : std::string();
}

[[noreturn]] void ThrowLastError(const FileHandle& file) {
    const int number = FailureNumberOf(GetLastError());
    throw Failure(number, NameOf(file));
}

// Symbolic links and junctions stand for another entry; other reparse points (files kept in the cloud,
// deduplicated files) are the file itself.
bool IsLink(DWORD attributes, DWORD reparseTag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && IsReparseTagNameSurrogate(reparseTag);
}

bool IsLink(HANDLE handle) {
    FILE_ATTRIBUTE_TAG_INFO info{};
    return GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &info, sizeof info) &&
           IsLink(info.FileAttributes, info.ReparseTag);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens the entry itself (a link, not what it points to) with `access`, folders included.
HANDLE OpenEntry(const std::wstring& path, DWORD access, DWORD share = kShareAll) {
    return CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool IsHold(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// A replace onto a file that is open fails with access denied, as a real lack of rights does: the file
// itself tells them apart. An open that shares nothing fails with a sharing violation while any other
// program has the file open, however it shares it; access denied, or success, means no one holds it.
bool HeldByAnotherProgram(const std::string& path) {
    const FileHandle probe = Own(OpenEntry(Wide(path), DELETE, 0));
    return !probe.IsOpen() && IsHold(GetLastError());
}

// Another program that has a file open without sharing deletion (the game, an editor, a sync client, a
// virus scanner looking at a new file) blocks its replacement, rename and removal, mostly for a moment.
// Runs `step`, a Win32 call on `files` (true, or false with GetLastError() set), again for about two
// seconds while one of them is held, then fails with 55 naming the held one; other failures at once.
template <typename Step> void RetryWhileHeld(Step step, std::initializer_list<const std::string*> files) {
    constexpr ULONGLONG kPatience = 2000;
    constexpr DWORD kPause = 50;
    const ULONGLONG deadline = GetTickCount64() + kPatience;
    bool deniedUnheld = false; // the last try was denied with no one holding the files
    while (!step()) {
        const DWORD error = GetLastError();
        if (error != ERROR_ACCESS_DENIED && !IsHold(error)) {
            throw Failure(FailureNumberOf(error), **files.begin());
        }
        const auto held =
            std::ranges::find_if(files, [](const std::string* file) { return HeldByAnotherProgram(*file); });
        // Access denied with no one holding the files is a real lack of rights, or a hold that ended
        // between the try and the look: tried once more at once, and denied so again, it is the rights. A
        // sharing violation with no one holding them any more means the hold ended just now: tried again.
        if (held == files.end() && !IsHold(error)) {
            if (deniedUnheld) {
                throw Failure(PermissionDenied, **files.begin());
            }
            deniedUnheld = true;
            continue;
        }
        deniedUnheld = false;
        if (GetTickCount64() >= deadline) {
            throw Failure(FileInUse, held == files.end() ? **files.begin() : **held);
        }
        Sleep(kPause);
    }
}

} // namespace

FileHandle::~FileHandle() {
    if (IsOpen()) {
        CloseHandle(reinterpret_cast<HANDLE>(native_));
    }
}

EntryStatus StatusOf(const std::string& path, Links links) {
    EntryStatus entry;
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (links == Links::Follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    // Reading attributes needs no share access: this works on files that others hold open exclusively.
    const FileHandle file = Own(CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                            OPEN_EXISTING, flags, nullptr));
    if (!file.IsOpen()) {
        const DWORD error = GetLastError();
        entry.failure =
            error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : FailureNumberOf(error);
        return entry;
    }
    FILE_ATTRIBUTE_TAG_INFO tag{};
    FILE_STANDARD_INFO standard{};
    FILE_BASIC_INFO times{};
    BY_HANDLE_FILE_INFORMATION identity{};
    if (!GetFileInformationByHandleEx(Native(file), FileAttributeTagInfo, &tag, sizeof tag) ||
        !GetFileInformationByHandleEx(Native(file), FileStandardInfo, &standard, sizeof standard) ||
        !GetFileInformationByHandleEx(Native(file), FileBasicInfo, &times, sizeof times) ||
        !GetFileInformationByHandle(Native(file), &identity)) {
        entry.failure = FailureNumberOf(GetLastError());
        return entry;
    }
    if (IsLink(tag.FileAttributes, tag.ReparseTag)) {
        entry.kind = EntryKind::Link;
    } else if ((tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        entry.kind = EntryKind::Folder;
    } else if (GetFileType(Native(file)) == FILE_TYPE_DISK) {
        entry.kind = EntryKind::RegularFile;
    } else {
        entry.kind = EntryKind::Other; // a device such as CON or NUL
    }
    entry.size = static_cast<std::uint64_t>(standard.EndOfFile.QuadPart);
    entry.links = identity.nNumberOfLinks;
    entry.volume = identity.dwVolumeSerialNumber;
    entry.index = (static_cast<std::uint64_t>(identity.nFileIndexHigh) << 32) | identity.nFileIndexLow;
    entry.readOnly = entry.kind != EntryKind::Link && (tag.FileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    entry.changed = times.ChangeTime.QuadPart * 100; // 0 where the file system keeps no change time (FAT)
    return entry;
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::wstring pattern = Wide(folder);
    if (!pattern.empty() && pattern.back() != L'\\') {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) {
            return names; // the root of an empty drive
        }
        ThrowLastError(folder);
    }
    do {
        const std::wstring_view name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(Narrow(found.cFileName));
        }
    } while (FindNextFileW(search, &found));
    const DWORD ended = GetLastError();
    FindClose(search);
    if (ended != ERROR_NO_MORE_FILES) {
        throw Failure(FailureNumberOf(ended));
    }
    return names;
}

std::vector<std::string> EntriesThatMayBe(const std::string& folder, const std::string& component) {
    // Bytes that are no UTF-8 cannot be asked for: for those, the listing decides. A name with a wildcard
    // is asked for as a pattern, but what it finds differs from it, and the caller's comparison drops it.
    const bool separated = folder.empty() || folder.back() == '/' || folder.back() == '\\';
    std::wstring path;
    try {
        path = Wide(separated ? folder + component : folder + '/' + component);
    } catch (const Failure&) {
        return FolderEntries(folder);
    }
    WIN32_FIND_DATAW found{};
    const HANDLE search =
        FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) {
            return {};
        }
        return FolderEntries(folder); // which reports the folder's own failure, or finds what is there
    }
    FindClose(search);
    return {Narrow(found.cFileName)};
}

Root RootOf(std::string_view name) {
    const auto separator = [&](std::size_t at) {
        return at < name.size() && (name[at] == '/' || name[at] == '\\');
    };
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.size() >= 3 && letter(name[0]) && name[1] == ':' && separator(2)) {
        return {std::string(name.substr(0, 2)) + "/", 3};
    }
    if (separator(0) && separator(1)) {
        // \\server\share\: the server and the share belong to the root; neither is a folder to list.
        Root root{"//", 2};
        for (int part = 0; part < 2 && root.length < name.size(); ++part) {
            std::size_t end = root.length;
            while (end < name.size() && !separator(end)) {
                ++end;
            }
            root.path.append(name.substr(root.length, end - root.length)).push_back('/');
            root.length = std::min(end + 1, name.size());
        }
        return root;
    }
    if (separator(0)) {
        return {"/", 1}; // the root of the current drive
    }
    return {};
}

FileHandle OpenForReading(const std::string& path) {
    FileHandle file = Own(CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.IsOpen()) {
        ThrowLastError(path);
    }
    return file;
}

std::size_t ReadSome(const FileHandle& file, char* buffer, std::size_t size) {
    DWORD got = 0;
    const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(Native(file), buffer, asked, &got, nullptr)) {
        ThrowLastError(file);
    }
    return got;
}

void WriteAll(const FileHandle& file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!WriteFile(Native(file), bytes.data(), chunk, &written, nullptr)) {
            ThrowLastError(file);
        }
        if (written == 0) {
            throw Failure(DiskFull);
        }
        bytes.remove_prefix(written);
    }
}

void Sync(const FileHandle& file) {
    if (!FlushFileBuffers(Native(file))) {
        ThrowLastError(file);
    }
}

void Close(FileHandle& file) {
    if (!CloseHandle(reinterpret_cast<HANDLE>(file.Release()))) {
        ThrowLastError();
    }
}

FileHandle CreateNewFile(std::string& pattern, const EntryStatus& /*model*/) {
    // The new version gets the attributes of a plain new file, as it would if the old one were deleted
    // and written again; CREATE_NEW never opens a file that is already there.
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937 random{std::random_device{}() ^ static_cast<unsigned>(GetTickCount64()) ^
                               static_cast<unsigned>(GetCurrentProcessId())};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    constexpr std::size_t kRandomLetters = 6;
    const std::size_t first = pattern.size() - kRandomLetters;
    for (int attempt = 0; attempt < 100; ++attempt) {
        for (std::size_t at = first; at < pattern.size(); ++at) {
            pattern[at] = kLetters[pick(random)];
        }
        // Not inherited by programs started meanwhile (a link's browser): no security attributes.
        FileHandle file = Own(CreateFileW(Wide(pattern).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsOpen()) {
            return file;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            ThrowLastError(pattern);
        }
    }
    throw Failure(PathFileAccessError);
}

FileHandle OpenTruncatedNotFollowingLinks(const std::string& path) {
    const std::wstring wide = Wide(path);
    // Opened as it is, without following a link, and truncated only once it is known to be no link.
    FileHandle file = Own(CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.IsOpen()) {
        ThrowLastError(path);
    }
    BY_HANDLE_FILE_INFORMATION identity{};
    if (IsLink(Native(file)) || !GetFileInformationByHandle(Native(file), &identity) ||
        identity.nNumberOfLinks > 1) {
        throw Failure(PermissionDenied); // emptied, a file with other names would be emptied there too
    }
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (GetFileInformationByHandleEx(Native(file), FileAttributeTagInfo, &info, sizeof info) &&
        (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        // A file kept in the cloud, say: opened again through its file system filter, as any program would.
        file = Own(CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsOpen()) {
            ThrowLastError(path);
        }
    }
    if (!SetEndOfFile(Native(file))) {
        ThrowLastError(path);
    }
    return file;
}

void ReplaceInOneStep(const std::string& from, const std::string& to) {
    // MoveFileExW replaces in one step on the same volume; WRITE_THROUGH returns once the move is on disk.
    RetryWhileHeld(
        [&] {
            return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        },
        {&to, &from});
}

void PlaceWhereNone(const std::string& from, const std::string& to) {
    // Without MOVEFILE_REPLACE_EXISTING, an existing `to` makes the move fail and stays as it is.
    RetryWhileHeld(
        [&] { return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_WRITE_THROUGH) != FALSE; },
        {&to, &from});
}

void Remove(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    // A link to a folder is removed as a folder; the folder it points to stays as it is.
    const bool folderLink = attributes != INVALID_FILE_ATTRIBUTES &&
                            (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
                            (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    RetryWhileHeld(
        [&] { return (folderLink ? RemoveDirectoryW(wide.c_str()) : DeleteFileW(wide.c_str())) != FALSE; },
        {&path});
}

void RequireRemovable(const std::string& path) {
    // Opening for deletion asks the same questions as deleting: the rights on the file and its folder,
    // and whether another program holds it open without sharing deletion.
    const std::wstring wide = Wide(path);
    RetryWhileHeld([&] { return Own(OpenEntry(wide, DELETE)).IsOpen(); }, {&path});
}

bool MayChangeEntriesOf(const std::string& /*folder*/) {
    // The rights to delete or replace are checked on each file, and its notice covers them.
    return true;
}

void SyncFolder(const std::string& /*folder*/) {
    // Nothing to do: MOVEFILE_WRITE_THROUGH has made the rename durable already.
}

FileHandle TryLockFolder(const std::string& folder) {
    // A folder cannot be locked as a file can: the hold is on a name of the folder's identity.
    const FileHandle entry = Own(OpenEntry(Wide(folder.empty() ? "." : folder), FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION identity{};
    if (!entry.IsOpen() || !GetFileInformationByHandle(Native(entry), &identity)) {
        ThrowLastError(folder);
    }
    return TryLockName("Zorby-folder-" + std::to_string(identity.dwVolumeSerialNumber) + "-" +
                       std::to_string(identity.nFileIndexHigh) + "-" +
                       std::to_string(identity.nFileIndexLow));
}

FileHandle TryLockName(const std::string& name) {
    // A named mutex, which the system drops when the process ends and which leaves nothing on disk.
    FileHandle held = Own(CreateMutexW(nullptr, FALSE, (L"Local\\" + Wide(name)).c_str()));
    if (held.Native() == 0) {
        held.Release(); // CreateMutexW fails with NULL, not INVALID_HANDLE_VALUE
        ThrowLastError();
    }
    return GetLastError() == ERROR_ALREADY_EXISTS ? FileHandle() : std::move(held);
}

std::int64_t WallClock() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                                     now.dwLowDateTime) *
           100;
}

void ChangeCurrentFolder(const std::string& path) {
    if (!SetCurrentDirectoryW(Wide(path).c_str())) {
        ThrowLastError(path);
    }
}

std::string ProgramFolder() {
    std::wstring program(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
    if (length == 0 || length >= program.size()) {
        return {};
    }
    program.resize(length);
    return Narrow(program.substr(0, program.find_last_of(L'\\') + 1).c_str());
}

std::string CurrentFolderPath() {
    std::wstring path(GetCurrentDirectoryW(0, nullptr), L'\0');
    path.resize(GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data()));
    if (path.empty()) {
        ThrowLastError();
    }
    return Narrow(path.c_str());
}

} // namespace zorby::platform

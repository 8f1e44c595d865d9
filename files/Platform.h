#pragma once

#include "EntryKind.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the file services need of the operating system. Each platform implements it in one file,
// posix/PosixPlatform.cpp or win32/Win32Platform.cpp, and the build picks one; the rest of files/ calls
// only this. Paths are UTF-8 bytes as ResolvePath gives them, with '/' between components (Windows
// accepts it, and gets the path as UTF-16). Failures are thrown as zorby::Failure with the tool's
// numbers: 53 file not found, 76 path not found, 70 permission denied, 75 path/file access error,
// 61 disk full, 7 out of memory, 57 device I/O error for anything else, and 55 for a file that another
// program holds open (Windows), naming it in Failure::File(). A replace, rename or removal of a held
// file is tried again for about two seconds before it fails so.
namespace zorby::platform {

struct EntryStatus {
    EntryKind kind = EntryKind::Missing;
    std::uint64_t size = 0;
    // The owner write bit is clear (POSIX) or the read-only attribute is set (Windows). Checked by the
    // tool itself: root on POSIX, and Wine, would write the file anyway.
    bool readOnly = false;
    std::uint32_t mode = 0; // POSIX permission bits, which a replacement keeps; 0 on Windows
    // The owner and group (POSIX), which a replacement keeps where the system lets it; 0 on Windows.
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    // How many names the file has: more than one when hard links to it stand elsewhere.
    std::uint32_t links = 1;
    // Which file this is on its volume: two names with the same identity are one file.
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    // When the file last changed in any way, in nanoseconds of the wall clock; a program can set its
    // modification time back, but not this. 0 where the file system keeps no such time.
    std::int64_t changed = 0;
    int failure = 0; // set when the entry may exist but could not be looked at

    bool SameFileAs(const EntryStatus& other) const {
        // Some network shares report an index of 0 for every file: that tells nothing.
        return kind != EntryKind::Missing && other.kind != EntryKind::Missing && index != 0 &&
               volume == other.volume && index == other.index;
    }
};

enum class Links { Follow, DoNotFollow };

// Missing when nothing is there, also for a link to nothing when links are followed.
EntryStatus StatusOf(const std::string& path, Links links);

// The names in a folder, "." and ".." left out, in no particular order. A folder that cannot be read
// throws: an unreadable folder is not an empty one.
std::vector<std::string> FolderEntries(const std::string& folder);

// The names in `folder` that may be `component` in another letter case; the caller picks among them.
// On POSIX, where names that differ in case are different entries, every name in the folder. On Windows,
// whose file systems ignore case themselves, only the entry the system finds under that name, with its
// stored spelling: one lookup instead of a listing, which under Wine costs a round of server calls.
std::vector<std::string> EntriesThatMayBe(const std::string& folder, const std::string& component);

// The root an absolute name starts from, as it is joined with the components after it ("/" on POSIX;
// "C:/" or "//server/share/" on Windows), and how many bytes of the name it takes. Empty for a name
// relative to the current folder.
struct Root {
    std::string path;
    std::size_t length = 0;
};
Root RootOf(std::string_view name);

// An open file, closed by the destructor without reporting anything; Close() reports.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(std::intptr_t native) : native_(native) {}
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept : native_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept {
        if (this != &other) {
            FileHandle old(Release()); // closes the file this one had
            native_ = other.Release();
        }
        return *this;
    }

    bool IsOpen() const { return native_ != kClosed; }
    std::intptr_t Native() const { return native_; }
    std::intptr_t Release() {
        const std::intptr_t native = native_;
        native_ = kClosed;
        return native;
    }

    // A descriptor of -1 and INVALID_HANDLE_VALUE alike.
    static constexpr std::intptr_t kClosed = -1;

private:
    std::intptr_t native_ = kClosed;
};

FileHandle OpenForReading(const std::string& path);
// Reads up to `size` bytes; 0 at the end of the file.
std::size_t ReadSome(const FileHandle& file, char* buffer, std::size_t size);
// Writes every byte, however many calls it takes.
void WriteAll(const FileHandle& file, std::string_view bytes);
// Returns once everything written is on the disk.
void Sync(const FileHandle& file);
// Closes the file; some file systems report a failed write only here. Closed afterwards in any case.
void Close(FileHandle& file);

// Creates a new file for writing that no one else can have opened: the last six characters of
// `pattern` (XXXXXX) become letters or digits that make a name not taken yet, and `pattern` then holds
// the name. It gets the permissions of `model` when that is an existing file (POSIX), and its owner and
// group where the system allows; otherwise those of a plain new file.
FileHandle CreateNewFile(std::string& pattern, const EntryStatus& model);

// Opens a file for writing from scratch, creating it when missing. A symbolic link under that name, or
// a file with more than one name, is refused with 70 and left as it is: emptying it would empty the
// file under its other names too.
FileHandle OpenTruncatedNotFollowingLinks(const std::string& path);

// Renames `from` to `to` in one step, replacing an existing `to`. Does not look at read-only flags:
// the callers check them first.
void ReplaceInOneStep(const std::string& from, const std::string& to);

// Renames `from` to `to` in one step, only where no entry is named `to`: an existing one fails with 58
// and stays as it is.
void PlaceWhereNone(const std::string& from, const std::string& to);

// Removes a file; a link is removed itself, never what it points to.
void Remove(const std::string& path);

// Throws what Remove(path) would throw for reasons other than the read-only flag, without removing it.
void RequireRemovable(const std::string& path);

// False when the folder itself forbids this process to add, rename or remove entries (POSIX: no write
// or search permission). True where the platform checks that on each file instead (Windows).
bool MayChangeEntriesOf(const std::string& folder);

// Makes a rename in `folder` durable where the platform needs a step of its own for that. Best effort.
void SyncFolder(const std::string& folder);

// A hold on `folder` that one process at a time can have, dropped by the system when the holder ends,
// however it ends. It leaves nothing on disk. A closed handle when another holder has it; throws when
// the folder cannot be looked at.
FileHandle TryLockFolder(const std::string& folder);

// A hold on a name that one process at a time can have, dropped by the system when the holder ends; it
// leaves nothing on disk. A closed handle when another holder has it. Where the system has no such names,
// every call gets a hold.
FileHandle TryLockName(const std::string& name);

// The current folder, as an absolute path, and the change to another.
std::string CurrentFolderPath();
void ChangeCurrentFolder(const std::string& path);

// The folder that holds the running program, as an absolute path; empty where the system does not tell.
std::string ProgramFolder();

// The wall clock, in nanoseconds, as the file system's change times count it.
std::int64_t WallClock();

} // namespace zorby::platform

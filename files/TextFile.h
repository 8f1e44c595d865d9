#pragma once

#include "Platform.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorby {

// The largest text file the tool reads: far beyond any real UI file, and small enough to hold in memory
// with room to spare. A larger file could never fit the 32,768-line lists.
inline constexpr std::uint64_t kLargestTextFile = 64 * 1024 * 1024;

// What a file held when it was read, so that a later look can tell whether it has changed since.
struct FileFingerprint {
    bool present = false;
    std::uint64_t size = 0;
    std::uint64_t hash = 0; // of every byte; 0 for a file too large to read
    // Which file it was, and when it last changed before it was read.
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    std::int64_t changed = 0;
    // It had last changed more than two seconds before it was read, longer than any file system's clock
    // step: a change since would show in its change time, so looking at that is enough.
    bool settled = false;

    // The same bytes, whatever else is known of the file.
    bool SameBytesAs(const FileFingerprint& other) const {
        return present == other.present && size == other.size && hash == other.hash;
    }
};

// The byte-order mark Notepad puts before UTF-8 text.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Why a text file cannot be taken as lines of bytes.
enum class Unreadable {
    No,
    Utf16,    // "Unicode" from Notepad: two bytes a character
    Utf32,    // four bytes a character
    TooLarge, // larger than kLargestTextFile
};

struct TextFileContent {
    std::string text; // every byte after a UTF-8 byte-order mark; empty when the file is unreadable
    Unreadable unreadable = Unreadable::No;
    bool utf8Mark = false; // it began with a UTF-8 byte-order mark, which is not part of the first line
    FileFingerprint fingerprint;
};

// Hands out the lines of a text one at a time, as views of it. CR LF, a lone CR and a lone LF each end
// a line; the line end is not part of the line, and the last line need not have one. Nothing else is
// changed.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view text) : text_(text) {}
    // The next line into `line`; false at the end of the text. Inline: every line of every file.
    bool Next(std::string_view& line) {
        if (start_ >= text_.size()) {
            return false;
        }
        const std::size_t end = LineEndFrom(start_);
        line = text_.substr(start_, end - start_);
        const bool crLf = end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n';
        start_ = end == text_.size() ? end : end + (crLf ? 2 : 1);
        return true;
    }

private:
    // Where the first CR or LF at or after `from` is; the end of the text when there is none.
    std::size_t LineEndFrom(std::size_t from) const;

    std::string_view text_;
    std::size_t start_ = 0;
};

// A 64-bit hash of every byte, read eight at a time on four lanes: what a file held, told cheaply. The
// bytes may come in pieces, each but the last a multiple of 32 bytes long.
class ContentHash {
public:
    static constexpr std::size_t kPiece = 32;

    void Add(std::string_view bytes);
    std::uint64_t Value() const;

private:
    std::uint64_t lanes_[4] = {0x243F6A8885A308D3U, 0x13198A2E03707344U, 0xA4093822299F31D0U,
                               0x082EFA98EC4E6C89U};
    std::uint64_t size_ = 0;
};

std::uint64_t HashOfBytes(std::string_view bytes);

// Whether bytes are text in two or four bytes a character: a byte-order mark of UTF-16 or UTF-32, or NUL
// bytes in every other (or three of four) places, as ASCII text saved that way has them.
Unreadable WideEncodingOf(std::string_view bytes);

// What the bytes of a file hold as text, as ReadTextFile takes them: nothing but their size when they are
// too large or in a wide encoding, and without a UTF-8 byte-order mark. The fingerprint is left unset.
TextFileContent TextContentOf(std::string bytes);

// Reads a whole text file, unless it is too large or in a wide encoding.
// Throws Failure: 53, 76, 75 for a folder or anything else that is not a regular file, 70, ...
TextFileContent ReadTextFile(const std::string& name);

// The fingerprint of the file as it is now; not present when CheckForFile would say there is none.
FileFingerprint FingerprintOf(const std::string& name);

// Whether `name` still holds what it held when `fingerprint` was taken: a file that settled before it was
// read is looked at, any other is read again.
bool Unchanged(const std::string& name, const FileFingerprint& fingerprint);

// A text file opened for writing from scratch (truncated). Every line gets CR LF. Used for the debug
// trace, where what was written before a failure must stay on disk. The first failure to write sticks:
// nothing more is written, and Close() throws it, naming the file. A failure to open throws at once.
class TextFileWriter {
public:
    // Never writes through a symbolic link: a link under `name` fails with 70.
    explicit TextFileWriter(const std::string& name);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void WriteLine(std::string_view line);
    void Close();

private:
    void Flush();

    static constexpr std::size_t kChunkSize = 64 * 1024;

    std::string name_;

    platform::FileHandle file_;
    std::string buffer_;
    int failed_ = 0; // the first failure to write
};

} // namespace zorby

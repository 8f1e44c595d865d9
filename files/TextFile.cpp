#include "TextFile.h"

#include "FileChecks.h"
#include "FileHelpers.h"
#include "Platform.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace zorby {

namespace {

// Where the first CR or LF at or after `from` is; the end of the text when there is none. Lines are
// short, so eight bytes are tested at a time rather than searching for each kind of line end: the high
// bit of a byte of `zero(x)` is set where x has its first zero byte (and maybe above it, never below).
std::size_t LineEndFrom(std::string_view text, std::size_t from) {
    constexpr std::uint64_t kOnes = 0x0101010101010101U;
    constexpr std::uint64_t kHigh = 0x8080808080808080U;
    const auto zero = [](std::uint64_t x) { return (x - kOnes) & ~x & kHigh; };
    std::size_t at = from;
    for (; std::endian::native == std::endian::little && at + 8 <= text.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, 8);
        const std::uint64_t ends = zero(word ^ (kOnes * '\r')) | zero(word ^ (kOnes * '\n'));
        if (ends != 0) {
            return at + static_cast<std::size_t>(std::countr_zero(ends)) / 8;
        }
    }
    while (at < text.size() && text[at] != '\r' && text[at] != '\n') {
        ++at;
    }
    return at;
}

} // namespace

LineSplitter::LineSplitter(std::string_view text) : text_(text) {}

bool LineSplitter::Next(std::string_view& line) {
    if (start_ >= text_.size()) {
        return false;
    }
    const std::size_t end = LineEndFrom(text_, start_);
    line = text_.substr(start_, end - start_);
    const bool crLf = end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n';
    start_ = end == text_.size() ? end : end + (crLf ? 2 : 1);
    return true;
}

namespace {

constexpr std::uint64_t kPrime = 0x9E3779B97F4A7C15U;

std::uint64_t Mix(std::uint64_t lane, std::uint64_t word) {
    lane = (lane ^ word) * kPrime;
    return lane ^ (lane >> 29);
}

} // namespace

void ContentHash::Add(std::string_view bytes) {
    const auto word = [&](std::size_t at, std::size_t size) {
        std::uint64_t value = 0;
        std::memcpy(&value, bytes.data() + at, size);
        return value;
    };
    std::size_t at = 0;
    for (; at + kPiece <= bytes.size(); at += kPiece) {
        for (std::size_t lane = 0; lane < 4; ++lane) {
            lanes_[lane] = Mix(lanes_[lane], word(at + 8 * lane, 8));
        }
    }
    for (std::size_t lane = 0; at < bytes.size(); at += 8, ++lane) {
        lanes_[lane] = Mix(lanes_[lane], word(at, std::min<std::size_t>(8, bytes.size() - at)));
    }
    size_ += bytes.size();
}

std::uint64_t ContentHash::Value() const {
    std::uint64_t hash = size_;
    for (const std::uint64_t lane : lanes_) {
        hash = Mix(hash, lane);
    }
    return hash;
}

std::uint64_t HashOfBytes(std::string_view bytes) {
    ContentHash hash;
    hash.Add(bytes);
    return hash.Value();
}

namespace {

// Reads the whole of an open file, straight into the string; a file that grows past the limit while it
// is read stops there.
std::string ReadAll(const platform::FileHandle& file, std::uint64_t expectedSize) {
    std::string bytes(static_cast<std::size_t>(std::min(expectedSize, kLargestTextFile)) + 1, '\0');
    std::size_t size = 0;
    while (size <= kLargestTextFile) {
        if (size == bytes.size()) {
            bytes.resize(std::min<std::size_t>(2 * bytes.size(), kLargestTextFile + 1));
        }
        const std::size_t got = platform::ReadSome(file, bytes.data() + size, bytes.size() - size);
        if (got == 0) {
            break;
        }
        size += got;
    }
    bytes.resize(size);
    return bytes;
}

// The whole file, or nothing but its size when it is too large to read.
struct FileBytes {
    std::string bytes;
    std::uint64_t size = 0;
    bool tooLarge = false;
};

FileBytes ReadFileBytes(const std::string& name) {
    const detail::ExistingEntry file = detail::RequireReadableFile(name);
    FileBytes result;
    result.size = file.status.size;
    if (result.size > kLargestTextFile) {
        result.tooLarge = true;
        return result;
    }
    result.bytes = ReadAll(platform::OpenForReading(file.path), result.size);
    result.size = result.bytes.size();
    result.tooLarge = result.size > kLargestTextFile;
    return result;
}

FileFingerprint FingerprintOf(const FileBytes& file) {
    return {true, file.size, file.tooLarge ? 0 : HashOfBytes(file.bytes)};
}

// Whether, of the first few hundred groups of `units` bytes, three in four hold NUL bytes but for one,
// at the same place in each group.
bool MostlyPaddedWithNul(std::string_view bytes, std::size_t units) {
    const std::size_t groups = std::min<std::size_t>(bytes.size() / units, 512);
    if (groups < 2) {
        return false;
    }
    for (std::size_t kept = 0; kept < units; ++kept) {
        std::size_t matching = 0;
        for (std::size_t g = 0; g < groups; ++g) {
            bool match = bytes[g * units + kept] != '\0';
            for (std::size_t x = 0; x < units && match; ++x) {
                match = x == kept || bytes[g * units + x] == '\0';
            }
            matching += match ? 1 : 0;
        }
        if (matching * 4 >= groups * 3) {
            return true;
        }
    }
    return false;
}

} // namespace

Unreadable WideEncodingOf(std::string_view bytes) {
    const auto startsWith = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    using namespace std::string_view_literals;
    if (startsWith("\xFF\xFE\0\0"sv) || startsWith("\0\0\xFE\xFF"sv)) {
        return Unreadable::Utf32;
    }
    if (startsWith("\xFF\xFE"sv) || startsWith("\xFE\xFF"sv)) {
        return Unreadable::Utf16;
    }
    if (MostlyPaddedWithNul(bytes, 4)) {
        return Unreadable::Utf32;
    }
    return MostlyPaddedWithNul(bytes, 2) ? Unreadable::Utf16 : Unreadable::No;
}

TextFileContent ReadTextFile(const std::string& name) {
    FileBytes file = ReadFileBytes(name);
    TextFileContent content;
    content.fingerprint = FingerprintOf(file);
    if (file.tooLarge) {
        content.unreadable = Unreadable::TooLarge;
        return content;
    }
    content.unreadable = WideEncodingOf(file.bytes);
    if (content.unreadable != Unreadable::No) {
        return content;
    }
    content.utf8Mark = std::string_view(file.bytes).substr(0, kUtf8Mark.size()) == kUtf8Mark;
    if (content.utf8Mark) {
        file.bytes.erase(0, kUtf8Mark.size());
    }
    content.text = std::move(file.bytes);
    return content;
}

// Read a piece at a time through one buffer: the file is only hashed, and a buffer of its whole size
// would cost a page fault every few kilobytes.
FileFingerprint FingerprintOf(const std::string& name) {
    if (!CheckForFile(name)) {
        return {};
    }
    const detail::ExistingEntry file = detail::RequireReadableFile(name);
    if (file.status.size > kLargestTextFile) {
        return {true, file.status.size, 0};
    }
    const platform::FileHandle handle = platform::OpenForReading(file.path);
    constexpr std::size_t kBufferSize = 2048 * ContentHash::kPiece;
    const auto buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
    ContentHash hash;
    std::uint64_t size = 0;
    for (bool end = false; !end && size <= kLargestTextFile;) {
        std::size_t filled = 0;
        while (filled < kBufferSize) {
            const std::size_t got = platform::ReadSome(handle, buffer.get() + filled, kBufferSize - filled);
            if (got == 0) {
                end = true;
                break;
            }
            filled += got;
        }
        hash.Add({buffer.get(), filled});
        size += filled;
    }
    return {true, size, size > kLargestTextFile ? 0 : hash.Value()};
}

TextFileWriter::TextFileWriter(const std::string& name)
    : file_(platform::OpenTruncatedNotFollowingLinks(detail::RequireWritableTarget(name).path)) {}

TextFileWriter::~TextFileWriter() {
    if (!file_.IsOpen()) {
        return;
    }
    try {
        Flush();
    } catch (...) {
        // Best effort: the trace is written for diagnosis, and a destructor must not throw.
    }
}

void TextFileWriter::WriteLine(std::string_view line) {
    if (!file_.IsOpen()) {
        throw Failure(InvalidArgument); // written after Close()
    }
    buffer_.append(line).append("\r\n");
    if (buffer_.size() >= kChunkSize) {
        Flush();
    }
}

void TextFileWriter::Close() {
    if (!file_.IsOpen()) {
        return;
    }
    try {
        Flush();
    } catch (const Failure&) {
        const platform::FileHandle dropped = std::move(file_);
        throw;
    }
    platform::Close(file_);
}

void TextFileWriter::Flush() {
    try {
        platform::WriteAll(file_, buffer_);
    } catch (const Failure&) {
        buffer_.clear(); // so that the destructor does not write the same bytes again
        throw;
    }
    buffer_.clear();
}

} // namespace zorby

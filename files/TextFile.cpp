#include "TextFile.h"

#include "FileChecks.h"
#include "FileHelpers.h"
#include "Platform.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zorby {

// Sixteen bytes are looked at a time where the processor can compare them at once.
std::size_t LineSplitter::LineEndFrom(std::size_t from) const {
    const std::string_view text = text_;
    std::size_t at = from;
#ifdef __SSE2__
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; at + 16 <= text.size(); at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const int ends =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (ends != 0) {
            return at + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(ends)));
        }
    }
#endif
    while (at < text.size() && text[at] != '\r' && text[at] != '\n') {
        ++at;
    }
    return at;
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
    platform::EntryStatus status; // as it stood just before it was read
    std::int64_t readAt = 0;
};

FileBytes ReadFileBytes(const std::string& name) {
    const detail::ExistingEntry file = detail::RequireReadableFile(name);
    FileBytes result;
    result.status = file.status;
    result.readAt = platform::WallClock();
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
    constexpr std::int64_t kTwoSeconds = 2'000'000'000;
    const platform::EntryStatus& status = file.status;
    return {true,
            file.size,
            file.tooLarge ? 0 : HashOfBytes(file.bytes),
            status.volume,
            status.index,
            status.changed,
            status.changed != 0 && status.index != 0 && status.changed < file.readAt - kTwoSeconds};
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

TextFileContent TextContentOf(std::string bytes) {
    TextFileContent content;
    if (bytes.size() > kLargestTextFile) {
        content.unreadable = Unreadable::TooLarge;
        return content;
    }
    content.unreadable = WideEncodingOf(bytes);
    if (content.unreadable != Unreadable::No) {
        return content;
    }
    content.utf8Mark = std::string_view(bytes).substr(0, kUtf8Mark.size()) == kUtf8Mark;
    if (content.utf8Mark) {
        bytes.erase(0, kUtf8Mark.size());
    }
    content.text = std::move(bytes);
    return content;
}

TextFileContent ReadTextFile(const std::string& name) {
    FileBytes file = ReadFileBytes(name);
    const FileFingerprint fingerprint = FingerprintOf(file);
    TextFileContent content;
    if (file.tooLarge) {
        content.unreadable = Unreadable::TooLarge;
    } else {
        content = TextContentOf(std::move(file.bytes));
    }
    content.fingerprint = fingerprint;
    return content;
}

bool Unchanged(const std::string& name, const FileFingerprint& was) {
    if (!CheckForFile(name)) {
        return !was.present;
    }
    const platform::EntryStatus now = StatusOfEntry(name);
    if (!was.present || now.size != was.size || now.volume != was.volume || now.index != was.index ||
        now.changed != was.changed) {
        return false;
    }
    return was.settled || FingerprintOf(name).SameBytesAs(was);
}

// Read a piece at a time through one buffer: the file is only hashed, and a buffer of its whole size
// would cost a page fault every few kilobytes.
FileFingerprint FingerprintOf(const std::string& name) {
    if (!CheckForFile(name)) {
        return {};
    }
    const detail::ExistingEntry file = detail::RequireReadableFile(name);
    if (file.status.size > kLargestTextFile) {
        FileFingerprint fingerprint;
        fingerprint.present = true;
        fingerprint.size = file.status.size;
        return fingerprint;
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
    FileFingerprint fingerprint;
    fingerprint.present = true;
    fingerprint.size = size;
    fingerprint.hash = size > kLargestTextFile ? 0 : hash.Value();
    return fingerprint;
}

TextFileWriter::TextFileWriter(const std::string& name) : name_(name) {
    try {
        file_ = platform::OpenTruncatedNotFollowingLinks(detail::RequireWritableTarget(name).path);
    } catch (const Failure& failure) {
        throw Failure(failure.Number(), name_);
    }
}

TextFileWriter::~TextFileWriter() {
    if (!file_.IsOpen() || failed_ != 0) {
        return;
    }
    try {
        Flush();
    } catch (...) {
        // Best effort: the trace is written for diagnosis, and a destructor must not throw.
    }
}

void TextFileWriter::WriteLine(std::string_view line) {
    if (failed_ != 0) {
        return;
    }
    buffer_.append(line).append("\r\n");
    if (buffer_.size() >= kChunkSize) {
        Flush();
    }
}

void TextFileWriter::Close() {
    if (file_.IsOpen() && failed_ == 0) {
        Flush();
        if (failed_ == 0) {
            try {
                platform::Close(file_);
            } catch (const Failure& failure) {
                failed_ = failure.Number();
            }
        }
    }
    const platform::FileHandle dropped = std::move(file_);
    if (failed_ != 0) {
        throw Failure(failed_, name_);
    }
}

void TextFileWriter::Flush() {
    try {
        platform::WriteAll(file_, buffer_);
    } catch (const Failure& failure) {
        failed_ = failure.Number(); // what failed is dropped, not written again later
    }
    buffer_.clear();
}

} // namespace zorby

#include "TextFile.h"

#include "FileChecks.h"
#include "FileHelpers.h"
#include "Platform.h"

#include <algorithm>
#include <cstring>

namespace zorby {

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    const char* const data = bytes.data();
    const std::size_t size = bytes.size();
    // The next CR and LF at or after `start`, found with memchr and kept until passed, so that a file
    // with one kind of line end is not searched to its end for the other kind on every line.
    const auto next = [&](char c, std::size_t from) {
        const void* found = from < size ? std::memchr(data + from, c, size - from) : nullptr;
        return found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
    };
    std::size_t start = 0;
    std::size_t cr = next('\r', 0);
    std::size_t lf = next('\n', 0);
    while (start < size) {
        if (cr < start) {
            cr = next('\r', start);
        }
        if (lf < start) {
            lf = next('\n', start);
        }
        const std::size_t end = std::min(cr, lf);
        lines.emplace_back(bytes.substr(start, end - start));
        if (end == size) {
            break;
        }
        start = end + ((end == cr && end + 1 < size && data[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// Reads the whole of an open file; a file that grows past the limit while it is read stops there.
std::string ReadAll(const platform::FileHandle& file, std::uint64_t expectedSize) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(std::min(expectedSize, kLargestTextFile)));
    char chunk[64 * 1024];
    while (bytes.size() <= kLargestTextFile) {
        const std::size_t got = platform::ReadSome(file, chunk, sizeof chunk);
        if (got == 0) {
            break;
        }
        bytes.append(chunk, got);
    }
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
    return {true, file.size, file.tooLarge ? 0 : std::hash<std::string_view>{}(file.bytes)};
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
    const FileBytes file = ReadFileBytes(name);
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
    std::string_view text = file.bytes;
    content.utf8Mark = text.substr(0, kUtf8Mark.size()) == kUtf8Mark;
    if (content.utf8Mark) {
        text.remove_prefix(kUtf8Mark.size());
    }
    content.lines = SplitLines(text);
    return content;
}

FileFingerprint FingerprintOf(const std::string& name) {
    if (!CheckForFile(name)) {
        return {};
    }
    return FingerprintOf(ReadFileBytes(name));
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

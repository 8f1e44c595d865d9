#include "TextFile.h"

#include "FileChecks.h"
#include "PosixFileSink.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

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

std::vector<std::string> ReadTextLines(const std::string& name) {
    const detail::ExistingEntry file = detail::RequireReadableFile(name);
    const int fd = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw detail::FailureFromErrno(errno);
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(file.status.st_size));
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            throw detail::FailureFromErrno(error);
        }
        if (got == 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return SplitLines(bytes);
}

TextFileWriter::TextFileWriter(const std::string& name) {
    const detail::WriteTarget target = detail::RequireWritableTarget(name);
    fd_ = ::open(target.path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        throw detail::FailureFromErrno(errno);
    }
}

TextFileWriter::~TextFileWriter() {
    if (fd_ < 0) {
        return;
    }
    try {
        Flush();
    } catch (...) {
        // Best effort: the trace is written for diagnosis, and a destructor must not throw.
    }
    ::close(fd_);
}

void TextFileWriter::WriteLine(std::string_view line) {
    if (fd_ < 0) {
        throw Failure(InvalidArgument); // written after Close()
    }
    buffer_.append(line).append("\r\n");
    if (buffer_.size() >= kChunkSize) {
        Flush();
    }
}

void TextFileWriter::Close() {
    if (fd_ < 0) {
        return;
    }
    const int fd = fd_;
    try {
        Flush();
    } catch (const Failure&) {
        fd_ = -1;
        ::close(fd);
        throw;
    }
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) {
        throw detail::FailureFromErrno(errno);
    }
}

void TextFileWriter::Flush() {
    try {
        WriteAll(fd_, buffer_);
    } catch (const Failure&) {
        buffer_.clear(); // so that the destructor does not write the same bytes again
        throw;
    }
    buffer_.clear();
}

} // namespace zorby

#include "TextFile.h"

#include "FileChecks.h"
#include "PosixFileSink.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zorby {

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(bytes.substr(start, i - start));
        i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < bytes.size()) {
        lines.emplace_back(bytes.substr(start));
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

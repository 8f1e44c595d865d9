#include "PosixFileSink.h"

#include "FileChecks.h"

#include <cerrno>
#include <unistd.h>

namespace zorby {

void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw detail::FailureFromErrno(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

PosixFileSink::PosixFileSink(int fd) : fd_(fd) {
    buffer_.reserve(kBufferSize);
}

PosixFileSink::~PosixFileSink() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void PosixFileSink::Write(std::string_view bytes) {
    RequireUsable();
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return;
    }
    Guarded([&] {
        Flush();
        if (bytes.size() >= kBufferSize) {
            WriteAll(fd_, bytes);
        } else {
            buffer_.append(bytes);
        }
    });
}

void PosixFileSink::Finish() {
    RequireUsable();
    Guarded([&] {
        Flush();
        if (::fsync(fd_) != 0) {
            throw detail::FailureFromErrno(errno);
        }
        const int fd = fd_;
        fd_ = -1;
        // Some file systems report a failed write only on close.
        if (::close(fd) != 0 && errno != EINTR) {
            throw detail::FailureFromErrno(errno);
        }
    });
}

void PosixFileSink::Flush() {
    WriteAll(fd_, buffer_);
    buffer_.clear();
}

void PosixFileSink::RequireUsable() const {
    if (failedNumber_ != 0) {
        throw Failure(failedNumber_);
    }
    if (fd_ < 0) {
        throw Failure(InvalidArgument); // used after Finish()
    }
}

template <typename Step> void PosixFileSink::Guarded(Step step) {
    try {
        step();
    } catch (const Failure& failure) {
        // A write that failed midway leaves an unknown part on disk: the file can no longer be completed.
        failedNumber_ = failure.Number();
        throw;
    }
}

} // namespace zorby

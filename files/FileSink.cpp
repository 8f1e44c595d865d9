#include "FileSink.h"

#include "Failure.h"

namespace zorby {

FileSink::FileSink(platform::FileHandle file) : file_(std::move(file)) {
    buffer_.reserve(kBufferSize);
}

void FileSink::Write(std::string_view bytes) {
    RequireUsable();
    if (buffer_.size() + bytes.size() <= kBufferSize) {
        buffer_.append(bytes);
        return;
    }
    Guarded([&] {
        Flush();
        if (bytes.size() >= kBufferSize) {
            platform::WriteAll(file_, bytes);
        } else {
            buffer_.append(bytes);
        }
    });
}

void FileSink::Finish() {
    RequireUsable();
    Guarded([&] {
        Flush();
        platform::Sync(file_);
        platform::Close(file_);
    });
}

void FileSink::Flush() {
    platform::WriteAll(file_, buffer_);
    buffer_.clear();
}

void FileSink::RequireUsable() const {
    if (failedNumber_ != 0) {
        throw Failure(failedNumber_);
    }
    if (!file_.IsOpen()) {
        throw Failure(InvalidArgument); // used after Finish()
    }
}

template <typename Step> void FileSink::Guarded(Step step) {
    try {
        step();
    } catch (const Failure& failure) {
        // A write that failed midway leaves an unknown part on disk: the file can no longer be completed.
        failedNumber_ = failure.Number();
        throw;
    }
}

} // namespace zorby

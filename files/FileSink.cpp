#include "FileSink.h"

#include "Failure.h"

#include <cstring>

namespace zorby {

FileSink::FileSink(platform::FileHandle file)
    : file_(std::move(file)), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

void FileSink::Write(std::string_view bytes) {
    RequireUsable();
    Guarded([&] {
        if (used_ + bytes.size() > kBufferSize) {
            Flush();
            if (bytes.size() >= kBufferSize) {
                platform::WriteAll(file_, bytes);
                return;
            }
        }
        std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
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
    platform::WriteAll(file_, {buffer_.get(), used_});
    used_ = 0;
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

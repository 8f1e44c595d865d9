#pragma once

#include "ReplacementFile.h"

#include <string>
#include <string_view>

namespace zorby {

// Writes to an open file descriptor through a 64 KiB buffer. Owns the descriptor: Finish() flushes,
// syncs and closes it; the destructor closes it without flushing. After a failed write every further call
// fails with the same number.
class PosixFileSink : public ByteSink {
public:
    explicit PosixFileSink(int fd);
    ~PosixFileSink() override;
    PosixFileSink(const PosixFileSink&) = delete;
    PosixFileSink& operator=(const PosixFileSink&) = delete;

    void Write(std::string_view bytes) override;
    void Finish() override;

    static constexpr std::size_t kBufferSize = 64 * 1024;

private:
    void Flush();
    void RequireUsable() const;
    template <typename Step> void Guarded(Step step);

    int fd_;
    std::string buffer_;
    int failedNumber_ = 0;
};

// Writes all of `bytes` to `fd`, retrying after signals and short writes. Throws the mapped Failure.
void WriteAll(int fd, std::string_view bytes);

} // namespace zorby

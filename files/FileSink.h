#pragma once

#include "Platform.h"
#include "ReplacementFile.h"

#include <memory>
#include <string>
#include <string_view>

namespace zorby {

// Writes to an open file through a 64 KiB buffer. Owns the file: Finish() flushes, syncs and closes it;
// the destructor closes it without flushing. After a failed write every further call fails with the same
// number.
class FileSink : public ByteSink {
public:
    explicit FileSink(platform::FileHandle file);
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    void Write(std::string_view bytes) override;
    void Finish() override;

    static constexpr std::size_t kBufferSize = 64 * 1024;

private:
    void Flush();
    void RequireUsable() const;
    template <typename Step> void Guarded(Step step);

    platform::FileHandle file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    int failedNumber_ = 0;
};

} // namespace zorby

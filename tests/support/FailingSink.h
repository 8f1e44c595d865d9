#pragma once

#include "Failure.h"
#include "ReplacementFile.h"

#include <memory>

namespace zorby::testing {

// Makes one chosen write of a replacement file fail, as a full disk would. Writes are counted from 0,
// one per line; the write after the last line is the final flush.
class FailingSink : public ByteSink {
public:
    FailingSink(std::unique_ptr<ByteSink> inner, int failAt) : inner_(std::move(inner)), failAt_(failAt) {}
    void Write(std::string_view bytes) override {
        if (writes_++ == failAt_) {
            throw Failure(DiskFull);
        }
        inner_->Write(bytes);
    }
    void Finish() override {
        if (writes_ == failAt_) {
            throw Failure(DiskFull);
        }
        inner_->Finish();
    }

    // Puts a FailingSink around the real one.
    static SinkWrapper FailingAt(int failAt) {
        return [failAt](std::unique_ptr<ByteSink> real) {
            return std::make_unique<FailingSink>(std::move(real), failAt);
        };
    }

private:
    std::unique_ptr<ByteSink> inner_;
    int failAt_;
    int writes_ = 0;
};

} // namespace zorby::testing

#pragma once

#include "Failure.h"
#include "ReplacementFile.h"

#include <memory>
#include <new>

namespace zorby::testing {

// Makes one chosen write of a replacement file fail, as a full disk would, or as memory running out.
// Writes are counted from 0; the one after the last is the final flush.
class FailingSink : public ByteSink {
public:
    FailingSink(std::unique_ptr<ByteSink> inner, int failAt, bool outOfMemory)
        : inner_(std::move(inner)), failAt_(failAt), outOfMemory_(outOfMemory) {}
    void Write(std::string_view bytes) override {
        FailIfDue(writes_++);
        inner_->Write(bytes);
    }
    void Finish() override {
        FailIfDue(writes_);
        inner_->Finish();
    }

    // Puts a FailingSink around the real one.
    static SinkWrapper FailingAt(int failAt, bool outOfMemory = false) {
        return [=](std::unique_ptr<ByteSink> real) {
            return std::make_unique<FailingSink>(std::move(real), failAt, outOfMemory);
        };
    }

private:
    void FailIfDue(int write) const {
        if (write == failAt_) {
            if (outOfMemory_) {
                throw std::bad_alloc();
            }
            throw Failure(DiskFull);
        }
    }

    std::unique_ptr<ByteSink> inner_;
    int failAt_;
    bool outOfMemory_;
    int writes_ = 0;
};

} // namespace zorby::testing

#pragma once

#include "Failure.h"
#include "ReplacementFile.h"

#include <memory>
#include <new>

namespace zorby::testing {

// Wraps the real sink of a replacement file so that one chosen write fails, as a full disk would, or as
// memory running out. Writes are counted from 0; the one after the last is the final flush.
inline SinkWrapper FailingAt(int failAt, bool outOfMemory = false) {
    struct Failing : ByteSink {
        Failing(std::unique_ptr<ByteSink> real, int at, bool memory)
            : inner(std::move(real)), failAt(at), oom(memory) {}
        std::unique_ptr<ByteSink> inner;
        int failAt, writes = 0;
        bool oom;
        void FailIfDue() {
            if (writes++ == failAt) {
                oom ? throw std::bad_alloc() : throw Failure(DiskFull);
            }
        }
        void Write(std::string_view bytes) override {
            FailIfDue();
            inner->Write(bytes);
        }
        void Finish() override {
            FailIfDue();
            inner->Finish();
        }
    };
    return [=](std::unique_ptr<ByteSink> real) -> std::unique_ptr<ByteSink> {
        return std::make_unique<Failing>(std::move(real), failAt, outOfMemory);
    };
}

} // namespace zorby::testing

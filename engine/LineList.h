#pragma once

#include "LineHelpers.h"

#include <cassert>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zorby {

class LineList;

// Told about every change of a line list, so that a view over it can follow.
class LineListObserver {
public:
    virtual ~LineListObserver() = default;
    virtual void BeforeAppend(const LineList& list, int row) = 0;
    virtual void AfterAppend(const LineList& list) = 0;
    virtual void Replaced(const LineList& list, int row) = 0;
    virtual void BeforeReset(const LineList& list) = 0;
    virtual void AfterReset(const LineList& list) = 0;
};

// The bytes of the lines of one list, in blocks that never move: a line handed out as a view stays
// where it is until the list is cleared or given new content. Thousands of short lines cost a copy
// each, not an allocation each.
class LineBytes {
public:
    std::string_view Keep(std::string_view line);
    void Swap(LineBytes& other) noexcept;

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    std::size_t left_ = 0;
};

// An ordered list of lines addressed by a 16-bit index: at most 32,768 lines. Setting a line replaces
// the one at that index, or appends when the index equals the count; an index of 32,768 or more fails
// with overflow (6). Reading outside the list fails with 9.
//
// The list keeps its own copy of every line and hands lines out as views, which stay valid until the
// list is cleared or assigned; a line may be set from a view of any list, this one included. The scan and
// the merges instead give it views of the files' text, which the workspace keeps for as long as its
// lists: those lines are never copied.
//
// A list is one object that a view may observe, so it is neither copied nor moved: a copy would carry
// the observer along, to a view that does not show it.
class LineList {
public:
    static constexpr int kMaxLines = kLargest16Bit + 1;

    explicit LineList(std::string name = {});
    LineList(const LineList&) = delete;
    LineList& operator=(const LineList&) = delete;
    // The observer must let go first: a view that outlives its list writes into a destroyed object.
    ~LineList() { assert(observer_ == nullptr && "a line list destroyed while a view still observes it"); }

    const std::string& Name() const { return name_; }

    void Set(int index, std::string_view line);
    // Set(Count(), line).
    void Append(std::string_view line);
    // Append and Assign of views of text that outlives the list, which keeps the views themselves.
    void AppendBorrowed(std::string_view line) {
        if (Count() >= kMaxLines) {
            ThrowOverflow();
        }
        if (observer_ != nullptr) {
            observer_->BeforeAppend(*this, Count());
        }
        lines_.push_back(line);
        if (observer_ != nullptr) {
            observer_->AfterAppend(*this);
        }
    }
    void AssignBorrowed(std::vector<std::string_view> lines);
    int Count() const { return static_cast<int>(lines_.size()); }
    void Clear();

    // Replaces the whole content at once with copies of `lines`, which may be views of this list (one
    // reset for observers). Fails with 6 past 32,768 lines.
    void Assign(const std::vector<std::string_view>& lines);

    const std::vector<std::string_view>& Lines() const { return lines_; }

    // One observer at most; pass nullptr to detach, which the observer must do before the list goes.
    void SetObserver(LineListObserver* observer) { observer_ = observer; }

private:
    [[noreturn]] static void ThrowOverflow();

    std::string name_;
    std::vector<std::string_view> lines_;
    LineBytes bytes_;
    LineListObserver* observer_ = nullptr;
};

} // namespace zorby

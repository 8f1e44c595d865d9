// At most 32,768 lines, kept as copies or as views of text that the list's owner keeps.

#include "LineList.h"

#include "Failure.h"

#include <cstring>

namespace zorby {

namespace {
constexpr std::size_t kBlockSize = 64 * 1024;
}

std::string_view LineBytes::Keep(std::string_view line) {
    if (line.empty()) {
        return {};
    }
    if (line.size() > left_) {
        if (line.size() > kBlockSize / 4) {
            // A long line gets a block of its own; the open block keeps its room.
            auto& block = blocks_.emplace_back(std::make_unique_for_overwrite<char[]>(line.size()));
            std::memcpy(block.get(), line.data(), line.size());
            return {block.get(), line.size()};
        }
        free_ = blocks_.emplace_back(std::make_unique_for_overwrite<char[]>(kBlockSize)).get();
        left_ = kBlockSize;
    }
    std::memcpy(free_, line.data(), line.size());
    const std::string_view kept(free_, line.size());
    free_ += line.size();
    left_ -= line.size();
    return kept;
}

void LineBytes::Swap(LineBytes& other) noexcept {
    blocks_.swap(other.blocks_);
    std::swap(free_, other.free_);
    std::swap(left_, other.left_);
}

LineList::LineList(std::string name) : name_(std::move(name)) {}

void LineList::Set(int index, std::string_view line) {
    if (index >= kMaxLines) {
        throw Failure(Overflow);
    }
    if (index < 0 || index > Count()) {
        throw Failure(SubscriptOutOfRange);
    }
    if (index < Count()) {
        lines_[static_cast<std::size_t>(index)] = bytes_.Keep(line);
        if (observer_ != nullptr) {
            observer_->Replaced(*this, index);
        }
        return;
    }
    Append(line);
}

void LineList::Append(std::string_view line) {
    if (Count() >= kMaxLines) {
        throw Failure(Overflow);
    }
    AppendBorrowed(bytes_.Keep(line));
}

void LineList::ThrowOverflow() {
    throw Failure(Overflow);
}

void LineList::AssignBorrowed(std::vector<std::string_view> lines) {
    if (lines.size() > static_cast<std::size_t>(kMaxLines)) {
        throw Failure(Overflow);
    }
    if (observer_ != nullptr) {
        observer_->BeforeReset(*this);
    }
    lines_.swap(lines);
    if (observer_ != nullptr) {
        observer_->AfterReset(*this);
    }
}

void LineList::Clear() {
    Assign({});
}

void LineList::Assign(const std::vector<std::string_view>& lines) {
    if (lines.size() > static_cast<std::size_t>(kMaxLines)) {
        throw Failure(Overflow);
    }
    // Copied before the old bytes go: `lines` may be views of them.
    LineBytes bytes;
    std::vector<std::string_view> kept;
    kept.reserve(lines.size());
    for (const std::string_view line : lines) {
        kept.push_back(bytes.Keep(line));
    }
    if (observer_ != nullptr) {
        observer_->BeforeReset(*this);
    }
    lines_.swap(kept);
    bytes_.Swap(bytes);
    if (observer_ != nullptr) {
        observer_->AfterReset(*this);
    }
}

} // namespace zorby

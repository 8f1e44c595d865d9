#include "LineList.h"

#include "Failure.h"

namespace zorby {

LineList::LineList(std::string name) : name_(std::move(name)) {}

void LineList::Set(int index, std::string line) {
    if (index >= kMaxLines) {
        throw Failure(Overflow);
    }
    if (index < 0 || index > Count()) {
        throw Failure(SubscriptOutOfRange);
    }
    if (index < Count()) {
        lines_[static_cast<std::size_t>(index)] = std::move(line);
        if (observer_ != nullptr) {
            observer_->Replaced(*this, index);
        }
        return;
    }
    if (observer_ != nullptr) {
        observer_->BeforeAppend(*this, index);
    }
    lines_.push_back(std::move(line));
    if (observer_ != nullptr) {
        observer_->AfterAppend(*this);
    }
}

const std::string& LineList::At(int index) const {
    if (index < 0 || index >= Count()) {
        throw Failure(SubscriptOutOfRange);
    }
    return lines_[static_cast<std::size_t>(index)];
}

void LineList::Clear() {
    Assign({});
}

std::vector<std::string> LineList::Take() {
    std::vector<std::string> lines;
    if (observer_ != nullptr) {
        observer_->BeforeReset(*this);
    }
    lines.swap(lines_);
    if (observer_ != nullptr) {
        observer_->AfterReset(*this);
    }
    return lines;
}

void LineList::Assign(std::vector<std::string> lines) {
    if (lines.size() > static_cast<std::size_t>(kMaxLines)) {
        throw Failure(Overflow);
    }
    if (observer_ != nullptr) {
        observer_->BeforeReset(*this);
    }
    lines_ = std::move(lines);
    if (observer_ != nullptr) {
        observer_->AfterReset(*this);
    }
}

} // namespace zorby

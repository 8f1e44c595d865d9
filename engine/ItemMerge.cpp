#include "ItemMerge.h"

#include "CommentBlock.h"
#include "ElementTags.h"
#include "Failure.h"
#include "LineHelpers.h"
#include "TitleIndexedLines.h"

#include <cmath>
#include <optional>
#include <vector>

namespace zorby {

namespace {

constexpr int kInt16Max = 32767;

// A 16-bit list cursor: moving it past 32,767 is an overflow, as for any list index.
class Cursor {
public:
    explicit Cursor(int value = 0) : value_(value) {}
    int Value() const { return value_; }
    void Advance() {
        if (value_ == kInt16Max) {
            throw Failure(Overflow);
        }
        ++value_;
    }

private:
    int value_;
};

class Merge {
public:
    // Every line is handled as a view of the list that holds it; the lists take copies of the results at
    // the end, so a merge that stops half-way leaves them as they were.
    Merge(const MergeLists& lists, WindowPort* progress, MergeRecord* record)
        : lists_(lists), items_(lists.items.Lines()), progress_(progress), record_(record),
          known_(lists.titles.Lines()) {}

    Merge(const Merge&) = delete;
    Merge& operator=(const Merge&) = delete;

    void Run() {
        while (PassStarts()) {
            if (progress_ != nullptr) {
                progress_->Redraw();
            }
            const std::string title = TitleOfItemAt(i_.Value());
            const bool replacing = known_.Contains(title);
            if (replacing) {
                Replace(title);
            } else {
                KeepAsNew();
            }
            if (record_ != nullptr) {
                (replacing ? record_->replaced : record_->added).push_back(title);
            }
        }
        if (progress_ != nullptr) {
            progress_->SetProgress(100.0F);
        }
        Finish();
    }

private:
    // An item starts at every line but the last; the last line only when it holds a whole element.
    bool PassStarts() const {
        const int count = static_cast<int>(items_.size());
        return i_.Value() < count - 1 ||
               (i_.Value() == count - 1 &&
                IsWholeElementLine(CommentTracker().Take(items_.back()).rest, Kind()));
    }
    ElementKind Kind() const { return {lists_.openingTag, lists_.closingTag}; }

    std::string_view ItemLine(int index) const {
        if (index >= static_cast<int>(items_.size())) {
            throw Failure(SubscriptOutOfRange);
        }
        return items_[static_cast<std::size_t>(index)];
    }
    bool IsClosing(std::string_view line) const { return tags::IsClosingLine(line, lists_.closingTag); }

    // An item is named by its first line that is not comment text only: a comment written ahead of an
    // element travels with it and does not turn a replacement into a second element of the same title.
    std::string TitleOfItemAt(int first) const {
        CommentTracker comments;
        for (auto index = static_cast<std::size_t>(first); index < items_.size(); ++index) {
            const std::string_view rest = Unindented(comments.Take(items_[index]).rest);
            if (!rest.empty()) {
                return ElementTitle(rest);
            }
        }
        return ElementTitle(items_[static_cast<std::size_t>(first)]);
    }

    // Copies the item at the read cursor through its first closing line, or its line that holds a whole
    // element.
    void TakeItem(std::vector<std::string_view>& into, Cursor& written) {
        CommentTracker comments;
        bool closed{};
        do {
            const std::string_view line = ItemLine(i_.Value());
            const std::string_view rest = comments.Take(line).rest;
            closed = IsClosing(rest) || IsWholeElementLine(rest, Kind());
            into.push_back(line);
            LineConsumed();
            written.Advance();
        } while (!closed);
    }

    // The progress bar counts add-on lines consumed.
    void LineConsumed() {
        i_.Advance();
        if (progress_ == nullptr) {
            return;
        }
        const int lastIndex = static_cast<int>(items_.size()) - 1;
        // A list of one whole-element line is done with its first line.
        const double percent =
            lastIndex > 0 ? std::floor(static_cast<double>(i_.Value()) / lastIndex * 100.0) : 100.0;
        progress_->SetProgress(static_cast<float>(std::min(percent, 100.0)));
    }

    void KeepAsNew() { TakeItem(newItems_, m_); }

    void Replace(const std::string& title) {
        if (!existing_) {
            existing_.emplace(lists_.existing.Lines(), Kind());
        }
        TitleIndexedLines& existing = *existing_;
        const int match = existing.Locate(title);

        Cursor end(match);
        do {
            end.Advance();
        } while (!existing.IsClosing(end.Value() - 1));

        Cursor written(match);
        std::vector<std::string_view> item;
        TakeItem(item, written);

        const int rest = existing.Count() - end.Value();
        if (written.Value() + rest > kInt16Max) {
            throw Failure(Overflow);
        }
        existing.Splice(match, end.Value(), std::move(item));

        // The first rebuild writes over what the scan left in the rebuild list; lines of it beyond the
        // rebuilt length survive into the result.
        if (!replaced_) {
            replaced_ = true;
            const auto& leftover = lists_.rebuild.Lines();
            for (auto x = static_cast<std::size_t>(existing.Count()); x < leftover.size(); ++x) {
                existing.Append(leftover[x]);
            }
        }
    }

    // The existing lines first: they may be views of the other lists.
    void Finish() {
        if (replaced_) {
            lists_.existing.Assign(existing_->Release());
            lists_.rebuild.Clear();
        }
        lists_.items.Assign(newItems_);
        lists_.collector.Clear();
    }

    const MergeLists& lists_;
    const std::vector<std::string_view>& items_;
    WindowPort* progress_;
    MergeRecord* record_;
    std::optional<TitleIndexedLines> existing_; // the existing lines from the first replacement on
    TitleSet known_;
    std::vector<std::string_view> newItems_;
    Cursor i_;
    Cursor m_;
    bool replaced_ = false;
};

} // namespace

void MergeItems(const MergeLists& lists, WindowPort* progress, MergeRecord* record) {
    Merge(lists, progress, record).Run();
}

void MergeTextures(Workspace& ws, MergeRecord* record) {
    MergeItems({ws.AllZorTextures, ws.AllZorTexturesTemp, ws.Textures, ws.AllTextures, ws.AllTexturesTemp,
                tags::kTextureOpening, tags::kTextureClosing},
               nullptr, record);
}

void MergeAnimations(Workspace& ws, WindowPort& window, MergeRecord* record) {
    MergeItems({ws.AllZorAnimations, ws.AllZorAnimationsTemp, ws.Animations, ws.AllAnimations,
                ws.AllAnimationsTemp, tags::kAnimationOpening, tags::kAnimationClosing},
               &window, record);
}

} // namespace zorby

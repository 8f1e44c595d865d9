#include "ItemMerge.h"

#include "ElementTags.h"
#include "Failure.h"
#include "LineHelpers.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_set>
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

// What GetTitle would return, without copying; nothing where GetTitle would fail.
std::optional<std::string_view> TitleView(std::string_view line) {
    const auto quote = line.find('"');
    const std::size_t start = quote == std::string_view::npos ? 1 : quote + 2; // 1-based
    const auto count = static_cast<long long>(line.size()) - 1 - static_cast<long long>(start);
    if (start > kInt16Max || count < 0) {
        return std::nullopt;
    }
    return line.substr(start - 1, static_cast<std::size_t>(count));
}

// The existing lines while the merge works on them, each with a key of its title so that finding an
// element does not have to cut the title out of every line above it.
class IndexedLines {
public:
    explicit IndexedLines(const std::vector<std::string>& lines) : lines_(lines) {
        keys_.reserve(lines_.size());
        for (const auto& line : lines_) {
            keys_.push_back(KeyOfLine(line));
        }
    }

    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& At(int index) const {
        if (index >= Count()) {
            throw Failure(SubscriptOutOfRange);
        }
        return lines_[static_cast<std::size_t>(index)];
    }

    // The first line from the top whose title is `title`. A line above it without a usable title fails
    // as GetTitle does; running off the end fails as reading past the list does.
    int Locate(const std::string& title) const {
        const std::uint64_t key = KeyOfTitle(title);
        for (std::size_t x = 0; x < keys_.size(); ++x) {
            if (keys_[x] == key && *TitleView(lines_[x]) == title) {
                return static_cast<int>(x);
            }
            if (keys_[x] == kNoTitle) {
                GetTitle(lines_[x]); // throws the failure the line gives
            }
        }
        throw Failure(keys_.size() > static_cast<std::size_t>(kInt16Max) ? Overflow : SubscriptOutOfRange);
    }

    // Replaces the lines [first, last) with `replacement`.
    void Splice(int first, int last, std::vector<std::string> replacement) {
        std::vector<std::uint64_t> keys;
        keys.reserve(replacement.size());
        for (const auto& line : replacement) {
            keys.push_back(KeyOfLine(line));
        }
        SpliceRange(lines_, first, last, std::move(replacement));
        SpliceRange(keys_, first, last, std::move(keys));
    }

    void Append(const std::string& line) {
        lines_.push_back(line);
        keys_.push_back(KeyOfLine(line));
    }

    std::vector<std::string> Release() { return std::move(lines_); }

private:
    static constexpr std::uint64_t kNoTitle = 0;

    static std::uint64_t KeyOfTitle(std::string_view title) { return std::hash<std::string_view>{}(title) | 1U; }
    static std::uint64_t KeyOfLine(std::string_view line) {
        const auto title = TitleView(line);
        return title ? KeyOfTitle(*title) : kNoTitle;
    }

    template <typename T> static void SpliceRange(std::vector<T>& target, int first, int last, std::vector<T> with) {
        const auto begin = target.begin() + first;
        const std::size_t common = std::min(with.size(), static_cast<std::size_t>(last - first));
        std::move(with.begin(), with.begin() + static_cast<std::ptrdiff_t>(common), begin);
        if (with.size() > common) {
            target.insert(begin + static_cast<std::ptrdiff_t>(common),
                          std::make_move_iterator(with.begin() + static_cast<std::ptrdiff_t>(common)),
                          std::make_move_iterator(with.end()));
        } else {
            target.erase(begin + static_cast<std::ptrdiff_t>(common), target.begin() + last);
        }
    }

    std::vector<std::string> lines_;
    std::vector<std::uint64_t> keys_;
};

class Merge {
public:
    Merge(const MergeLists& lists, WindowPort* progress)
        : lists_(lists), items_(lists.items.Lines()), progress_(progress), existing_(lists.existing.Lines()) {
        known_.reserve(lists.titles.Lines().size());
        for (const auto& title : lists.titles.Lines()) {
            known_.insert(title);
        }
    }

    void Run() {
        const int count = static_cast<int>(items_.size());
        while (i_.Value() < count - 1) {
            if (progress_ != nullptr) {
                progress_->Redraw();
            }
            const std::string title = GetTitle(items_[static_cast<std::size_t>(i_.Value())]);
            if (known_.contains(title)) {
                Replace(title);
            } else {
                KeepAsNew();
            }
        }
        if (progress_ != nullptr) {
            progress_->SetProgress(100.0F);
        }
        Finish();
    }

private:
    const std::string& ItemLine(int index) const {
        if (index >= static_cast<int>(items_.size())) {
            throw Failure(SubscriptOutOfRange);
        }
        return items_[static_cast<std::size_t>(index)];
    }
    bool IsClosing(std::string_view line) const { return tags::IsClosingLine(line, lists_.closingTag); }

    // The progress bar counts add-on lines consumed.
    void LineConsumed() {
        i_.Advance();
        if (progress_ == nullptr) {
            return;
        }
        const int lastIndex = static_cast<int>(items_.size()) - 1;
        const double percent = std::floor(static_cast<double>(i_.Value()) / lastIndex * 100.0);
        progress_->SetProgress(static_cast<float>(std::min(percent, 100.0)));
    }

    void KeepAsNew() {
        do {
            newItems_.push_back(ItemLine(i_.Value()));
            LineConsumed();
            m_.Advance();
        } while (!IsClosing(items_[static_cast<std::size_t>(i_.Value() - 1)]));
    }

    void Replace(const std::string& title) {
        const int match = existing_.Locate(title);

        Cursor end(match);
        do {
            end.Advance();
        } while (!IsClosing(existing_.At(end.Value() - 1)));

        Cursor written(match);
        std::vector<std::string> item;
        do {
            item.push_back(ItemLine(i_.Value()));
            LineConsumed();
            written.Advance();
        } while (!IsClosing(item.back()));

        const int rest = existing_.Count() - end.Value();
        if (rest > 0 && written.Value() + rest > kInt16Max) {
            throw Failure(Overflow);
        }
        existing_.Splice(match, end.Value(), std::move(item));

        // The first rebuild writes over what the scan left in the rebuild list; lines of it beyond the
        // rebuilt length survive into the result.
        if (!replaced_) {
            replaced_ = true;
            const auto& leftover = lists_.rebuild.Lines();
            for (auto x = static_cast<std::size_t>(existing_.Count()); x < leftover.size(); ++x) {
                existing_.Append(leftover[x]);
            }
        }
    }

    void Finish() {
        if (replaced_) {
            lists_.existing.Assign(existing_.Release());
            lists_.rebuild.Clear();
        }
        lists_.items.Assign(std::move(newItems_));
        lists_.collector.Clear();
    }

    const MergeLists& lists_;
    const std::vector<std::string>& items_;
    WindowPort* progress_;
    IndexedLines existing_;
    std::unordered_set<std::string_view> known_;
    std::vector<std::string> newItems_;
    Cursor i_;
    Cursor m_;
    bool replaced_ = false;
};

} // namespace

void MergeItems(const MergeLists& lists, WindowPort* progress) {
    Merge(lists, progress).Run();
}

void MergeTextures(Workspace& ws) {
    MergeItems({ws.AllZorTextures, ws.AllZorTexturesTemp, ws.Textures, ws.AllTextures, ws.AllTexturesTemp,
                tags::kTextureClosing},
               nullptr);
}

void MergeAnimations(Workspace& ws, WindowPort& window) {
    MergeItems({ws.AllZorAnimations, ws.AllZorAnimationsTemp, ws.Animations, ws.AllAnimations,
                ws.AllAnimationsTemp, tags::kAnimationClosing},
               &window);
}

} // namespace zorby

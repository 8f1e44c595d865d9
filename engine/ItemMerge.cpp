// An item replaces the first element of its title where it stands, or goes behind its kind.

#include "ItemMerge.h"

#include "FileNames.h"
#include "LineGrammar.h"
#include "PatchPreconditions.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace zorby {

namespace {

// The first element of each title, by open addressing over views of the title list.
class FirstElementOfTitle {
public:
    explicit FirstElementOfTitle(const std::vector<std::string_view>& titles) : titles_(titles) {
        std::size_t capacity = 16;
        while (capacity < 2 * titles.size()) {
            capacity *= 2;
        }
        slots_.assign(capacity, -1);
        mask_ = capacity - 1;
        for (int element = 0; element < static_cast<int>(titles.size()); ++element) {
            std::size_t slot = SlotOf(titles_[static_cast<std::size_t>(element)]);
            if (slots_[slot] < 0) {
                slots_[slot] = element; // a later element of a title already there is never the match
            }
        }
    }

    // Nothing but -1 when no element carries the title.
    int Find(std::string_view title) const { return slots_[SlotOf(title)]; }

private:
    std::size_t SlotOf(std::string_view title) const {
        std::size_t slot = std::hash<std::string_view>{}(title)&mask_;
        while (slots_[slot] >= 0 && titles_[static_cast<std::size_t>(slots_[slot])] != title) {
            slot = (slot + 1) & mask_;
        }
        return slot;
    }

    const std::vector<std::string_view>& titles_;
    std::vector<int> slots_;
    std::size_t mask_ = 0;
};

} // namespace

std::optional<Refusal> MergeItems(Workspace& ws, ElementKind kind, WindowPort* progress,
                                  MergeRecord& record) {
    const KindLists lists = ws.Of(kind);
    const std::vector<AddOnItem>& items = lists.addOn.items;
    const std::vector<std::string_view>& lines = lists.addOnLines.Lines();
    const std::vector<std::string_view>& existing = lists.existing.Lines();
    // By element, the items that replace it in turn. A later one replaces an earlier one from its opening
    // line on, so the comments ahead of the earlier one stay.
    std::vector<std::vector<const AddOnItem*>> replacing(lists.elements.size());
    std::vector<std::string_view> added;
    std::vector<AddOnPlacement> placedAdded;
    const std::optional<FirstElementOfTitle> elementOf =
        items.empty() ? std::nullopt : std::optional<FirstElementOfTitle>(lists.titles.Lines());
    // The bar counts add-on lines consumed; a list of one line that holds a whole element is done with it.
    const int lastIndex = static_cast<int>(lines.size()) - 1;
    int consumed = 0;
    for (std::size_t k = 0; k < items.size(); ++k) {
        const AddOnItem& item = items[k];
        if (progress != nullptr) {
            progress->Redraw();
        }
        const std::string_view title = lists.addOnTitles.Lines()[k];
        const int element = elementOf->Find(title);
        if (element >= 0) {
            replacing[static_cast<std::size_t>(element)].push_back(&item);
        } else {
            placedAdded.push_back(
                {false, static_cast<int>(added.size()), item.last - item.first + 1, item.first});
            added.insert(added.end(), lines.begin() + item.first, lines.begin() + item.last + 1);
        }
        (element >= 0 ? record.replaced : record.added).emplace_back(title);
        for (int line = item.first; line <= item.last && progress != nullptr; ++line) {
            ++consumed;
            const double percent =
                lastIndex > 0 ? std::floor(static_cast<double>(consumed) / lastIndex * 100.0) : 100.0;
            progress->SetProgress(static_cast<float>(std::min(percent, 100.0)));
        }
    }
    if (progress != nullptr) {
        progress->SetProgress(100.0F);
    }

    const bool anyReplaced = std::ranges::any_of(replacing, [](const auto& items) { return !items.empty(); });
    std::vector<std::string_view> merged;
    std::vector<AddOnPlacement> placedExisting;
    if (anyReplaced) {
        std::size_t size = existing.size();
        for (std::size_t element = 0; element < replacing.size(); ++element) {
            for (const AddOnItem* item : replacing[element]) {
                size += static_cast<std::size_t>(
                    (item == replacing[element].back() ? item->last : item->opening - 1) - item->first + 1);
            }
            if (!replacing[element].empty()) {
                size -= static_cast<std::size_t>(lists.elements[element].last -
                                                 lists.elements[element].first + 1);
            }
        }
        if (size > static_cast<std::size_t>(LineList::kMaxLines)) {
            const bool addOnBigger = lines.size() > existing.size();
            return TooManyLinesRefusal(
                std::string(kind == ElementKind::Texture ? "its textures" : "its animations") +
                    " with those of " + TagsOf(kind).addOnFile,
                size, addOnBigger ? TagsOf(kind).addOnFile : names::kAnimationFile, false);
        }
        merged.reserve(size);
        const auto place = [&](int first, int last) {
            placedExisting.push_back({true, static_cast<int>(merged.size()), last - first + 1, first});
            merged.insert(merged.end(), lines.begin() + first, lines.begin() + last + 1);
        };
        std::size_t next = 0;
        for (std::size_t element = 0; element < replacing.size(); ++element) {
            if (replacing[element].empty()) {
                continue;
            }
            const ElementRange& range = lists.elements[element];
            merged.insert(merged.end(), existing.begin() + static_cast<std::ptrdiff_t>(next),
                          existing.begin() + range.first);
            for (const AddOnItem* item : replacing[element]) {
                place(item->first, item == replacing[element].back() ? item->last : item->opening - 1);
            }
            next = static_cast<std::size_t>(range.last) + 1;
        }
        merged.insert(merged.end(), existing.begin() + static_cast<std::ptrdiff_t>(next), existing.end());
    }

    // Views of the files' text, or of what the lists hold, which no list gives up during a run.
    if (anyReplaced) {
        lists.existing.AssignBorrowed(std::move(merged));
        lists.rebuild.Clear();
    }
    lists.addOnLines.AssignBorrowed(std::move(added));
    lists.collector.Clear();
    record.placed = std::move(placedExisting);
    record.placed.insert(record.placed.end(), placedAdded.begin(), placedAdded.end());
    return std::nullopt;
}

std::optional<Refusal> MergeTextures(Workspace& ws, MergeRecord& record) {
    return MergeItems(ws, ElementKind::Texture, nullptr, record);
}

std::optional<Refusal> MergeAnimations(Workspace& ws, WindowPort& window, MergeRecord& record) {
    return MergeItems(ws, ElementKind::Animation, &window, record);
}

} // namespace zorby

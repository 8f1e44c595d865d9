#include "ItemMerge.h"

#include "Failure.h"
#include "FakeWindow.h"
#include "ListLines.h"
#include "ThrownNumber.h"
#include "TitleIndexedLines.h"

#include <gtest/gtest.h>

// What a merge does is shown end to end by the robustness table, and held to the step-by-step reference
// merge by the fuzzer and its seeds (long lists among them); here is what only the merge decides:
// its progress and its failures.
namespace zorby {
namespace {

using testing::FakeWindow;
using testing::Strings;
using testing::ThrownNumber;
using Lines = std::vector<std::string>;

std::string Open(const std::string& title) {
    return "<Ui2DAnimation item=\"" + title + "\">";
}
const std::string kClose = "</Ui2DAnimation>";

// One set of animation lists, as the scan and the merge leave them.
struct Lists {
    Lists(const Lines& items_, const Lines& titles_, const Lines& existing_, const Lines& rebuild_ = {}) {
        items.Assign({items_.begin(), items_.end()});
        titles.Assign({titles_.begin(), titles_.end()});
        existing.Assign({existing_.begin(), existing_.end()});
        rebuild.Assign({rebuild_.begin(), rebuild_.end()});
    }
    LineList items, collector, titles, existing, rebuild;

    MergeLists View() {
        return {items, collector, titles, existing, rebuild, "<Ui2DAnimation ", "</Ui2DAnimation>"};
    }
    std::vector<Lines> All() const {
        return {Strings(items), Strings(collector), Strings(titles), Strings(existing), Strings(rebuild)};
    }
};

// The fuzzer holds the progress to the step-by-step merge; here are its ends: without a pass (a single
// line is dropped) the bar still ends full, and 0.29 * 100 lies just below 29 in double precision.
TEST(ItemMerge, ProgressAtItsEnds) {
    Lines long101{Open("A")};
    long101.insert(long101.end(), 99, "<line/>");
    long101.push_back(kClose);
    const auto progress = [](const Lines& items) {
        Lists lists(items, {}, {});
        FakeWindow window;
        MergeItems(lists.View(), &window);
        return window.progress;
    };
    EXPECT_EQ(progress({}), std::vector<float>{100});
    EXPECT_EQ(progress({Open("A")}), std::vector<float>{100});
    EXPECT_EQ(progress(long101).at(28), 28);
}

// The merge's view of the existing lines, from empty.
TEST(TitleIndexedLines, StartsEmpty) {
    TitleIndexedLines lines({}, {"<Ui2DAnimation ", "</Ui2DAnimation>"});
    EXPECT_EQ(ThrownNumber([&] { lines.At(0); }), SubscriptOutOfRange);
    lines.Splice(0, 0, {"<x/>"});
    EXPECT_EQ(lines.At(0), "<x/>");
}

TEST(ItemMerge, MalformedListsFailInsteadOfReadingPastTheirEnd) {
    Lines full(LineList::kMaxLines - 2, "<pad/>");
    full.insert(full.begin(), {Open("A"), kClose});
    struct Row {
        Lines items, titles, existing;
        int failure;
    };
    const Row rows[] = {
        {{Open("A"), "<x/>", "<y/>"}, {}, {}, SubscriptOutOfRange},
        {{Open("A"), kClose}, {"A"}, {Open("B"), kClose}, SubscriptOutOfRange},
        {{Open("A"), kClose}, {"A"}, {"<Ui2DAnimation x\"", kClose, Open("A"), kClose}, InvalidArgument},
        {{Open("A"), "<more/>", kClose}, {"A"}, full, Overflow},
    };
    for (const Row& row : rows) {
        Lists lists(row.items, row.titles, row.existing);
        const auto before = lists.All();
        EXPECT_EQ(ThrownNumber([&] { MergeItems(lists.View(), nullptr); }), row.failure);
        EXPECT_EQ(lists.All(), before) << "a merge that stops leaves every list as it was";
    }
}

// The first replacement writes over what the scan left in the rebuild list: its lines beyond the rebuilt
// length stay behind the result, and the rebuild list is emptied.
TEST(ItemMerge, FirstReplacementKeepsTheRebuildListsTail) {
    Lists lists({Open("A"), kClose}, {"A"}, {Open("A"), kClose}, {"r0", "r1", "r2", "r3"});
    MergeItems(lists.View(), nullptr);
    EXPECT_EQ(lists.All(), (std::vector<Lines>{{}, {}, {"A"}, {Open("A"), kClose, "r2", "r3"}, {}}));
}

// The merge notes every item; the summary names an element replaced twice once, and ten titles at most.
TEST(ItemMerge, RecordTellsTheSummaryWhatEachItemDid) {
    Lines items;
    for (const std::string title :
         {"A", "A", "N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8", "N9", "N10", "N11"}) {
        items.insert(items.end(), {Open(title), kClose});
    }
    Lists lists(items, {"A"}, {Open("A"), kClose});
    Lists ten({items.begin() + 4, items.end() - 2}, {}, {}); // as textures: ten titles are all shown
    PatchSummary summary;
    MergeItems(lists.View(), nullptr, &summary.animations);
    MergeItems(ten.View(), nullptr, &summary.textures);
    EXPECT_EQ(
        SummaryText(summary),
        "Textures: 10 added (N1, N2, N3, N4, N5, N6, N7, N8, N9, N10).\rAnimations: 1 replaced (A), 11 added "
        "(N1, N2, N3, N4, N5, N6, N7, N8, N9, N10 and 1 more).\rNo backup was made, so Restore will not be "
        "offered.\rThe add-on files are removed.");
}

} // namespace
} // namespace zorby

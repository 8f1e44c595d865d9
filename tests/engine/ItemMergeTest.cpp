#include "ItemMerge.h"

#include "Failure.h"
#include "FakeWindow.h"
#include "ListLines.h"
#include "StepByStepMerge.h"
#include "ThrownNumber.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>

namespace zorby {
namespace {

using testing::AssignLines;
using testing::Strings;

using testing::ThrownNumber;

using testing::FakeWindow;
using Lines = std::vector<std::string>;

std::string Open(const std::string& title) {
    return "<Ui2DAnimation item=\"" + title + "\">";
}
const std::string kClose = "</Ui2DAnimation>";

// One set of animation lists, as the scan and the merge leave them.
struct Lists {
    Lists(const Lines& items_, const Lines& titles_, const Lines& existing_, const Lines& rebuild_ = {}) {
        AssignLines(items, items_);
        AssignLines(titles, titles_);
        AssignLines(existing, existing_);
        AssignLines(rebuild, rebuild_);
    }
    LineList items, collector, titles, existing, rebuild;

    MergeLists View() { return {items, collector, titles, existing, rebuild, "</Ui2DAnimation>"}; }
    bool operator==(const Lists& other) const {
        return Strings(items) == Strings(other.items) && Strings(collector) == Strings(other.collector) &&
               Strings(titles) == Strings(other.titles) && Strings(existing) == Strings(other.existing) &&
               Strings(rebuild) == Strings(other.rebuild);
    }
};

TEST(ItemMerge, ReplacesAKnownElementWhereItStandsAndKeepsNewItemsAside) {
    Lists lists({Open("New"), "  <A/>", kClose, Open("Old"), " <B/>", kClose, "stray"}, {"First", "Old"},
                {"<!-- c -->", Open("First"), "\t<X/>", kClose, Open("Old"), "\t<Y/>", "\t<Z/>", "\t<W/>",
                 kClose, Open("Last"), kClose});
    FakeWindow window;
    MergeItems(lists.View(), &window);
    EXPECT_EQ(Strings(lists.existing), (Lines{"<!-- c -->", Open("First"), "\t<X/>", kClose, Open("Old"),
                                              " <B/>", kClose, Open("Last"), kClose}));
    EXPECT_EQ(Strings(lists.items), (Lines{Open("New"), "  <A/>", kClose}))
        << "the stray last line is dropped";
    EXPECT_TRUE(Strings(lists.collector).empty());
    EXPECT_EQ(window.redraws, 2);
}

TEST(ItemMerge, LaterItemOfTheSameKnownTitleWinsAndOnlyTheUpperDuplicateIsReplaced) {
    Lists lists({Open("T"), "<one/>", kClose, Open("T"), "<two/>", kClose}, {"T", "T"},
                {Open("T"), "<old/>", kClose, Open("T"), "<older/>", kClose});
    MergeItems(lists.View(), nullptr);
    EXPECT_EQ(Strings(lists.existing), (Lines{Open("T"), "<two/>", kClose, Open("T"), "<older/>", kClose}));
    EXPECT_TRUE(Strings(lists.items).empty());
}

TEST(ItemMerge, TitlesAreCaseSensitiveAndNewItemsOfOneTitleAreAllKept) {
    Lists lists({Open("t"), kClose, Open("N"), kClose, Open("N"), kClose}, {"T"}, {Open("T"), kClose});
    MergeItems(lists.View(), nullptr);
    EXPECT_EQ(Strings(lists.existing), (Lines{Open("T"), kClose}));
    EXPECT_EQ(Strings(lists.items), (Lines{Open("t"), kClose, Open("N"), kClose, Open("N"), kClose}));
}

TEST(ItemMerge, ACommentAheadOfAnItemTravelsWithItWithoutNamingIt) {
    Lists lists({"<!-- replaces T -->", "  <!-- twice -->", Open("T"), "<new/>", kClose, "<!-- new one -->",
                 Open("N"), kClose},
                {"T"}, {"<!-- old note -->", Open("T"), "<old/>", kClose});
    MergeItems(lists.View(), nullptr);
    EXPECT_EQ(Strings(lists.existing), (Lines{"<!-- old note -->", "<!-- replaces T -->", "  <!-- twice -->",
                                              Open("T"), "<new/>", kClose}));
    EXPECT_EQ(Strings(lists.items), (Lines{"<!-- new one -->", Open("N"), kClose}));
}

TEST(ItemMerge, ClosingLinesMayBeIndentedButMustMatchExactly) {
    Lists lists({Open("A"), "</ui2danimation>", "</Ui2DAnimation> x", " \t</Ui2DAnimation>\t "}, {}, {});
    MergeItems(lists.View(), nullptr);
    EXPECT_EQ(lists.items.Count(), 4);
}

TEST(ItemMerge, ReplacementOverwritesWhatTheScanLeftInTheRebuildList) {
    Lists lists({Open("A"), kClose}, {"A", "B"}, {Open("A"), "<x/>", kClose, Open("B"), kClose},
                {Open("A"), Open("B")});
    MergeItems(lists.View(), nullptr);
    EXPECT_EQ(Strings(lists.existing), (Lines{Open("A"), kClose, Open("B"), kClose}));
    EXPECT_TRUE(Strings(lists.rebuild).empty());

    Lists onlyNew({Open("C"), kClose}, {"A"}, {Open("A"), kClose}, {Open("A")});
    MergeItems(onlyNew.View(), nullptr);
    EXPECT_EQ(Strings(onlyNew.rebuild), (Lines{Open("A")})) << "untouched without a replacement";
}

TEST(ItemMerge, ProgressCountsAddOnLinesConsumed) {
    Lists lists({Open("A"), "1", "2", "3", kClose, Open("B"), "1", "2", "3", kClose}, {}, {});
    FakeWindow window;
    MergeItems(lists.View(), &window);
    EXPECT_EQ(window.progress, (std::vector<float>{11, 22, 33, 44, 55, 66, 77, 88, 100, 100, 100}));

    Lists withExtra({Open("A"), "1", "2", "3", kClose, Open("B"), "1", "2", "3", kClose, "extra"}, {}, {});
    FakeWindow withExtraLine;
    MergeItems(withExtra.View(), &withExtraLine);
    EXPECT_EQ(withExtraLine.progress, (std::vector<float>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100}));
}

TEST(ItemMerge, ProgressRoundsDownInDoublePrecision) {
    Lines items{Open("A")};
    items.insert(items.end(), 99, "<line/>");
    items.push_back(kClose); // 101 lines: the bar divides by 100
    Lists lists(items, {}, {});
    FakeWindow window;
    MergeItems(lists.View(), &window);
    EXPECT_EQ(window.progress[28], 28) << "0.29 * 100 lies just below 29";
    EXPECT_EQ(window.progress[56], 56) << "0.57 * 100 lies just below 57";
}

TEST(ItemMerge, ShortListsRunNoPass) {
    for (const Lines& items : {Lines{}, Lines{Open("A")}}) {
        Lists lists(items, {"A"}, {Open("A"), kClose});
        FakeWindow window;
        MergeItems(lists.View(), &window);
        EXPECT_TRUE(Strings(lists.items).empty());
        EXPECT_EQ(Strings(lists.existing), (Lines{Open("A"), kClose}));
        EXPECT_EQ(window.calls, (Lines{"progress 100"}));
    }
}

TEST(ItemMerge, MalformedListsFailInsteadOfReadingPastTheirEnd) {
    Lists noClosing({Open("A"), "<x/>", "<y/>"}, {}, {});
    EXPECT_EQ(ThrownNumber([&] { MergeItems(noClosing.View(), nullptr); }), SubscriptOutOfRange);

    Lists titleNotInLines({Open("A"), kClose}, {"A"}, {Open("B"), kClose});
    EXPECT_EQ(ThrownNumber([&] { MergeItems(titleNotInLines.View(), nullptr); }), SubscriptOutOfRange);

    Lists untitledLineAbove({Open("A"), kClose}, {"A"}, {"x", Open("A"), kClose});
    EXPECT_EQ(ThrownNumber([&] { MergeItems(untitledLineAbove.View(), nullptr); }), InvalidArgument);

    Lines full(LineList::kMaxLines - 2, "<pad/>");
    full.insert(full.begin(), {Open("A"), kClose});
    Lists growing({Open("A"), "<more/>", kClose}, {"A"}, full);
    EXPECT_EQ(ThrownNumber([&] { MergeItems(growing.View(), nullptr); }), Overflow);
}

// Random lists built to meet every rule of the merge: duplicate titles, child lines that carry a known
// title, lines without a usable title, comments on one line and over several (hiding opening and
// closing lines, or left open), stray lines, missing closing lines, leftovers of the scan, and lists near
// the 32,768-line limit.
class RandomLists {
public:
    explicit RandomLists(unsigned seed) : random_(seed) {}

    struct Data {
        Lines items, titles, existing, rebuild;
    };

    Data Next() {
        Lines titles;
        Lines existing;
        const int elements = Pick(0, 8);
        for (int e = 0; e < elements; ++e) {
            const std::string title = Title();
            titles.push_back(title);
            if (Chance(10)) {
                existing.push_back("<!-- about " + title + " -->");
            }
            if (Chance(10)) {
                AddCommentBlock(existing, true);
            }
            existing.push_back(Chance(5) ? "\t" + Open(title) : Open(title));
            for (int c = Pick(0, 3); c > 0; --c) {
                existing.push_back(ChildLine());
            }
            if (Chance(8)) {
                AddCommentBlock(existing, true);
            }
            if (!Chance(3)) {
                existing.push_back(Chance(10) ? "  " + kClose + " " : kClose);
            }
        }
        if (Chance(5)) {
            titles.push_back(Title()); // a title without an element of its own
        }
        Lines items;
        for (int n = Pick(0, 6); n > 0; --n) {
            if (Chance(10)) {
                items.push_back("<!-- new -->");
            }
            if (Chance(10)) {
                AddCommentBlock(items, !Chance(10));
            }
            items.push_back(Open(Title()));
            for (int c = Pick(0, 3); c > 0; --c) {
                items.push_back(ChildLine());
            }
            if (Chance(8)) {
                AddCommentBlock(items, !Chance(10));
            }
            if (!Chance(4)) {
                items.push_back(kClose);
            }
        }
        for (int stray = Pick(0, 2) * Chance(4); stray > 0; --stray) {
            items.push_back(ChildLine());
        }
        if (Chance(20)) {
            existing.insert(existing.end(),
                            static_cast<std::size_t>(LineList::kMaxLines - Pick(0, 6)) - existing.size(),
                            "<pad/>");
        }
        Lines rebuild;
        if (Chance(2)) {
            for (const auto& title : titles) {
                rebuild.push_back(Open(title));
            }
        }
        return {items, titles, existing, rebuild};
    }

private:
    // "<!--", lines that would open or close an element outside a comment, and "-->" when `closed`.
    void AddCommentBlock(Lines& lines, bool closed) {
        lines.push_back(Chance(2) ? "<!--" : "  <!-- " + Title());
        for (int c = Pick(0, 3); c > 0; --c) {
            lines.push_back(Chance(2) ? kClose : ChildLine());
        }
        if (closed) {
            lines.push_back(Chance(2) ? "-->" : "\t" + Title() + " -->");
        }
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int oneIn) { return Pick(1, oneIn) == 1; }
    std::string Title() {
        static const Lines kTitles{"A", "B", "C", "a", "", "A B"};
        return kTitles[static_cast<std::size_t>(Pick(0, static_cast<int>(kTitles.size()) - 1))];
    }
    std::string ChildLine() {
        switch (Pick(0, 5)) {
        case 0:
            return "<Ref name=\"" + Title() + "\">"; // carries a title like an opening line
        case 1:
            return Chance(3) ? "x" : "<Frame/>";
        case 2:
            return "<Ui2DAnimation item=\"" + Title() + "\">";
        default:
            return "\t<Frame time=\"" + std::to_string(Pick(0, 99)) + "\"/>";
        }
    }

    std::mt19937 random_;
};

TEST(ItemMerge, GivesTheSameResultAsTheStepByStepProcedure) {
    RandomLists random(20261206);
    int failures = 0;
    for (int round = 0; round < 3000; ++round) {
        const auto data = random.Next();
        Lists fast(data.items, data.titles, data.existing, data.rebuild);
        Lists slow(data.items, data.titles, data.existing, data.rebuild);
        FakeWindow fastWindow;
        FakeWindow slowWindow;
        std::optional<int> fastFailure;
        std::optional<int> slowFailure;
        try {
            MergeItems(fast.View(), &fastWindow);
        } catch (const Failure& failure) {
            fastFailure = failure.Number();
        }
        try {
            testing::StepByStepMerge(slow.View(), &slowWindow);
        } catch (const Failure& failure) {
            slowFailure = failure.Number();
        }
        ASSERT_EQ(fastFailure, slowFailure) << "round " << round;
        if (slowFailure) {
            ++failures;
            continue;
        }
        ASSERT_TRUE(fast == slow) << "round " << round;
        ASSERT_EQ(fastWindow.calls, slowWindow.calls) << "round " << round;
    }
    // Both outcomes must be well represented for the comparison to mean something.
    EXPECT_GT(failures, 300);
    EXPECT_LT(failures, 2700);
}

} // namespace
} // namespace zorby

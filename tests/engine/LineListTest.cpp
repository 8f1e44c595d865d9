#include "LineList.h"

#include "Failure.h"
#include "ThrownNumber.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::ThrownNumber;

TEST(LineList, SetsByIndexUpTo32768LinesAndKeepsItsOwnCopies) {
    LineList list;
    {
        const std::string gone = "a";
        list.Set(0, gone);
    }
    list.Set(1, "b");
    list.Set(0, list.Lines()[1]); // a view of the list itself
    list.Assign({list.Lines()[0], "c"});
    EXPECT_EQ(std::vector<std::string>(list.Lines().begin(), list.Lines().end()),
              (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(ThrownNumber([&] { list.Set(3, "gap"); }), SubscriptOutOfRange);

    list.Assign(std::vector<std::string_view>(LineList::kMaxLines - 1, "x"));
    list.Set(LineList::kMaxLines - 1, std::string(100000, 'y')); // longer than a block
    EXPECT_EQ(list.Lines().back().size(), 100000U);
    EXPECT_EQ(ThrownNumber([&] { list.Set(LineList::kMaxLines, "one too many"); }), Overflow);
    EXPECT_EQ(ThrownNumber([&] { list.Assign(std::vector<std::string_view>(LineList::kMaxLines + 1)); }),
              Overflow);
}

// A view over a list must hear of every change, each when the list is in the state it expects.
TEST(LineList, TellsItsObserverOfEveryChange) {
    struct Recorder : LineListObserver {
        std::vector<std::string> heard;
        void Note(const std::string& what, const LineList& list) {
            heard.push_back(what + " " + std::to_string(list.Count()));
        }
        void BeforeAppend(const LineList& list, int row) override {
            Note("before append " + std::to_string(row), list);
        }
        void AfterAppend(const LineList& list) override { Note("after append", list); }
        void Replaced(const LineList& list, int row) override {
            Note("replaced " + std::to_string(row), list);
        }
        void BeforeReset(const LineList& list) override { Note("before reset", list); }
        void AfterReset(const LineList& list) override { Note("after reset", list); }
    } recorder;
    LineList list;
    list.SetObserver(&recorder);
    list.Set(0, "a");
    list.Set(0, "b");
    list.Assign({"c", "d"});
    list.Clear();
    list.SetObserver(nullptr);
    EXPECT_EQ(recorder.heard, (std::vector<std::string>{"before append 0 0", "after append 1", "replaced 0 1",
                                                        "before reset 1", "after reset 2", "before reset 2",
                                                        "after reset 0"}));
}

} // namespace
} // namespace zorby

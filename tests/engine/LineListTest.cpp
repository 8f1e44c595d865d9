#include "LineList.h"

#include "Failure.h"
#include "ListLines.h"
#include "ThrownNumber.h"
#include "Workspace.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::AssignLines;
using testing::Strings;

using testing::ThrownNumber;

TEST(LineList, SetReplacesBelowTheCountAndAppendsAtIt) {
    LineList list;
    list.Set(0, "a");
    list.Set(1, "b");
    list.Set(0, "c");
    EXPECT_EQ(Strings(list), (std::vector<std::string>{"c", "b"}));
    EXPECT_EQ(ThrownNumber([&] { list.Set(3, "gap"); }), SubscriptOutOfRange);
    EXPECT_EQ(ThrownNumber([&] { list.At(2); }), SubscriptOutOfRange);
}

TEST(LineList, HoldsAtMost32768Lines) {
    LineList list;
    AssignLines(list, std::vector<std::string>(LineList::kMaxLines - 1, "x"));
    list.Set(LineList::kMaxLines - 1, "last");
    EXPECT_EQ(list.Count(), LineList::kMaxLines);
    EXPECT_EQ(ThrownNumber([&] { list.Set(LineList::kMaxLines, "one too many"); }), Overflow);
    EXPECT_EQ(ThrownNumber([&] { AssignLines(list, std::vector<std::string>(LineList::kMaxLines + 1)); }),
              Overflow);
}

TEST(Workspace, StartsEmptyButForThePlaceholderOfZorAnimations) {
    Workspace ws;
    for (LineList* list : ws.AllLists()) {
        EXPECT_EQ(list->Count(), list == &ws.ZorAnimations ? 1 : 0) << list->Name();
    }
    EXPECT_EQ(ws.ZorAnimations.At(0), "ZorAnimations");
}

} // namespace
} // namespace zorby

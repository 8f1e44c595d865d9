#include "LineList.h"

#include "Failure.h"
#include "ListLines.h"
#include "ThrownNumber.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::Strings;
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
    EXPECT_EQ(Strings(list), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(ThrownNumber([&] { list.Set(3, "gap"); }), SubscriptOutOfRange);

    list.Assign(std::vector<std::string_view>(LineList::kMaxLines - 1, "x"));
    list.Set(LineList::kMaxLines - 1, std::string(100000, 'y')); // longer than a block
    EXPECT_EQ(list.Lines().back().size(), 100000U);
    EXPECT_EQ(ThrownNumber([&] { list.Set(LineList::kMaxLines, "one too many"); }), Overflow);
    EXPECT_EQ(ThrownNumber([&] { list.Assign(std::vector<std::string_view>(LineList::kMaxLines + 1)); }),
              Overflow);
}

} // namespace
} // namespace zorby

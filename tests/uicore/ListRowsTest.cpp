#include "ListRows.h"

#include <gtest/gtest.h>
#include <string>

namespace zorby::ui {
namespace {

struct ColumnRow {
    const char* name;
    std::string line;
    int utf8Columns;     // LineEncoding::Utf8OrLatin1
    int codePageColumns; // LineEncoding::CodePage
};
const ColumnRow kColumnRows[] = {
    {"plain", "<Size>", 6, 6},
    {"tab_is_four", "\t<A/>", 8, 8},
    {"utf8_sequence_is_one", "\xC3\xA9\xE2\x82\xAC", 2, 5},
    {"latin1_is_a_byte_each", "\xB0\xB0\xE9", 3, 3},
    {"overlong_is_not_utf8", "\xC0\xAF", 2, 2},
    {"surrogate_is_not_utf8", "\xED\xA0\x80", 3, 3},
    {"cut_off_sequence", "a\xE2\x82", 3, 3},
};
class Columns : public ::testing::TestWithParam<ColumnRow> {};
TEST_P(Columns, Row) {
    EXPECT_EQ(ShownColumns(GetParam().line, LineEncoding::Utf8OrLatin1), GetParam().utf8Columns);
    EXPECT_EQ(ShownColumns(GetParam().line, LineEncoding::CodePage), GetParam().codePageColumns);
}
INSTANTIATE_TEST_SUITE_P(ListRows, Columns, ::testing::ValuesIn(kColumnRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ListRows, TextsAsShown) {
    EXPECT_EQ(RowText("\ta\t"), "    a    ");
    EXPECT_EQ(WithLineBreaks("Error Number: 53\rDescription: x\r", "\r\n"),
              "Error Number: 53\r\nDescription: x\r\n");
    EXPECT_EQ(WithLineBreaks("a\r\nb\rc", "\n"), "a\r\nb\nc") << "a CR LF stays as it is";
}

// The widest row follows a list through every kind of change.
TEST(ListRows, WidestFollowsTheList) {
    LineList list("L");
    WidestLine widest(LineEncoding::Utf8OrLatin1);
    EXPECT_EQ(widest.Of(list), -1);
    const struct {
        char change; // a: append, r: replace, z: reset to the three lines
        int row;
        const char* line;
        int expected;
    } steps[] = {
        {'a', 0, "ab", 0},  {'a', 1, "abcd", 1},
        {'a', 2, "\tx", 2}, {'r', 0, "abcdefghij", 0},
        {'r', 0, "a", 2},   {'r', 1, "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 1},
        {'z', 0, "", 1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.line);
        if (step.change == 'z') {
            list.Assign({"x", "xxxxx", "xx"});
            widest.Reset();
        } else {
            list.Set(step.row, step.line);
            step.change == 'a' ? widest.Appended(list) : widest.Replaced(list, step.row);
        }
        EXPECT_EQ(widest.Of(list), step.expected);
    }
}

} // namespace
} // namespace zorby::ui

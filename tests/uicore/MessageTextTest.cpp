#include "MessageText.h"

#include <gtest/gtest.h>
#include <string>

namespace zorby::ui {
namespace {

// Every run of bytes that is not UTF-8 in brackets, read as Latin-1: the rows show where each run
// starts and ends as well as what it reads as.
std::u16string Bracketed(std::string_view bytes) {
    return std::u16string(1, u'[').append(Latin1(bytes)).append(1, u']');
}

struct DecodeRow {
    const char* name;
    std::string bytes;
    std::u16string shown;
};
const DecodeRow kDecodeRows[] = {
    {"pure_utf8", "caf\xC3\xA9 \xE2\x80\xA6 \xF0\x9F\x98\x80", u"caf\u00E9 \u2026 \U0001F600"},
    {"pure_8_bit",
     "\x93"
     "caf\xE9\x94",
     u"[\u0093]caf[\u00E9\u0094]"},
    {"quoted_8_bit_line_then_utf8_cut_mark", "line 3 (d\xE9j\xE0 vu)\xE2\x80\xA6",
     u"line 3 (d[\u00E9]j[\u00E0] vu)\u2026"},
    {"utf8_next_to_8_bit", "\xC3\xA9\xE9\xC3\xA9", u"\u00E9[\u00E9]\u00E9"},
    {"sequence_cut_at_the_end", "abc\xE2\x80", u"abc[\u00E2\u0080]"},
    {"overlong_and_surrogate_are_bytes", "\xC0\xAF/\xED\xA0\x80", u"[\u00C0\u00AF]/[\u00ED\u00A0\u0080]"},
};
class Decoding : public ::testing::TestWithParam<DecodeRow> {};
TEST_P(Decoding, Row) {
    EXPECT_EQ(MessageCharacters(GetParam().bytes, Bracketed), GetParam().shown);
}
INSTANTIATE_TEST_SUITE_P(MessageText, Decoding, ::testing::ValuesIn(kDecodeRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct FitRow {
    const char* name;
    std::u16string text;
    BoxLimits limits;
    std::u16string shown; // lines broken with LF
};
const FitRow kFitRows[] = {
    {"fits_whole_with_the_boxs_breaks",
     u"Error Number: 53\rDescription: x\r\n\nend",
     {5, 20},
     u"Error Number: 53\nDescription: x\n\nend"},
    {"long_line_wraps_at_spaces", u"aaa bbb ccc ddd", {2, 8}, u"aaa bbb ccc ddd"},
    {"cut_after_the_last_row", u"aaa bbb ccc ddd", {1, 8}, u"aaa bbb\u2026"},
    {"word_as_long_as_a_row", u"xxxxxx yy", {2, 6}, u"xxxxxx yy"},
    {"word_longer_than_a_row", u"(xxxxxxxxxxxx) has no end", {3, 6}, u"(xxxx\u2026 has no end"},
    {"lines_past_the_last_row", u"1\r2\r3\r4", {2, 10}, u"1\n2\u2026"},
    {"empty_lines_are_rows", u"a\r\r\rb", {3, 10}, u"a\n\n\u2026"},
    {"surrogate_pair_kept_whole", u"\U0001F600\U0001F600\U0001F600", {1, 4}, u"\U0001F600\u2026"},
};
class Fitting : public ::testing::TestWithParam<FitRow> {};
TEST_P(Fitting, Row) {
    EXPECT_EQ(FitMessage(GetParam().text, GetParam().limits, u"\n"), GetParam().shown);
}
INSTANTIATE_TEST_SUITE_P(MessageText, Fitting, ::testing::ValuesIn(kFitRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Each try takes away at least one row or column, as much as the box overflowed, and never the last.
TEST(MessageText, ShrinksWhatOverflows) {
    EXPECT_EQ(ShrunkToFit({40, 100}, {2000, 300}, {1000, 700}), (BoxLimits{40, 50}));
    EXPECT_EQ(ShrunkToFit({40, 100}, {500, 710}, {1000, 700}), (BoxLimits{39, 100}));
    EXPECT_EQ(ShrunkToFit({40, 100}, {90000, 90000}, {400, 700}), (BoxLimits{1, 1}));
    EXPECT_EQ(ShrunkToFit({1, 1}, {500, 710}, {400, 700}), (BoxLimits{1, 1}));
}

} // namespace
} // namespace zorby::ui

#include "LineHelpers.h"

#include "Failure.h"
#include "ThrownNumber.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::ThrownNumber;

TEST(LineHelpers, TabTrimTurnsEveryTabIntoOneSpace) {
    EXPECT_EQ(TabTrim("\tA\tB"), " A B");
    EXPECT_EQ(TabTrim(""), "");
    EXPECT_EQ(TabTrim("x\t\t"), "x  ");
}

TEST(LineHelpers, TTrimRemovesOnlySpaces) {
    EXPECT_EQ(TTrim("  \tA  "), "\tA");
    EXPECT_EQ(TTrim("    "), "");
    EXPECT_EQ(TTrim("a b"), "a b");
}

TEST(LineHelpers, GetTitleTakesTheTextBetweenTheFirstQuoteAndTheLastTwoCharacters) {
    EXPECT_EQ(GetTitle(R"(<Ui2DAnimation item="abc">)"), "abc");
    EXPECT_EQ(GetTitle("\t\t<Ui2DAnimation item=\"abc\">"), "abc");
    EXPECT_EQ(GetTitle(R"(<TextureInfo item="abc"/>)"), "abc\"");
    EXPECT_EQ(GetTitle("</TextureInfo>"), "</TextureInf");
    EXPECT_EQ(GetTitle("ab"), "");
    EXPECT_EQ(GetTitle(R"(<a b="">)"), "");
    EXPECT_EQ(GetTitle(R"(<T item="x">  )"), "x\">");
}

TEST(LineHelpers, GetTitleFailsWhereNoTitleCanBeCut) {
    EXPECT_EQ(ThrownNumber([] { GetTitle(""); }), InvalidArgument);
    EXPECT_EQ(ThrownNumber([] { GetTitle("x"); }), InvalidArgument);
    EXPECT_EQ(ThrownNumber([] { GetTitle(R"(<a b="")"); }), InvalidArgument);
    EXPECT_EQ(ThrownNumber([] { GetTitle("abc\"d"); }), InvalidArgument);
    // A first quote at position 32,767 or later overflows the 16-bit start position.
    EXPECT_EQ(ThrownNumber([] { GetTitle(std::string(32766, 'x') + "\"abc\">"); }), Overflow);
    EXPECT_EQ(GetTitle(std::string(32765, 'x') + "\"abc\">"), "abc");
}

TEST(LineHelpers, TabsGivesThatManyTabs) {
    EXPECT_EQ(Tabs(0), "");
    EXPECT_EQ(Tabs(-3), "");
    EXPECT_EQ(Tabs(3), "\t\t\t");
}

TEST(LineHelpers, SidlWidlTurnsLeadingSpacesIntoTabs) {
    EXPECT_EQ(SidlWidl("    X"), "\t\t\t\tX");
    EXPECT_EQ(SidlWidl("       X"), "\t\t\t\t\t\t\tX");
    EXPECT_EQ(SidlWidl("        X"), "\tX");
    EXPECT_EQ(SidlWidl("            X"), "\tX");
    EXPECT_EQ(SidlWidl("                X"), "\t\tX");
    EXPECT_EQ(SidlWidl("   "), "\t\t\t");
    EXPECT_EQ(SidlWidl(""), "");
    EXPECT_EQ(SidlWidl("\t  X"), "\t  X");
    EXPECT_EQ(SidlWidl("X  Y\t"), "X  Y\t");
}

TEST(LineHelpers, SidlWidlOverflowsPast32767LeadingSpaces) {
    EXPECT_EQ(ThrownNumber([] { SidlWidl(std::string(32768, ' ') + "X"); }), Overflow);
    EXPECT_EQ(SidlWidl(std::string(32767, ' ') + "X"), Tabs(32767 / 8) + "X");
}

TEST(LineHelpers, TestFormDropsIndentationOfBothKindsAndKeepsTrailingBlanks) {
    EXPECT_EQ(TestForm(" \t <Schema a>\t"), "<Schema a> ");
    EXPECT_EQ(TestForm(" \t "), "");
    // Indentation is skipped eight bytes at a time: every length, and bytes that only look blank.
    for (std::size_t indent = 0; indent < 20; ++indent) {
        std::string blanks;
        for (std::size_t x = 0; x < indent; ++x) {
            blanks += x % 3 == 1 ? '\t' : ' ';
        }
        EXPECT_EQ(TestForm(blanks + "<x>"), "<x>") << indent;
        EXPECT_EQ(TestForm(blanks + "\xA0 \x89<x>"), "\xA0 \x89<x>") << indent;
    }
}

} // namespace
} // namespace zorby

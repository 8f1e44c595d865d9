#include "LineHelpers.h"

#include "CommentBlock.h"
#include "Failure.h"
#include "ThrownNumber.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::ThrownNumber;

std::string SidlWidl(std::string line) {
    return std::string(SidlWidlInPlace(line));
}
std::string TestForm(std::string_view line) {
    std::string buffer;
    return std::string(TestFormView(line, buffer));
}

TEST(LineHelpers, TrimTabsAndReindent) {
    EXPECT_EQ(TabTrim("\tA\tB"), " A B");
    EXPECT_EQ(TTrim("  \tA  "), "\tA");
    EXPECT_EQ(TTrim("    "), "");
    // Below eight spaces a tab each; from eight, a tab for every whole eight; tabs and text stay.
    const std::pair<std::string, std::string> reindented[] = {{"    X", "\t\t\t\tX"},
                                                              {"       X", "\t\t\t\t\t\t\tX"},
                                                              {"        X", "\tX"},
                                                              {"               X", "\tX"},
                                                              {"                X", "\t\tX"},
                                                              {"   ", "\t\t\t"},
                                                              {"", ""},
                                                              {"\t  X", "\t  X"},
                                                              {"X  Y\t", "X  Y\t"}};
    for (const auto& [line, expected] : reindented) {
        EXPECT_EQ(SidlWidl(line), expected) << line.size();
    }
    EXPECT_EQ(ThrownNumber([] { SidlWidl(std::string(32768, ' ') + "X"); }), Overflow);
    EXPECT_EQ(SidlWidl(std::string(32767, ' ') + "X"), std::string(32767 / 8, '\t') + "X");
}

// GetTitle cuts between the first quote and the last two characters; an element's title is its item
// attribute's value where the line has one, and GetTitle's text otherwise.
TEST(LineHelpers, TitlesOfLines) {
    struct Row {
        std::string line;
        std::string getTitle;     // or the failure's number
        std::string elementTitle; // or the failure's number
    };
    const Row rows[] = {
        {R"(<Ui2DAnimation item="abc">)", "abc", "abc"},
        {R"(<TextureInfo item="abc"/>)", "abc\"", "abc"},
        {R"(<T item="x">  )", "x\">", "x"},
        {R"(<T item = 'x' >)", "<T item = 'x'", "x"},
        {R"(<T subitem="x" other="y">)", "x\" other=\"y", "x\" other=\"y"},
        {R"(<T item :"x" other="y">)", "x\" other=\"y", "x\" other=\"y"},
        {R"(<T item="never closed>)", "never close", "never close"},
        {R"(<Ui2DAnimation name="n"item="P">)", "n\"item=\"P", "P"},
        {R"(<T note='a"item="x"' item="y">)", "item=\"x\"' item=\"y", "y"}, // a quote inside a value
        {R"(  <!-- <T item="x"> -->)", "x\"> -", "x\"> -"},                 // a comment names no element
        {"</TextureInfo>", "</TextureInf", "</TextureInf"},
        {"ab", "", ""},
        {"", "5", "5"},
        {"x", "5", "5"},
        {R"(<a b="")", "5", "5"},
        {std::string(32766, 'x') + "\"abc\">", "6", "6"},
        {std::string(32765, 'x') + "\"abc\">", "abc", "abc"},
    };
    for (const Row& row : rows) {
        const auto title = [&](std::string (*cut)(std::string_view)) {
            std::string got;
            const int failed = ThrownNumber([&] { got = cut(row.line); });
            return failed != 0 ? std::to_string(failed) : got;
        };
        EXPECT_EQ(title(GetTitle), row.getTitle) << row.line.substr(0, 40);
        EXPECT_EQ(title(ElementTitle), row.elementTitle) << row.line.substr(0, 40);
    }
}

// What remains of lines outside comments, comments followed from line to line as XML has them.
TEST(CommentTracker, WhatRemainsOutsideComments) {
    struct Row {
        std::vector<std::string> lines;
        std::vector<std::string> rests;
        bool openAtEnd;
    };
    const Row rows[] = {
        {{"<a/>", "!<b/>"}, {"<a/>", "!<b/>"}, false},
        {{R"(  <!-- 2x --><T item="B">)", "</T> <!-- end -->"}, {R"(  <T item="B">)", "</T> "}, false},
        {{"<x/> <!-- a", "b", "--> <T>"}, {"<x/> ", "", " <T>"}, false},
        {{"a<!--b-->c<!--d-->e", "<!---->y"}, {"ace", "y"}, false},
        {{"<!-->", "x -->"}, {"", ""}, false},
        {{"<!--->", "x"}, {"", ""}, true},
        {{"<!-- a --> <!-- b", "-- > c --> d"}, {" ", " d"}, false},
    };
    for (const Row& row : rows) {
        CommentTracker comments;
        std::vector<std::string> rests;
        for (const std::string& line : row.lines) {
            rests.emplace_back(comments.Take(line).rest);
        }
        EXPECT_EQ(rests, row.rests) << row.lines[0];
        EXPECT_EQ(comments.IsOpen(), row.openAtEnd) << row.lines[0];
    }
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

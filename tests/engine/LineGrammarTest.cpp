#include "LineGrammar.h"

#include "Failure.h"
#include "LineHelpers.h"
#include "ThrownNumber.h"

#include <gtest/gtest.h>

// The one grammar of lines, line by line in context, the titles it reads, and the small operations on a
// line that the scan does to every line it keeps. What it makes of whole
// files (items, refusals) is shown end to end by the robustness table.
namespace zorby {
namespace {

// A shape and what remains of a line, as one string: role, kind and flags, then the rest.
std::string Describe(const LineShape& shape, std::string_view rest) {
    static const char* const kRoles[] = {"blank", "comment", "opens", "closes", "schema", "other"};
    std::string text = kRoles[static_cast<int>(shape.role)];
    if (shape.role == LineRole::Opening || shape.role == LineRole::Closing) {
        text += shape.kind == ElementKind::Texture ? " texture" : " animation";
    }
    text += std::string(shape.whole ? " whole" : "") + (shape.continuesComment ? " continues" : "") +
            (shape.opensComment ? " opens-comment" : "") + (shape.leavesCommentOpen ? " left-open" : "");
    return text + " |" + std::string(rest);
}

TEST(LineGrammar, WhatEachLineIsInItsContext) {
    struct Row {
        std::vector<std::string> lines;
        std::vector<std::string> shapes;
    };
    const Row rows[] = {
        {{" \t<Ui2DAnimation\titem=\"A\">", "\t</Ui2DAnimation> \t",
          "<TextureInfo item='T'/></TextureInfo> "},
         {"opens animation |<Ui2DAnimation\titem=\"A\">", "closes animation |</Ui2DAnimation> \t",
          "opens texture whole |<TextureInfo item='T'/></TextureInfo> "}},
        // Only exact tags count: two blanks, letter case, more after the closing tag.
        {{"<TextureInfo  item=\"T\">", "<textureinfo item=\"T\">", "</TextureInfo>x", "</textureinfo>",
          "<Schema a>", "x<Schema>"},
         {"other |<TextureInfo  item=\"T\">", "other |<textureinfo item=\"T\">", "other |</TextureInfo>x",
          "other |</textureinfo>", "schema |<Schema a>", "other |x<Schema>"}},
        // Comments follow XML from line to line; what remains outside them is judged.
        {{R"(  <!-- 2x --><TextureInfo item="B">)", "</TextureInfo> <!-- end -->", "<x/> <!-- a", "b",
          "--> </TextureInfo>"},
         {"opens texture |<TextureInfo item=\"B\">", "closes texture |</TextureInfo> ",
          "other opens-comment left-open |<x/> ", "comment continues left-open |",
          "closes texture continues |</TextureInfo>"}},
        {{"a<!--b-->c<!--d-->e", "<!---->y", "<!-->", "x -->", "<!--->", "<!-- a --> <!-- b", "-- > c --> d"},
         {"other |ace", "other |y", "comment opens-comment left-open |", "comment continues |",
          "comment opens-comment left-open |", "comment continues opens-comment left-open |",
          "other continues |d"}},
        {{" \t ", "!<b/>"}, {"blank |", "other |!<b/>"}},
    };
    for (const Row& row : rows) {
        LineReader reader;
        std::vector<std::string> shapes;
        for (const std::string& line : row.lines) {
            std::string_view rest;
            const LineShape shape = reader.Read(line, rest);
            shapes.push_back(Describe(shape, rest));
        }
        EXPECT_EQ(shapes, row.shapes) << row.lines[0];
    }
}

// A title is the item attribute's value where the line has one (the robustness table's title rows hold the
// plain spellings), otherwise the text after the first quote without the last two characters, positions
// counted in 16 bits; tabs read as spaces; nothing where neither can be read.
TEST(LineGrammar, TitlesOfOpeningLines) {
    const std::pair<std::string, std::string> rows[] = {
        {"<T item\t=\t\"x\">\t", "x"},
        {"<T \"a\tb\">", "a b"},
        {R"(<T subitem="x" other="y">)", "x\" other=\"y"},
        {R"(<T item :"x" other="y">)", "x\" other=\"y"},
        {R"(<T item="never closed>)", "never close"},
        {R"(<T note='a"item="x"' item="y">)", "y"}, // a quote inside a value
        {"</TextureInfo>", "</TextureInf"},
        {"ab", ""},
        {R"(<Ui2DAnimation a">)", "(none)"},
        {R"(<a b="")", "(none)"},
        {"x", "(none)"},
        {"", "(none)"},
        {std::string(32765, 'x') + "\"abc\">", "abc"},
        {std::string(32766, 'x') + "\"abc\">", "(none)"},
    };
    for (const auto& [line, title] : rows) {
        EXPECT_EQ(TitleOf(line).value_or("(none)"), title) << line.substr(0, 40);
    }
}

TEST(LineGrammar, QuotesAtMost80Characters) {
    EXPECT_EQ(Quoted("\t <a\tb/>  \t"), "<a b/>");
    EXPECT_EQ(Quoted(std::string("a\0b\x1F", 4)), "a\xEF\xBF\xBD"
                                                  "b\xEF\xBF\xBD"); // NUL would end a box
    EXPECT_EQ(Quoted(std::string(5 << 20, 'x')), std::string(80, 'x') + "\xE2\x80\xA6");
    // Never inside a character of UTF-8: the cut falls before the é (2 bytes) that would pass 80.
    EXPECT_EQ(Quoted(std::string(79, 'x') + "\xC3\xA9z"), std::string(79, 'x') + "\xE2\x80\xA6");
}

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

#include "LineHelpers.h"

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

#include "CheckCommand.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>

// What each command line does; what a check finds in a folder is held to the patch by the robustness
// table.
namespace zorby {
namespace {

struct Row {
    const char* name;
    std::vector<std::string> arguments;
    std::optional<int> status;
    std::string out; // the start of what is printed, to standard output or else to standard error
    const char* main = "EQUI_Animations.xml";
};

const Row kRows[] = {
    {"NoArgumentsIsTheWindow", {}, std::nullopt, ""},
    {"Help", {"--help"}, 0, "Usage: Zorby "},
    {"Version", {"--version"}, 0, "Zorby 3.00\n"},
    {"HelpWithMore", {"--help", "x"}, 2, "Usage: Zorby "},
    {"CheckOfTwoFolders", {"--check", "a", "b"}, 2, "Usage: Zorby "},
    {"UnknownOption", {"--patch"}, 2, "Usage: Zorby "},
    {"CheckOfAMissingFolder", {"--check", "nowhere"}, 2, "Zorby: cannot open the folder nowhere: "},
    {"CheckWithoutAddOns", {"--check", "."}, 1, "Neither Zor_Anim.txt nor Zor_Tex.txt is in this folder"},
    {"CheckReadsTheGamesFileWhereItStands", {"--check"}, 1, "Neither", "../default/EQUI_Animations.xml"},
};

class CommandLine : public ::testing::TestWithParam<Row> {};

TEST_P(CommandLine, Row) {
    const Row& row = GetParam();
    testing::TempFolder folder;
    testing::TempFolder::Write(row.main, "<Schema/>\r\n");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunCommandLine(row.arguments, out, err), row.status);
    EXPECT_EQ((out.str().empty() ? err.str() : out.str()).substr(0, row.out.size()), row.out);
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

} // namespace
} // namespace zorby

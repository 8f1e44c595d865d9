#include "CommandLine.h"

#include "Platform.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>

// What each command line does and where the window would work; what a check finds in a folder is held to
// the patch by the robustness table.
namespace zorby {
namespace {

using testing::CrLf;
using testing::TempFolder;

const std::string kMain = CrLf({"<Schema/>", R"(<TextureInfo item="B.tga">)", "</TextureInfo>",
                                R"(<TextureInfo item="E.tga">)", "</TextureInfo>", "</XML>"});
const std::string kTex = CrLf({R"(<TextureInfo item="A.tga">)", "</TextureInfo>"});
// Frames drawn from a sheet of the add-on, one of the main file, one only in ..\default\, one nowhere,
// and one spelt in other letter case.
const std::string kAnim =
    CrLf({R"(<Ui2DAnimation item="R">)", "<Texture>A.tga</Texture>", "  <Texture> B.tga </Texture>",
          "<Texture>C.tga</Texture>", "<Texture>D.tga</Texture>", "<!-- <Texture>X.tga</Texture> -->",
          "<Texture>e.TGA</Texture>", "</Ui2DAnimation>"});

struct Row {
    const char* name;
    std::vector<std::string> arguments;
    int status = 0;  // -1: the window opens
    std::string out; // what is printed to standard output, or else the start of standard error
    const char* startIn = "custom";
    const char* programIn = ""; // the program's own folder
    const char* worksIn = "";   // where the window works
};

const std::string kSummary = "Textures: 1 added (A.tga).\nAnimations: 1 added (R).\nZorby will ask before it "
                             "replaces the older backup EQUI_An.xml.\nThe add-on files are removed.\n";
const std::string kNotes =
    "Note: Zor_Anim.txt line 4 uses the sheet C.tga, which no TextureInfo of the patched file describes.\n"
    "Note: Zor_Anim.txt line 5 uses the sheet D.tga, which no TextureInfo of the patched file describes.\n"
    "Note: Zor_Anim.txt line 5 uses the sheet D.tga, which is neither in this folder nor in ..\\default\\.\n";

const std::string kNothingToSeed =
    "EQUI_Animations.xml is not in this folder, and ..\\default\\ holds none to "
    "copy.\nNothing was changed. Please put a copy of EQUI_Animations.xml in "
    "this folder and run Zorby again.";

const Row kRows[] = {
    {"NoArgumentsIsTheWindowHere", {}, -1, "", "custom", "../other", "custom"},
    {"NoArgumentsOutsideTakesTheProgramsFolder", {}, -1, "", "other", "../custom", "custom"},
    {"NoArgumentsOutsideStaysWhenTheProgramsFolderIsNone", {}, -1, "", "other", "../other", "other"},
    {"AFolderOpensTheWindowThere", {"../CUSTOM"}, -1, "", "other", "", "custom"},
    {"AFileStandsForItsFolder", {"../custom/zor_tex.txt"}, -1, "", "other", "", "custom"},
    {"AMissingFolder", {"../nowhere"}, 2, "Zorby: there is no folder ../nowhere\nUsage: Zorby [FOLDER]"},
    {"TwoFolders", {"a", "b"}, 2, "Zorby: give one folder, or --check and any number of them\nUsage: "},
    {"Help", {"--help"}, 0, "Usage: Zorby [FOLDER]"},
    {"Version", {"--version"}, 0, "Zorby 3.00\n"},
    {"HelpWithMore", {"--help", "x"}, 2, "Zorby: give one folder"},
    {"UnknownOption", {"--patch"}, 2, "Zorby: unknown option --patch\nUsage: "},
    {"CheckWithAnUnknownFormat", {"--check", "--format", "xml"}, 2, "Zorby: unknown option --format"},
    // Sheets the add-on needs that the patched UI lacks are noted; notes never refuse.
    {"CheckWithNotes", {"--check"}, 0, "== .\n" + kSummary + kNotes + "1 of 1 would complete\n"},
    {"CheckOfSeveralFolders",
     {"--check", ".", "../other", "../nowhere"},
     1,
     "== .\n" + kSummary + kNotes + "== ../other\n" + kNothingToSeed +
         "\n"
         "== ../nowhere\nZorby cannot open the folder ../nowhere: Path not found.\n1 of 3 would complete\n"},
    {"CheckForScripts",
     {"--check", "--format", "json", "../other/\xFF", "../other", "."},
     1,
     "{\n  \"folders\": [\n    {\"path\": \"../other/\\udcff\", \"result\": \"refused\", \"refusal\": "
     "{\"text\": "
     "\"Zorby cannot open the folder ../other/\\udcff: Path not found.\", \"file\": null, \"line\": null}, "
     "\"notes\": []},\n    {\"path\": \"../other\", \"result\": \"refused\", \"refusal\": {\"text\": "
     "\"EQUI_Animations.xml is not in this folder, and ..\\\\default\\\\ holds none to copy.\\nNothing was "
     "changed. Please put a copy of EQUI_Animations.xml in this folder and run Zorby again.\", \"file\": "
     "\"EQUI_Animations.xml\", \"line\": null}, \"notes\": []},\n"
     "    {\"path\": \".\", \"result\": \"complete\", \"textures\": {\"replaced\": [], \"added\": [\"A.tga"
     "\"]}, \"animations\": {\"replaced\": [], \"added\": [\"R\"]}, \"notes\": [{\"sheet\": \"C.tga\", \"f"
     "ile\": \"Zor_Anim.txt\", \"line\": 4, \"lacks\": \"TextureInfo\", \"text\": \"Note: Zor_Anim.txt lin"
     "e 4 uses the sheet C.tga, which no TextureInfo of the patched file describes.\"}, {\"sheet\": \"D.tg"
     "a\", \"file\": \"Zor_Anim.txt\", \"line\": 5, \"lacks\": \"TextureInfo\", \"text\": \"Note: Zor_Anim"
     ".txt line 5 uses the sheet D.tga, which no TextureInfo of the patched file describes.\"}, {\"sheet\""
     ": \"D.tga\", \"file\": \"Zor_Anim.txt\", \"line\": 5, \"lacks\": \"file\", \"text\": \"Note: Zor_Ani"
     "m.txt line 5 uses the sheet D.tga, which is neither in this folder nor in ..\\\\default\\\\.\"}]}"
     "\n  ],\n  \"checked\": 3,\n  \"complete\": 1\n}\n"},
};

class CommandLine : public ::testing::TestWithParam<Row> {};

TEST_P(CommandLine, Row) {
    const Row& row = GetParam();
    TempFolder folder;
    std::filesystem::create_directory("../other");
    TempFolder::Write("EQUI_Animations.xml", kMain);
    TempFolder::Write("Zor_Tex.txt", kTex);
    TempFolder::Write("Zor_Anim.txt", kAnim);
    for (const char* sheet : {"A.tga", "B.tga", "e.tga", "../default/C.tga", "EQUI_An.xml"}) {
        TempFolder::Write(sheet, "");
    }
    std::filesystem::current_path(folder.Root() / row.startIn);
    std::ostringstream out;
    std::ostringstream err;
    const StartRequest start = RunCommandLine(row.arguments, row.programIn, out, err);
    EXPECT_EQ(start.window ? -1 : start.status, row.status);
    EXPECT_EQ(start.problem.empty(), row.status != 2) << "a usage error is told in words for a box";
    EXPECT_EQ((out.str().empty() ? err.str() : out.str()).substr(0, row.out.size()), row.out);
    const std::string here = platform::CurrentFolderPath();
    EXPECT_EQ(here.substr(here.find_last_of("/\\") + 1), *row.worksIn != '\0' ? row.worksIn : row.startIn);
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) { return info.param.name; });

} // namespace
} // namespace zorby

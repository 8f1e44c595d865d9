#include "InventoryScan.h"

#include "Failure.h"
#include "FakeWindow.h"
#include "ListLines.h"
#include "TempFolder.h"
#include "TextFile.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::AssignLines;
using testing::Strings;

using testing::CrLf;
using testing::FakeWindow;
using testing::TempFolder;
using Lines = std::vector<std::string>;

class InventoryScanTest : public ::testing::Test {
protected:
    void ScanMain(const std::string& bytes) {
        TempFolder::Write("EQUI_Animations.xml", bytes);
        ScanAnimationFile(ws, nullptr);
    }

    TempFolder folder;
    Workspace ws;
    FakeWindow window;
};

TEST_F(InventoryScanTest, FilesEveryLineOfTheWorkedExample) {
    ScanMain(CrLf({R"(<?xml version="1.0"?>)", "<Document>", R"(<Schema xmlns="EverQuestData"/>)",
                   "<!-- textures -->", R"(<TextureInfo item="A">)", "\t<Size>2</Size>", "</TextureInfo>", "",
                   R"(    <Ui2DAnimation item="B">)", "    </Ui2DAnimation>", "</Document>"}));

    EXPECT_EQ(Strings(ws.Header),
              (Lines{R"(<?xml version="1.0"?>)", "<Document>", R"(<Schema xmlns="EverQuestData"/>)"}));
    EXPECT_EQ(Strings(ws.Textures), (Lines{"A"}));
    EXPECT_EQ(Strings(ws.AllTextures), (Lines{"<!-- textures -->", R"(<TextureInfo item="A">)",
                                              "\t<Size>2</Size>", "</TextureInfo>"}));
    EXPECT_EQ(Strings(ws.Animations), (Lines{"B"}));
    EXPECT_EQ(Strings(ws.AllAnimationsTemp), (Lines{R"(<Ui2DAnimation item="B">)"}));
    EXPECT_EQ(Strings(ws.AllAnimations),
              (Lines{"\t\t\t\t<Ui2DAnimation item=\"B\">", "\t\t\t\t</Ui2DAnimation>"}));
    EXPECT_EQ(Strings(ws.MiscItems), (Lines{"</Document>"}));
    EXPECT_TRUE(Strings(ws.AllTexturesTemp).empty());
    EXPECT_FALSE(ws.Defect);
}

TEST_F(InventoryScanTest, KeepsOnlyTheLastCommentBeforeAnElementAndDropsTrailingOnes) {
    ScanMain(CrLf({"<Schema/>", "<!-- first -->", "   <!-- second -->", "<Loose/>", "",
                   R"(<Ui2DAnimation item="A">)", "  <!-- inside -->", "</Ui2DAnimation>", "<!-- orphan -->",
                   "</Document>"}));
    EXPECT_EQ(Strings(ws.AllAnimations), (Lines{"   <!-- second -->", R"(<Ui2DAnimation item="A">)",
                                                "\t\t<!-- inside -->", "</Ui2DAnimation>"}));
    EXPECT_EQ(Strings(ws.MiscItems), (Lines{"<Loose/>", "</Document>"}));
}

TEST_F(InventoryScanTest, KeepsAMultiLineCommentTogetherWithTheNextElement) {
    ScanMain(
        CrLf({"<Schema/>", "<!-- a comment", R"(  <Ui2DAnimation item="Hidden">)", "", "  still -->",
              R"(<TextureInfo item="T">)", "</TextureInfo>", "<!-- dropped", "  too -->", "</Document>"}));
    EXPECT_EQ(Strings(ws.AllTextures), (Lines{"<!-- a comment", R"(  <Ui2DAnimation item="Hidden">)",
                                              "  still -->", R"(<TextureInfo item="T">)", "</TextureInfo>"}));
    EXPECT_TRUE(Strings(ws.Animations).empty()) << "an element inside a comment is no element";
    EXPECT_EQ(Strings(ws.MiscItems), (Lines{"</Document>"}));
}

TEST_F(InventoryScanTest, HeadRulesSchemaAndElementsInsideTheHead) {
    ScanMain(CrLf({"<Doc>", "<!-- head comment -->", R"(<Ui2DAnimation item="Early">)", "</Ui2DAnimation>",
                   "    <Head2/>", "<Schema/>", "<Tail/>"}));
    EXPECT_EQ(Strings(ws.Header), (Lines{"<Doc>", "<!-- head comment -->", "\t\t\t\t<Head2/>", "<Schema/>"}));
    EXPECT_EQ(Strings(ws.AllAnimations), (Lines{R"(<Ui2DAnimation item="Early">)", "</Ui2DAnimation>"}));
    EXPECT_EQ(Strings(ws.MiscItems), (Lines{"<Tail/>"}));

    Workspace noSchema;
    TempFolder::Write("EQUI_Animations.xml",
                      CrLf({"<Doc>", R"(<TextureInfo item="T">)", "</TextureInfo>", "</Doc>"}));
    ScanAnimationFile(noSchema, nullptr);
    EXPECT_EQ(Strings(noSchema.Header), (Lines{"<Doc>", "</Doc>"}));
    EXPECT_TRUE(Strings(noSchema.MiscItems).empty());
}

TEST_F(InventoryScanTest, RecognisesOnlyExactOpeningPrefixes) {
    ScanMain(CrLf({"<Schema/>", R"(<TextureInfo  item="TwoSpaces">)", R"(<ui2danimation item="lower">)",
                   "\t  <TextureInfo item=\"Indented\">", "</TextureInfo>", R"(<TextureInfo item="Dup">)",
                   "</TextureInfo>", R"(<TextureInfo item="Dup">)", "</TextureInfo>"}));
    EXPECT_EQ(Strings(ws.Textures), (Lines{"Indented", "Dup", "Dup"}));
    EXPECT_EQ(Strings(ws.MiscItems),
              (Lines{R"(<TextureInfo  item="TwoSpaces">)", R"(<ui2danimation item="lower">)"}));
}

TEST_F(InventoryScanTest, AnOpenAnimationTakesPrecedenceOverAnOpenTexture) {
    ScanMain(CrLf({"<Schema/>", R"(<TextureInfo item="T">)", R"(<Ui2DAnimation item="A">)", "</TextureInfo>",
                   "</Ui2DAnimation>", "<Child/>", "</TextureInfo>"}));
    EXPECT_EQ(Strings(ws.Textures), (Lines{"T"}));
    EXPECT_EQ(Strings(ws.Animations), (Lines{"A"}));
    EXPECT_EQ(Strings(ws.AllAnimations),
              (Lines{R"(<Ui2DAnimation item="A">)", "</TextureInfo>", "</Ui2DAnimation>"}));
    EXPECT_EQ(Strings(ws.AllTextures), (Lines{R"(<TextureInfo item="T">)", "<Child/>", "</TextureInfo>"}));
}

TEST_F(InventoryScanTest, AClosingLineWithTrailingBlanksClosesItsElement) {
    ScanMain(CrLf({"<Schema/>", R"(<Ui2DAnimation item="A">)", "</Ui2DAnimation> \t", "</Document>"}));
    EXPECT_EQ(Strings(ws.MiscItems), (Lines{"</Document>"}));
    EXPECT_FALSE(ws.Defect);
}

TEST_F(InventoryScanTest, NotesTheFirstDefectThatWouldSpoilTheRewrittenFile) {
    using Kind = MainFileDefect::Kind;
    struct Case {
        std::string file;
        Kind kind;
        OpeningLine where;
        OpeningLine outer;
    };
    const std::vector<Case> cases{
        {CrLf({"<Schema/>", R"(<TextureInfo item="Good">)", "</TextureInfo>", "",
               R"(<TextureInfo item="Open">)", "<Size/>", "</Document>"}),
         Kind::UnclosedElement,
         {"Open", 5},
         {}},
        {CrLf({"<Schema/>", R"(<Ui2DAnimation item="A">)", R"(<TextureInfo item="T">)", "</TextureInfo>",
               R"(<Ui2DAnimation item="B">)", "</Ui2DAnimation>"}),
         Kind::NestedElement,
         {"B", 5},
         {"A", 2}},
        {CrLf({"<Schema/>", R"(<TextureInfo item="T">)", "</TextureInfo>", "<!-- never closed",
               R"(<TextureInfo item="Lost">)", "</TextureInfo>", "</Document>"}),
         Kind::UnclosedComment,
         {"", 4},
         {}},
    };
    for (const auto& [file, kind, where, outer] : cases) {
        Workspace scanned;
        TempFolder::Write("EQUI_Animations.xml", file);
        ScanAnimationFile(scanned, nullptr);
        ASSERT_TRUE(scanned.Defect) << file;
        EXPECT_EQ(scanned.Defect->kind, kind);
        EXPECT_EQ(scanned.Defect->where.title, where.title);
        EXPECT_EQ(scanned.Defect->where.lineNumber, where.lineNumber);
        EXPECT_EQ(scanned.Defect->outer.title, outer.title);
        EXPECT_EQ(scanned.Defect->outer.lineNumber, outer.lineNumber);
    }
}

TEST_F(InventoryScanTest, ReadsEveryKindOfLineEnd) {
    ScanMain("<Schema/>\n<TextureInfo item=\"A\">\r</TextureInfo>\r\n<End/>");
    EXPECT_EQ(Strings(ws.AllTextures), (Lines{R"(<TextureInfo item="A">)", "</TextureInfo>"}));
    EXPECT_EQ(Strings(ws.MiscItems), (Lines{"<End/>"}));
}

TEST_F(InventoryScanTest, AnEmptyFileLeavesEveryListEmpty) {
    ScanMain("");
    for (LineList* list : ws.AllLists()) {
        EXPECT_EQ(list->Count(), list == &ws.ZorAnimations ? 1 : 0) << list->Name();
    }
}

TEST_F(InventoryScanTest, FailsOnAnOpeningLineWithoutATitleAndOnOverflow) {
    try {
        ScanMain("<Schema/>\r\n<TextureInfo item\"\r\n");
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), InvalidArgument);
    }
    std::string big;
    for (int n = 0; n < 32769; ++n) {
        big += "<Line/>\r\n";
    }
    Workspace overflowing;
    TempFolder::Write("EQUI_Animations.xml", big);
    try {
        ScanAnimationFile(overflowing, nullptr);
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.Number(), Overflow);
    }
}

TEST_F(InventoryScanTest, TracesTheTestFormOfEveryNonBlankMainFileLine) {
    TempFolder::Write("EQUI_Animations.xml",
                      CrLf({"<Schema/>", "", "  \t<!-- c", "x -->", "\t<Ui2DAnimation item=\"A\">\t"}));
    TempFolder::Write("Zor_Anim.txt", CrLf({R"(<Ui2DAnimation item="Z">)", "</Ui2DAnimation>"}));
    {
        TextFileWriter trace("Debug.txt");
        ScanAnimationFile(ws, &trace);
        trace.Close();
    }
    ScanAddOnFiles(ws, window);
    EXPECT_EQ(TempFolder::Read("Debug.txt"),
              CrLf({"<Schema/>", "<!-- c", "x -->", "<Ui2DAnimation item=\"A\"> "}));
}

TEST_F(InventoryScanTest, ReadsAddOnFilesRawWhateverTheirLetterCase) {
    TempFolder::Write("ZOR_ANIM.TXT",
                      CrLf({"  <Ui2DAnimation item=\"N\">", "", "    <Frame/>", "  </Ui2DAnimation>"}));
    TempFolder::Write("zor_TEX.txt", CrLf({"\t", "  "}));
    ScanAddOnFiles(ws, window);
    EXPECT_EQ(Strings(ws.ZorAnimations), (Lines{"N"}));
    EXPECT_EQ(Strings(ws.AllZorAnimations),
              (Lines{"  <Ui2DAnimation item=\"N\">", "    <Frame/>", "  </Ui2DAnimation>"}));
    EXPECT_EQ(ws.AllZorAnimationsLineNumbers, (std::vector<int>{1, 3, 4}));
    EXPECT_TRUE(Strings(ws.AllZorTextures).empty());
    EXPECT_TRUE(Strings(ws.ZorTextures).empty());
    EXPECT_TRUE(window.calls.empty()) << "both lists stay shown";
}

TEST_F(InventoryScanTest, HidesTheListsOfAbsentAddOnFilesAndKeepsThePlaceholder) {
    TempFolder::Write("Zor_Anim.txt", CrLf({"<!-- nothing but a comment -->"}));
    ScanAddOnFiles(ws, window);
    EXPECT_EQ(Strings(ws.ZorAnimations), (Lines{"ZorAnimations"}));
    EXPECT_EQ(window.calls, (Lines{"hide ZorTextures", "hide Tex_Label"}));
}

} // namespace
} // namespace zorby

#include "InventoryScan.h"

#include "Failure.h"
#include "FakeWindow.h"
#include "TempFolder.h"
#include "TextFile.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

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

    EXPECT_EQ(ws.Header.Lines(),
              (Lines{R"(<?xml version="1.0"?>)", "<Document>", R"(<Schema xmlns="EverQuestData"/>)"}));
    EXPECT_EQ(ws.Textures.Lines(), (Lines{"A"}));
    EXPECT_EQ(ws.AllTextures.Lines(), (Lines{"<!-- textures -->", R"(<TextureInfo item="A">)",
                                             "\t<Size>2</Size>", "</TextureInfo>"}));
    EXPECT_EQ(ws.Animations.Lines(), (Lines{"B"}));
    EXPECT_EQ(ws.AllAnimationsTemp.Lines(), (Lines{R"(<Ui2DAnimation item="B">)"}));
    EXPECT_EQ(ws.AllAnimations.Lines(),
              (Lines{"\t\t\t\t<Ui2DAnimation item=\"B\">", "\t\t\t\t</Ui2DAnimation>"}));
    EXPECT_EQ(ws.MiscItems.Lines(), (Lines{"</Document>"}));
    EXPECT_TRUE(ws.AllTexturesTemp.Lines().empty());
    EXPECT_FALSE(ws.Defect);
}

TEST_F(InventoryScanTest, KeepsOnlyTheLastCommentBeforeAnElementAndDropsTrailingOnes) {
    ScanMain(CrLf({"<Schema/>", "<!-- first -->", "   <!-- second -->", "<Loose/>", "",
                   R"(<Ui2DAnimation item="A">)", "  <!-- inside -->", "</Ui2DAnimation>", "<!-- orphan -->",
                   "</Document>"}));
    EXPECT_EQ(ws.AllAnimations.Lines(), (Lines{"   <!-- second -->", R"(<Ui2DAnimation item="A">)",
                                               "\t\t<!-- inside -->", "</Ui2DAnimation>"}));
    EXPECT_EQ(ws.MiscItems.Lines(), (Lines{"<Loose/>", "</Document>"}));
}

TEST_F(InventoryScanTest, KeepsAMultiLineCommentTogetherWithTheNextElement) {
    ScanMain(
        CrLf({"<Schema/>", "<!-- a comment", R"(  <Ui2DAnimation item="Hidden">)", "", "  still -->",
              R"(<TextureInfo item="T">)", "</TextureInfo>", "<!-- dropped", "  too -->", "</Document>"}));
    EXPECT_EQ(ws.AllTextures.Lines(), (Lines{"<!-- a comment", R"(  <Ui2DAnimation item="Hidden">)",
                                             "  still -->", R"(<TextureInfo item="T">)", "</TextureInfo>"}));
    EXPECT_TRUE(ws.Animations.Lines().empty()) << "an element inside a comment is no element";
    EXPECT_EQ(ws.MiscItems.Lines(), (Lines{"</Document>"}));
}

TEST_F(InventoryScanTest, HeadRulesSchemaAndElementsInsideTheHead) {
    ScanMain(CrLf({"<Doc>", "<!-- head comment -->", R"(<Ui2DAnimation item="Early">)", "</Ui2DAnimation>",
                   "    <Head2/>", "<Schema/>", "<Tail/>"}));
    EXPECT_EQ(ws.Header.Lines(), (Lines{"<Doc>", "<!-- head comment -->", "\t\t\t\t<Head2/>", "<Schema/>"}));
    EXPECT_EQ(ws.AllAnimations.Lines(), (Lines{R"(<Ui2DAnimation item="Early">)", "</Ui2DAnimation>"}));
    EXPECT_EQ(ws.MiscItems.Lines(), (Lines{"<Tail/>"}));

    Workspace noSchema;
    TempFolder::Write("EQUI_Animations.xml",
                      CrLf({"<Doc>", R"(<TextureInfo item="T">)", "</TextureInfo>", "</Doc>"}));
    ScanAnimationFile(noSchema, nullptr);
    EXPECT_EQ(noSchema.Header.Lines(), (Lines{"<Doc>", "</Doc>"}));
    EXPECT_TRUE(noSchema.MiscItems.Lines().empty());
}

TEST_F(InventoryScanTest, RecognisesOnlyExactOpeningPrefixes) {
    ScanMain(CrLf({"<Schema/>", R"(<TextureInfo  item="TwoSpaces">)", R"(<ui2danimation item="lower">)",
                   "\t  <TextureInfo item=\"Indented\">", "</TextureInfo>", R"(<TextureInfo item="Dup">)",
                   "</TextureInfo>", R"(<TextureInfo item="Dup">)", "</TextureInfo>"}));
    EXPECT_EQ(ws.Textures.Lines(), (Lines{"Indented", "Dup", "Dup"}));
    EXPECT_EQ(ws.MiscItems.Lines(),
              (Lines{R"(<TextureInfo  item="TwoSpaces">)", R"(<ui2danimation item="lower">)"}));
}

TEST_F(InventoryScanTest, AnOpenAnimationTakesPrecedenceOverAnOpenTexture) {
    ScanMain(CrLf({"<Schema/>", R"(<TextureInfo item="T">)", R"(<Ui2DAnimation item="A">)", "</TextureInfo>",
                   "</Ui2DAnimation>", "<Child/>", "</TextureInfo>"}));
    EXPECT_EQ(ws.Textures.Lines(), (Lines{"T"}));
    EXPECT_EQ(ws.Animations.Lines(), (Lines{"A"}));
    EXPECT_EQ(ws.AllAnimations.Lines(),
              (Lines{R"(<Ui2DAnimation item="A">)", "</TextureInfo>", "</Ui2DAnimation>"}));
    EXPECT_EQ(ws.AllTextures.Lines(), (Lines{R"(<TextureInfo item="T">)", "<Child/>", "</TextureInfo>"}));
}

TEST_F(InventoryScanTest, AClosingLineWithTrailingBlanksClosesItsElement) {
    ScanMain(CrLf({"<Schema/>", R"(<Ui2DAnimation item="A">)", "</Ui2DAnimation> \t", "</Document>"}));
    EXPECT_EQ(ws.MiscItems.Lines(), (Lines{"</Document>"}));
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
        {CrLf({"<Schema/>", R"(<TextureInfo item="Good">)", "</TextureInfo>", "", R"(<TextureInfo item="Open">)",
               "<Size/>", "</Document>"}),
         Kind::UnclosedElement, {"Open", 5}, {}},
        {CrLf({"<Schema/>", R"(<Ui2DAnimation item="A">)", R"(<TextureInfo item="T">)", "</TextureInfo>",
               R"(<Ui2DAnimation item="B">)", "</Ui2DAnimation>"}),
         Kind::NestedElement, {"B", 5}, {"A", 2}},
        {CrLf({"<Schema/>", R"(<TextureInfo item="T">)", "</TextureInfo>", "<!-- never closed",
               R"(<TextureInfo item="Lost">)", "</TextureInfo>", "</Document>"}),
         Kind::UnclosedComment, {"", 4}, {}},
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
    EXPECT_EQ(ws.AllTextures.Lines(), (Lines{R"(<TextureInfo item="A">)", "</TextureInfo>"}));
    EXPECT_EQ(ws.MiscItems.Lines(), (Lines{"<End/>"}));
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
    EXPECT_EQ(ws.ZorAnimations.Lines(), (Lines{"N"}));
    EXPECT_EQ(ws.AllZorAnimations.Lines(),
              (Lines{"  <Ui2DAnimation item=\"N\">", "    <Frame/>", "  </Ui2DAnimation>"}));
    EXPECT_EQ(ws.AllZorAnimationsLineNumbers, (std::vector<int>{1, 3, 4}));
    EXPECT_TRUE(ws.AllZorTextures.Lines().empty());
    EXPECT_TRUE(ws.ZorTextures.Lines().empty());
    EXPECT_TRUE(window.calls.empty()) << "both lists stay shown";
}

TEST_F(InventoryScanTest, HidesTheListsOfAbsentAddOnFilesAndKeepsThePlaceholder) {
    TempFolder::Write("Zor_Anim.txt", CrLf({"<!-- nothing but a comment -->"}));
    ScanAddOnFiles(ws, window);
    EXPECT_EQ(ws.ZorAnimations.Lines(), (Lines{"ZorAnimations"}));
    EXPECT_EQ(window.calls, (Lines{"hide ZorTextures", "hide Tex_Label"}));
}

} // namespace
} // namespace zorby

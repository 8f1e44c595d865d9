#include "AnimationPatcher.h"

#include "FancyButton.h"
#include "TempFolder.h"
#include "WindowPlacement.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <deque>
#include <gtest/gtest.h>

namespace zorby::ui {
namespace {

using zorby::testing::CrLf;
using zorby::testing::TempFolder;

// Records every message box and answers Yes/No boxes from a script.
struct ScriptedBoxes {
    struct Box {
        QString title;
        QString text;
    };
    std::vector<Box> shown;
    std::deque<Answer> answers;

    MessagePresenter Presenter() {
        return
            [this](QWidget*, const QString& title, const QString& text, MessageIcon, MessageButtons buttons) {
                shown.push_back({title, text});
                if (buttons == MessageButtons::Ok) {
                    return Answer::Ok;
                }
                const Answer answer = answers.empty() ? Answer::No : answers.front();
                if (!answers.empty()) {
                    answers.pop_front();
                }
                return answer;
            };
    }
};

template <typename T> T* Find(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

TEST(WindowPlacement, CentresAcrossAndPlacesAThirdDown) {
    const TwipPoint position = MainWindowPosition(15360, 11520, 4665, 2430);
    EXPECT_EQ(position.left, 5347);
    EXPECT_EQ(position.top, 3030);
    EXPECT_EQ(MainWindowPosition(0, 2440, 0, 2430).top, 3);
    EXPECT_EQ(MainWindowPosition(0, 2420, 0, 2430).top, -3);
    EXPECT_EQ(MainWindowPosition(4675.5, 0, 4665, 0).left, 5) << "10.5 rounds to 10";
    EXPECT_EQ(MainWindowPosition(4676.5, 0, 4665, 0).left, 6) << "11.5 rounds to 12";
}

TEST(WindowPlacement, CentresTheAboutBoxWithItsFrame) {
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(CentredOn(screen, {307, 145}, {1, 20, 1, 1}), QPoint(357, 301)) << "a title bar of 20";
    EXPECT_EQ(CentredOn(screen, {307, 145}, {}), QPoint(358, 311));
    EXPECT_EQ(CentredOn({1024, 0, 800, 600}, {307, 145}, {}), QPoint(1270, 227)) << "on a second screen";
    EXPECT_EQ(CentredOn({0, 0, 300, 100}, {307, 145}, {}), QPoint(-3, -22)) << "truncated toward zero";
}

TEST(AnimationPatcher, LaysOutTheCommandAreaInTwips) {
    AnimationPatcher window("help.html");
    EXPECT_EQ(window.size(), QSize(305, 137));
    EXPECT_EQ(window.OuterSizeTwips(), QSize(4665, 2430));
    EXPECT_EQ(window.windowTitle(), "Kestrin's EQUI_Animation.xml Patcher");
    EXPECT_EQ(Find<FancyButton>(window, "PatchCommand")->geometry(), QRect(8, 8, 103, 35));
    EXPECT_EQ(Find<FancyButton>(window, "PatchCommand")->Caption(), "Patch!");
    EXPECT_EQ(Find<FancyButton>(window, "FancyButton1")->geometry(), QRect(192, 8, 103, 35));
    EXPECT_EQ(Find<FancyButton>(window, "Restore_Animation")->geometry(), QRect(192, 96, 103, 35));
    EXPECT_EQ(Find<QPushButton>(window, "DebugButton")->geometry(), QRect(128, 8, 49, 33));
    EXPECT_EQ(Find<QLabel>(window, "DebugLabel")->geometry(), QRect(104, 40, 89, 17));
    EXPECT_EQ(Find<QProgressBar>(window, "PatchProgress")->geometry(), QRect(8, 56, 289, 17));
    EXPECT_EQ(Find<QCheckBox>(window, "Backup_Animation")->geometry(), QRect(8, 104, 169, 17));
    EXPECT_TRUE(Find<QCheckBox>(window, "Backup_Animation")->isChecked());
    // Every work list lies outside the compact client area.
    for (QListView* list : window.findChildren<QListView*>()) {
        EXPECT_GE(list->geometry().bottom(), 137) << list->objectName().toStdString();
    }
}

TEST(AnimationPatcher, LaysOutTheDebugAreaInThreeColumns) {
    AnimationPatcher window("help.html");
    window.ToggleDebugView();
    EXPECT_EQ(window.findChildren<QListView*>().size(), 14);
    EXPECT_EQ(Find<QListView>(window, "ZorAnimations")->geometry(), QRect(0, 168, 201, 56));
    EXPECT_EQ(Find<QListView>(window, "AllTextures")->geometry(), QRect(208, 352, 201, 56));
    EXPECT_EQ(Find<QListView>(window, "Header")->geometry(), QRect(416, 296, 169, 108));
    EXPECT_EQ(Find<QListView>(window, "MiscItems")->geometry(), QRect(416, 424, 169, 82));
    EXPECT_EQ(Find<QListView>(window, "AllTexturesTemp")->geometry(), QRect(208, 464, 201, 43));
    EXPECT_EQ(Find<QLabel>(window, "Label1")->text(), "Temp Items");
    EXPECT_EQ(Find<QLabel>(window, "Label3")->geometry(), QRect(0, 280, 409, 17));
    EXPECT_EQ(Find<QListView>(window, "ZorAnimations")->model()->index(0, 0).data().toString(),
              "ZorAnimations");
}

// Each view is sized by its widest line, wherever it stands and however it arrived (a reset, a replaced
// line, an appended one): no line is cut short, and the scroll bar reaches its end.
TEST(AnimationPatcher, EveryListScrollsToItsWidestLine) {
    AnimationPatcher window("help.html");
    window.ToggleDebugView();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto expectWholeLineShown = [&](int row) {
        for (QListView* view : window.findChildren<QListView*>()) {
            SCOPED_TRACE(view->objectName().toStdString() + " row " + std::to_string(row));
            view->doItemsLayout();
            const QModelIndex line = view->model()->index(row, 0);
            const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
            const int needed = view->fontMetrics().horizontalAdvance(line.data().toString()) + 2 * margin;
            EXPECT_GE(view->visualRect(line).width(), needed);
            EXPECT_GE(view->horizontalScrollBar()->maximum() + view->viewport()->width(), needed);
        }
    };
    for (LineList* list : window.Lists().AllLists()) {
        list->Assign({"\t<Ui2DAnimation item=\"A_DemoWindowCornerBottomRight\">", "</Ui2DAnimation>"});
    }
    expectWholeLineShown(0);
    for (const int row : {1, 2}) {
        for (LineList* list : window.Lists().AllLists()) {
            list->Set(row,
                      std::string(row, '\t') + "<Texture>demo_window_corner_bottom_right01.tga</Texture>");
        }
        expectWholeLineShown(row);
    }
}

TEST(AnimationPatcher, DebugToggleDecidesOnTheOuterHeight) {
    AnimationPatcher window("help.html");
    window.ToggleDebugView();
    EXPECT_EQ(window.OuterSizeTwips(), QSize(8955, 8025));
    EXPECT_EQ(window.size(), QSize(591, 510));
    window.ToggleDebugView();
    EXPECT_EQ(window.OuterSizeTwips(), QSize(4665, 2430));

    window.SetOuterSizeTwips(4665, 2445);
    window.ToggleDebugView();
    EXPECT_EQ(window.OuterSizeTwips(), QSize(4665, 2430)) << "not exactly 2430: back to compact first";
    window.ToggleDebugView();
    EXPECT_EQ(window.OuterSizeTwips(), QSize(8955, 8025));
}

// Stands in for the desktop: takes every mail link and local page.
class DesktopLinks : public QObject {
    Q_OBJECT

public:
    DesktopLinks() {
        for (const char* scheme : {"mailto", "file"}) {
            QDesktopServices::setUrlHandler(scheme, this, "Take");
        }
    }
    ~DesktopLinks() override {
        for (const char* scheme : {"mailto", "file"}) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }
    std::vector<std::string> taken; // as the desktop reads them, percent-encoding undone

public slots:
    void Take(const QUrl& url) { taken.push_back(QUrl::fromPercentEncoding(url.toEncoded()).toStdString()); }
};

TEST(AnimationPatcher, HandsLinksToTheDesktopAndSaysWhetherItTookThem) {
    const std::string mail = "mailto:a@example.org;b@example.org?subject=Zorby EXE ERROR&body= <-- Please "
                             "include -- Error Number:-53 -- Description: Bad file name or number";
    DesktopLinks desktop;
    AnimationPatcher window("help.html");
    EXPECT_TRUE(window.OpenLink(mail));
    EXPECT_TRUE(window.OpenLink("file:///opt/zorby/help/custom-ui-folder.html"));
    EXPECT_FALSE(window.OpenLink("http://[zorby.example.org/")) << "no link: nothing takes it";
    EXPECT_EQ(desktop.taken,
              (std::vector<std::string>{mail, "file:///opt/zorby/help/custom-ui-folder.html"}));
}

class WindowInFolder : public ::testing::Test {
protected:
    void SetUp() override {
        TempFolder::Write("EQUI_Animations.xml", CrLf({"<Schema/>", R"(<Ui2DAnimation item="A">)", "  <Old/>",
                                                       "</Ui2DAnimation>", "</XML>"}));
        TempFolder::Write("Zor_Anim.txt",
                          CrLf({R"(<Ui2DAnimation item="A">)", "  <New/>", "</Ui2DAnimation>"}));
    }

    TempFolder folder;
    ScriptedBoxes boxes;
};

TEST_F(WindowInFolder, HidesDebugControlsAndShowsListsThroughModels) {
    AnimationPatcher window("help.html", boxes.Presenter());
    ASSERT_EQ(window.Load(), Flow::Continue);
    EXPECT_TRUE(Find<QPushButton>(window, "DebugButton")->isHidden());
    EXPECT_TRUE(Find<QLabel>(window, "DebugLabel")->isHidden());
    EXPECT_TRUE(window.findChildren<QListView*>().empty()) << "the debug area comes with the debug view";
    window.ToggleDebugView();
    EXPECT_TRUE(Find<QListView>(window, "ZorTextures")->isHidden());
    EXPECT_TRUE(Find<QLabel>(window, "Tex_Label")->isHidden());
    EXPECT_FALSE(Find<FancyButton>(window, "Restore_Animation")->Enabled());

    QAbstractItemModel* lines = Find<QListView>(window, "AllAnimations")->model();
    ASSERT_EQ(lines->rowCount(), 3);
    EXPECT_EQ(lines->index(1, 0).data().toString(), "        <Old/>") << "two tabs shown as spaces";
    window.Lists().AllAnimations.Set(3, "<Added/>");
    EXPECT_EQ(lines->rowCount(), 4);
    window.Lists().AllAnimations.Set(0, "<Changed/>");
    EXPECT_EQ(lines->index(0, 0).data().toString(), "<Changed/>");
}

TEST_F(WindowInFolder, PatchesThroughTheWindowAndEndsTheRun) {
    TempFolder::Write("EQUI_An.xml", "older backup\r\n");
    boxes.answers = {Answer::Yes};
    AnimationPatcher window("help.html", boxes.Presenter());
    ASSERT_EQ(window.Load(), Flow::Continue);
    window.show();
    QSignalSpy ended(&window, &AnimationPatcher::RunEnded);
    QWidget* mask = Find<FancyButton>(window, "PatchCommand")->findChild<QWidget*>("ButtonMask");
    QTest::mouseClick(mask, Qt::LeftButton, {}, QPoint(20, 10));

    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.at(0).at(0).toInt(), 0);
    ASSERT_EQ(boxes.shown.size(), 2U);
    EXPECT_EQ(boxes.shown[0].title, "Confirm");
    EXPECT_EQ(boxes.shown[1].text,
              "Patch Completed - if you have problems, re-run this program and select 'Restore'");
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"),
              CrLf({"<Schema/>", R"(<Ui2DAnimation item="A">)", "  <New/>", "</Ui2DAnimation>", "</XML>"}));
    EXPECT_EQ(Find<QProgressBar>(window, "PatchProgress")->value(), 100);
    EXPECT_FALSE(TempFolder::Exists("Zor_Anim.txt"));
    EXPECT_TRUE(Find<FancyButton>(window, "Restore_Animation")->Enabled());
}

TEST_F(WindowInFolder, ReportsAFailedLoadAndClosingEndsTheRun) {
    std::filesystem::remove("EQUI_Animations.xml");
    std::filesystem::remove(folder.Root() / "default");
    AnimationPatcher refused("help.html", boxes.Presenter());
    EXPECT_EQ(refused.Load(), Flow::Failed);
    ASSERT_EQ(boxes.shown.size(), 2U);
    EXPECT_EQ(boxes.shown[0].text,
              "You are attempting to run zorby.exe from a directory that is not your custom ui "
              "directory.\nPlease reinstall to your custom ui directory and try again");

    AnimationPatcher window("help.html", boxes.Presenter());
    QSignalSpy ended(&window, &AnimationPatcher::RunEnded);
    window.show();
    window.close();
    ASSERT_EQ(ended.count(), 1);
    EXPECT_EQ(ended.at(0).at(0).toInt(), 0);
}

} // namespace
} // namespace zorby::ui

#include "AnimationPatcherTest.moc"

#include "AnimationPatcher.h"
#include "FakeWindow.h"
#include "FancyButton.h"
#include "StartRows.h"
#include "TempFolder.h"
#include "TextDecoding.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDesktopServices>
#include <QListView>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

// The window as the player meets it, in a folder of its own. Its message boxes are answered from a
// script, and the test stands in for the desktop: it takes every web page and mail link opened.
namespace zorby::ui {
namespace {

using zorby::testing::CrLf;
using zorby::testing::TempFolder;

class Window : public QObject, public ::testing::Test {
    Q_OBJECT

public:
    Window() {
        for (const char* scheme : {"https", "mailto"}) {
            QDesktopServices::setUrlHandler(scheme, this, "Take");
        }
    }
    ~Window() override {
        for (const char* scheme : {"https", "mailto"}) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }

public slots:
    void Take(const QUrl& url) { taken << QUrl::fromPercentEncoding(url.toEncoded()); }

protected:
    static QWidget* MaskOf(const QWidget& window, const char* button) {
        return window.findChild<FancyButton*>(button)->findChild<QWidget*>("ButtonMask");
    }
    static void Click(const QWidget& window, const char* button) {
        QTest::mouseClick(MaskOf(window, button), Qt::LeftButton, {}, {20, 10});
    }

    static constexpr const char* kItem = R"(<Ui2DAnimation item="A">)";
    static constexpr const char* kEnd = "</Ui2DAnimation>";
    QStringList taken;
    TempFolder folder;
    testing::FakeWindow boxes;
    AnimationPatcher window{"help.html",
                            [this](QWidget*, const QString& title, const QString& text, auto... rest) {
                                return boxes.ShowMessage(title.toStdString(), text.toStdString(), rest...);
                            }};
};

TEST_F(Window, PatchClickPatchesTheFolderAndEndsTheRunOnce) {
    TempFolder::Write("EQUI_Animations.xml", CrLf({"<Schema/>", kItem, "  <Old/>", kEnd, "</XML>"}));
    TempFolder::Write("Zor_Anim.txt", CrLf({kItem, "  <New/>", kEnd}));
    ASSERT_EQ(window.Load(), Flow::Continue);
    window.show();
    QSignalSpy ended(&window, &AnimationPatcher::RunEnded);
    // A press let go outside the button is no click.
    QTest::mousePress(MaskOf(window, "PatchCommand"), Qt::LeftButton, {}, {20, 10});
    QTest::mouseRelease(MaskOf(window, "PatchCommand"), Qt::LeftButton, {}, {20, 60});
    EXPECT_TRUE(boxes.messages.empty());
    Click(window, "PatchCommand");
    EXPECT_EQ(TempFolder::Read("EQUI_Animations.xml"),
              CrLf({"<Schema/>", kItem, "  <New/>", kEnd, "</XML>"}));
    EXPECT_EQ(boxes.messages.size(), 1U) << "the completion notice";
    EXPECT_EQ(window.findChild<QWidget*>("PatchProgress")->property("value"), 100);
    window.close();
    EXPECT_EQ(ended, QList<QVariantList>{{0}});
}

// The About box stands in the middle of the screen, frame and all, and opens with the keyboard on OK. A
// credit line, clicked or reached with Tab and pressed with Return or Space, asks first and opens its
// link only on Yes; Esc closes the box.
TEST_F(Window, AboutBoxByMouseAndKeyboard) {
    window.show();
    Click(window, "FancyButton1");
    QPointer<frmAbout> box = window.findChild<frmAbout*>();
    ASSERT_TRUE(box && QTest::qWaitForWindowExposed(box));
    EXPECT_LE((box->frameGeometry().center() - box->screen()->geometry().center()).manhattanLength(), 2);
    EXPECT_EQ(box->focusWidget(), box->findChild<QWidget*>("cmdOK"));
    const QString mail = "mailto:kestrin@example.org;zorby-errors@example.org?subject=Zorby EXE Related";
    for (const Answer answer : {Answer::No, Answer::Closed, Answer::Yes}) {
        boxes.answers = {answer};
        QTest::mouseClick(box->findChild<QWidget*>("Label3"), Qt::LeftButton, {}, {5, 5});
        ASSERT_FALSE(boxes.messages.empty());
        EXPECT_EQ(boxes.messages.back().text, "E-Mail Kestrin?");
        EXPECT_EQ(taken, answer == Answer::Yes ? QStringList{mail} : QStringList{});
    }
    for (const char* line : {"Label2", "Label3", "Label4", "cmdOK"}) {
        QTest::keyClick(box, Qt::Key_Tab);
        EXPECT_EQ(box->focusWidget(), box->findChild<QWidget*>(line)) << line;
    }
    QTest::keyClick(box, Qt::Key_Tab);
    boxes.answers = {Answer::No, Answer::Yes};
    QTest::keyClick(box->focusWidget(), Qt::Key_Return);
    QTest::keyClick(box->focusWidget(), Qt::Key_Space);
    ASSERT_EQ(boxes.messages.size(), 5U);
    EXPECT_EQ(boxes.messages.back().text, "Visit https://zorby.example.org/?");
    EXPECT_EQ(taken.size(), 2);
    QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull());
}

// Assistive technology learns what each image button and credit line is, what it is called, and that
// a greyed-out button is.
TEST_F(Window, ButtonsAndLinksSayWhatTheyAre) {
    Click(window, "FancyButton1");
    const auto* box = window.findChild<frmAbout*>();
    ASSERT_NE(box, nullptr);
    window.SetEnabled(Control::PatchCommand, false);
    const std::tuple<const QWidget*, const char*, QAccessible::Role, const char*> rows[] = {
        {&window, "Patch!", QAccessible::Button, "PatchCommand"},
        {&window, "About", QAccessible::Button, "FancyButton1"},
        {&window, "Restore", QAccessible::Button, "Restore_Animation"},
        {box, "OK", QAccessible::Button, "cmdOK"},
        {box, "https://zorby.example.org/", QAccessible::Link, "Label2"},
        {box, "E-Mail: kestrin@example.org", QAccessible::Link, "Label3"},
        {box, "Artwork by: k.varn", QAccessible::Link, "Label4"},
    };
    for (const auto& [parent, name, role, control] : rows) {
        const QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(parent->findChild<QWidget*>(control));
        ASSERT_NE(accessible, nullptr) << control;
        EXPECT_EQ(accessible->role(), role) << control;
        EXPECT_EQ(accessible->text(QAccessible::Name), name);
        EXPECT_EQ(accessible->state().disabled, std::string(control) == "PatchCommand") << control;
    }
}

// However a line arrives (a reset, a replaced line, an appended one), every list of the debug view shows
// it, a tab as four spaces, and shows its widest line whole, scrolling as far as that line goes.
TEST_F(Window, EveryListFollowsItsLinesAndShowsTheWidestWhole) {
    const std::string latin1(60, '\xB0');
    const std::tuple<bool, int, const char*, int> rows[] = {
        {true, 1, "<Ui2DAnimation item=\"A_DemoWindowCorner\">", 1},         // between two narrow lines
        {false, 2, "<Texture>demo_window_corner_bottom01.tga</Texture>", 2}, // replaced
        {false, 3, "\t\t\t<Texture>demo_window_corner.tga</Texture>", 3},    // appended, wider by its tabs
        {false, 4, "éééééééééééééééééééééééééééééééééééééééé", 3},           // more bytes, fewer characters
        {false, 3, kEnd, 2},                                                 // the widest made narrow
        {false, 4, latin1.c_str(), 4},                                       // not UTF-8: a character a byte
    };
    window.ToggleDebugView();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    Workspace& ws = window.Lists();
    for (const auto& [reset, at, line, widest] : rows) {
        for (LineList* list :
             {&ws.Header, &ws.AllTextures, &ws.AllAnimations, &ws.MiscItems, &ws.Textures, &ws.Animations,
              &ws.AllTexturesTemp, &ws.AllAnimationsTemp, &ws.AllZorTextures, &ws.AllZorAnimations,
              &ws.AllZorTexturesTemp, &ws.AllZorAnimationsTemp, &ws.ZorTextures, &ws.ZorAnimations}) {
            reset ? list->Assign({kEnd, line, kEnd}) : list->Set(at, line);
        }
        const QList<QListView*> views = window.findChildren<QListView*>();
        ASSERT_EQ(views.size(), 14);
        for (QListView* view : views) {
            SCOPED_TRACE(view->objectName().toStdString() + " after " + line);
            view->doItemsLayout();
            const QModelIndex shown = view->model()->index(widest, 0);
            const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
            const int needed = view->fontMetrics().horizontalAdvance(shown.data().toString()) + 2 * margin;
            EXPECT_EQ(view->model()->rowCount(), ws.Animations.Count());
            EXPECT_EQ(view->model()->index(at, 0).data(), TextFromLine(line).replace("\t", "    "));
            EXPECT_GE(view->visualRect(shown).width(), needed);
            EXPECT_GE(view->horizontalScrollBar()->maximum() + view->viewport()->width(), needed);
            // and no further, give or take a rounded pixel
            EXPECT_LE(view->horizontalScrollBar()->maximum(),
                      std::max(0, needed + 1 - view->viewport()->width()));
        }
    }
}

// A greyed-out button says why in its tip, and the keyboard starts on the first usable control.
class StartState : public Window, public ::testing::WithParamInterface<testing::StartRow> {};
TEST_P(StartState, Row) {
    testing::WriteStartFiles(GetParam());
    ASSERT_EQ(window.Load(), Flow::Continue);
    EXPECT_EQ(window.findChild<QWidget*>("PatchCommand")->toolTip(), GetParam().patchTip);
    EXPECT_EQ(window.findChild<QWidget*>("Restore_Animation")->toolTip(), GetParam().restoreTip);
    EXPECT_EQ(window.focusWidget(), window.findChild<QWidget*>(GetParam().focus));
}
INSTANTIATE_TEST_SUITE_P(Window, StartState, ::testing::ValuesIn(testing::kStartRows),
                         [](const auto& info) { return std::string(info.param.name); });

// The real message boxes, ended every way a player can end them: only a button is an answer, and every
// box comes up within a second inside the screen's free area, however long its text.
enum class Act { ClickYes, ClickNo, Escape, Enter, CloseBox, CloseMainWindow, Quit };
struct BoxRow {
    const char* name;
    MessageButtons buttons;
    std::string text;
    Act act;
    Answer answer;
};
const std::string kAsk = "Overwrite previous EQUI_Animation.xml backup?";
const BoxRow kBoxRows[] = {
    {"yes_clicked", MessageButtons::YesNo, kAsk, Act::ClickYes, Answer::Yes},
    {"no_clicked", MessageButtons::YesNoDefaultNo, kAsk, Act::ClickNo, Answer::No},
    {"escape_is_no", MessageButtons::YesNo, kAsk, Act::Escape, Answer::No},
    {"enter_is_the_default_no", MessageButtons::YesNoDefaultNo, kAsk, Act::Enter, Answer::No},
    {"box_closed", MessageButtons::YesNoDefaultNo, kAsk, Act::CloseBox, Answer::Closed},
    {"main_window_closed", MessageButtons::YesNo, kAsk, Act::CloseMainWindow, Answer::Closed},
    {"program_asked_to_quit", MessageButtons::YesNo, kAsk, Act::Quit, Answer::Closed},
    {"ok_box_closed", MessageButtons::Ok, "Done", Act::CloseBox, Answer::Ok},
    {"five_megabyte_line", MessageButtons::Ok, "line 3 (" + std::string(5'000'000, 'x') + ")", Act::CloseBox,
     Answer::Ok},
    {"ten_thousand_lines", MessageButtons::Ok, "1" + std::string(10'000, '\r') + "2", Act::CloseBox,
     Answer::Ok},
};
class RealBox : public ::testing::TestWithParam<BoxRow> {};
TEST_P(RealBox, Row) {
    const BoxRow& row = GetParam();
    AnimationPatcher window{"help.html"};
    window.show();
    Answer answer{};
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_TRUE(box->screen()->availableGeometry().contains(box->frameGeometry()));
            // Cut to what the box shows before it is built: a box of megabytes froze the window.
            EXPECT_LT(box->text().size(), 4000);
            QCloseEvent close; // what the window manager sends for the title bar's close button
            switch (row.act) {
            case Act::ClickYes:
            case Act::ClickNo:
                QTest::mouseClick(box->button(row.act == Act::ClickYes ? QMessageBox::Yes : QMessageBox::No),
                                  Qt::LeftButton);
                break;
            case Act::Escape:
            case Act::Enter:
                QTest::keyClick(box, row.act == Act::Escape ? Qt::Key_Escape : Qt::Key_Return);
                break;
            case Act::CloseBox:
                QCoreApplication::sendEvent(box->windowHandle(), &close);
                break;
            case Act::CloseMainWindow:
                window.close();
                break;
            case Act::Quit:
                QCoreApplication::quit();
                break;
            }
        });
        answer = window.ShowMessage("Confirm", row.text, MessageIcon::Warning, row.buttons);
        QCoreApplication::exit();
    });
    QApplication::exec();
    EXPECT_EQ(answer, row.answer);
}
INSTANTIATE_TEST_SUITE_P(Window, RealBox, ::testing::ValuesIn(kBoxRows),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zorby::ui

#include "WindowTest.moc"

#include "FakeWindow.h"
#include "FancyButton.h"
#include "frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <gtest/gtest.h>

namespace zorby::ui {
namespace {

using zorby::testing::FakeWindow;

class AboutBoxTest : public ::testing::Test {
protected:
    // As in the program, the main window is on the screen, framed, before the box is first shown.
    void SetUp() override { mainWindow.show(); }

    frmAbout* ShowAbout() {
        frmAbout* box = frmAbout::ShowAbout(slot, port, &mainWindow);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(box));
        return box;
    }

    // The whole box, frame included, stands in the middle of the screen, to a pixel of rounding.
    static void ExpectCentred(frmAbout* box) {
        const QRect screen = box->screen()->geometry();
        const QRect frame = box->frameGeometry();
        EXPECT_GT(frame.height(), box->height()) << "the offscreen platform frames windows too";
        EXPECT_LE(std::abs((frame.left() - screen.left()) - (screen.right() - frame.right())), 1);
        EXPECT_LE(std::abs((frame.top() - screen.top()) - (screen.bottom() - frame.bottom())), 1);
    }

    static void ClickOk(frmAbout* box) {
        auto* mask = box->findChild<FancyButton*>(QStringLiteral("cmdOK"))
                         ->findChild<QWidget*>(QStringLiteral("ButtonMask"));
        QTest::mouseClick(mask, Qt::LeftButton, {}, QPoint(40, 15));
    }

    static void DestroyClosed() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    FakeWindow port;
    QWidget mainWindow;
    QPointer<frmAbout> slot;
};

TEST_F(AboutBoxTest, FirstShowCentresTheBoxAndSetsTheCredits) {
    frmAbout* box = ShowAbout();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("About Patcher"));
    EXPECT_EQ(box->size(), QSize(307, 145));
    EXPECT_FALSE(box->isModal());
    EXPECT_FALSE(box->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(box->parentWidget(), &mainWindow);
    ExpectCentred(box);
    EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Program By: Kestrin Dunmarrow    Ver 3.0"));
    EXPECT_EQ(box->findChild<FancyButton*>(QStringLiteral("cmdOK"))->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(box->findChild<FancyButton*>(QStringLiteral("cmdOK"))->geometry(), QRect(104, 96, 103, 35));

    auto* webAddress = box->findChild<QLabel*>(QStringLiteral("Label2"));
    EXPECT_EQ(webAddress->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_TRUE(webAddress->font().underline());
}

TEST_F(AboutBoxTest, ShowingAgainKeepsTheBoxWhereTheUserLeftIt) {
    frmAbout* box = ShowAbout();
    box->move(5, 7);
    EXPECT_EQ(ShowAbout(), box);
    EXPECT_EQ(box->pos(), QPoint(5, 7));

    ClickOk(box);
    EXPECT_FALSE(box->isVisible());
    DestroyClosed();
    ASSERT_EQ(slot.data(), box) << "OK hides the box, it must not destroy it";
    EXPECT_EQ(ShowAbout(), box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->pos(), QPoint(5, 7));
}

TEST_F(AboutBoxTest, ClosingDestroysTheBoxAndTheNextOneIsCentredAgain) {
    frmAbout* box = ShowAbout();
    box->move(5, 7);
    box->close();
    DestroyClosed();
    EXPECT_TRUE(slot.isNull());

    frmAbout* again = ShowAbout();
    ExpectCentred(again);
    EXPECT_EQ(again->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("Program By: Kestrin Dunmarrow    Ver 3.0"));
}

TEST_F(AboutBoxTest, EachCreditLineAsksFirstAndOpensOnlyOnYes) {
    struct Case {
        const char* label;
        std::string question;
        std::string target;
    };
    const Case cases[] = {
        {"Label2", "Visit https://zorby.example.org/?", "https://zorby.example.org/"},
        {"Label3", "E-Mail Kestrin?",
         "mailto:kestrin@example.org;zorby-errors@example.org?subject=Zorby EXE Related"},
        {"Label4", "Visit k.varn's website?", "https://kvarn.example.org/"},
    };
    frmAbout* box = ShowAbout();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto* label = box->findChild<QLabel*>(QString::fromLatin1(c.label));
        ASSERT_NE(label, nullptr);
        port.messages.clear();
        port.links.clear();

        port.answers = {Answer::No};
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
        ASSERT_EQ(port.messages.size(), 1u);
        EXPECT_EQ(port.messages[0].title, "Confirm");
        EXPECT_EQ(port.messages[0].text, c.question);
        EXPECT_EQ(port.messages[0].icon, MessageIcon::None);
        EXPECT_EQ(port.messages[0].buttons, MessageButtons::YesNo);
        EXPECT_TRUE(port.links.empty());

        port.answers = {Answer::Yes};
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(port.links, std::vector<std::string>{c.target});
        EXPECT_TRUE(box->isVisible());
    }
}

} // namespace
} // namespace zorby::ui

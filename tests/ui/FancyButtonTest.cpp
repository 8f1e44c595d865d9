#include "FancyButton.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace zorby::ui {
namespace {

const QColor kSilver(192, 192, 192);
const QColor kLightYellow(255, 255, 128);
const QColor kBlack(0, 0, 0);

// A shown button in a window of its own, with its parts found by name and a pointer the test moves.
class FancyButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        host->resize(200, 80);
        button = new FancyButton(host.get());
        button->move(20, 20);
        button->SetPointerSource([this] { return pointer; });
        mask = button->findChild<QWidget*>(QStringLiteral("ButtonMask"));
        caption = button->findChild<QLabel*>(QStringLiteral("ButtonCaption"));
        dark = button->findChild<QWidget*>(QStringLiteral("ButtonDark"));
        light = button->findChild<QWidget*>(QStringLiteral("ButtonLight"));
        timer = button->findChild<QTimer*>(QStringLiteral("Timer1"));
        ASSERT_TRUE(mask && caption && dark && light && timer);
        PointAt(QPoint(-50, -50));
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
        // Start at rest, whatever the real pointer did while the window appeared.
        ASSERT_TRUE(WaitUntilDark());
        ASSERT_FALSE(timer->isActive());
    }

    // Moves the scripted pointer to a point given in the mask's own pixels.
    void PointAt(QPoint local) { pointer = button->mapToGlobal(local); }
    QColor CaptionColour() const { return caption->palette().color(QPalette::WindowText); }
    bool WaitUntilDark() {
        return QTest::qWaitFor(
            [this] { return !timer->isActive() && dark->isVisible() && !light->isVisible(); }, 1000);
    }
    // Moves the real pointer from outside onto the mask.
    void Hover() {
        QTest::mouseMove(host.get(), QPoint(5, 5));
        QTest::mouseMove(mask, QPoint(40, 15));
        ASSERT_TRUE(light->isVisible());
    }

    std::unique_ptr<QWidget> host;
    FancyButton* button = nullptr;
    QWidget* mask = nullptr;
    QLabel* caption = nullptr;
    QWidget* dark = nullptr;
    QWidget* light = nullptr;
    QTimer* timer = nullptr;
    QPoint pointer;
};

TEST(FancyButtonSize, StaysAtItsOwnSizeWhateverTheContainerAsks) {
    QWidget host;
    auto* layout = new QHBoxLayout(&host);
    auto* button = new FancyButton;
    layout->addWidget(button, 1);
    host.resize(600, 300);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    EXPECT_EQ(button->size(), QSize(103, 35));

    button->resize(300, 90);
    EXPECT_EQ(button->size(), QSize(103, 35));
    button->setGeometry(0, 0, 10, 10);
    EXPECT_EQ(button->size(), QSize(103, 35));
    button->setFixedSize(250, 60);
    EXPECT_EQ(button->size(), QSize(103, 35));
}

TEST(FancyButtonProperties, FreshAndStoredInstancesHaveDifferentDefaultCaptions) {
    FancyButton fresh;
    EXPECT_EQ(fresh.Caption(), QStringLiteral("YourTextHere"));

    FancyButton stored;
    stored.SetBackColor(Qt::red);
    stored.SetEnabled(false);
    stored.ReadProperties({});
    EXPECT_EQ(stored.Caption(), QStringLiteral("Button"));
    EXPECT_EQ(stored.BackColor(), kBlack);
    EXPECT_TRUE(stored.Enabled());
}

TEST(FancyButtonProperties, OnlyTheEnabledPropertyRecoloursTheCaption) {
    FancyButton button;
    auto colour = [&] {
        return button.findChild<QLabel*>(QStringLiteral("ButtonCaption"))
            ->palette()
            .color(QPalette::WindowText);
    };
    button.ReadProperties({{QStringLiteral("Enabled"), false}});
    EXPECT_FALSE(button.Enabled());
    EXPECT_EQ(colour(), kSilver);

    button.SetEnabled(false);
    EXPECT_EQ(colour(), kBlack);
    button.SetEnabled(true);
    EXPECT_TRUE(button.Enabled());
    EXPECT_EQ(colour(), kSilver);
}

TEST(FancyButtonProperties, SavesOnlyWhatDiffersFromTheDefaultsAndReadsItBack) {
    FancyButton plain;
    plain.ReadProperties({});
    EXPECT_TRUE(plain.WriteProperties().isEmpty());

    FancyButton fresh; // never stored: its caption is not the stored default
    EXPECT_EQ(fresh.WriteProperties().keys(), QStringList{QStringLiteral("Caption")});

    FancyButton button;
    button.SetBackColor(QColor(212, 208, 200));
    button.SetCaption(QStringLiteral("Patch!"));
    button.SetEnabled(false);
    const QVariantMap saved = button.WriteProperties();
    EXPECT_EQ(saved.keys(), (QStringList{QStringLiteral("BackColor"), QStringLiteral("Caption"),
                                         QStringLiteral("Enabled")}));

    FancyButton restored;
    restored.ReadProperties(saved);
    EXPECT_EQ(restored.BackColor(), QColor(212, 208, 200));
    EXPECT_EQ(restored.Caption(), QStringLiteral("Patch!"));
    EXPECT_FALSE(restored.Enabled());
}

TEST_F(FancyButtonTest, HoverLightsThePlateUntilThePointerLeaves) {
    PointAt(QPoint(40, 15));
    Hover();
    EXPECT_FALSE(dark->isVisible());
    EXPECT_TRUE(timer->isActive());

    // The right and bottom edges still count as inside.
    PointAt(QPoint(mask->width(), mask->height()));
    QTest::qWait(30);
    EXPECT_TRUE(light->isVisible());
    EXPECT_TRUE(timer->isActive());

    PointAt(QPoint(mask->width() + 1, 10));
    EXPECT_TRUE(WaitUntilDark());
    EXPECT_FALSE(timer->isActive());

    PointAt(QPoint(40, 15));
    Hover();
    PointAt(QPoint(40, mask->height() + 1));
    EXPECT_TRUE(WaitUntilDark());
}

TEST_F(FancyButtonTest, PressShiftsPlateAndCaptionUntilRelease) {
    PointAt(QPoint(40, 15));
    Hover();
    QSignalSpy clicks(button, &FancyButton::Click);
    QTest::mousePress(mask, Qt::LeftButton, {}, QPoint(40, 15));
    EXPECT_EQ(light->pos(), QPoint(1, 1));
    EXPECT_EQ(dark->pos(), QPoint(0, 0));
    EXPECT_EQ(caption->pos(), QPoint(1, 9));
    EXPECT_EQ(CaptionColour(), kLightYellow);

    // Another button going down changes nothing, and the first release ends the press.
    QTest::mousePress(mask, Qt::RightButton, Qt::NoModifier, QPoint(40, 15));
    EXPECT_EQ(light->pos(), QPoint(1, 1));
    EXPECT_EQ(caption->pos(), QPoint(1, 9));
    QTest::mouseRelease(mask, Qt::RightButton, Qt::NoModifier, QPoint(40, 15));
    EXPECT_EQ(light->pos(), QPoint(0, 0));
    EXPECT_EQ(caption->pos(), QPoint(0, 8));
    EXPECT_EQ(CaptionColour(), kSilver);
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(FancyButtonTest, OnlyAReleaseOverTheMaskClicks) {
    QSignalSpy clicks(button, &FancyButton::Click);
    QTest::mousePress(mask, Qt::LeftButton, {}, QPoint(40, 15));
    QTest::mouseRelease(mask, Qt::LeftButton, {}, QPoint(150, 60));
    EXPECT_EQ(caption->pos(), QPoint(0, 8));
    EXPECT_EQ(CaptionColour(), kSilver);
    EXPECT_EQ(clicks.count(), 0);

    QTest::mouseClick(mask, Qt::LeftButton, {}, QPoint(mask->width() - 1, mask->height() - 1));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(FancyButtonTest, DisabledButtonIgnoresPointerAndKeys) {
    button->SetEnabled(false);
    QSignalSpy clicks(button, &FancyButton::Click);
    PointAt(QPoint(40, 15));
    QTest::mouseMove(host.get(), QPoint(5, 5));
    QTest::mouseMove(mask, QPoint(40, 15));
    EXPECT_FALSE(light->isVisible());
    EXPECT_FALSE(timer->isActive());

    QTest::mousePress(mask, Qt::LeftButton, {}, QPoint(40, 15));
    EXPECT_EQ(caption->pos(), QPoint(0, 8));
    EXPECT_EQ(CaptionColour(), kBlack);
    QTest::mouseRelease(mask, Qt::LeftButton, {}, QPoint(40, 15));
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
}

TEST_F(FancyButtonTest, DisablingDuringAPressDoesNotLeaveThePlateShifted) {
    QTest::mousePress(mask, Qt::LeftButton, {}, QPoint(40, 15));
    button->SetEnabled(false);
    EXPECT_EQ(light->pos(), QPoint(0, 0));
    EXPECT_EQ(caption->pos(), QPoint(0, 8));
    EXPECT_EQ(CaptionColour(), kBlack);

    // Once enabled again the next press shifts the plate as usual.
    QTest::mouseRelease(mask, Qt::LeftButton, {}, QPoint(40, 15));
    button->SetEnabled(true);
    QTest::mousePress(mask, Qt::LeftButton, {}, QPoint(40, 15));
    EXPECT_EQ(light->pos(), QPoint(1, 1));
}

TEST_F(FancyButtonTest, TabReachesTheButtonAndSpaceOrReturnClicksIt) {
    auto* second = new FancyButton(host.get());
    second->move(20, 60);
    auto* disabled = new FancyButton(host.get());
    disabled->SetEnabled(false);
    second->show();
    disabled->show();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));

    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    QTest::keyClick(button, Qt::Key_Tab);
    EXPECT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Tab);
    EXPECT_TRUE(button->hasFocus()) << "Tab must pass over a disabled button";

    QSignalSpy clicks(button, &FancyButton::Click);
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 2);
    QTest::keyClick(button, Qt::Key_A);
    EXPECT_EQ(clicks.count(), 2);
}

// The plates leave their corners and the strip at the right and bottom to the background colour, and
// the lit plate is brighter in the middle than the resting one.
TEST_F(FancyButtonTest, BackgroundShowsAroundThePlates) {
    button->SetBackColor(QColor(255, 0, 0));
    button->SetCaption(QString());
    const QImage resting = button->grab().toImage();
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(101, 0), QPoint(0, 33), QPoint(102, 17), QPoint(50, 34)}) {
        EXPECT_EQ(resting.pixelColor(corner), QColor(255, 0, 0)) << corner.x() << "," << corner.y();
    }
    const QColor field = resting.pixelColor(51, 22);
    EXPECT_NEAR(field.red(), 36, 20);
    EXPECT_NEAR(field.green(), 42, 20);
    EXPECT_NEAR(field.blue(), 53, 20);

    PointAt(QPoint(40, 15));
    Hover();
    const QColor lit = button->grab().toImage().pixelColor(51, 17);
    EXPECT_GT(lit.lightness(), resting.pixelColor(51, 17).lightness() + 10);
}

} // namespace
} // namespace zorby::ui

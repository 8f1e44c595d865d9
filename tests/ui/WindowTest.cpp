#include "AnimationPatcher.h"
#include "WindowContract.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

// The Qt window under the contract both windows keep. The driver stands in for the desktop: it takes
// every web page and mail link the window opens.
namespace zorby::ui {
namespace {

using testing::Key;

class QtDriver : public QObject {
    Q_OBJECT

public:
    QtDriver() { TakeLinks(true); }
    ~QtDriver() override { TakeLinks(false); }

    void Show() { window.show(); }
    void Click(const char* control, bool letGoInside = true) {
        QWidget* mask = Find(control)->findChild<QWidget*>("ButtonMask"); // an image button's plate
        const QPoint at = mask ? QPoint{20, 10} : QPoint{5, 5};
        QTest::mousePress(mask ? mask : Find(control), Qt::LeftButton, {}, at);
        QTest::mouseRelease(mask ? mask : Find(control), Qt::LeftButton, {},
                            letGoInside ? at : at + QPoint{0, 50});
    }
    void Press(Key key) {
        // In the order of Key.
        const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Return, Qt::Key_Space, Qt::Key_Escape};
        QTest::keyClick(Focus(), keys[int(key)]);
    }
    std::string Focused() { return Focus() ? Focus()->objectName().toStdString() : ""; }
    std::string Tip(Control control) { return Find(ui::Find(control).name)->toolTip().toStdString(); }
    bool AboutShown() {
        auto* box = window.findChild<frmAbout*>();
        return box != nullptr && box->isVisible();
    }
    std::tuple<std::string, std::string, bool> Describe(const char* control) {
        const QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(Find(control));
        const QAccessible::Role role = seen->role();
        return {seen->text(QAccessible::Name).toStdString(),
                role == QAccessible::Button ? "button"
                : role == QAccessible::Link ? "link"
                                            : "other",
                bool(seen->state().disabled)};
    }
    static testing::BoxSeen Ask(const testing::BoxRow& row) {
        AnimationPatcher window{"help.html"};
        window.show();
        testing::BoxSeen seen{};
        QElapsedTimer clock;
        QTimer::singleShot(0, [&] {
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr);
                seen.upAfterMs = unsigned(clock.elapsed());
                seen.inside = box->screen()->availableGeometry().contains(box->frameGeometry());
                seen.shown = int(box->text().size());
                using testing::Act;
                const auto key = [box](Qt::Key key) { return [box, key] { QTest::keyClick(box, key); }; };
                const auto click = [box](auto button) {
                    return [box, button] { QTest::mouseClick(box->button(button), Qt::LeftButton); };
                };
                const auto close = [box] { // what the window manager sends for the title bar's close button
                    QCloseEvent event;
                    QCoreApplication::sendEvent(box->windowHandle(), &event);
                };
                const std::map<Act, std::function<void()>> acts = {
                    {Act::ClickYes, click(QMessageBox::Yes)},
                    {Act::ClickNo, click(QMessageBox::No)},
                    {Act::Escape, key(Qt::Key_Escape)},
                    {Act::Enter, key(Qt::Key_Return)},
                    {Act::CloseBox, close},
                    {Act::AltF4, close}, // the window manager's, so the same close
                    {Act::CloseMainWindow, [&window] { window.close(); }},
                    {Act::EndSession, [] { QCoreApplication::quit(); }},
                };
                acts.at(row.act)();
            });
            clock.start();
            seen.answer = window.ShowMessage("Confirm", row.text, MessageIcon::Warning, row.buttons);
            QCoreApplication::exit();
        });
        QApplication::exec();
        return seen;
    }

    testing::TempFolder folder;
    testing::FakeWindow boxes;
    std::vector<std::string> links;
    AnimationPatcher window{"help.html",
                            [this](QWidget*, const QString& title, const QString& text, auto... rest) {
                                return boxes.ShowMessage(title.toStdString(), text.toStdString(), rest...);
                            }};

public slots:
    void Take(const QUrl& url) { links.push_back(QUrl::fromPercentEncoding(url.toEncoded()).toStdString()); }

private:
    void TakeLinks(bool take) {
        for (const char* scheme : {"https", "mailto"}) {
            take ? QDesktopServices::setUrlHandler(scheme, this, "Take")
                 : QDesktopServices::unsetUrlHandler(scheme);
        }
    }
    QWidget* Find(const char* control) { return window.findChild<QWidget*>(control); }
    QWidget* Focus() {
        return AboutShown() ? window.findChild<frmAbout*>()->focusWidget() : window.focusWidget();
    }
};

// The About box stands in the middle of the screen, frame and all.
TEST(QtWindow, AboutBoxOpensCentred) {
    QtDriver d;
    d.Show();
    d.Click("FancyButton1");
    auto* box = d.window.findChild<frmAbout*>();
    ASSERT_TRUE(box && QTest::qWaitForWindowExposed(box));
    EXPECT_LE((box->frameGeometry().center() - box->screen()->geometry().center()).manhattanLength(), 2);
}

} // namespace
} // namespace zorby::ui

namespace zorby::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, WindowContract, ui::QtDriver);
}

#include "WindowTest.moc"

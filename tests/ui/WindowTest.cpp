#include "AnimationPatcher.h"
#include "FancyButton.h"
#include "WindowContract.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QListView>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
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
    static constexpr bool kCodePage = false;
    QtDriver() {
        for (const char* scheme : {"https", "mailto"}) {
            QDesktopServices::setUrlHandler(scheme, this, "Take");
        }
    }
    ~QtDriver() override {
        for (const char* scheme : {"https", "mailto"}) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }

    void Show() { window.show(); }
    void Click(const char* control, bool letGoInside = true) {
        QWidget* target = Find(control);
        if (auto* mask = target->findChild<QWidget*>("ButtonMask")) {
            target = mask;
        }
        const QPoint at = target->objectName() == "ButtonMask" ? QPoint{20, 10} : QPoint{5, 5};
        QTest::mousePress(target, Qt::LeftButton, {}, at);
        QTest::mouseRelease(target, Qt::LeftButton, {}, letGoInside ? at : at + QPoint{0, 50});
    }
    void Press(Key key) {
        static const std::map<Key, Qt::Key> keys = {{Key::Tab, Qt::Key_Tab},
                                                    {Key::Return, Qt::Key_Return},
                                                    {Key::Space, Qt::Key_Space},
                                                    {Key::Escape, Qt::Key_Escape}};
        QTest::keyClick(Focus(), keys.at(key));
    }
    std::string Focused() { return Focus() ? Focus()->objectName().toStdString() : ""; }
    std::string Tip(Control control) { return Find(ui::Find(control).name)->toolTip().toStdString(); }
    bool AboutShown() {
        auto* box = window.findChild<frmAbout*>();
        return box != nullptr && box->isVisible();
    }
    testing::Described Describe(const char* control) {
        const QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(Find(control));
        const QAccessible::Role role = seen->role();
        return {seen->text(QAccessible::Name).toStdString(),
                role == QAccessible::Button ? "button"
                : role == QAccessible::Link ? "link"
                                            : "other",
                bool(seen->state().disabled)};
    }
    testing::ListSeen SeeList(const char* list, int row, int widest) {
        auto* view = window.findChild<QListView*>(list);
        view->doItemsLayout();
        const QModelIndex shown = view->model()->index(widest, 0);
        const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const int needed = view->fontMetrics().horizontalAdvance(shown.data().toString()) + 2 * margin;
        const int scroll = view->horizontalScrollBar()->maximum();
        return {view->model()->rowCount(), view->model()->index(row, 0).data().toString().toStdString(),
                view->visualRect(shown).width() >= needed && scroll + view->viewport()->width() >= needed,
                scroll <= std::max(0, needed + 1 - view->viewport()->width())};
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
                QCloseEvent close; // what the window manager sends for the title bar's close button
                using testing::Act;
                switch (row.act) {
                case Act::ClickYes:
                case Act::ClickNo:
                    QTest::mouseClick(
                        box->button(row.act == Act::ClickYes ? QMessageBox::Yes : QMessageBox::No),
                        Qt::LeftButton);
                    break;
                case Act::KeyY:
                case Act::Escape:
                case Act::Enter:
                    QTest::keyClick(box, row.act == Act::KeyY     ? Qt::Key_Y
                                         : row.act == Act::Escape ? Qt::Key_Escape
                                                                  : Qt::Key_Return);
                    break;
                case Act::CloseBox:
                case Act::AltF4: // the window manager's, so the same close
                    QCoreApplication::sendEvent(box->windowHandle(), &close);
                    break;
                case Act::CloseMainWindow:
                    window.close();
                    break;
                case Act::EndSession:
                    QCoreApplication::quit();
                    break;
                }
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

#include "MessageBox.h"

#include "MessageText.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>
#include <algorithm>

namespace zorby::ui {

namespace {

// Each try that does not fit takes away what overflowed; a few are enough even for a text of megabytes.
constexpr int kFittingTries = 8;

class FittedMessageBox : public QMessageBox {
public:
    FittedMessageBox(Icon icon, const QString& title, const QString& text, StandardButtons buttons,
                     QWidget* parent)
        : QMessageBox(icon, title, QString(), buttons, parent), whole_(text.toStdU16String()) {
        setTextFormat(Qt::PlainText);
        // A start that a box of this screen can show: a huge text is cut before it is ever laid out.
        const QRect room = Room();
        const QFontMetrics metrics(font());
        limits_ = {
            std::max(1, room.height() * 2 / 3 / std::max(1, metrics.lineSpacing())),
            std::max(2, std::min(room.width() * 2 / 3, 1000) / std::max(1, metrics.averageCharWidth()))};
        ShowFitted();
        // Every answer comes through a button, Esc included (it clicks No); a close does not.
        connect(this, &QMessageBox::buttonClicked, this, [this] { answered_ = true; });
    }

    bool Answered() const { return answered_; }

protected:
    // QMessageBox sizes itself for its text here; until it fits, the text is cut further.
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        const QRect room = Room();
        const QMargins frame = Frame();
        bool cut = false;
        for (int tries = 0; tries < kFittingTries; ++tries) {
            const QSize outer = size().grownBy(frame);
            if (outer.width() <= room.width() && outer.height() <= room.height()) {
                break;
            }
            const BoxLimits next =
                ShrunkToFit(limits_, {outer.width(), outer.height()}, {room.width(), room.height()});
            if (next == limits_) {
                break;
            }
            limits_ = next;
            ShowFitted();
            cut = true;
        }
        QRect placed(pos(), size().grownBy(frame));
        if (cut) {
            const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
            placed.moveCenter(owner != nullptr && owner->isVisible() ? owner->frameGeometry().center()
                                                                     : room.center());
        }
        placed.moveLeft(
            std::clamp(placed.left(), room.left(), std::max(room.left(), room.right() + 1 - placed.width())));
        placed.moveTop(
            std::clamp(placed.top(), room.top(), std::max(room.top(), room.bottom() + 1 - placed.height())));
        move(placed.topLeft());
    }

private:
    QRect Room() const {
        const QScreen* where = parentWidget() != nullptr ? parentWidget()->screen() : nullptr;
        where = where != nullptr ? where : QGuiApplication::primaryScreen();
        return where != nullptr ? where->availableGeometry() : QRect(0, 0, 640, 480);
    }

    // The box has no frame of its own before it is first shown; the main window's, which the window
    // manager decorates the same way, stands in for it.
    QMargins Frame() const {
        const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        const QWindow* handle = owner != nullptr ? owner->windowHandle() : nullptr;
        return handle != nullptr ? handle->frameMargins() : QMargins();
    }

    void ShowFitted() { setText(QString::fromStdU16String(FitMessage(whole_, limits_, u"\n"))); }

    std::u16string whole_;
    BoxLimits limits_{};
    bool answered_ = false;
};

} // namespace

Answer ShowMessageBox(QWidget* parent, const QString& title, const QString& text, MessageIcon icon,
                      MessageButtons buttons) {
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    if (icon == MessageIcon::Warning) {
        boxIcon = QMessageBox::Warning;
    } else if (icon == MessageIcon::Critical) {
        boxIcon = QMessageBox::Critical;
    }
    const auto standardButtons = buttons == MessageButtons::Ok ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                                               : QMessageBox::Yes | QMessageBox::No;
    FittedMessageBox box(boxIcon, title, text, standardButtons, parent);
    if (buttons == MessageButtons::YesNoDefaultNo) {
        box.setDefaultButton(QMessageBox::No);
    }
    box.exec();
    if (buttons == MessageButtons::Ok) {
        return Answer::Ok;
    }
    // QMessageBox takes a close for its No button; only a button pressed is an answer.
    if (!box.Answered()) {
        return Answer::Closed;
    }
    return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
}

} // namespace zorby::ui

#include "frmAbout.h"

#include "Artwork.h"
#include "FancyButton.h"
#include "WindowPlacement.h"
#include "WindowPort.h"

#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWindow>

namespace zorby::ui {
namespace {

const QColor kLinkBlue{0, 0, 128};

class AccessibleLink : public QAccessibleWidget {
public:
    explicit AccessibleLink(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            emit static_cast<LinkLabel*>(widget())->Activated();
        }
    }
};

QAccessibleInterface* AccessibleOf(const QString&, QObject* object) {
    auto* link = qobject_cast<LinkLabel*>(object);
    return link != nullptr ? new AccessibleLink(link) : nullptr;
}

// A credit line's question, and its link opened on Yes; the box stays open whatever the answer. The box
// may be closed while the question is open, which deletes it and this slot: everything is held here.
void Ask(WindowPort& port, const std::string question, const std::string target) {
    if (port.ShowMessage("Confirm", question, MessageIcon::None, MessageButtons::YesNo) == Answer::Yes) {
        port.OpenLink(target);
    }
}

} // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    static const bool accessible = (QAccessible::installFactory(AccessibleOf), true);
    (void)accessible;
    setTextFormat(Qt::PlainText);
    setAccessibleName(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus); // a click opens the link and leaves the focus where it was
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit Activated();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!event->isAutoRepeat()) {
            emit Activated(); // may close the box, which deletes it later, never now
        }
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = QRect(0, 0, std::min(width(), fontMetrics().horizontalAdvance(text()) + 2), height());
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

frmAbout::frmAbout(WindowPort& port, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      port_(port) {
    setWindowTitle(kAboutBoxTitle);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Px(kAboutClient.width), Px(kAboutClient.height));
    // The credits are laid out for a compact 8.25 point face.
    QFont compact = font();
    compact.setPointSizeF(8.25);
    setFont(compact);

    for (const ControlEntry& entry : AboutBoxControls()) {
        if (entry.kind == ControlKind::Picture) {
            picIcon_ = new QLabel(this);
            picIcon_->setObjectName(entry.name);
            picIcon_->setGeometry(PixelRect(entry.rect));
            picIcon_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            picIcon_->setLineWidth(2);
            picIcon_->setAlignment(Qt::AlignCenter);
            picIcon_->setPixmap(AboutEmblem(devicePixelRatioF()));
        } else if (entry.kind == ControlKind::ImageButton) {
            cmdOK_ = new FancyButton(this);
            cmdOK_->setObjectName(entry.name);
            cmdOK_->move(Px(entry.rect.left), Px(entry.rect.top));
            cmdOK_->SetCaption(QString::fromUtf8(entry.caption));
            cmdOK_->SetBackColor(palette().color(QPalette::Button));
            connect(cmdOK_, &FancyButton::Click, this, [this, action = entry.action] {
                if (action == Action::HideAbout) {
                    hide();
                }
            });
        } else {
            const QString text = QString::fromUtf8(entry.caption);
            QLabel* label =
                entry.kind == ControlKind::LinkLabel ? new LinkLabel(text, this) : new QLabel(text, this);
            label->setTextFormat(Qt::PlainText);
            label->setObjectName(QString::fromLatin1(entry.name));
            label->setGeometry(PixelRect(entry.rect));
            if (label1_ == nullptr) {
                label1_ = label;
            }
        }
    }
    // The web address is drawn as a link.
    auto* webLabel = findChild<QLabel*>(QStringLiteral("Label2"));
    QPalette linkPalette = webLabel->palette();
    linkPalette.setColor(QPalette::WindowText, kLinkBlue);
    webLabel->setPalette(linkPalette);
    QFont linkFont = webLabel->font();
    linkFont.setUnderline(true);
    webLabel->setFont(linkFont);
    for (const AboutLink& link : AboutLinks()) {
        connect(findChild<LinkLabel*>(QString::fromUtf8(link.label)), &LinkLabel::Activated, this,
                [&port = port_, question = link.question, target = std::string(link.target)] {
                    Ask(port, question, target);
                });
    }
    QWidget* previous = nullptr;
    for (const ControlEntry* entry : TabOrder(AboutBoxControls(), View::Compact)) {
        QWidget* widget = findChild<QWidget*>(QString::fromLatin1(entry->name));
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

frmAbout* frmAbout::ShowAbout(QPointer<frmAbout>& slot, WindowPort& port, QWidget* parent) {
    if (slot.isNull()) {
        slot = new frmAbout(port, parent);
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
    slot->FocusFirst();
    return slot;
}

void frmAbout::FocusFirst() {
    if (const ControlEntry* first =
            FirstFocus(AboutBoxControls(), View::Compact, [this](const ControlEntry& entry) {
                const QWidget* widget = findChild<QWidget*>(QString::fromLatin1(entry.name));
                return widget != nullptr && !widget->isHidden() && widget->isEnabled();
            })) {
        findChild<QWidget*>(QString::fromLatin1(first->name))->setFocus(Qt::OtherFocusReason);
    }
}

void frmAbout::setVisible(bool visible) {
    if (visible && !loaded_) {
        loaded_ = true;
        RunLoadStep();
    }
    QDialog::setVisible(visible);
}

// Runs once per box, just before its first show: the box is only placed here, so a box that was moved
// and then hidden with "OK" comes back where the user left it.
void frmAbout::RunLoadStep() {
    CentreOnScreen();
    label1_->setText(QString::fromStdString(AboutCreditLine()));
}

// The whole box is centred, frame included. Its own frame does not exist before the first show, so the
// frame of the main window, which the window manager decorates the same way, stands in for it. Placed
// before the box is first shown, the position is that of the frame.
void frmAbout::CentreOnScreen() {
    const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
    const QWindow* owner = parentWidget() ? parentWidget()->window()->windowHandle() : nullptr;
    const QMargins frame = owner ? owner->frameMargins() : QMargins();
    const QPoint at = CentredOn(target->geometry(), size(), frame);
    const QSize outer = size().grownBy(frame);
    const QRect work = target->availableGeometry();
    const ScreenPoint inside = InsideWorkArea({at.x(), at.y(), outer.width(), outer.height()},
                                              {work.x(), work.y(), work.width(), work.height()});
    move(inside.x, inside.y);
}

} // namespace zorby::ui

#include "frmAbout.h"

#include "Artwork.h"
#include "FancyButton.h"
#include "WindowPlacement.h"
#include "WindowPort.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace zorby::ui {
namespace {

const QColor kLinkBlue{0, 0, 128};

} // namespace

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
            QLabel* label = AddLabel(entry.name, QString::fromUtf8(entry.caption), entry.rect);
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
    for (AboutLink& link : AboutLinks()) {
        MakeLink(findChild<QLabel*>(QString::fromUtf8(link.label)), std::move(link.question), link.target);
    }
}

frmAbout* frmAbout::ShowAbout(QPointer<frmAbout>& slot, WindowPort& port, QWidget* parent) {
    if (slot.isNull()) {
        slot = new frmAbout(port, parent);
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot;
}

void frmAbout::setVisible(bool visible) {
    if (visible && !loaded_) {
        loaded_ = true;
        RunLoadStep();
    }
    QDialog::setVisible(visible);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        for (const LinkLine& link : links_) {
            if (watched == link.label && mouse->button() == Qt::LeftButton &&
                link.label->rect().contains(mouse->position().toPoint())) {
                // The box stays open whatever the answer.
                if (port_.ShowMessage("Confirm", link.question, MessageIcon::None, MessageButtons::YesNo) ==
                    Answer::Yes) {
                    port_.OpenLink(link.target);
                }
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
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
    move(CentredOn(target->geometry(), size(), owner ? owner->frameMargins() : QMargins()));
}

QLabel* frmAbout::AddLabel(const char* name, const QString& text, const TwipRect& rect) {
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(PixelRect(rect));
    return label;
}

void frmAbout::MakeLink(QLabel* label, std::string question, std::string target) {
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
    links_.push_back({label, std::move(question), std::move(target)});
}

} // namespace zorby::ui

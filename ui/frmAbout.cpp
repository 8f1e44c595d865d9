#include "frmAbout.h"

#include "Artwork.h"
#include "Contacts.h"
#include "ErrorReport.h"
#include "FancyButton.h"
#include "Twips.h"
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
    setWindowTitle(QStringLiteral("About Patcher"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(Px(4605), Px(2175));
    // The credits are laid out for a compact 8.25 point face.
    QFont compact = font();
    compact.setPointSizeF(8.25);
    setFont(compact);

    picIcon_ = new QLabel(this);
    picIcon_->setObjectName(QStringLiteral("picIcon"));
    picIcon_->setGeometry(Px(120), Px(120), Px(780), Px(780));
    picIcon_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picIcon_->setLineWidth(2);
    picIcon_->setAlignment(Qt::AlignCenter);
    picIcon_->setPixmap(AboutEmblem(devicePixelRatioF()));

    label1_ = AddLabel("Label1", QStringLiteral("Program By: Kestrin Dunmarrow "), 960, 120, 4335, 255);
    QLabel* label2 = AddLabel("Label2", QString::fromUtf8(contacts::kAuthorWebPage), 960, 360, 2655, 255);
    QLabel* label3 = AddLabel("Label3", QString::fromUtf8(contacts::kAuthorMailText), 960, 600, 2655, 255);
    QLabel* label4 = AddLabel("Label4", QStringLiteral("Artwork by: k.varn"), 960, 960, 4335, 255);

    // The web address is drawn as a link.
    QPalette linkPalette = label2->palette();
    linkPalette.setColor(QPalette::WindowText, kLinkBlue);
    label2->setPalette(linkPalette);
    QFont linkFont = label2->font();
    linkFont.setUnderline(true);
    label2->setFont(linkFont);

    MakeLink(label2, std::string("Visit ") + contacts::kAuthorWebPage + "?", contacts::kAuthorWebPage);
    MakeLink(label3, "E-Mail Kestrin?", contacts::kAuthorMailLink);
    MakeLink(label4, "Visit k.varn's website?", contacts::kArtistWebPage);

    cmdOK_ = new FancyButton(this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->move(Px(1560), Px(1440));
    cmdOK_->SetCaption(QStringLiteral("OK"));
    cmdOK_->SetBackColor(palette().color(QPalette::Button));
    connect(cmdOK_, &FancyButton::Click, this, &QWidget::hide);
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
    label1_->setText(QStringLiteral("Program By: Kestrin Dunmarrow    Ver ") +
                     QString::fromUtf8(kVersionText));
}

// The whole box is centred, frame included. Its own frame does not exist before the first show, so the
// frame of the main window, which the window manager decorates the same way, stands in for it. Placed
// before the box is first shown, the position is that of the frame.
void frmAbout::CentreOnScreen() {
    const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
    const QWindow* owner = parentWidget() ? parentWidget()->window()->windowHandle() : nullptr;
    move(CentredOn(target->geometry(), size(), owner ? owner->frameMargins() : QMargins()));
}

QLabel* frmAbout::AddLabel(const char* name, const QString& text, int leftTw, int topTw, int widthTw,
                           int heightTw) {
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(Px(leftTw), Px(topTw), Px(widthTw), Px(heightTw));
    return label;
}

void frmAbout::MakeLink(QLabel* label, std::string question, std::string target) {
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
    links_.push_back({label, std::move(question), std::move(target)});
}

} // namespace zorby::ui

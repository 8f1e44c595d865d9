#include "FancyButton.h"

#include "PlatePainter.h"
#include "Twips.h"

#include <QCursor>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QTimer>

namespace zorby::ui {
namespace {

const QSize kButtonSize{Px(1545), Px(525)};
const QPoint kCaptionRest{0, 8};
const QPoint kCaptionPressed{1, 9};
const QPoint kLightPressed{1, 1};
const QColor kSilver{192, 192, 192};
const QColor kLightYellow{255, 255, 128};
const QColor kBlack{0, 0, 0};

// One of the two plate pictures; painted as vectors so it is sharp on any screen, once for each tone and
// pixel ratio: every button shows the same plates.
class PlatePicture : public QWidget {
public:
    PlatePicture(PlateTone tone, const QString& name, QWidget* parent) : QWidget(parent), tone_(tone) {
        setObjectName(name);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(QRect(QPoint(0, 0), kPlateSize));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const qreal ratio = devicePixelRatioF();
        const QString key =
            QStringLiteral("zorby-plate-%1-%2").arg(tone_ == PlateTone::Dark ? 0 : 1).arg(ratio);
        QPixmap plate;
        if (!QPixmapCache::find(key, &plate)) {
            plate = QPixmap(kPlateSize * ratio);
            plate.setDevicePixelRatio(ratio);
            plate.fill(Qt::transparent);
            QPainter painter(&plate);
            PaintPlate(painter, tone_);
            painter.end();
            QPixmapCache::insert(key, plate);
        }
        QPainter(this).drawPixmap(0, 0, plate);
    }

private:
    PlateTone tone_;
};

} // namespace

// The invisible top layer that takes the mouse. Qt delivers no mouse input to it while it is disabled,
// and the button's handlers check its enabled state as well.
class ButtonMask : public QWidget {
public:
    explicit ButtonMask(FancyButton* button) : QWidget(button), button_(button) {
        setObjectName(QStringLiteral("ButtonMask"));
        setMouseTracking(true);
        setGeometry(QRect(QPoint(0, 0), kPlateSize));
    }

protected:
    void enterEvent(QEnterEvent*) override { button_->OnHoverStart(); }
    void mouseMoveEvent(QMouseEvent*) override { button_->OnHoverStart(); }
    void mousePressEvent(QMouseEvent*) override { button_->OnPress(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        // Only a left button let go over the mask completes a click.
        const bool clicked =
            event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
        button_->OnRelease(clicked);
    }
    void paintEvent(QPaintEvent*) override {
        if (button_->hasFocus()) {
            QPainter painter(this);
            PaintFocusMark(painter);
        }
    }

private:
    FancyButton* button_;
};

FancyButton::FancyButton(QWidget* parent) : QWidget(parent) {
    setFixedSize(kButtonSize);
    setFocusPolicy(Qt::StrongFocus);

    // Created back to front: each child is drawn over the ones made before it.
    light_ = new PlatePicture(PlateTone::Light, QStringLiteral("ButtonLight"), this);
    light_->hide();
    dark_ = new PlatePicture(PlateTone::Dark, QStringLiteral("ButtonDark"), this);

    caption_ = new QLabel(QStringLiteral("YourTextHere"), this);
    caption_->setObjectName(QStringLiteral("ButtonCaption"));
    caption_->setGeometry(QRect(kCaptionRest, QSize(102, 17)));
    caption_->setTextFormat(Qt::PlainText);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption_->setAutoFillBackground(false);
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPointSizeF(9.75);
    caption_->setFont(font);
    ColourCaption(kSilver);

    mask_ = new ButtonMask(this);

    // Polls the pointer while the plate is lit, to notice when it has left. Runs from creation; its
    // first tick with the pointer outside stops it.
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(1);
    connect(timer_, &QTimer::timeout, this, &FancyButton::OnTimerTick);
    timer_->start();
}

void FancyButton::SetCaption(const QString& caption) {
    caption_->setText(caption);
}

void FancyButton::SetBackColor(const QColor& color) {
    backColor_ = color;
    update();
}

bool FancyButton::Enabled() const {
    return mask_->isEnabled();
}

void FancyButton::SetEnabled(bool enabled) {
    mask_->setEnabled(enabled);
    // A disabled mask gets no release, so a press under way would otherwise leave the plate shifted.
    if (!enabled && pressed_) {
        MoveToRest();
    }
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
    if (!enabled && hasFocus()) {
        clearFocus();
    }
    ColourCaption(enabled ? kSilver : kBlack);
}

QSize FancyButton::sizeHint() const {
    return kButtonSize;
}

void FancyButton::paintEvent(QPaintEvent*) {
    // Shows through the plates' rounded corners and in the strip right and below them.
    QPainter painter(this);
    painter.fillRect(rect(), backColor_);
}

void FancyButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (size() != kButtonSize) {
        setFixedSize(kButtonSize);
    }
}

void FancyButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (!event->isAutoRepeat() && Enabled()) {
            emit Click();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void FancyButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    mask_->update();
}

void FancyButton::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    mask_->update();
}

void FancyButton::OnHoverStart() {
    if (!Enabled() || light_->isVisible()) {
        return;
    }
    timer_->start();
    light_->show();
    dark_->hide();
}

void FancyButton::OnTimerTick() {
    const QPoint pointer = mask_->mapFromGlobal(QCursor::pos());
    // The right and bottom edges themselves still count as inside.
    const bool outside =
        pointer.x() < 0 || pointer.y() < 0 || pointer.x() > mask_->width() || pointer.y() > mask_->height();
    if (!outside) {
        return;
    }
    light_->hide();
    dark_->show();
    timer_->stop();
}

void FancyButton::OnPress() {
    if (!Enabled() || pressed_) {
        return;
    }
    pressed_ = true;
    light_->move(kLightPressed);
    caption_->move(kCaptionPressed);
    ColourCaption(kLightYellow);
}

void FancyButton::OnRelease(bool leftButtonInside) {
    if (!pressed_) {
        return;
    }
    MoveToRest();
    if (Enabled()) {
        ColourCaption(kSilver);
    }
    if (leftButtonInside && Enabled()) {
        emit Click();
    }
}

void FancyButton::ColourCaption(const QColor& color) {
    QPalette palette = caption_->palette();
    palette.setColor(QPalette::WindowText, color);
    caption_->setPalette(palette);
}

void FancyButton::MoveToRest() {
    pressed_ = false;
    light_->move(0, 0);
    caption_->move(kCaptionRest);
}

} // namespace zorby::ui

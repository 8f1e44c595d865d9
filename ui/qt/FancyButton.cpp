#include "FancyButton.h"

#include "Artwork.h"

#include <QAccessibleWidget>
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

const QSize kButtonSize{ImageButtonState::kWidth, ImageButtonState::kHeight};
const QSize kPlateSize{ImageButtonState::kPlateWidth, ImageButtonState::kPlateHeight};

QPoint ToPoint(PixelOffset offset) {
    return {offset.x, offset.y};
}

// One of the two plate pictures, decoded for the screen's pixel ratio once for each tone and ratio:
// every button shows the same plates.
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
            plate = PlatePixmap(tone_, ratio);
            QPixmapCache::insert(key, plate);
        }
        QPainter(this).drawPixmap(0, 0, plate);
    }

private:
    PlateTone tone_;
};

// What assistive technology learns of the button: a push button named by its caption, greyed out while
// disabled (the widget itself stays enabled), pressed by its one action.
class AccessibleFancyButton : public QAccessibleWidget {
public:
    explicit AccessibleFancyButton(FancyButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.disabled = !Button()->Enabled();
        state.focusable = Button()->Enabled();
        return state;
    }
    QStringList actionNames() const override {
        return Button()->Enabled() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            Button()->Press();
        }
    }

private:
    FancyButton* Button() const { return static_cast<FancyButton*>(widget()); }
};

QAccessibleInterface* AccessibleOf(const QString&, QObject* object) {
    auto* button = qobject_cast<FancyButton*>(object);
    return button != nullptr ? new AccessibleFancyButton(button) : nullptr;
}

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
            painter.setPen(QPen(QColor(192, 192, 192, 100), 1, Qt::DotLine));
            const int* mark = ImageButtonState::kFocusMark;
            painter.drawRect(QRect(mark[0], mark[1], mark[2], mark[3]));
        }
    }

private:
    FancyButton* button_;
};

FancyButton::FancyButton(QWidget* parent) : QWidget(parent) {
    static const bool accessible = (QAccessible::installFactory(AccessibleOf), true);
    (void)accessible;
    setFixedSize(kButtonSize);
    setFocusPolicy(Qt::StrongFocus);

    // Created back to front: each child is drawn over the ones made before it.
    light_ = new PlatePicture(PlateTone::Light, QStringLiteral("ButtonLight"), this);
    light_->hide();
    dark_ = new PlatePicture(PlateTone::Dark, QStringLiteral("ButtonDark"), this);

    caption_ = new QLabel(QStringLiteral("YourTextHere"), this);
    caption_->setObjectName(QStringLiteral("ButtonCaption"));
    caption_->setGeometry(
        QRect(ToPoint(state_.Look().caption), QSize(kPlateSize.width(), ImageButtonState::kCaptionHeight)));
    caption_->setTextFormat(Qt::PlainText);
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setAttribute(Qt::WA_TransparentForMouseEvents);
    caption_->setAutoFillBackground(false);
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPointSizeF(9.75);
    caption_->setFont(font);

    mask_ = new ButtonMask(this);

    // Polls the pointer while the plate is lit, to notice when it has left. Runs from creation; its
    // first tick with the pointer outside stops it.
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(1);
    connect(timer_, &QTimer::timeout, this, &FancyButton::OnTimerTick);
    timer_->start();
    ShowLook();
}

void FancyButton::SetCaption(const QString& caption) {
    caption_->setText(caption);
    setAccessibleName(caption);
}

void FancyButton::Press() {
    if (state_.Key(true, false)) {
        emit Click();
    }
}

void FancyButton::SetBackColor(const QColor& color) {
    backColor_ = color;
    update();
}

bool FancyButton::Enabled() const {
    return state_.Enabled();
}

void FancyButton::SetEnabled(bool enabled) {
    mask_->setEnabled(enabled);
    state_.SetEnabled(enabled);
    setFocusPolicy(enabled ? Qt::StrongFocus : Qt::NoFocus);
    if (!enabled && hasFocus()) {
        clearFocus();
    }
    ShowLook();
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
        if (state_.Key(true, event->isAutoRepeat())) {
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
    if (state_.PointerOver()) {
        timer_->start();
        ShowLook();
    }
}

void FancyButton::OnTimerTick() {
    const QPoint pointer = mask_->mapFromGlobal(QCursor::pos());
    if (state_.Tick(ImageButtonState::Outside(pointer.x(), pointer.y()))) {
        ShowLook();
    }
    if (!state_.Polling()) {
        timer_->stop();
    }
}

void FancyButton::OnPress() {
    if (state_.Press()) {
        ShowLook();
    }
}

void FancyButton::OnRelease(bool leftButtonInside) {
    const bool click = state_.Release(leftButtonInside);
    ShowLook();
    if (click) {
        emit Click();
    }
}

void FancyButton::ShowLook() {
    const ButtonLook look = state_.Look();
    light_->setVisible(look.tone == PlateTone::Light);
    dark_->setVisible(look.tone == PlateTone::Dark);
    light_->move(ToPoint(look.plate));
    caption_->move(ToPoint(look.caption));
    QPalette palette = caption_->palette();
    palette.setColor(QPalette::WindowText,
                     QColor(look.captionColour.red, look.captionColour.green, look.captionColour.blue));
    caption_->setPalette(palette);
}

} // namespace zorby::ui

#pragma once

#include "ImageButtonState.h"

#include <QColor>
#include <QString>
#include <QWidget>

class QLabel;
class QTimer;

namespace zorby::ui {

// The program's own push button, drawn from a dark and a lit plate instead of the platform's button;
// ImageButtonState decides what it shows and when it raises `Click`.
//
// Its parts are child objects with fixed names (front to back): "ButtonMask" takes all mouse input and
// its enabled state is the button's; "ButtonCaption", "ButtonDark", "ButtonLight"; and the hover poll
// "Timer1". The size is fixed at 103 by 35 pixels whatever the container asks for. Assistive technology
// knows it as a push button named by its caption, greyed out while disabled.
class FancyButton : public QWidget {
    Q_OBJECT

public:
    explicit FancyButton(QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    void SetBackColor(const QColor& color);
    bool Enabled() const;
    // Also recolours the caption: silver when enabled, black when disabled.
    void SetEnabled(bool enabled);
    // What an activation key does: a click, unless the button is disabled.
    void Press();

    QSize sizeHint() const override;

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class ButtonMask;

    void OnHoverStart();
    void OnTimerTick();
    void OnPress();
    void OnRelease(bool leftButtonInside);
    // Shows what the state says: the plate, the offsets and the caption's colour.
    void ShowLook();

    QWidget* mask_;
    QLabel* caption_;
    QWidget* dark_;
    QWidget* light_;
    QTimer* timer_;
    QColor backColor_{Qt::black};
    ImageButtonState state_;
};

} // namespace zorby::ui

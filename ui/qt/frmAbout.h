#pragma once

#include "Twips.h"

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <string>

namespace zorby {
class WindowPort;
}

namespace zorby::ui {

class FancyButton;

// A credit line that opens a link. The pointer or the keyboard (Tab reaches it; Return or Space on it)
// raise `Activated`; it shows the focus with a dotted frame, and assistive technology knows it as a link.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    LinkLabel(const QString& text, QWidget* parent);

signals:
    void Activated();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// The credits box: author, version, emblem, and three credit lines that open the author's web page,
// a mail to the author or the artist's web page after a Yes/No question. It does not block the main
// window. "OK" only hides it, so it keeps its place; closing it from the title bar or with Esc destroys
// it, and the next one is centred afresh. Each show starts with the keyboard on OK; Tab goes on through
// the credit lines.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    // Questions and links go through `port`, never straight to the desktop.
    frmAbout(WindowPort& port, QWidget* parent);

    // Shows the box in `slot`, first creating it there when there is none (or it has been closed).
    // A box that already exists is shown where it is.
    static frmAbout* ShowAbout(QPointer<frmAbout>& slot, WindowPort& port, QWidget* parent);

    // The first show runs the load step first.
    void setVisible(bool visible) override;

private:
    void RunLoadStep();
    void CentreOnScreen();
    void FocusFirst();

    WindowPort& port_;
    QLabel* picIcon_ = nullptr;
    QLabel* label1_ = nullptr;
    FancyButton* cmdOK_ = nullptr;
    bool loaded_ = false;
};

} // namespace zorby::ui

#pragma once

#include "Twips.h"

#include <QDialog>
#include <QPointer>
#include <string>
#include <vector>

class QLabel;

namespace zorby {
class WindowPort;
}

namespace zorby::ui {

class FancyButton;

// The credits box: author, version, emblem, and three credit lines that open the author's web page,
// a mail to the author or the artist's web page after a Yes/No question. It does not block the main
// window. "OK" only hides it, so it keeps its place; closing it from the title bar destroys it, and the
// next one is centred afresh.
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct LinkLine {
        QLabel* label;
        std::string question;
        std::string target;
    };

    void RunLoadStep();
    void CentreOnScreen();
    QLabel* AddLabel(const char* name, const QString& text, const TwipRect& rect);
    void MakeLink(QLabel* label, std::string question, std::string target);

    WindowPort& port_;
    QLabel* picIcon_ = nullptr;
    QLabel* label1_ = nullptr;
    FancyButton* cmdOK_ = nullptr;
    std::vector<LinkLine> links_;
    bool loaded_ = false;
};

} // namespace zorby::ui

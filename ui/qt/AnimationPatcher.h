#pragma once

#include "WindowLayout.h"
#include "WindowPort.h"
#include "Workspace.h"
#include "frmAbout.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

class QListView;
class QProgressBar;

namespace zorby::ui {

class FancyButton;

// Shows one message box and returns the answer. The window uses QMessageBox; tests script the answers.
using MessagePresenter = std::function<Answer(QWidget* parent, const QString& title, const QString& text,
                                              MessageIcon icon, MessageButtons buttons)>;

// Holds the workspace in a base class listed before QWidget (base from member), so the lists are built
// before any child widget and destroyed only after ~QWidget has deleted them all: no list view or model
// ever sees a list that is gone. moc needs the QObject base first in a Q_OBJECT class, hence this step
// between QWidget and the window.
struct WorkspaceOwner {
    Workspace workspace_;
};
class WorkspaceWidget : protected WorkspaceOwner, public QWidget {
protected:
    using QWidget::QWidget;
};

// The main window. It owns the workspace, shows every work list in its debug view, and offers the
// commands "Patch!", "Restore" and "About". Its controls are those of MainWindowControls, at 15 twips
// per pixel; the compact view shows the command area only, the debug view enlarges the window over the
// lists.
class AnimationPatcher : public WorkspaceWidget, public WindowPort {
    Q_OBJECT

public:
    explicit AnimationPatcher(std::string helpPage, MessagePresenter presenter = {},
                              QWidget* parent = nullptr);
    ~AnimationPatcher() override;

    // The load step: places the window and runs the start-up checks and the scan. Anything but
    // Flow::Continue means the window must not be shown.
    Flow Load();

    Workspace& Lists() { return workspace_; }

    // The outer size (client area plus frame) in twips, which the debug toggle decides on.
    QSize OuterSizeTwips() const;
    void SetOuterSizeTwips(int width, int height);
    // The debug toggle (ToggledOuterSize).
    void ToggleDebugView();

    // WindowPort
    Answer ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                       MessageButtons buttons) override;
    void SetProgress(float value) override;
    void Redraw() override;
    void SetBusyPointer(bool busy) override;
    void SetVisible(Control control, bool visible) override;
    void SetEnabled(Control control, bool enabled) override;
    bool IsChecked(Control control) const override;
    bool OpenLink(const std::string& target) override;

signals:
    // A command or closing the window ended the run; the program exits with this status.
    void RunEnded(int exitStatus);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildArea(Area area);
    QWidget* AddControl(const ControlEntry& entry);
    QListView* AddList(LineList& list, const TwipRect& rect);
    void SetTabOrder(View view);
    void PlaceDebugArea();
    QWidget* Widget(Control control) const;
    ScreenRect WorkArea() const;
    ScreenSize FramePixels() const;
    void Place();
    void Finish(Flow flow);
    // What a button of the window does.
    void Press(Action action);

    std::string helpPage_;
    MessagePresenter presenter_;
    std::map<Control, bool> debugVisibility_; // asked for before the debug area was built
    bool busy_ = false;
    int paintedProgress_ = -1; // the progress value of the last redraw
    bool ended_ = false;
    bool closeRequested_ = false;

    std::map<std::string, QWidget*, std::less<>> controls_; // by name, as the areas are built
    bool debugAreaBuilt_ = false;
    double listScale_ = 1.0; // how far the debug view's lists are squeezed to fit the screen
    QProgressBar* PatchProgress = nullptr;
    QPointer<frmAbout> about_;
};

} // namespace zorby::ui

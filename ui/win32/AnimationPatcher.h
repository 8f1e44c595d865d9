#pragma once

#include "WindowLayout.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <windows.h>

namespace zorby::win32 {

class frmAbout;
class LineListView;

// Shows one message box and returns the answer. The window uses MessageBoxW; tests script the answers.
using MessagePresenter = std::function<Answer(HWND owner, const std::wstring& title, const std::wstring& text,
                                              MessageIcon icon, MessageButtons buttons)>;

// The main window as a native window. It owns the workspace, shows every work list in its debug view,
// and offers the commands "Patch!", "Restore" and "About". Its controls are those of
// MainWindowControls, scaled to the screen's dots per inch; the compact view shows the command area
// only, the debug view enlarges the window over the lists.
class AnimationPatcher : public WindowPort {
public:
    explicit AnimationPatcher(std::string helpPage, MessagePresenter presenter = {});
    ~AnimationPatcher() override;
    AnimationPatcher(const AnimationPatcher&) = delete;
    AnimationPatcher& operator=(const AnimationPatcher&) = delete;

    // The load step: places the window and runs the start-up checks and the scan. Anything but
    // Flow::Continue means the window must not be shown.
    Flow Load();
    void Show(int how);
    // Handles messages until a command or closing the window ends the run; returns the exit status.
    int Run();
    // Whether the run has ended, and with which status.
    bool Ended(int& status) const;

    Workspace& Lists() { return workspace_; }
    HWND Window() const { return window_; }
    // The control of that name, nullptr while its area is not built.
    HWND Control(const std::string& name) const;
    HWND AboutWindow() const;
    // The tip a control shows under the pointer; empty for none.
    std::wstring ToolTip(zorby::Control control) const;

    // The outer size in twips, which the debug toggle decides on.
    ui::TwipSize OuterSizeTwips() const { return outer_; }
    void SetOuterSizeTwips(ui::TwipSize outer);
    void ToggleDebugView();

    // WindowPort
    Answer ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                       MessageButtons buttons) override;
    void SetProgress(float value) override;
    void Redraw() override;
    void SetBusyPointer(bool busy) override;
    void SetVisible(zorby::Control control, bool visible) override;
    void SetEnabled(zorby::Control control, bool enabled) override;
    bool IsChecked(zorby::Control control) const override;
    bool OpenLink(const std::string& target) override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void BuildArea(ui::Area area);
    HWND AddControl(const ui::ControlEntry& entry, int id);
    // The layout's entry of the control with that id, nullptr for none.
    static const ui::ControlEntry* EntryOf(int id);
    // What a button of the window does.
    void Press(ui::Action action);
    void SetTabOrder(ui::View view);
    void PlaceDebugArea();
    void SetToolTip(HWND control, const std::string& text);
    ui::ScreenRect OuterPixels() const;
    void Place();
    void CloseRequested();
    void Finish(Flow flow);

    Workspace workspace_; // before the list views, which observe its lists
    std::string helpPage_;
    MessagePresenter presenter_;
    HWND window_ = nullptr;
    std::map<std::string, HWND, std::less<>> controls_;
    std::map<int, std::unique_ptr<LineListView>> lists_; // by control id
    std::map<zorby::Control, bool> debugVisibility_;     // asked for before the debug area was built
    ui::TwipSize outer_ = ui::kCompactOuter;
    double listScale_ = 1.0; // how far the debug view's lists are squeezed to fit the screen
    HWND tips_ = nullptr;    // the tooltip control, made for the first tip
    HWND focus_ = nullptr;   // the control that had the keyboard when the window was last left
    frmAbout* about_ = nullptr;
    bool debugAreaBuilt_ = false;
    bool busy_ = false;
    int progress_ = 0;
    int paintedProgress_ = -1;
    bool ended_ = false;
    bool closeRequested_ = false;
    int status_ = 0;
};

} // namespace zorby::win32

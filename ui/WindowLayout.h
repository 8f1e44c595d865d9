#pragma once

#include "Twips.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The two windows as data: every control with its kind, name, caption, place and tab index, and the
// arithmetic that places and sizes the windows. Each front end builds its widgets from these tables.
namespace zorby::ui {

enum class ControlKind {
    ImageButton,   // the program's own button (ImageButtonState, Pictures)
    PictureButton, // a standard push button showing the chart picture
    Label,         // centred text
    Heading,       // centred bold text
    LinkLabel,     // left-aligned text that asks, then opens a link
    Text,          // left-aligned text
    ProgressBar,   // horizontal, 0 to 100
    Line,          // a sunken horizontal rule; the height is 0
    CheckBox,      // starts ticked
    List,          // one of the workspace's line lists
    Picture,       // a sunken frame around the emblem
};

// The command area is all the compact view shows; the debug area lies below and to the right of it.
enum class Area { Command, Debug };
enum class View { Compact, Debug };

// What pressing a button does; the front ends act on this, never on a control's name.
enum class Action { None, Patch, Restore, ShowAbout, ToggleDebugView, HideAbout };

struct ControlEntry {
    ControlKind kind;
    const char* name;
    const char* caption;
    TwipRect rect;
    int tab; // keyboard order; -1 for a control that takes no focus
    Area area = Area::Command;
    LineList Workspace::*list = nullptr; // for ControlKind::List
    Action action = Action::None;        // for the buttons
};

inline constexpr const char* kMainWindowTitle = "Kestrin's EQUI_Animation.xml Patcher";
inline constexpr const char* kAboutBoxTitle = "About Patcher";

// The frame around the main window's client area, as its outer sizes imply.
inline constexpr TwipSize kMainFrame{90, 375};
inline constexpr TwipSize kCompactOuter{4665, 2430};
inline constexpr TwipSize kDebugOuter{8955, 8025};
inline constexpr TwipSize kAboutClient{4605, 2175};

std::span<const ControlEntry> MainWindowControls();
std::span<const ControlEntry> AboutBoxControls();

// A credit line of the About box: asks a Yes/No question, and on Yes opens its link.
struct AboutLink {
    const char* label;
    std::string question;
    const char* target;
};
std::vector<AboutLink> AboutLinks();
// What the About box's first line reads once the box is loaded.
std::string AboutCreditLine();

// The main window's control that the engine knows as `control`.
const ControlEntry& Find(Control control);
const ControlEntry* Find(std::span<const ControlEntry> controls, std::string_view name);

// The controls a view shows, in keyboard order; those that take no focus are left out.
std::vector<const ControlEntry*> TabOrder(std::span<const ControlEntry> controls, View view);

// The control that has the keyboard when a window opens: the first of the view's keyboard order that is
// `usable` (shown and enabled); nullptr when none is.
const ControlEntry* FirstFocus(std::span<const ControlEntry> controls, View view,
                               const std::function<bool(const ControlEntry&)>& usable);

// What a greyed-out button says, in its tooltip, about why; empty for a control that says nothing. The
// engine greys "Patch!" out when the folder has no add-on files, or when it could not be read and only
// Restore is offered: the folder tells which.
std::string WhyDisabled(Control control);

// A window on the screen, in pixels.
struct ScreenPoint {
    int x;
    int y;
};
struct ScreenSize {
    int width;
    int height;
};
struct ScreenRect {
    int left;
    int top;
    int width;
    int height;
};

// The least a squeeze leaves of the debug view's lists: still a few rows each.
inline constexpr double kLeastListScale = 0.5;

// A control's place in its view. The debug view's lists may be squeezed to `listScale` of their height
// (ClientSize), everything below them moving up with them; the labels and headings keep their size and
// the command area stays as it is.
TwipRect PlaceInView(const ControlEntry& control, double listScale);
// The client area of a view, with the debug view's lists squeezed to `listScale`.
TwipSize ClientSize(View view, double listScale);

// The window moved left and up, as far as it must, to lie inside the work area (the screen less the task
// bar); one larger than the work area keeps to its top-left corner, so the caption stays in reach.
ScreenPoint InsideWorkArea(ScreenRect window, ScreenRect workArea);

// The main window in a view on a work area at `dpi`, framed by the platform's `frame` (what it adds to
// the client area): the debug view's lists squeezed just enough for the window to fit the work area's
// height (never below kLeastListScale), and the window moved from `topLeft` into the work area.
struct MainWindowFit {
    ScreenRect outer;
    double listScale;
};
MainWindowFit FitMainWindow(View view, ScreenPoint topLeft, ScreenRect workArea, ScreenSize frame, int dpi);

// Where the main window, `outer` pixels with its frame, opens on a work area: MainWindowPosition of the
// layout's outer size within the work area, then kept inside it.
ScreenPoint OpeningPosition(ScreenRect workArea, TwipSize layoutOuter, ScreenSize outer, int dpi);

// The debug toggle: from an outer height of exactly 2430 twips to the debug view, from any other back to
// the compact one. The front end sets the height first, then the width, and keeps the window inside the
// work area (FitMainWindow).
TwipSize ToggledOuterSize(TwipSize current);

// Where the main window opens: centred across, a third of the free height from the top. Free space is
// rounded to the nearest whole twip (halves to even) and divided with truncation toward zero, so a
// screen smaller than the window gives a negative position.
TwipPoint MainWindowPosition(double screenWidth, double screenHeight, double outerWidth, double outerHeight);

// Where a window of the given outer size starts when centred on the screen: the free space rounded to
// whole twips (halves to even), halved with truncation toward zero.
TwipPoint CentredPosition(double screenWidth, double screenHeight, double outerWidth, double outerHeight);

} // namespace zorby::ui

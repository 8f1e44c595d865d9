#include "WindowLayout.h"

#include "Contacts.h"
#include "Failure.h"
#include "FileHelpers.h"
#include "FileNames.h"
#include "Version.h"

#include <algorithm>
#include <cmath>

namespace zorby::ui {
namespace {

using K = ControlKind;
constexpr Area kCommand = Area::Command;
constexpr Area kDebug = Area::Debug;

constexpr ControlEntry kMainWindow[] = {
    {K::ImageButton, "PatchCommand", "Patch!", {120, 120, 1545, 525}, 3, kCommand, nullptr, Action::Patch},
    {K::PictureButton,
     "DebugButton",
     "",
     {1920, 120, 735, 495},
     1,
     kCommand,
     nullptr,
     Action::ToggleDebugView},
    {K::ImageButton,
     "FancyButton1",
     "About",
     {2880, 120, 1545, 525},
     4,
     kCommand,
     nullptr,
     Action::ShowAbout},
    {K::Label, "DebugLabel", "View Debug Info", {1560, 600, 1335, 255}, 2},
    {K::ProgressBar, "PatchProgress", "", {120, 840, 4335, 255}, 6},
    {K::Line, "Line1", "", {120, 1200, 4320, 0}, -1},
    {K::ImageButton,
     "Restore_Animation",
     "Restore",
     {2880, 1440, 1545, 525},
     5,
     kCommand,
     nullptr,
     Action::Restore},
    {K::CheckBox, "Backup_Animation", "Backup EQUI_Animation.xml", {120, 1560, 2535, 255}, 0},

    {K::Label, "Anim_Label", "Animations", {0, 2040, 3015, 255}, 24, kDebug},
    {K::Label, "Tex_Label", "Textures", {3120, 2040, 3015, 255}, 25, kDebug},
    {K::Heading, "Label2", "Items to Load", {0, 2280, 6135, 255}, 22, kDebug},
    {K::List, "ZorAnimations", "", {0, 2520, 3015, 840}, 19, kDebug, &Workspace::ZorAnimations},
    {K::List, "ZorTextures", "", {3120, 2520, 3015, 840}, 18, kDebug, &Workspace::ZorTextures},
    {K::List, "AllZorAnimations", "", {0, 3360, 3015, 840}, 14, kDebug, &Workspace::AllZorAnimations},
    {K::List, "AllZorTextures", "", {3120, 3360, 3015, 840}, 13, kDebug, &Workspace::AllZorTextures},
    {K::Heading, "Label3", "Existing Items", {0, 4200, 6135, 255}, 21, kDebug},
    {K::List, "Animations", "", {0, 4440, 3015, 840}, 7, kDebug, &Workspace::Animations},
    {K::List, "Textures", "", {3120, 4440, 3015, 840}, 17, kDebug, &Workspace::Textures},
    {K::List, "Header", "", {6240, 4440, 2535, 1620}, 8, kDebug, &Workspace::Header},
    {K::List, "AllAnimations", "", {0, 5280, 3015, 840}, 16, kDebug, &Workspace::AllAnimations},
    {K::List, "AllTextures", "", {3120, 5280, 3015, 840}, 15, kDebug, &Workspace::AllTextures},
    {K::Heading, "Label1", "Temp Items", {0, 6120, 6135, 255}, 23, kDebug},
    {K::List, "AllZorAnimationsTemp", "", {0, 6360, 3015, 645}, 20, kDebug, &Workspace::AllZorAnimationsTemp},
    {K::List, "AllZorTexturesTemp", "", {3120, 6360, 3015, 645}, 12, kDebug, &Workspace::AllZorTexturesTemp},
    {K::List, "MiscItems", "", {6240, 6360, 2535, 1230}, 9, kDebug, &Workspace::MiscItems},
    {K::List, "AllAnimationsTemp", "", {0, 6960, 3015, 645}, 10, kDebug, &Workspace::AllAnimationsTemp},
    {K::List, "AllTexturesTemp", "", {3120, 6960, 3015, 645}, 11, kDebug, &Workspace::AllTexturesTemp},
};

constexpr ControlEntry kAboutBox[] = {
    {K::Picture, "picIcon", "", {120, 120, 780, 780}, 0},
    {K::Text, "Label1", "Program By: Kestrin Dunmarrow ", {960, 120, 4335, 255}, 5},
    {K::LinkLabel, "Label2", contacts::kAuthorWebPage, {960, 360, 2655, 255}, 2},
    {K::LinkLabel, "Label3", contacts::kAuthorMailText, {960, 600, 2655, 255}, 3},
    {K::LinkLabel, "Label4", "Artwork by: k.varn", {960, 960, 4335, 255}, 4},
    // First in the keyboard order, so the box opens with the focus on OK; Tab goes on down the links.
    {K::ImageButton, "cmdOK", "OK", {1560, 1440, 1545, 525}, 1, kCommand, nullptr, Action::HideAbout},
};

// The controls the engine drives, by their names in the layout; the compiler asks for every one.
const char* EngineName(Control control) {
    switch (control) {
    case Control::PatchCommand:
        return "PatchCommand";
    case Control::Restore_Animation:
        return "Restore_Animation";
    case Control::Backup_Animation:
        return "Backup_Animation";
    case Control::DebugLabel:
        return "DebugLabel";
    case Control::DebugButton:
        return "DebugButton";
    case Control::ZorAnimations:
        return "ZorAnimations";
    case Control::Anim_Label:
        return "Anim_Label";
    case Control::ZorTextures:
        return "ZorTextures";
    case Control::Tex_Label:
        return "Tex_Label";
    }
    return "";
}

bool TakesFocus(ControlKind kind) {
    return kind == K::ImageButton || kind == K::PictureButton || kind == K::CheckBox || kind == K::List ||
           kind == K::LinkLabel;
}

// Where the debug area's lists lie, top to bottom, as spans of the client area's height that do not
// overlap: what a squeeze of the lists takes away from.
struct Span {
    int top;
    int bottom;
};
std::vector<Span> ListSpans() {
    std::vector<Span> spans;
    for (const ControlEntry& control : kMainWindow) {
        if (control.kind == K::List) {
            spans.push_back({control.rect.top, control.rect.top + control.rect.height});
        }
    }
    std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.top < b.top; });
    std::vector<Span> merged;
    for (const Span span : spans) {
        if (!merged.empty() && span.top <= merged.back().bottom) {
            merged.back().bottom = std::max(merged.back().bottom, span.bottom);
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

// How far down the debug view a point at `y` twips comes once the lists are squeezed by `scale`.
double Squeezed(int y, double scale) {
    double taken = 0;
    for (const Span span : ListSpans()) {
        taken += (std::clamp(y, span.top, span.bottom) - span.top) * (1.0 - scale);
    }
    return y - taken;
}

TwipSize LaidOutClient(View view) {
    const TwipSize outer = view == View::Compact ? kCompactOuter : kDebugOuter;
    return {outer.width - kMainFrame.width, outer.height - kMainFrame.height};
}

// Rounds to the nearest whole number, halves to the even neighbour (the default rounding mode).
int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

std::span<const ControlEntry> MainWindowControls() {
    return kMainWindow;
}

std::span<const ControlEntry> AboutBoxControls() {
    return kAboutBox;
}

std::vector<AboutLink> AboutLinks() {
    return {{"Label2", std::string("Visit ") + contacts::kAuthorWebPage + "?", contacts::kAuthorWebPage},
            {"Label3", "E-Mail Kestrin?", contacts::kAuthorMailLink},
            {"Label4", "Visit k.varn's website?", contacts::kArtistWebPage}};
}

std::string AboutCreditLine() {
    return std::string("Program By: Kestrin Dunmarrow    Ver ") + version::kShort;
}

const ControlEntry& Find(Control control) {
    return *Find(kMainWindow, EngineName(control));
}

const ControlEntry* Find(std::span<const ControlEntry> controls, std::string_view name) {
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [name](const ControlEntry& c) { return c.name == name; });
    return found == controls.end() ? nullptr : &*found;
}

std::vector<const ControlEntry*> TabOrder(std::span<const ControlEntry> controls, View view) {
    std::vector<const ControlEntry*> order;
    for (const ControlEntry& control : controls) {
        if (TakesFocus(control.kind) && (view == View::Debug || control.area == Area::Command)) {
            order.push_back(&control);
        }
    }
    std::sort(order.begin(), order.end(),
              [](const ControlEntry* a, const ControlEntry* b) { return a->tab < b->tab; });
    return order;
}

TwipRect PlaceInView(const ControlEntry& control, double listScale) {
    if (control.area != Area::Debug || listScale >= 1.0) {
        return control.rect;
    }
    const int top = RoundHalfEven(Squeezed(control.rect.top, listScale));
    const int height = control.kind == K::List
                           ? RoundHalfEven(Squeezed(control.rect.top + control.rect.height, listScale)) - top
                           : control.rect.height;
    return {control.rect.left, top, control.rect.width, height};
}

TwipSize ClientSize(View view, double listScale) {
    const TwipSize laidOut = LaidOutClient(view);
    if (view == View::Compact || listScale >= 1.0) {
        return laidOut;
    }
    return {laidOut.width, RoundHalfEven(Squeezed(laidOut.height, listScale))};
}

ScreenPoint InsideWorkArea(ScreenRect window, ScreenRect workArea) {
    const auto keep = [](int at, int size, int start, int room) {
        return std::max(start, std::min(at, start + room - size));
    };
    return {keep(window.left, window.width, workArea.left, workArea.width),
            keep(window.top, window.height, workArea.top, workArea.height)};
}

MainWindowFit FitMainWindow(View view, ScreenPoint topLeft, ScreenRect workArea, ScreenSize frame, int dpi) {
    double scale = 1.0;
    if (view == View::Debug) {
        // The height the lists may lose, in twips, over all they take up.
        const double room = double(workArea.height - frame.height) * 1440.0 / dpi;
        const double excess = LaidOutClient(View::Debug).height - std::floor(room);
        double lists = 0;
        for (const Span span : ListSpans()) {
            lists += span.bottom - span.top;
        }
        scale = excess <= 0 ? 1.0 : std::max(kLeastListScale, 1.0 - excess / lists);
    }
    const TwipSize client = ClientSize(view, scale);
    const ScreenSize outer{Px(client.width, dpi) + frame.width, Px(client.height, dpi) + frame.height};
    const ScreenPoint at = InsideWorkArea({topLeft.x, topLeft.y, outer.width, outer.height}, workArea);
    return {{at.x, at.y, outer.width, outer.height}, scale};
}

ScreenPoint OpeningPosition(ScreenRect workArea, TwipSize layoutOuter, ScreenSize outer, int dpi) {
    const TwipPoint at =
        MainWindowPosition(double(workArea.width) * 1440.0 / dpi, double(workArea.height) * 1440.0 / dpi,
                           layoutOuter.width, layoutOuter.height);
    return InsideWorkArea(
        {workArea.left + Px(at.left, dpi), workArea.top + Px(at.top, dpi), outer.width, outer.height},
        workArea);
}

const ControlEntry* FirstFocus(std::span<const ControlEntry> controls, View view,
                               const std::function<bool(const ControlEntry&)>& usable) {
    for (const ControlEntry* control : TabOrder(controls, view)) {
        if (usable(*control)) {
            return control;
        }
    }
    return nullptr;
}

std::string WhyDisabled(Control control) {
    try {
        if (control == Control::PatchCommand) {
            if (!CheckForFile(names::kAddOnAnimationsCheck) && !CheckForFile(names::kAddOnTexturesCheck)) {
                return std::string("No add-on files (") + names::kAddOnAnimations + ", " +
                       names::kAddOnTextures + ") in this folder";
            }
            return "Nothing to patch: the files here could not be read (the message at start said why)";
        }
        if (control == Control::Restore_Animation) {
            return std::string("No backup (") + names::kBackupFile + ") in this folder";
        }
    } catch (const Failure&) {
        return "The files in this folder could not be looked at";
    }
    return {};
}

TwipSize ToggledOuterSize(TwipSize current) {
    return current.height == kCompactOuter.height ? kDebugOuter : kCompactOuter;
}

TwipPoint MainWindowPosition(double screenWidth, double screenHeight, double outerWidth, double outerHeight) {
    const int freeWidth = RoundHalfEven(screenWidth - outerWidth);
    const int freeHeight = RoundHalfEven(screenHeight - outerHeight);
    // C++ integer division truncates toward zero.
    return {freeWidth / 2, freeHeight / 3};
}

TwipPoint CentredPosition(double screenWidth, double screenHeight, double outerWidth, double outerHeight) {
    return {RoundHalfEven(screenWidth - outerWidth) / 2, RoundHalfEven(screenHeight - outerHeight) / 2};
}

} // namespace zorby::ui

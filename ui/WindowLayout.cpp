#include "WindowLayout.h"

#include "Contacts.h"
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
    {K::Text, "Label1", "Program By: Kestrin Dunmarrow ", {960, 120, 4335, 255}, 3},
    {K::LinkLabel, "Label2", contacts::kAuthorWebPage, {960, 360, 2655, 255}, 2},
    {K::LinkLabel, "Label3", contacts::kAuthorMailText, {960, 600, 2655, 255}, 1},
    {K::LinkLabel, "Label4", "Artwork by: k.varn", {960, 960, 4335, 255}, 5},
    {K::ImageButton, "cmdOK", "OK", {1560, 1440, 1545, 525}, 4, kCommand, nullptr, Action::HideAbout},
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
    return kind == K::ImageButton || kind == K::PictureButton || kind == K::CheckBox || kind == K::List;
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

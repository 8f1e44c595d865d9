#pragma once

#include "Refusal.h"

#include <string>

namespace zorby {

// The controls of the main window that the engine switches on and off by name.
enum class Control {
    PatchCommand,
    Restore_Animation,
    Backup_Animation,
    DebugLabel,
    DebugButton,
    ZorAnimations,
    Anim_Label,
    ZorTextures,
    Tex_Label,
};
// How many controls there are: one more than the last above.
inline constexpr int kControlCount = static_cast<int>(Control::Tex_Label) + 1;

enum class MessageIcon { None, Warning, Critical };
// YesNoDefaultNo: Enter answers No, for a question whose Yes cannot be undone.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo };
// Closed: the player asked to close the program while a question was open (the title bar's close,
// Alt+F4, End task, a log-off), which is no answer: the run ends with nothing changed.
enum class Answer { Ok, Yes, No, Closed };

// Everything the engine and the file services need from the window, and nothing more. Both windows
// implement it (ui/qt/ and ui/win32/); tests use a scripted fake that records every call.
//
// Texts are bytes as the engine holds them. A single carriage return in a message text is a line break.
class WindowPort {
public:
    virtual ~WindowPort() = default;

    // A modal message box; returns the button the user chose.
    virtual Answer ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                               MessageButtons buttons) = 0;
    // Why the run cannot go on, in a box with the critical icon and OK. The check keeps its file and line.
    virtual void ShowRefusal(const Refusal& refusal) {
        ShowMessage(refusal.title, refusal.text, MessageIcon::Critical, MessageButtons::Ok);
    }
    // The value of the progress bar, 0 to 100.
    virtual void SetProgress(float value) = 0;
    // Repaints the window at once, without handling input.
    virtual void Redraw() = 0;
    // The application-wide busy pointer.
    virtual void SetBusyPointer(bool busy) = 0;
    virtual void SetVisible(Control control, bool visible) = 0;
    virtual void SetEnabled(Control control, bool enabled) = 0;
    virtual bool IsChecked(Control control) const = 0;
    // Hands a web address or mailto: link to the desktop without waiting for it. True when the desktop
    // took the link; whether a browser or mail program then opened it is not known here.
    virtual bool OpenLink(const std::string& target) = 0;
};

// What a step tells its caller. Every command ends the run; the engine never ends the process itself,
// the top level does when it sees Done or Failed.
enum class [[nodiscard]] Flow{
    Continue, // go on with the run
    Done,     // the command finished; the program ends normally
    Failed,   // a failure was shown to the user; the program ends with an error status
};

} // namespace zorby

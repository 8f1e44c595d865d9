#pragma once

#include "WindowPort.h"

#include <string>

namespace zorby::bench {

// A window nobody looks at: every question is answered Yes, the backup box is unticked, and progress
// goes nowhere. Only the text of an error box is kept, to say why a run failed.
class SilentWindow : public WindowPort {
public:
    Answer ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                       MessageButtons buttons) override {
        if (icon == MessageIcon::Critical) {
            lastError = title + ": " + text;
        }
        return buttons == MessageButtons::Ok ? Answer::Ok : Answer::Yes;
    }
    void SetProgress(float) override {}
    void Redraw() override {}
    void SetBusyPointer(bool) override {}
    void SetVisible(Control, bool) override {}
    void SetEnabled(Control, bool) override {}
    bool IsChecked(Control) const override { return false; }
    bool OpenLink(const std::string&) override { return true; }

    std::string lastError;
};

} // namespace zorby::bench

#pragma once

#include "WindowPort.h"

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace zorby::testing {

// A window that records every call and answers message boxes from a script.
class FakeWindow : public WindowPort {
public:
    struct Message {
        std::string title;
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    // Answers for the Yes/No boxes, in order. An OK box needs no answer. A Yes/No box without a
    // scripted answer fails the test.
    std::deque<Answer> answers;

    std::vector<std::string> calls; // every call, in order, as readable text
    std::vector<Message> messages;
    std::vector<float> progress;
    std::vector<std::string> links;
    int redraws = 0;
    bool busy = false;
    bool backupChecked = true;

    Answer ShowMessage(const std::string& title, const std::string& text, MessageIcon icon,
                       MessageButtons buttons) override {
        messages.push_back({title, text, icon, buttons});
        calls.push_back("message " + title);
        if (buttons == MessageButtons::Ok) {
            return Answer::Ok;
        }
        if (answers.empty()) {
            throw std::logic_error("unscripted Yes/No box: " + title + ": " + text);
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void SetProgress(float value) override {
        progress.push_back(value);
        calls.push_back("progress " + std::to_string(static_cast<int>(value)));
    }
    void Redraw() override {
        ++redraws;
        calls.push_back("redraw");
    }
    void SetBusyPointer(bool value) override {
        busy = value;
        calls.push_back(value ? "busy on" : "busy off");
    }
    void SetVisible(Control control, bool visible) override {
        visibleState[static_cast<int>(control)] = visible;
        calls.push_back(std::string(visible ? "show " : "hide ") + NameOf(control));
    }
    void SetEnabled(Control control, bool enabled) override {
        enabledState[static_cast<int>(control)] = enabled;
        calls.push_back(std::string(enabled ? "enable " : "disable ") + NameOf(control));
    }
    bool IsChecked(Control control) const override {
        return control == Control::Backup_Animation && backupChecked;
    }
    bool OpenLink(const std::string& target) override {
        links.push_back(target);
        calls.push_back("open " + target);
        return true;
    }

    // The state a control was last set to; the controls start visible and enabled.
    bool Visible(Control control) const { return visibleState[static_cast<int>(control)]; }
    bool Enabled(Control control) const { return enabledState[static_cast<int>(control)]; }

    static const char* NameOf(Control control) {
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
        return "?";
    }

private:
    bool visibleState[9] = {true, true, true, true, true, true, true, true, true};
    bool enabledState[9] = {true, true, true, true, true, true, true, true, true};
};

} // namespace zorby::testing

#pragma once

#include "WindowPort.h"

#include <bitset>
#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zorby::testing {

// A window that records what the engine asks of it and answers Yes/No boxes from a script.
class FakeWindow : public WindowPort {
public:
    struct Message {
        std::string title;
        std::string text;
        bool whileBusy; // shown with the busy pointer on: the player could not answer it
        MessageButtons buttons;
    };

    std::deque<Answer> answers; // for the Yes/No boxes, in order; a box beyond them fails the test
    std::vector<Message> messages;
    std::vector<std::string> links;
    std::vector<std::string> calls; // progress, redraws and the busy pointer, as text
    bool busy = false;
    bool backupChecked = true;
    // Called while a box is open, before it is answered: what a player might do meanwhile.
    std::function<void(const Message&)> whileShown;

    Answer ShowMessage(const std::string& title, const std::string& text, MessageIcon,
                       MessageButtons buttons) override {
        messages.push_back({title, text, busy, buttons});
        if (whileShown) {
            whileShown(messages.back());
        }
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
    void SetProgress(float value) override { calls.push_back("progress " + std::to_string(value)); }
    void Redraw() override { calls.push_back("redraw"); }
    void SetBusyPointer(bool value) override {
        busy = value;
        calls.push_back(value ? "busy on" : "busy off");
    }
    void SetVisible(Control control, bool visible) override { hidden_[Index(control)] = !visible; }
    void SetEnabled(Control control, bool enabled) override { disabled_[Index(control)] = !enabled; }
    bool IsChecked(Control control) const override {
        return control == Control::Backup_Animation && backupChecked;
    }
    bool OpenLink(const std::string& target) override {
        links.push_back(target);
        return true;
    }

    // What a control was last set to; every control starts visible and enabled.
    bool Visible(Control control) const { return !hidden_[Index(control)]; }
    bool Enabled(Control control) const { return !disabled_[Index(control)]; }

private:
    static std::size_t Index(Control control) { return static_cast<std::size_t>(control); }
    std::bitset<kControlCount> hidden_, disabled_;
};

} // namespace zorby::testing

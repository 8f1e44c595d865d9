// A check is a patch that asks nothing and writes nothing: the same load and refusals, told as text.

#include "CheckCommand.h"

#include "Commands.h"
#include "LoadStep.h"
#include "PatchSummary.h"
#include "Version.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace zorby {

namespace {

// Stands in for the window: keeps the text of every box a player would read, and answers every
// question with No, which changes nothing and opens nothing.
class TextPort : public WindowPort {
public:
    std::string text;
    bool patchEnabled = true;

    Answer ShowMessage(const std::string&, const std::string& message, MessageIcon,
                       MessageButtons buttons) override {
        if (buttons != MessageButtons::Ok) {
            return Answer::No;
        }
        text += (text.empty() ? "" : "\r\r") + message;
        return Answer::Ok;
    }
    void SetProgress(float) override {}
    void Redraw() override {}
    void SetBusyPointer(bool) override {}
    void SetVisible(Control, bool) override {}
    void SetEnabled(Control control, bool enabled) override {
        if (control == Control::PatchCommand) {
            patchEnabled = enabled;
        }
    }
    // The window starts with the backup ticked.
    bool IsChecked(Control control) const override { return control == Control::Backup_Animation; }
    bool OpenLink(const std::string&) override { return false; }
};

constexpr const char* kUsage =
    "Usage: Zorby                  open the window in this custom UI folder\n"
    "       Zorby --check [FOLDER] tell what \"Patch!\" would do in FOLDER (by default this folder),\n"
    "                              changing nothing; exit status 0 when the patch would complete,\n"
    "                              1 when it would be refused\n"
    "       Zorby --help           show this text\n"
    "       Zorby --version        show the version\n";

void Print(std::ostream& out, std::string text) {
    std::replace(text.begin(), text.end(), '\r', '\n');
    out << text << '\n';
}

} // namespace

CheckResult CheckCurrentFolder() {
    TextPort port;
    Workspace ws;
    if (RunLoadStep(ws, port, {}, LoadFor::Check) != Flow::Continue) {
        return {1, port.text};
    }
    if (!port.patchEnabled) {
        return {1, "Neither Zor_Anim.txt nor Zor_Tex.txt is in this folder: there is nothing to patch."};
    }
    PatchSummary summary;
    if (RunCommand(port, [&] { return CheckPatch(ws, port, summary); }) != Flow::Done) {
        return {1, port.text};
    }
    return {0, SummaryText(summary)};
}

std::optional<int> RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                  std::ostream& err) {
    if (arguments.empty()) {
        return std::nullopt;
    }
    const std::string& first = arguments[0];
    if ((first == "--help" || first == "--version") && arguments.size() == 1) {
        out << (first == "--help" ? kUsage : std::string("Zorby ") + version::kRecord + "\n");
        return 0;
    }
    if (first != "--check" || arguments.size() > 2) {
        err << kUsage;
        return 2;
    }
    if (arguments.size() == 2) {
        std::error_code error;
        const std::string& folder = arguments[1];
        std::filesystem::current_path(std::filesystem::path(std::u8string(folder.begin(), folder.end())),
                                      error);
        if (error) {
            err << "Zorby: cannot open the folder " << folder << ": " << error.message() << "\n";
            return 2;
        }
    }
    const CheckResult result = CheckCurrentFolder();
    Print(out, result.text);
    return result.status;
}

} // namespace zorby

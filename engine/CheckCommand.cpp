// A check is a patch that asks nothing and writes nothing: the same load, refusals and read-back, as text.

#include "CheckCommand.h"

#include "Commands.h"
#include "Failure.h"
#include "FileHelpers.h"
#include "FileNames.h"
#include "LineGrammar.h"
#include "LoadStep.h"
#include "PathResolver.h"
#include "Utf8.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

namespace zorby {

namespace {

// Stands in for the window: keeps the text of every box a player would read and the first refusal, and
// answers every question with No, which changes nothing and opens nothing.
class TextPort : public WindowPort {
public:
    std::string text;
    std::optional<Refusal> refusal;
    bool patchEnabled = true;

    Answer ShowMessage(const std::string& title, const std::string& message, MessageIcon,
                       MessageButtons buttons) override {
        if (buttons != MessageButtons::Ok) {
            return Answer::No;
        }
        text += (text.empty() ? "" : "\r\r") + message;
        if (!refusal) {
            refusal = Refusal(message, {}, 0, title);
        }
        return Answer::Ok;
    }
    void ShowRefusal(const Refusal& shown) override {
        const bool first = !refusal;
        WindowPort::ShowRefusal(shown);
        if (first) {
            refusal = shown;
        }
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

// The sheets that the add-on's animations draw from and the patched UI may lack.
std::vector<SheetNote> SheetNotes(const Workspace& ws, const PatchSummary& summary) {
    std::unordered_set<std::string> described;
    for (const std::string_view title : ws.Textures.Lines()) {
        described.insert(FoldedAsciiCase(title));
    }
    for (const std::string& title : summary.textures.added) {
        described.insert(FoldedAsciiCase(title));
    }
    std::vector<SheetNote> notes;
    std::unordered_set<std::string> named;
    LineReader reader;
    LineSplitter lines(ws.AddOnAnimations.text);
    int lineNumber = 0;
    const std::string file = names::kAddOnAnimations;
    for (std::string_view line; lines.Next(line);) {
        ++lineNumber;
        std::string_view rest;
        (void)reader.Read(line, rest);
        const auto sheet = SheetOf(rest);
        if (!sheet || !named.insert(FoldedAsciiCase(*sheet)).second) {
            continue;
        }
        const std::string name(*sheet);
        const std::string uses = "Note: " + file + " line " + std::to_string(lineNumber) +
                                 " uses the sheet " + Quoted(name) + ", which ";
        if (!described.contains(FoldedAsciiCase(name))) {
            notes.push_back({name, lineNumber, true, uses + "no TextureInfo of the patched file describes."});
        }
        if (!CheckForFile(name) && !CheckForFile(std::string(names::kDefaultFolder) + "\\" + name)) {
            notes.push_back({name, lineNumber, false,
                             uses + "is neither in this folder nor in " + names::kDefaultFolder + "\\."});
        }
    }
    return notes;
}

FolderCheck CheckHere() {
    FolderCheck check;
    TextPort port;
    Workspace ws;
    const auto refused = [&] {
        check.result = {1, port.text};
        check.refusal = port.refusal;
        return check;
    };
    if (RunLoadStep(ws, port, {}, LoadFor::Check) != Flow::Continue) {
        return refused();
    }
    if (!port.patchEnabled) {
        port.text = "Neither Zor_Anim.txt nor Zor_Tex.txt is in this folder: there is nothing to patch.";
        port.refusal = Refusal(port.text);
        return refused();
    }
    if (RunCommand(port, [&] { return CheckPatch(ws, port, check.summary); }) != Flow::Done) {
        return refused();
    }
    check.result = {0, SummaryText(check.summary)};
    check.notes = SheetNotes(ws, check.summary);
    return check;
}

// A line break of a message is a single CR; printed, it is the end of a line.
std::string Printed(std::string text) {
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

// A JSON string: UTF-8 kept, control characters escaped, and every other byte as \udcXX.
std::string Json(std::string_view bytes) {
    std::string json = "\"";
    for (std::size_t at = 0; at < bytes.size();) {
        char32_t code = 0;
        const std::size_t length = Utf8SequenceAt(bytes, at, code);
        char escape[8];
        if (length == 0) {
            std::snprintf(escape, sizeof escape, "\\udc%02x", static_cast<unsigned char>(bytes[at]));
            json += escape;
            ++at;
            continue;
        }
        if (code == '"' || code == '\\') {
            json += '\\';
            json += static_cast<char>(code);
        } else if (code == '\n' || code == '\r') {
            json += "\\n";
        } else if (code < 0x20) {
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(code));
            json += escape;
        } else {
            json.append(bytes.substr(at, length));
        }
        at += length;
    }
    return json + "\"";
}

std::string JsonList(const std::vector<std::string>& items) {
    std::string json = "[";
    for (const std::string& item : items) {
        json += (json.size() > 1 ? ", " : "") + Json(item);
    }
    return json + "]";
}

std::string JsonKind(const MergeRecord& record) {
    return "{\"replaced\": " + JsonList(record.replaced) + ", \"added\": " + JsonList(record.added) + "}";
}

int Completed(const std::vector<FolderCheck>& checks) {
    return static_cast<int>(
        std::ranges::count_if(checks, [](const FolderCheck& c) { return c.result.status == 0; }));
}

} // namespace

CheckResult CheckCurrentFolder() {
    return CheckHere().result;
}

FolderCheck CheckFolder(const std::string& folder) {
    FolderCheck check;
    std::string back;
    try {
        back = platform::CurrentFolderPath();
        EnterFolder(folder);
    } catch (const Failure& failure) {
        check.result = {1, "Zorby cannot open the folder " + folder + ": " + failure.Description() + "."};
        check.refusal = Refusal(check.result.text);
        check.folder = folder;
        return check;
    }
    check = CheckHere();
    check.folder = folder;
    try {
        platform::ChangeCurrentFolder(back);
    } catch (const Failure&) {
        // The next folder given relative to where the check started then fails to open, and says so.
    }
    return check;
}

std::string ChecksAsText(const std::vector<FolderCheck>& checks) {
    std::string text;
    for (const FolderCheck& check : checks) {
        text += "== " + check.folder + "\n" + Printed(check.result.text) + "\n";
        for (const SheetNote& note : check.notes) {
            text += note.text + "\n";
        }
    }
    return text + std::to_string(Completed(checks)) + " of " + std::to_string(checks.size()) +
           " would complete\n";
}

std::string ChecksAsJson(const std::vector<FolderCheck>& checks) {
    std::string json = "{\n  \"folders\": [";
    for (std::size_t n = 0; n < checks.size(); ++n) {
        const FolderCheck& check = checks[n];
        json += std::string(n == 0 ? "" : ",") + "\n    {\"path\": " + Json(check.folder) +
                ", \"result\": " + (check.result.status == 0 ? "\"complete\"" : "\"refused\"");
        if (check.result.status == 0) {
            json += ", \"textures\": " + JsonKind(check.summary.textures) +
                    ", \"animations\": " + JsonKind(check.summary.animations);
        } else if (check.refusal) {
            json +=
                ", \"refusal\": {\"text\": " + Json(check.refusal->text) +
                ", \"file\": " + (check.refusal->file.empty() ? "null" : Json(check.refusal->file)) +
                ", \"line\": " + (check.refusal->line == 0 ? "null" : std::to_string(check.refusal->line)) +
                "}";
        }
        json += ", \"notes\": [";
        for (std::size_t k = 0; k < check.notes.size(); ++k) {
            const SheetNote& note = check.notes[k];
            json += std::string(k == 0 ? "" : ", ") + "{\"sheet\": " + Json(note.sheet) +
                    ", \"file\": " + Json(names::kAddOnAnimations) +
                    ", \"line\": " + std::to_string(note.line) +
                    ", \"lacks\": " + (note.undescribed ? "\"TextureInfo\"" : "\"file\"") +
                    ", \"text\": " + Json(note.text) + "}";
        }
        json += "]}";
    }
    return json + "\n  ],\n  \"checked\": " + std::to_string(checks.size()) +
           ",\n  \"complete\": " + std::to_string(Completed(checks)) + "\n}\n";
}

} // namespace zorby

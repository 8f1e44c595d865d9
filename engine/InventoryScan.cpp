#include "InventoryScan.h"

#include "CommentBlock.h"
#include "ElementTags.h"
#include "FileHelpers.h"
#include "FileNames.h"
#include "LineHelpers.h"
#include "TextFile.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zorby {

namespace {

// A closing line may carry trailing blanks: real files have them, and an element left open would
// swallow the rest of the file.
bool ClosesWith(std::string_view testForm, std::string_view tag) {
    return tags::IsClosingLine(testForm, tag);
}

// One pass over the main file. Lines are filed by their test form; the lists get them re-indented.
class MainFileScan {
public:
    // With `counts`, lines are only counted where they would be filed, never kept.
    MainFileScan(Workspace& workspace, TextFileWriter* trace, ScannedLineCounts* counts = nullptr)
        : ws_(workspace), trace_(trace), counts_(counts) {}

    // `text` is re-indented line by line where it stands; the lists take copies of the lines they keep.
    void Run(std::string& text) {
        LineSplitter lines(text);
        for (std::string_view line; lines.Next(line);) {
            Take({text.data() + (line.data() - text.data()), line.size()}, ++lineNumber_);
        }
        Finish();
    }

    // Takes lines one at a time, as the lines of a file that is not on disk yet.
    void TakeLine(std::string_view line) {
        line_.assign(line);
        Take(line_, ++lineNumber_);
    }

    void Finish() {
        // A comment left open is the cause when an element is left open with it.
        if (block_.IsOpen()) {
            Note({MainFileDefect::Kind::UnclosedComment, {{}, blockStart_}, {}});
        } else if (inAnimation_) {
            Note({MainFileDefect::Kind::UnclosedElement, animationStart_, {}});
        } else if (inTexture_) {
            Note({MainFileDefect::Kind::UnclosedElement, textureStart_, {}});
        }
    }

private:
    bool OutsideAfterHead() const { return !inTexture_ && !inAnimation_ && !inHead_; }

    // Only the first defect is told to the user.
    void Note(MainFileDefect defect) {
        if (!ws_.Defect) {
            ws_.Defect = std::move(defect);
        }
    }

    // Files one line. A line is kept in one list at most, re-indented in place when it is.
    void Take(std::span<char> raw, int lineNumber) {
        // A view into `raw` as long as the line is not re-indented.
        const std::string_view t = TestFormView({raw.data(), raw.size()}, testForm_);
        if (t.empty()) {
            return;
        }
        Trace(t);

        // A comment that spans lines is kept whole where it stands, and nothing inside it opens or closes
        // an element or ends the head.
        const bool wasOpen = block_.IsOpen();
        if (block_.Covers(t)) {
            if (!wasOpen) {
                blockStart_ = lineNumber;
            }
            TakeComment(raw, !wasOpen);
            return;
        }
        if (StartsWith(t, tags::kComment)) {
            TakeComment(raw, true);
            return;
        }

        if (StartsWith(t, tags::kAnimationOpening)) {
            std::string title = ElementTitle(t);
            if (!inAnimation_) {
                animationStart_ = {title, lineNumber};
            } else {
                Note({MainFileDefect::Kind::NestedElement, {title, lineNumber}, animationStart_});
            }
            ws_.Animations.Set(animationTitles_, std::move(title));
            ws_.AllAnimationsTemp.Set(animationTitles_, t);
            ++animationTitles_;
            inAnimation_ = true;
        }
        if (StartsWith(t, tags::kTextureOpening)) {
            std::string title = ElementTitle(t);
            if (!inTexture_) {
                textureStart_ = {title, lineNumber};
            } else {
                Note({MainFileDefect::Kind::NestedElement, {title, lineNumber}, textureStart_});
            }
            ws_.Textures.Set(textureTitles_, std::move(title));
            ++textureTitles_;
            inTexture_ = true;
        }
        if (OutsideAfterHead()) {
            Keep(ws_.MiscItems, raw);
        }

        if (inAnimation_) {
            const bool closes = ClosesWith(t, tags::kAnimationClosing);
            FileElementLine(ws_.AllAnimations, raw);
            inAnimation_ = !closes;
        } else if (inTexture_) {
            const bool closes = ClosesWith(t, tags::kTextureClosing);
            FileElementLine(ws_.AllTextures, raw);
            inTexture_ = !closes;
        } else if (inHead_) {
            const bool schema = StartsWith(t, tags::kSchema);
            Keep(ws_.Header, raw);
            if (schema) {
                inHead_ = false;
            }
        }
    }

    // A comment line, or a line of a comment block: inside an element or the head it is one of their
    // lines; between elements it is the pending comment, which only the last comment before an element
    // becomes, raw.
    void TakeComment(std::span<char> raw, bool startsComment) {
        if (inAnimation_) {
            Keep(ws_.AllAnimations, raw);
        } else if (inTexture_) {
            Keep(ws_.AllTextures, raw);
        } else if (inHead_) {
            Keep(ws_.Header, raw);
        } else {
            if (startsComment) {
                pending_.clear();
            }
            pending_.emplace_back(raw.data(), raw.size());
        }
    }

    void FileElementLine(LineList& list, std::span<char> raw) {
        // The pending comment goes in just ahead of the element, raw.
        for (const std::string_view comment : pending_) {
            counts_ ? void(++CountOf(list)) : list.Set(list.Count(), comment);
        }
        pending_.clear();
        Keep(list, raw);
    }

    int& CountOf(const LineList& list) {
        return &list == &ws_.Header          ? counts_->Header
               : &list == &ws_.AllTextures   ? counts_->AllTextures
               : &list == &ws_.AllAnimations ? counts_->AllAnimations
                                             : counts_->MiscItems;
    }

    void Keep(LineList& list, std::span<char> raw) {
        counts_ ? void(++CountOf(list)) : list.Set(list.Count(), SidlWidlInPlace(raw));
    }

    void Trace(std::string_view testForm) {
        if (trace_ != nullptr) {
            trace_->WriteLine(testForm);
        }
    }

    Workspace& ws_;
    TextFileWriter* trace_;
    ScannedLineCounts* counts_;
    std::string line_;     // the line TakeLine() was given, in a buffer of its own
    int lineNumber_ = 0;   // of the line taken last
    std::string testForm_; // the test form of a line with tabs inside, reused from line to line
    int animationTitles_ = 0;
    int textureTitles_ = 0;
    bool inHead_ = true;
    bool inAnimation_ = false;
    bool inTexture_ = false;
    std::vector<std::string_view> pending_; // the pending comment, one or more raw lines; empty when none
    CommentBlock block_;
    int blockStart_ = 0;         // the first line of the last comment block
    OpeningLine animationStart_; // where the open element of each kind began
    OpeningLine textureStart_;
};

void ScanAddOnFile(const char* name, std::string_view opening, LineList& titles, LineList& lines,
                   std::vector<int>& lineNumbers, ScannedFile& scanned) {
    const TextFileContent content = ReadTextFile(name);
    scanned = {content.fingerprint, content.unreadable};
    int titleIndex = 0;
    int lineNumber = 0;
    std::string buffer; // the test form of a line with tabs inside, reused from line to line
    CommentBlock block;
    LineSplitter split(content.text);
    for (std::string_view raw; split.Next(raw);) {
        ++lineNumber;
        const std::string_view t = TestFormView(raw, buffer);
        if (t.empty()) {
            continue;
        }
        if (!block.Covers(t) && StartsWith(t, opening)) {
            titles.Set(titleIndex++, ElementTitle(t));
        }
        lines.Set(lines.Count(), raw);
        lineNumbers.push_back(lineNumber);
    }
}

} // namespace

void ScanAnimationFile(Workspace& workspace, TextFileWriter* trace) {
    TextFileContent content = ReadTextFile(names::kAnimationFile);
    workspace.MainFile = {content.fingerprint, content.unreadable};
    workspace.MainFileMark = content.utf8Mark;
    MainFileScan(workspace, trace).Run(content.text);
}

ScannedLineCounts CountScannedLines(std::span<const LineList* const> lists) {
    Workspace scratch;
    ScannedLineCounts counts;
    MainFileScan scan(scratch, nullptr, &counts);
    for (const LineList* list : lists) {
        for (const std::string_view line : list->Lines()) {
            scan.TakeLine(line);
        }
    }
    return counts; // a defect of the file would only be noted, and counts nothing
}

void ScanAddOnFiles(Workspace& workspace, WindowPort& window) {
    if (CheckForFile(names::kAddOnAnimationsRead)) {
        ScanAddOnFile(names::kAddOnAnimationsRead, tags::kAnimationOpening, workspace.ZorAnimations,
                      workspace.AllZorAnimations, workspace.AllZorAnimationsLineNumbers,
                      workspace.AddOnAnimationsFile);
    } else {
        window.SetVisible(Control::ZorAnimations, false);
        window.SetVisible(Control::Anim_Label, false);
    }
    if (CheckForFile(names::kAddOnTexturesRead)) {
        ScanAddOnFile(names::kAddOnTexturesRead, tags::kTextureOpening, workspace.ZorTextures,
                      workspace.AllZorTextures, workspace.AllZorTexturesLineNumbers,
                      workspace.AddOnTexturesFile);
    } else {
        window.SetVisible(Control::ZorTextures, false);
        window.SetVisible(Control::Tex_Label, false);
    }
}

} // namespace zorby

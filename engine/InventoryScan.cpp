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
        int lineNumber = 0;
        for (std::string_view line; lines.Next(line);) {
            Take({text.data() + (line.data() - text.data()), line.size()}, ++lineNumber);
        }
        Finish();
    }

    // Takes lines one at a time, as the lines of a file that is not on disk yet.
    void TakeLine(std::string_view line) {
        line_.assign(line);
        Take(line_, 0); // line numbers only name defects, which a count does not report
    }

    void Finish() {
        // A comment left open is the cause when an element is left open with it.
        if (comments_.IsOpen()) {
            Note({MainFileDefect::Kind::UnclosedComment, {{}, blockStart_}, {}});
        } else if (inAnimation_) {
            Note({MainFileDefect::Kind::UnclosedElement, animationStart_, {}});
        } else if (inTexture_) {
            Note({MainFileDefect::Kind::UnclosedElement, textureStart_, {}});
        }
        FileTrailingComments();
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

        // The line is judged by what remains of it outside comments; a comment that spans lines is kept
        // whole, and nothing inside one opens or closes an element or ends the head.
        const bool continuesComment = comments_.IsOpen();
        const CommentTracker::Line parts = comments_.Take(t);
        const std::string_view rest = Unindented(parts.rest);
        if (rest.empty()) {
            TakeComment(raw, continuesComment);
            if (parts.opensBlock) {
                blockStart_ = lineNumber;
            }
            return;
        }

        // An opening line that ends with its closing tag holds a whole element: it opens and closes here.
        bool wholeElement = false;
        if (StartsWith(rest, tags::kAnimationOpening)) {
            wholeElement = tags::EndsWithClosingTag(rest, tags::kAnimationClosing);
            std::string title = ElementTitle(rest);
            if (!inAnimation_) {
                animationStart_ = {title, lineNumber};
            } else {
                Note({MainFileDefect::Kind::NestedElement, {title, lineNumber}, animationStart_});
            }
            openAnimation_ = animationTitles_;
            if (continuesComment) {
                NoteCommentAtEnd(true, animationTitles_, lineNumber, t);
            }
            ws_.Animations.Set(animationTitles_, std::move(title));
            ws_.AllAnimationsTemp.Set(animationTitles_, t);
            ++animationTitles_;
            inAnimation_ = true;
        }
        if (StartsWith(rest, tags::kTextureOpening)) {
            wholeElement = tags::EndsWithClosingTag(rest, tags::kTextureClosing);
            std::string title = ElementTitle(rest);
            if (!inTexture_) {
                textureStart_ = {title, lineNumber};
            } else {
                Note({MainFileDefect::Kind::NestedElement, {title, lineNumber}, textureStart_});
            }
            if (wholeElement && inAnimation_) {
                // Its line belongs to the animation, where no texture can be found or replaced.
                Note({MainFileDefect::Kind::NestedElement, {title, lineNumber}, animationStart_});
            }
            openTexture_ = textureTitles_;
            if (continuesComment) {
                NoteCommentAtEnd(false, textureTitles_, lineNumber, t);
            }
            ws_.Textures.Set(textureTitles_, std::move(title));
            ++textureTitles_;
            inTexture_ = true;
        }
        LineList& home = Destination();
        if (continuesComment) {
            EndComment(home, lineNumber);
        }
        if (parts.opensBlock) {
            blockStart_ = lineNumber;
            commentHome_ = &home;
        }
        if (OutsideAfterHead()) {
            Keep(ws_.MiscItems, raw);
        }

        if (inAnimation_) {
            const bool closes = ClosesWith(rest, tags::kAnimationClosing) ||
                                (wholeElement && StartsWith(rest, tags::kAnimationOpening));
            if (closes && parts.opensBlock) {
                NoteCommentAtEnd(true, openAnimation_, lineNumber, t, false);
            }
            FileElementLine(ws_.AllAnimations, raw);
            inAnimation_ = !closes;
        } else if (inTexture_) {
            const bool closes = ClosesWith(rest, tags::kTextureClosing) || wholeElement;
            if (closes && parts.opensBlock) {
                NoteCommentAtEnd(false, openTexture_, lineNumber, t, false);
            }
            FileElementLine(ws_.AllTextures, raw);
            inTexture_ = !closes;
        } else if (inHead_) {
            const bool schema = StartsWith(rest, tags::kSchema);
            Keep(ws_.Header, raw);
            if (schema) {
                inHead_ = false;
            }
        }
    }

    // The list that takes a line other than a comment line, with the flags as they stand after its
    // opening tests.
    LineList& Destination() {
        if (inAnimation_) {
            return ws_.AllAnimations;
        }
        if (inTexture_) {
            return ws_.AllTextures;
        }
        return inHead_ ? ws_.Header : ws_.MiscItems;
    }

    // A line that ends a comment from earlier lines, and goes to `home`. The comment's lines must stay
    // together in the rewritten file: a pending comment goes ahead of the element that takes the line,
    // or of the line itself among the other lines; a comment kept in a list must end in that list.
    void EndComment(LineList& home, int lineNumber) {
        if (commentHome_ == nullptr) {
            if (&home == &ws_.MiscItems) {
                FilePending(ws_.MiscItems, pendingBlock_);
            }
        } else if (commentHome_ != &home) {
            Note({MainFileDefect::Kind::CommentAcrossParts, {{}, lineNumber}, {{}, blockStart_}});
        }
    }

    // The opening line of an element that also ends a comment, or the closing line that also starts
    // one: replacing that element would leave half a comment behind.
    void NoteCommentAtEnd(bool animation, int titleIndex, int lineNumber, std::string_view t,
                          bool opening = true) {
        ws_.CommentsAtElementEnds.push_back(
            {animation, titleIndex, opening, lineNumber, std::string(TTrim(t))});
    }

    // A comment line: inside an element or the head it is one of their lines; between elements it is
    // pending, raw, until the next element takes all the pending lines ahead of it. Skin authors keep
    // notes and whole commented-out elements there. The rest of a comment stays with the line where it
    // began.
    void TakeComment(std::span<char> raw, bool continuesComment) {
        if (!continuesComment) {
            commentHome_ = inAnimation_ ? &ws_.AllAnimations
                           : inTexture_ ? &ws_.AllTextures
                           : inHead_    ? &ws_.Header
                                        : nullptr;
            pendingBlock_ = pending_.size();
        }
        if (commentHome_ != nullptr) {
            Keep(*commentHome_, raw);
        } else {
            pending_.emplace_back(raw.data(), raw.size());
            pendingPlace_.push_back(ws_.MiscItems.Count());
        }
    }

    // The pending comment lines go in just ahead of the element, raw. Nearly every line finds none.
    void FileElementLine(LineList& list, std::span<char> raw) {
        if (!pending_.empty()) {
            FilePending(list);
        }
        Keep(list, raw);
    }

    // Files the pending lines from `from` on at the end of `list`. A count only counts them: their
    // views into the line taken last are stale by now.
    void FilePending(LineList& list, std::size_t from = 0) {
        for (std::size_t line = from; line < pending_.size(); ++line) {
            counts_ ? void(++CountOf(list)) : list.Set(list.Count(), pending_[line]);
        }
        pending_.resize(from);
        pendingPlace_.resize(from);
    }

    // Comments that no element follows keep their places among the other lines outside elements.
    void FileTrailingComments() {
        if (pending_.empty() || counts_) {
            FilePending(ws_.MiscItems);
            return;
        }
        const std::vector<std::string_view>& misc = ws_.MiscItems.Lines();
        std::vector<std::string_view> lines;
        lines.reserve(misc.size() + pending_.size());
        std::size_t next = 0;
        for (std::size_t at = 0; at <= misc.size(); ++at) {
            for (; next < pending_.size() && pendingPlace_[next] == static_cast<int>(at); ++next) {
                lines.push_back(pending_[next]);
            }
            if (at < misc.size()) {
                lines.push_back(misc[at]);
            }
        }
        ws_.MiscItems.Assign(lines);
        pending_.clear();
        pendingPlace_.clear();
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
    std::string testForm_; // the test form of a line with tabs inside, reused from line to line
    int animationTitles_ = 0;
    int textureTitles_ = 0;
    bool inHead_ = true;
    bool inAnimation_ = false;
    bool inTexture_ = false;
    std::vector<std::string_view> pending_; // comment lines since the last element, raw; empty when none
    std::vector<int> pendingPlace_;         // the count of MiscItems as each of them came
    std::size_t pendingBlock_ = 0;          // where in pending_ the comment last begun starts
    CommentTracker comments_;
    int blockStart_ = 0;              // where the last comment that ran on past its line began
    LineList* commentHome_ = nullptr; // the list that kept that line; none when it is pending
    int openAnimation_ = 0;           // the title index of the open element of each kind
    int openTexture_ = 0;
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
    CommentTracker comments;
    LineSplitter split(content.text);
    for (std::string_view raw; split.Next(raw);) {
        ++lineNumber;
        const std::string_view t = TestFormView(raw, buffer);
        if (t.empty()) {
            continue;
        }
        const std::string_view rest = Unindented(comments.Take(t).rest);
        if (StartsWith(rest, opening)) {
            titles.Set(titleIndex++, ElementTitle(rest));
        }
        lines.Set(lines.Count(), raw);
        lineNumbers.push_back(lineNumber);
    }
}

} // namespace

void ScanAnimationFile(Workspace& workspace, TextFileWriter* trace, const char* name) {
    TextFileContent content = ReadTextFile(name);
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
    scan.Finish(); // a defect of the file would only be noted, and counts nothing
    return counts;
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

// Each line is read once and filed by what the grammar finds: head, element, comment, or outside.

#include "InventoryScan.h"

#include "Failure.h"
#include "FileHelpers.h"
#include "LineHelpers.h"
#include "TextFile.h"

#include <array>
#include <span>
#include <utility>
#include <vector>

namespace zorby {

namespace {

constexpr int Index(ElementKind kind) {
    return static_cast<int>(kind);
}

// One pass over the main file. Lines are filed as the grammar finds them; the lists get them re-indented.
class MainFileScan {
public:
    MainFileScan(Workspace& workspace, TextFileWriter* trace)
        : ws_(workspace),
          trace_(trace), kinds_{workspace.Of(ElementKind::Texture), workspace.Of(ElementKind::Animation)} {}

    // `text` is re-indented line by line where it stands; the lists take copies of the lines they keep.
    std::optional<UnreadableLines> Run(std::string& text) {
        LineSplitter lines(text);
        int lineNumber = 0;
        for (std::string_view line; lines.Next(line);) {
            if (!Take({text.data() + (line.data() - text.data()), line.size()}, ++lineNumber)) {
                return stop_;
            }
        }
        Finish();
        // The first list past its limit, the elements' before their titles'.
        for (const LineList* list : {&ws_.Header, &ws_.AllTextures, &ws_.AllAnimations, &ws_.MiscItems,
                                     &ws_.Textures, &ws_.Animations, &ws_.AllAnimationsTemp}) {
            for (const auto& [full, more] : excess_) {
                if (full == list) {
                    return UnreadableLines{
                        UnreadableLines::Why::TooManyLines, 0, {}, list, LineList::kMaxLines + more};
                }
            }
        }
        return std::nullopt;
    }

private:
    struct OpenElement {
        bool open = false;
        OpeningLine start;  // where it began
        int titleIndex = 0; // its place in the title list
    };

    // Files one line; false when it cannot be read.
    bool Take(std::span<char> raw, int lineNumber) {
        const std::string_view line(raw.data(), raw.size());
        std::string_view rest;
        const LineShape shape = reader_.Read(line, rest);
        if (shape.role == LineRole::Blank) {
            return true; // blank lines are dropped everywhere
        }
        if (trace_ != nullptr) {
            trace_->WriteLine(TestFormView(line, testForm_));
        }
        if (shape.role == LineRole::Comment) {
            if (shape.opensComment) {
                blockStart_ = lineNumber;
            }
            return TakeComment(raw, shape.continuesComment, lineNumber);
        }
        if (shape.role == LineRole::Opening && !Open(shape, rest, line, lineNumber)) {
            return false;
        }
        LineList& home = Destination();
        if (shape.continuesComment) {
            EndComment(home, lineNumber);
        }
        if (shape.opensComment) {
            blockStart_ = lineNumber;
            commentHome_ = &home;
        }
        const OpenElement* receiving = Receiving();
        if (receiving == nullptr) {
            if (!Keep(home, raw, lineNumber)) {
                return false;
            }
            if (&home == &ws_.Header && shape.role == LineRole::Schema) {
                inHead_ = false;
            }
            return true;
        }
        const ElementKind kind = receiving == &open_[Index(ElementKind::Animation)] ? ElementKind::Animation
                                                                                    : ElementKind::Texture;
        const bool closes = shape.Closes(kind);
        if (closes && shape.opensComment) {
            NoteCommentAtEnd(kind, receiving->titleIndex, lineNumber, line, false);
        }
        // The pending comment lines go in just ahead of the element, raw. Nearly every line finds none.
        if (!pending_.empty()) {
            FilePending(home);
        }
        const int at = home.Count();
        if (!Keep(home, raw, lineNumber)) {
            return false;
        }
        std::vector<ElementRange>& elements = kinds_[Index(kind)].elements;
        if (shape.Opens(kind)) {
            elements.back().first = at;
        }
        if (closes) {
            elements[static_cast<std::size_t>(receiving->titleIndex)].last = at;
            open_[Index(kind)].open = false;
        }
        return true;
    }

    // An opening line: its title, and the element it starts. The head ends where the first element opens.
    bool Open(const LineShape& shape, std::string_view rest, std::string_view line, int lineNumber) {
        const std::optional<std::string_view> title = TitleOf(rest, title_);
        if (!title) {
            stop_ = {UnreadableLines::Why::UntitledOpening, lineNumber, Quoted(line)};
            return false;
        }
        OpenElement& element = open_[Index(shape.kind)];
        const OpenElement& other = open_[Index(OtherKind(shape.kind))];
        if (element.open || other.open) {
            // Within an element of either kind, its lines would be filed with the wrong element.
            Note({MainFileDefect::Kind::NestedElement,
                  {std::string(*title), lineNumber},
                  element.open ? element.start : other.start});
        } else {
            element.start = {std::string(*title), lineNumber};
        }
        KindLists& lists = kinds_[Index(shape.kind)];
        element.titleIndex = static_cast<int>(lists.elements.size());
        if (shape.continuesComment) {
            NoteCommentAtEnd(shape.kind, element.titleIndex, lineNumber, line, true);
        }
        StoreCopy(lists.titles, *title);
        if (shape.kind == ElementKind::Animation) {
            StoreCopy(ws_.AllAnimationsTemp, TestFormView(line, testForm_));
        }
        lists.elements.push_back({});
        element.open = true;
        inHead_ = false;
        return true;
    }

    const OpenElement* Receiving() const {
        for (const ElementKind kind : {ElementKind::Animation, ElementKind::Texture}) {
            if (open_[Index(kind)].open) {
                return &open_[Index(kind)];
            }
        }
        return nullptr;
    }

    // The list that takes a line other than a comment line: an open animation's, else an open texture's,
    // else the head's or the one of the lines outside the elements.
    LineList& Destination() {
        if (const OpenElement* receiving = Receiving()) {
            return receiving == &open_[Index(ElementKind::Animation)] ? ws_.AllAnimations : ws_.AllTextures;
        }
        return inHead_ ? ws_.Header : ws_.MiscItems;
    }

    // Only the first defect is told to the user.
    void Note(MainFileDefect defect) {
        if (!ws_.Defect) {
            ws_.Defect = std::move(defect);
        }
    }

    void Finish() {
        // A comment left open is the cause when an element is left open with it.
        if (reader_.InComment()) {
            Note({MainFileDefect::Kind::UnclosedComment, {{}, blockStart_}, {}});
        } else {
            for (const ElementKind kind : {ElementKind::Animation, ElementKind::Texture}) {
                if (open_[Index(kind)].open) {
                    Note({MainFileDefect::Kind::UnclosedElement, open_[Index(kind)].start, {}});
                    break;
                }
            }
        }
        FileTrailingComments();
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
    void NoteCommentAtEnd(ElementKind kind, int titleIndex, int lineNumber, std::string_view line,
                          bool opening) {
        ws_.CommentsAtElementEnds.push_back({kind, titleIndex, opening, lineNumber, Quoted(line)});
    }

    // A comment line: inside an element or the head it is one of their lines; between elements it is
    // pending, raw, until the next element takes all the pending lines ahead of it. Skin authors keep
    // notes and whole commented-out elements there. The rest of a comment stays with the line where it
    // began.
    bool TakeComment(std::span<char> raw, bool continuesComment, int lineNumber) {
        if (!continuesComment) {
            const OpenElement* receiving = Receiving();
            commentHome_ = receiving != nullptr ? &Destination() : inHead_ ? &ws_.Header : nullptr;
            pendingBlock_ = pending_.size();
        }
        if (commentHome_ != nullptr) {
            return Keep(*commentHome_, raw, lineNumber);
        }
        pending_.emplace_back(raw.data(), raw.size());
        pendingPlace_.push_back(ws_.MiscItems.Count());
        return true;
    }

    // Files the pending lines from `from` on at the end of `list`.
    void FilePending(LineList& list, std::size_t from = 0) {
        for (std::size_t line = from; line < pending_.size(); ++line) {
            Store(list, pending_[line]);
        }
        pending_.resize(from);
        pendingPlace_.resize(from);
    }

    // Comments that no element follows keep their places among the other lines outside elements.
    void FileTrailingComments() {
        const std::vector<std::string_view>& misc = ws_.MiscItems.Lines();
        if (pending_.empty() ||
            misc.size() + pending_.size() > static_cast<std::size_t>(LineList::kMaxLines)) {
            FilePending(ws_.MiscItems);
            return;
        }
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
        ws_.MiscItems.AssignBorrowed(std::move(lines));
        pending_.clear();
        pendingPlace_.clear();
    }

    // Re-indented where it stands, then stored.
    bool Keep(LineList& list, std::span<char> raw, int lineNumber) {
        std::string_view reindented;
        try {
            reindented = SidlWidlInPlace(raw);
        } catch (const Failure&) {
            stop_ = {UnreadableLines::Why::LeadingSpaces, lineNumber, Quoted({raw.data(), raw.size()})};
            return false;
        }
        Store(list, reindented);
        return true;
    }

    // A list that is full only counts what it cannot take, to tell by how much the file is too large. A
    // line of the text is kept as a view of it; a title or a test form, which is not, is copied.
    void Store(LineList& list, std::string_view line) {
        if (list.Count() < LineList::kMaxLines) {
            list.AppendBorrowed(line);
            return;
        }
        CountExcess(list);
    }
    void StoreCopy(LineList& list, std::string_view line) {
        if (list.Count() < LineList::kMaxLines) {
            list.Append(line);
            return;
        }
        CountExcess(list);
    }
    void CountExcess(const LineList& list) {
        for (auto& [full, more] : excess_) {
            if (full == &list) {
                ++more;
                return;
            }
        }
        excess_.emplace_back(&list, 1);
    }

    Workspace& ws_;
    TextFileWriter* trace_;
    std::array<KindLists, 2> kinds_; // by ElementKind
    LineReader reader_;
    std::string testForm_; // the test form of a line with tabs inside, reused from line to line
    std::string title_;    // a title that is not a view of its line
    bool inHead_ = true;
    std::array<OpenElement, 2> open_{};     // by ElementKind
    std::vector<std::string_view> pending_; // comment lines since the last element, raw; empty when none
    std::vector<int> pendingPlace_;         // the count of MiscItems as each of them came
    std::size_t pendingBlock_ = 0;          // where in pending_ the comment last begun starts
    int blockStart_ = 0;                    // where the last comment that ran on past its line began
    LineList* commentHome_ = nullptr;       // the list that kept that line; none when it is pending
    std::vector<std::pair<const LineList*, int>> excess_; // lines that full lists could not take
    std::optional<UnreadableLines> stop_;
};

// The lines of an add-on file, raw, with their titles, then split into items by the grammar.
void ScanAddOnFile(ElementKind kind, KindLists lists, const char* name) {
    TextFileContent content = ReadTextFile(name);
    AddOnFile& file = lists.addOn;
    file.scanned = {content.fingerprint, content.unreadable};
    file.text = std::move(content.text);
    std::vector<LineShape> shapes;
    LineReader reader;
    int titles = 0;
    int lineNumber = 0;
    int excess = 0;
    std::string titleBuffer;
    LineSplitter split(file.text);
    for (std::string_view raw; split.Next(raw);) {
        ++lineNumber;
        std::string_view rest;
        const LineShape shape = reader.Read(raw, rest);
        if (shape.role == LineRole::Blank) {
            continue;
        }
        if (lists.addOnLines.Count() == LineList::kMaxLines) {
            ++excess;
            continue;
        }
        if (shape.Opens(kind)) {
            if (const std::optional<std::string_view> title = TitleOf(rest, titleBuffer)) {
                lists.addOnTitles.Set(titles++, *title);
            } else if (!file.refusal) {
                file.refusal = AddOnFileRefusal(kind,
                                                "line " + std::to_string(lineNumber) + " (" + Quoted(raw) +
                                                    ") opens an element whose title Zorby cannot read.",
                                                lineNumber);
            }
        }
        lists.addOnLines.AppendBorrowed(raw);
        file.lineNumbers.push_back(lineNumber);
        shapes.push_back(shape);
    }
    if (excess > 0) {
        file.refusal =
            Refusal(std::string(TagsOf(kind).addOnFile) + " cannot be used: it has " +
                        std::to_string(LineList::kMaxLines + excess) + " lines, " + std::to_string(excess) +
                        " more than the " + std::to_string(LineList::kMaxLines) +
                        " lines that Zorby can hold.\rNothing was changed. Please make " +
                        TagsOf(kind).addOnFile + " smaller and run Zorby again.",
                    TagsOf(kind).addOnFile);
    }
    if (!file.refusal) {
        AddOnItems items = SplitAddOnLines(kind, lists.addOnLines.Lines(), shapes, file.lineNumbers);
        file.items = std::move(items.items);
        file.refusal = std::move(items.refusal);
    }
}

} // namespace

const char* WhatTheListHolds(const Workspace& ws, const LineList* list) {
    if (list == &ws.Header) {
        return "its head";
    }
    if (list == &ws.AllTextures || list == &ws.Textures) {
        return "its textures";
    }
    if (list == &ws.MiscItems) {
        return "the lines outside its elements";
    }
    return "its animations";
}

std::optional<UnreadableLines> ScanAnimationFile(Workspace& workspace, TextFileWriter* trace,
                                                 const char* name) {
    TextFileContent content = ReadTextFile(name);
    workspace.MainFile = {content.fingerprint, content.unreadable};
    workspace.MainFileMark = content.utf8Mark;
    workspace.MainFileText = std::move(content.text);
    return MainFileScan(workspace, trace).Run(workspace.MainFileText);
}

std::optional<UnreadableLines> ScanMainFileText(Workspace& workspace, std::string text) {
    workspace.MainFileText = std::move(text);
    return MainFileScan(workspace, nullptr).Run(workspace.MainFileText);
}

void ScanAddOnFiles(Workspace& workspace, WindowPort& window) {
    const std::pair<ElementKind, const char*> files[] = {
        {ElementKind::Animation, names::kAddOnAnimationsRead},
        {ElementKind::Texture, names::kAddOnTexturesRead}};
    for (const auto& [kind, name] : files) {
        if (CheckForFile(name)) {
            ScanAddOnFile(kind, workspace.Of(kind), name);
            continue;
        }
        const bool textures = kind == ElementKind::Texture;
        window.SetVisible(textures ? Control::ZorTextures : Control::ZorAnimations, false);
        window.SetVisible(textures ? Control::Tex_Label : Control::Anim_Label, false);
    }
}

} // namespace zorby

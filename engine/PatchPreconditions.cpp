#include "PatchPreconditions.h"

#include "CommentBlock.h"
#include "ElementTags.h"
#include "FileNames.h"
#include "LineHelpers.h"
#include "TitleIndexedLines.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace zorby {

namespace {

constexpr const char* kNothingChanged = "\rNothing was changed. Please correct the file and run Zorby again.";

struct AddOnKind {
    const char* fileName;
    std::string_view opening;
    std::string_view closing;
    const char* elementName;
    const LineList& titles; // of the existing elements
    bool animation;
};

constexpr const char* kOwnLine = " Please put the comment on a line of its own.";

// The line as the user sees it in an editor, without its indentation.
std::string Shown(std::string_view raw) {
    return TTrim(TabTrim(raw));
}

// An item of an add-on file as the merge will take it.
struct AddOnItem {
    std::size_t opening;     // index of its opening line
    bool openingEndsComment; // that line ends a comment begun on an earlier line
};

std::optional<std::string> CheckAddOnFile(const LineList& list, const std::vector<int>& lineNumbers,
                                          const AddOnKind& kind, std::vector<AddOnItem>& items) {
    const auto& lines = list.Lines();
    const std::size_t count = lines.size();
    auto lineNumber = [&](std::size_t index) { return std::to_string(lineNumbers.at(index)); };
    const std::string cannot = std::string(kind.fileName) + " cannot be used: ";
    auto notClosed = [&](std::size_t opening) {
        return cannot + "the element that starts on line " + lineNumber(opening) + " (" +
               Shown(lines[opening]) + ") has no " + std::string(kind.closing) + " line." + kNothingChanged;
    };
    // Each line is judged by what remains of it outside comments.
    CommentTracker comments;
    std::size_t commentStart{};
    auto rest = [&](std::size_t index) {
        const CommentTracker::Line line = comments.Take(lines[index]);
        if (line.opensBlock) {
            commentStart = index;
        }
        return Unindented(line.rest);
    };

    const ElementKind element{kind.opening, kind.closing};
    // The merge takes one item per pass and leaves a single last line alone unless it holds a whole
    // element; so does this check. Items start outside comments.
    const auto wholeLastLine = [&] {
        return IsWholeElementLine(CommentTracker().Take(lines.back()).rest, element);
    };
    std::size_t index = 0;
    while (index + 1 < count || (index + 1 == count && wholeLastLine())) {
        // Comment lines may stand ahead of the element; they travel with it.
        std::size_t opening = index;
        std::string_view openingRest;
        for (; opening < count; ++opening) {
            const bool inComment = comments.IsOpen();
            openingRest = rest(opening);
            if (!openingRest.empty()) {
                items.push_back({opening, inComment});
                break;
            }
        }
        std::size_t closing = opening + 1;
        if (opening < count) {
            if (!TestFormStartsWith(openingRest, kind.opening)) {
                return cannot + "line " + lineNumber(opening) + " (" + Shown(lines[opening]) +
                       ") should start a <" + kind.elementName + "> element." + kNothingChanged;
            }
            // A whole element on its opening line is an item of its own.
            const bool whole = IsWholeElementLine(openingRest, element);
            closing = whole ? opening : opening + 1;
            for (; !whole && closing < count; ++closing) {
                const std::string_view lineRest = rest(closing);
                if (tags::IsClosingLine(lineRest, kind.closing)) {
                    break;
                }
                if (TestFormStartsWith(lineRest, kind.opening)) {
                    // Without its closing line the first element would take the second one in.
                    return cannot + "the element that starts on line " + lineNumber(opening) + " (" +
                           Shown(lines[opening]) + ") is not closed before line " + lineNumber(closing) +
                           " starts another." + kNothingChanged;
                }
            }
        }
        if (comments.IsOpen()) {
            if (closing < count) {
                // The next item would take the rest of the comment away from its start.
                return cannot + "the comment that starts on line " + lineNumber(commentStart) + " (" +
                       Shown(lines[commentStart]) + ") runs on past the end of its element." + kOwnLine +
                       kNothingChanged;
            }
            return cannot + "the comment that opens on line " + lineNumber(commentStart) +
                   " is never closed." + kNothingChanged;
        }
        if (opening == count) {
            return cannot + "line " + lineNumber(index) + " (" + Shown(lines[index]) + ") should start a <" +
                   kind.elementName + "> element." + kNothingChanged;
        }
        if (closing == count) {
            return notClosed(opening);
        }
        index = closing + 1;
    }
    // A last line on its own is dropped, unless it starts an element: that is an item cut off.
    if (index + 1 == count && TestFormStartsWith(rest(index), kind.opening)) {
        return notClosed(index);
    }
    return std::nullopt;
}

// Lines are kept whole, so a replaced element must not share its opening line with the end of a comment
// or its closing line with the start of one: half of the comment would stay behind. An item replaces the
// first existing element of its title, and a later item of the same title replaces the earlier item.
std::optional<std::string> CheckReplacements(const Workspace& ws, const LineList& list,
                                             const std::vector<int>& lineNumbers, const AddOnKind& kind,
                                             const std::vector<AddOnItem>& items) {
    const auto atEnd = [&](const CommentAtElementEnd& end) { return end.animation == kind.animation; };
    const auto endsComment = [](const AddOnItem& item) { return item.openingEndsComment; };
    // Nearly always: no element of either side shares a line with half of a comment.
    if (std::none_of(ws.CommentsAtElementEnds.begin(), ws.CommentsAtElementEnds.end(), atEnd) &&
        std::none_of(items.begin(), items.end(), endsComment)) {
        return std::nullopt;
    }
    const auto& known = kind.titles.Lines();
    const TitleSet knownSet(known);
    std::unordered_map<std::string, const AddOnItem*> replaced; // by title, the last item that replaced
    for (const AddOnItem& item : items) {
        // The title is a view of the line, or of what the tracker kept of it.
        CommentTracker comments(item.openingEndsComment);
        const auto view = TitleView(Unindented(comments.Take(list.Lines()[item.opening]).rest));
        if (!view || !knownSet.Contains(*view)) {
            continue;
        }
        const std::string title(*view);
        const auto [earlier, first] = replaced.try_emplace(title, &item);
        if (first) {
            // The element replaced is the first of its title.
            for (const CommentAtElementEnd& end : ws.CommentsAtElementEnds) {
                const auto at = known.begin() + end.titleIndex;
                if (!atEnd(end) || *at != title || std::find(known.begin(), at, title) != at) {
                    continue;
                }
                return std::string(names::kAnimationFile) + " cannot be patched: the element \"" + title +
                       "\" that " + kind.fileName + " replaces " + (end.opening ? "opens" : "closes") +
                       " on line " + std::to_string(end.lineNumber) + " (" + end.shown + "), which also " +
                       (end.opening ? "ends a comment begun on an earlier line"
                                    : "starts a comment that runs on") +
                       "." + kOwnLine + kNothingChanged;
            }
            continue;
        }
        const AddOnItem& previous = *earlier->second;
        if (previous.openingEndsComment) {
            return std::string(kind.fileName) + " cannot be used: the element \"" + title +
                   "\" that opens on line " + std::to_string(lineNumbers.at(previous.opening)) + " (" +
                   Shown(list.Lines()[previous.opening]) +
                   "), which also ends a comment begun on an earlier line, is replaced by a later element of "
                   "the "
                   "same name." +
                   kOwnLine + kNothingChanged;
        }
        earlier->second = &item;
    }
    return std::nullopt;
}

std::string DescribeDefect(const MainFileDefect& defect) {
    const std::string start = std::string(names::kAnimationFile) + " cannot be patched: ";
    const auto line = [](const OpeningLine& opening) { return std::to_string(opening.lineNumber); };
    switch (defect.kind) {
    case MainFileDefect::Kind::UnclosedElement:
        return start + "the element \"" + defect.where.title + "\" that opens on line " + line(defect.where) +
               " is never closed.";
    case MainFileDefect::Kind::NestedElement:
        return start + "the element \"" + defect.where.title + "\" on line " + line(defect.where) +
               " opens inside the element \"" + defect.outer.title + "\" from line " + line(defect.outer) +
               ", which is not closed before it.";
    case MainFileDefect::Kind::UnclosedComment:
        return start + "the comment that opens on line " + line(defect.where) + " is never closed.";
    case MainFileDefect::Kind::CommentAcrossParts:
        return start + "the comment that opens on line " + line(defect.outer) + " ends on line " +
               line(defect.where) + ", and the rewritten file would keep these two lines apart." + kOwnLine;
    }
    return start;
}

// `name` may name two files ("A and B") that are unreadable for the same reason.
std::optional<std::string> DescribeUnreadable(const std::string& name, const ScannedFile& file,
                                              bool twoFiles = false) {
    const std::string encoding = name + (twoFiles ? " are" : " is") + " saved as Unicode (";
    const std::string saveAgain =
        std::string(", which Zorby cannot read.\rNothing was changed. Please save ") +
        (twoFiles ? "them" : "it") + " as UTF-8 or ANSI and run Zorby again.";
    switch (file.unreadable) {
    case Unreadable::No:
        return std::nullopt;
    case Unreadable::Utf16:
        return encoding + "UTF-16)" + saveAgain;
    case Unreadable::Utf32:
        return encoding + "UTF-32)" + saveAgain;
    case Unreadable::TooLarge:
        break;
    }
    return name + " is " + SizePastTheReadLimit(file.fingerprint.size) + "." + kNothingChanged;
}

} // namespace

std::string SizePastTheReadLimit(std::uint64_t size) {
    constexpr std::uint64_t kMegabyte = 1024 * 1024;
    return std::to_string((size + kMegabyte - 1) / kMegabyte) + " MB, more than the " +
           std::to_string(kLargestTextFile / kMegabyte) + " MB that Zorby can read";
}

std::optional<std::string> FindPatchRefusal(const Workspace& workspace) {
    // Both add-on files saved in one wide encoding are named together, so that both are mended at once.
    const Unreadable addOns = workspace.AddOnTexturesFile.unreadable;
    if (workspace.MainFile.unreadable == Unreadable::No &&
        addOns == workspace.AddOnAnimationsFile.unreadable &&
        (addOns == Unreadable::Utf16 || addOns == Unreadable::Utf32)) {
        return DescribeUnreadable(std::string(names::kAddOnTextures) + " and " + names::kAddOnAnimations,
                                  workspace.AddOnTexturesFile, true);
    }
    for (const auto& [name, file] : {std::pair{names::kAnimationFile, &workspace.MainFile},
                                     std::pair{names::kAddOnTextures, &workspace.AddOnTexturesFile},
                                     std::pair{names::kAddOnAnimations, &workspace.AddOnAnimationsFile}}) {
        if (auto refusal = DescribeUnreadable(name, *file)) {
            return refusal;
        }
    }
    if (workspace.Defect) {
        return DescribeDefect(*workspace.Defect) + kNothingChanged;
    }
    const AddOnKind textures{names::kAddOnTextures, tags::kTextureOpening, tags::kTextureClosing,
                             "TextureInfo",         workspace.Textures,    false};
    const AddOnKind animations{names::kAddOnAnimations, tags::kAnimationOpening, tags::kAnimationClosing,
                               "Ui2DAnimation",         workspace.Animations,    true};
    std::vector<AddOnItem> textureItems;
    if (auto refusal = CheckAddOnFile(workspace.AllZorTextures, workspace.AllZorTexturesLineNumbers, textures,
                                      textureItems)) {
        return refusal;
    }
    std::vector<AddOnItem> animationItems;
    if (auto refusal = CheckAddOnFile(workspace.AllZorAnimations, workspace.AllZorAnimationsLineNumbers,
                                      animations, animationItems)) {
        return refusal;
    }
    if (auto refusal = CheckReplacements(workspace, workspace.AllZorTextures,
                                         workspace.AllZorTexturesLineNumbers, textures, textureItems)) {
        return refusal;
    }
    return CheckReplacements(workspace, workspace.AllZorAnimations, workspace.AllZorAnimationsLineNumbers,
                             animations, animationItems);
}

} // namespace zorby

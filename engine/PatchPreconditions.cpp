// A patch goes ahead only on files the scan took whole; every refusal here is what the scan found.

#include "PatchPreconditions.h"

#include "FileNames.h"
#include "LineGrammar.h"
#include "LineList.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace zorby {

namespace {

constexpr const char* kNothingChanged = "\rNothing was changed. Please correct the file and run Zorby again.";
constexpr const char* kOwnLine = " Please put the comment on a line of its own.";

// Lines are kept whole, so a replaced element must not share its opening line with the end of a comment
// or its closing line with the start of one: half of the comment would stay behind. An item replaces the
// first existing element of its title, and a later item of the same title replaces the earlier item.
std::optional<Refusal> CheckReplacements(const Workspace& ws, ElementKind kind) {
    const ConstKindLists lists = ws.Of(kind);
    const auto atEnd = [&](const CommentAtElementEnd& end) { return end.kind == kind; };
    const auto& items = lists.addOn.items;
    // Nearly always: no element of either side shares a line with half of a comment.
    if (std::none_of(ws.CommentsAtElementEnds.begin(), ws.CommentsAtElementEnds.end(), atEnd) &&
        std::none_of(items.begin(), items.end(),
                     [](const AddOnItem& item) { return item.openingEndsComment; })) {
        return std::nullopt;
    }
    const auto& known = lists.titles.Lines();
    const std::unordered_set<std::string_view> knownSet(known.begin(), known.end());
    std::unordered_map<std::string_view, const AddOnItem*> replaced; // by title, the last item that replaced
    for (std::size_t k = 0; k < items.size(); ++k) {
        const AddOnItem& item = items[k];
        const std::string_view title = lists.addOnTitles.Lines()[k];
        if (!knownSet.contains(title)) {
            continue;
        }
        const auto [earlier, first] = replaced.try_emplace(title, &item);
        if (first) {
            // The element replaced is the first of its title.
            for (const CommentAtElementEnd& end : ws.CommentsAtElementEnds) {
                const auto at = known.begin() + end.titleIndex;
                if (!atEnd(end) || *at != title || std::find(known.begin(), at, title) != at) {
                    continue;
                }
                return std::string(names::kAnimationFile) + " cannot be patched: the element \"" +
                       Quoted(title) + "\" that " + TagsOf(kind).addOnFile + " replaces " +
                       (end.opening ? "opens" : "closes") + " on line " + std::to_string(end.lineNumber) +
                       " (" + end.shown + "), which also " +
                       (end.opening ? "ends a comment begun on an earlier line"
                                    : "starts a comment that runs on") +
                       "." + kOwnLine + kNothingChanged;
            }
            continue;
        }
        const AddOnItem& previous = *earlier->second;
        if (previous.openingEndsComment) {
            const std::size_t opening = static_cast<std::size_t>(previous.opening);
            return AddOnFileRefusal(kind, "the element \"" + Quoted(title) + "\" that opens on line " +
                                              std::to_string(lists.addOn.lineNumbers.at(opening)) + " (" +
                                              Quoted(lists.addOnLines.Lines()[opening]) +
                                              "), which also ends a comment begun on an earlier line, is "
                                              "replaced by a later element of "
                                              "the same name." +
                                              kOwnLine);
        }
        earlier->second = &item;
    }
    return std::nullopt;
}

// `name` may name two files ("A and B") that are unreadable for the same reason.
std::optional<Refusal> DescribeUnreadable(const std::string& name, const ScannedFile& file,
                                          bool twoFiles = false) {
    const std::string encoding = name + (twoFiles ? " are" : " is") + " saved as Unicode (";
    const std::string saveAgain =
        std::string(", which Zorby cannot read.\rNothing was changed. Please save ") +
        (twoFiles ? "them" : "it") + " as UTF-8 or ANSI and run Zorby again.";
    switch (file.unreadable) {
    case Unreadable::No:
        return std::nullopt;
    case Unreadable::Utf16:
        return Refusal(encoding + "UTF-16)" + saveAgain, twoFiles ? "" : name);
    case Unreadable::Utf32:
        return Refusal(encoding + "UTF-32)" + saveAgain, twoFiles ? "" : name);
    case Unreadable::TooLarge:
        break;
    }
    return Refusal(name + " is " + SizePastTheReadLimit(file.fingerprint.size) + "." + kNothingChanged, name);
}

} // namespace

Refusal DescribeDefect(const MainFileDefect& defect) {
    const auto refusal = [&](const std::string& why, const OpeningLine& at) {
        return Refusal(std::string(names::kAnimationFile) + " cannot be patched: " + why + kNothingChanged,
                       names::kAnimationFile, at.lineNumber);
    };
    const auto line = [](const OpeningLine& opening) { return std::to_string(opening.lineNumber); };
    const auto element = [](const OpeningLine& opening) {
        return "the element \"" + Quoted(opening.title) + "\"";
    };
    switch (defect.kind) {
    case MainFileDefect::Kind::UnclosedElement:
        return refusal(element(defect.where) + " that opens on line " + line(defect.where) +
                           " is never closed.",
                       defect.where);
    case MainFileDefect::Kind::NestedElement:
        return refusal(element(defect.where) + " on line " + line(defect.where) + " opens inside " +
                           element(defect.outer) + " from line " + line(defect.outer) +
                           ", which is not closed before it.",
                       defect.where);
    case MainFileDefect::Kind::UnclosedComment:
        return refusal("the comment that opens on line " + line(defect.where) + " is never closed.",
                       defect.where);
    case MainFileDefect::Kind::CommentAcrossParts:
        break;
    }
    return refusal("the comment that opens on line " + line(defect.outer) + " ends on line " +
                       line(defect.where) + ", and the rewritten file would keep these two lines apart." +
                       kOwnLine,
                   defect.outer);
}

std::string SizePastTheReadLimit(std::uint64_t size) {
    constexpr std::uint64_t kMegabyte = 1024 * 1024;
    return std::to_string((size + kMegabyte - 1) / kMegabyte) + " MB, more than the " +
           std::to_string(kLargestTextFile / kMegabyte) + " MB that Zorby can read";
}

Refusal TooManyLinesRefusal(const std::string& what, std::size_t lines, const std::string& biggerFile,
                            bool nextRun) {
    const auto limit = static_cast<std::size_t>(LineList::kMaxLines);
    return Refusal(
        std::string(names::kAnimationFile) + " cannot be patched: " + what + " would take " +
            std::to_string(lines) + " lines, " + std::to_string(lines - limit) + " more than the " +
            std::to_string(limit) + " lines that Zorby can " +
            (nextRun ? "read, and the next run could not open the file, not even to restore it" : "hold") +
            ".\rNothing was changed. Please make " + biggerFile + " smaller and run Zorby again.",
        biggerFile);
}

std::optional<Refusal> FindPatchRefusal(const Workspace& ws) {
    // Both add-on files saved in one wide encoding are named together, so that both are mended at once.
    const Unreadable addOns = ws.AddOnTextures.scanned.unreadable;
    if (ws.MainFile.unreadable == Unreadable::No && addOns == ws.AddOnAnimations.scanned.unreadable &&
        (addOns == Unreadable::Utf16 || addOns == Unreadable::Utf32)) {
        return DescribeUnreadable(std::string(names::kAddOnTextures) + " and " + names::kAddOnAnimations,
                                  ws.AddOnTextures.scanned, true);
    }
    for (const auto& [name, file] : {std::pair{names::kAnimationFile, &ws.MainFile},
                                     std::pair{names::kAddOnTextures, &ws.AddOnTextures.scanned},
                                     std::pair{names::kAddOnAnimations, &ws.AddOnAnimations.scanned}}) {
        if (auto refusal = DescribeUnreadable(name, *file)) {
            return refusal;
        }
    }
    if (ws.Defect) {
        return DescribeDefect(*ws.Defect);
    }
    for (const ElementKind kind : kElementKinds) {
        if (ws.Of(kind).addOn.refusal) {
            return ws.Of(kind).addOn.refusal;
        }
    }
    for (const ElementKind kind : kElementKinds) {
        if (auto refusal = CheckReplacements(ws, kind)) {
            return refusal;
        }
    }
    return std::nullopt;
}

} // namespace zorby

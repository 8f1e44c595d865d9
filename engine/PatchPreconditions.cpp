#include "PatchPreconditions.h"

#include "CommentBlock.h"
#include "ElementTags.h"
#include "FileNames.h"
#include "LineHelpers.h"

#include <vector>

namespace zorby {

namespace {

constexpr const char* kNothingChanged = "\rNothing was changed. Please correct the file and run Zorby again.";

struct AddOnKind {
    const char* fileName;
    std::string_view opening;
    std::string_view closing;
    const char* elementName;
};

// The line as the user sees it in an editor, without its indentation.
std::string Shown(std::string_view raw) {
    return TTrim(TabTrim(raw));
}

std::optional<std::string> CheckAddOnFile(const LineList& list, const std::vector<int>& lineNumbers,
                                          const AddOnKind& kind) {
    const auto& lines = list.Lines();
    const std::size_t count = lines.size();
    auto lineNumber = [&](std::size_t index) {
        return std::to_string(index < lineNumbers.size() ? lineNumbers[index] : static_cast<int>(index) + 1);
    };
    const std::string cannot = std::string(kind.fileName) + " cannot be used: ";
    auto notClosed = [&](std::size_t opening) {
        return cannot + "the element that starts on line " + lineNumber(opening) + " (" +
               Shown(lines[opening]) + ") has no " + std::string(kind.closing) + " line." + kNothingChanged;
    };

    std::size_t index = 0;
    // The merge takes one item per pass and leaves a single last line alone; so does this check.
    while (count >= 2 && index < count - 1) {
        // Comment lines and comment blocks may stand ahead of the element; they travel with it.
        CommentBlock block;
        std::size_t blockStart = index;
        std::size_t opening = index;
        for (; opening < count; ++opening) {
            const bool wasOpen = block.IsOpen();
            if (!block.Covers(lines[opening]) && !TestFormStartsWith(lines[opening], tags::kComment)) {
                break;
            }
            if (!wasOpen) {
                blockStart = opening;
            }
        }
        std::size_t closing = opening + 1;
        if (opening < count) {
            if (!TestFormStartsWith(lines[opening], kind.opening)) {
                return cannot + "line " + lineNumber(opening) + " (" + Shown(lines[opening]) +
                       ") should start a <" + kind.elementName + "> element." + kNothingChanged;
            }
            for (; closing < count; ++closing) {
                const bool wasOpen = block.IsOpen();
                if (block.Covers(lines[closing])) {
                    if (!wasOpen) {
                        blockStart = closing;
                    }
                    continue;
                }
                if (tags::IsClosingLine(lines[closing], kind.closing)) {
                    break;
                }
                if (TestFormStartsWith(lines[closing], kind.opening)) {
                    // Without its closing line the first element would take the second one in.
                    return cannot + "the element that starts on line " + lineNumber(opening) + " (" +
                           Shown(lines[opening]) + ") is not closed before line " + lineNumber(closing) +
                           " starts another." + kNothingChanged;
                }
            }
        }
        if (block.IsOpen()) {
            return cannot + "the comment that opens on line " + lineNumber(blockStart) + " is never closed." +
                   kNothingChanged;
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
    if (index + 1 == count && TestFormStartsWith(lines[index], kind.opening)) {
        return notClosed(index);
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
                             "TextureInfo"};
    if (auto refusal =
            CheckAddOnFile(workspace.AllZorTextures, workspace.AllZorTexturesLineNumbers, textures)) {
        return refusal;
    }
    const AddOnKind animations{names::kAddOnAnimations, tags::kAnimationOpening, tags::kAnimationClosing,
                               "Ui2DAnimation"};
    return CheckAddOnFile(workspace.AllZorAnimations, workspace.AllZorAnimationsLineNumbers, animations);
}

} // namespace zorby

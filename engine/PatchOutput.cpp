// What a patch writes is read back with the next start's own load before anything changes.

#include "PatchOutput.h"

#include "FileNames.h"
#include "InventoryScan.h"
#include "LineGrammar.h"
#include "PatchPreconditions.h"
#include "TextFile.h"

namespace zorby {

namespace {

// Where a line of the written file came from: an add-on file's line, or EQUI_Animations.xml.
struct Origin {
    std::optional<ElementKind> addOn;
    int lineNumber = 0; // in the add-on file
};

Origin OriginOf(const Workspace& ws, const PatchSummary& summary, int outputLine) {
    int index = outputLine - 1;
    for (const LineList* list : OutputLists(ws)) {
        if (index >= list->Count()) {
            index -= list->Count();
            continue;
        }
        for (const ElementKind kind : kElementKinds) {
            const ConstKindLists lists = ws.Of(kind);
            const bool existing = list == &lists.existing;
            if (!existing && list != &lists.addOnLines) {
                continue;
            }
            const MergeRecord& record = kind == ElementKind::Texture ? summary.textures : summary.animations;
            for (const AddOnPlacement& placed : record.placed) {
                if (placed.inExisting == existing && index >= placed.at && index < placed.at + placed.count) {
                    const auto line = static_cast<std::size_t>(placed.addOnFirst + index - placed.at);
                    return {kind, lists.addOn.lineNumbers.at(line)};
                }
            }
        }
        break;
    }
    return {};
}

// What the next start would find at a line, in words that follow "...: ".
std::string Reason(const UnreadableLines& unreadable) {
    return unreadable.why == UnreadableLines::Why::LeadingSpaces
               ? "it has more than 32767 leading spaces"
               : "it opens an element whose title Zorby cannot read";
}

std::string Reason(const MainFileDefect& defect) {
    const auto element = [](const OpeningLine& opening) {
        return "the element \"" + Quoted(opening.title) + "\"";
    };
    switch (defect.kind) {
    case MainFileDefect::Kind::NestedElement:
        return element(defect.where) + " would open inside " + element(defect.outer) +
               ", which is not closed before it";
    case MainFileDefect::Kind::UnclosedElement:
        return element(defect.where) + " would never be closed";
    case MainFileDefect::Kind::UnclosedComment:
        return "a comment would never be closed";
    case MainFileDefect::Kind::CommentAcrossParts:
        break;
    }
    return "a comment would end apart from its start";
}

// The refusal for what the next start would meet at `outputLine` of the file, said of the line that put it
// there. `lockedOut`: the next start could not read the file at all.
Refusal AtLine(const Workspace& ws, const PatchSummary& summary, int outputLine, const std::string& shown,
               const std::string& reason, bool lockedOut) {
    const std::string effect = lockedOut
                                   ? " would keep the next run from opening EQUI_Animations.xml, not even to "
                                     "restore it: "
                                   : " would leave EQUI_Animations.xml malformed: ";
    const Origin origin = OriginOf(ws, summary, outputLine);
    if (origin.addOn) {
        return AddOnFileRefusal(*origin.addOn,
                                "patched in, line " + std::to_string(origin.lineNumber) + " (" + shown + ")" +
                                    effect + reason + ".",
                                origin.lineNumber);
    }
    return Refusal(std::string(names::kAnimationFile) + " cannot be patched: rewritten, its line (" + shown +
                       ")" + effect + reason +
                       ".\rNothing was changed. Please correct the file and run Zorby again.",
                   names::kAnimationFile);
}

// The file that brings the most lines to a list that would be too long: the add-on file of its kind, or
// EQUI_Animations.xml.
std::string BiggerFile(const Workspace& ws, const Workspace& next, const UnreadableLines& unreadable) {
    for (const ElementKind kind : kElementKinds) {
        const ConstKindLists lists = next.Of(kind);
        if (unreadable.list == &lists.existing || unreadable.list == &lists.titles) {
            const auto addOnLines = static_cast<int>(ws.Of(kind).addOn.lineNumbers.size());
            return 2 * addOnLines > unreadable.lines ? TagsOf(kind).addOnFile : names::kAnimationFile;
        }
    }
    return names::kAnimationFile;
}

} // namespace

std::string PatchOutputBytes(const Workspace& ws) {
    std::size_t size = ws.MainFileMark ? kUtf8Mark.size() : 0;
    for (const LineList* list : OutputLists(ws)) {
        for (const std::string_view line : list->Lines()) {
            size += line.size() + 2;
        }
    }
    std::string bytes;
    bytes.reserve(size);
    if (ws.MainFileMark) {
        bytes += kUtf8Mark;
    }
    for (const LineList* list : OutputLists(ws)) {
        for (const std::string_view line : list->Lines()) {
            bytes.append(line).append("\r\n");
        }
    }
    return bytes;
}

std::optional<Refusal> FindNextStartRefusal(const Workspace& ws, const PatchSummary& summary,
                                            const std::string& bytes) {
    TextFileContent content = TextContentOf(bytes);
    const std::string start = std::string(names::kAnimationFile) + " cannot be patched: ";
    switch (content.unreadable) {
    case Unreadable::No:
        break;
    case Unreadable::TooLarge: {
        const std::uint64_t addOns =
            ws.AddOnTextures.scanned.fingerprint.size + ws.AddOnAnimations.scanned.fingerprint.size;
        return Refusal(start + "it would be " + SizePastTheReadLimit(bytes.size()) +
                           ", and the next run could not open the file, not even to restore it.\rNothing was "
                           "changed. Please make " +
                           (2 * addOns > bytes.size() ? "the add-on files" : names::kAnimationFile) +
                           " smaller and run Zorby again.",
                       names::kAnimationFile);
    }
    case Unreadable::Utf16:
    case Unreadable::Utf32:
        return Refusal(
            start + "the patched file would look like Unicode text (UTF-16 or UTF-32) to the next run, "
                    "which could not patch it.\rNothing was changed. Please correct the add-on files and "
                    "run Zorby again.",
            names::kAnimationFile);
    }
    Workspace next;
    if (const auto unreadable = ScanMainFileText(next, std::move(content.text))) {
        if (unreadable->why == UnreadableLines::Why::TooManyLines) {
            return TooManyLinesRefusal(WhatTheListHolds(next, unreadable->list),
                                       static_cast<std::size_t>(unreadable->lines),
                                       BiggerFile(ws, next, *unreadable), true);
        }
        return AtLine(ws, summary, unreadable->lineNumber, unreadable->shown, Reason(*unreadable), true);
    }
    if (next.Defect) {
        const MainFileDefect& defect = *next.Defect;
        const int line = defect.kind == MainFileDefect::Kind::CommentAcrossParts ? defect.outer.lineNumber
                                                                                 : defect.where.lineNumber;
        LineSplitter lines(next.MainFileText);
        std::string_view text;
        for (int n = 0; n < line && lines.Next(text); ++n) {
        }
        return AtLine(ws, summary, line, Quoted(text), Reason(defect), false);
    }
    return std::nullopt;
}

} // namespace zorby

#pragma once

#include "LineList.h"
#include "RunLock.h"
#include "TextFile.h"

#include <optional>
#include <string>
#include <vector>

namespace zorby {

// An opening line of EQUI_Animations.xml, as the scan met it.
struct OpeningLine {
    std::string title;
    int lineNumber = 0; // 1-based line in the file
};

// Why EQUI_Animations.xml cannot be patched safely. Rewritten, such a file would lose lines or come out
// malformed, so the scan notes the first of these and "Patch!" refuses.
struct MainFileDefect {
    enum class Kind {
        UnclosedElement, // `where` opens an element that is still open at the end of the file
        NestedElement,   // `where` opens an element inside `outer`, another of its kind not yet closed
        UnclosedComment, // the comment on line `where.lineNumber` is still open at the end of the file
        // the comment that opens on line `outer.lineNumber` ends on line `where.lineNumber`, and the two
        // lines go to different parts of the rewritten file
        CommentAcrossParts,
    };
    Kind kind;
    OpeningLine where;
    OpeningLine outer;
};

// An element's opening line that also ends a comment begun on an earlier line, or its closing line that
// also starts one that runs on. The lines are kept whole, so replacing that element would leave half of
// the comment behind.
struct CommentAtElementEnd {
    bool animation = false; // which kind of element
    int titleIndex = 0;     // the element's place in Animations or Textures
    bool opening = true;    // at its opening line; otherwise at its closing line
    int lineNumber = 0;     // 1-based line in the file
    std::string shown;      // the line without its indentation
};

// What the scan read of one input file: whether it can be used at all, and what it held, so that "Patch!"
// can tell whether it changed meanwhile.
struct ScannedFile {
    FileFingerprint fingerprint; // not present when there was no such file
    Unreadable unreadable = Unreadable::No;
};

// The whole working state of one run: fourteen line lists, filled once by the inventory scan, reworked
// by the merges and written back by the output writer.
struct Workspace {
    Workspace();

    // Existing content of EQUI_Animations.xml.
    LineList Header{"Header"};
    LineList AllTextures{"AllTextures"};
    LineList AllAnimations{"AllAnimations"};
    LineList MiscItems{"MiscItems"};
    LineList Textures{"Textures"};
    LineList Animations{"Animations"};
    // Scratch lists of the merges.
    LineList AllTexturesTemp{"AllTexturesTemp"};
    LineList AllAnimationsTemp{"AllAnimationsTemp"};
    // The add-on files.
    LineList AllZorTextures{"AllZorTextures"};
    LineList AllZorAnimations{"AllZorAnimations"};
    LineList AllZorTexturesTemp{"AllZorTexturesTemp"};
    LineList AllZorAnimationsTemp{"AllZorAnimationsTemp"};
    LineList ZorTextures{"ZorTextures"};
    LineList ZorAnimations{"ZorAnimations"};

    // The file line number of every line in AllZorTextures and AllZorAnimations, as the scan stored
    // them; lets a refused patch point at the right line.
    std::vector<int> AllZorTexturesLineNumbers;
    std::vector<int> AllZorAnimationsLineNumbers;

    // Set by the scan when EQUI_Animations.xml cannot be patched safely.
    std::optional<MainFileDefect> Defect;
    // Elements of EQUI_Animations.xml that share a line with half of a comment; they may stay, but not
    // be replaced.
    std::vector<CommentAtElementEnd> CommentsAtElementEnds;

    ScannedFile MainFile;
    ScannedFile AddOnAnimationsFile;
    ScannedFile AddOnTexturesFile;
    // EQUI_Animations.xml began with a UTF-8 byte-order mark; the rewritten file begins with it too.
    bool MainFileMark = false;
    // A check in a folder without its own EQUI_Animations.xml read ..\default\EQUI_Animations.xml where it
    // stands: the file a patch would start from, after copying it in.
    bool MainFileFromDefault = false;
    // Held from the load step on, for the whole run: no other run works in this folder meanwhile.
    RunLock Lock;
};

} // namespace zorby

#pragma once

#include "LineGrammar.h"
#include "LineList.h"
#include "RunLock.h"
#include "TextFile.h"

#include <optional>
#include <string>
#include <type_traits>
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
        NestedElement,   // `where` opens an element inside `outer`, an element not yet closed
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
    ElementKind kind = ElementKind::Texture;
    int titleIndex = 0;  // the element's place in Animations or Textures
    bool opening = true; // at its opening line; otherwise at its closing line
    int lineNumber = 0;  // 1-based line in the file
    std::string shown;   // the line as a message quotes it
};

// What the scan read of one input file: whether it can be used at all, and what it held, so that "Patch!"
// can tell whether it changed meanwhile.
struct ScannedFile {
    FileFingerprint fingerprint; // not present when there was no such file
    Unreadable unreadable = Unreadable::No;
};

// The lines of one element of EQUI_Animations.xml in AllTextures or AllAnimations: its opening line through
// its closing line.
struct ElementRange {
    int first = 0;
    int last = 0;
};

// What the scan found in one add-on file besides its lines: where each line stood in the file, its
// items, or why it cannot be used.
struct AddOnFile {
    std::string text; // the file's bytes, which its lines are views of
    ScannedFile scanned;
    std::vector<int> lineNumbers; // of every line kept in its list
    std::vector<AddOnItem> items; // titled, in order, by the file's title list
    std::optional<Refusal> refusal;
};

template <bool Const> struct KindListsOf;
using KindLists = KindListsOf<false>;
using ConstKindLists = KindListsOf<true>;

// The whole working state of one run: fourteen line lists, filled once by the inventory scan, reworked
// by the merges and written back by the output writer, and what the scan found of each line so that no
// later step reads the text again.
struct Workspace {
    Workspace();

    // The text of EQUI_Animations.xml, re-indented where it stands, and of the add-on files: the lists hold
    // views of them, so they go only after the lists.
    std::string MainFileText;
    AddOnFile AddOnTextures;
    AddOnFile AddOnAnimations;

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

    // The elements of EQUI_Animations.xml, one for each title in Textures and Animations.
    std::vector<ElementRange> TextureElements;
    std::vector<ElementRange> AnimationElements;
    // Set by the scan when EQUI_Animations.xml cannot be patched safely.
    std::optional<MainFileDefect> Defect;
    // Elements of EQUI_Animations.xml that share a line with half of a comment; they may stay, but not
    // be replaced.
    std::vector<CommentAtElementEnd> CommentsAtElementEnds;

    ScannedFile MainFile;
    // EQUI_Animations.xml began with a UTF-8 byte-order mark; the rewritten file begins with it too.
    bool MainFileMark = false;
    // A check in a folder without its own EQUI_Animations.xml read ..\default\EQUI_Animations.xml where it
    // stands: the file a patch would start from, after copying it in.
    bool MainFileFromDefault = false;
    // Held from the load step on, for the whole run: no other run works in this folder meanwhile.
    RunLock Lock;

    KindLists Of(ElementKind kind);
    ConstKindLists Of(ElementKind kind) const;
};

// The lists and findings of one kind of element, for the steps that treat both kinds alike.
template <bool Const> struct KindListsOf {
    template <typename T> using Ref = std::conditional_t<Const, const T&, T&>;

    Ref<LineList> titles;   // Textures or Animations
    Ref<LineList> existing; // AllTextures or AllAnimations
    Ref<LineList> rebuild;  // AllTexturesTemp or AllAnimationsTemp
    Ref<std::vector<ElementRange>> elements;
    Ref<LineList> addOnLines;  // AllZorTextures or AllZorAnimations
    Ref<LineList> collector;   // AllZorTexturesTemp or AllZorAnimationsTemp
    Ref<LineList> addOnTitles; // ZorTextures or ZorAnimations, one title for each item
    Ref<AddOnFile> addOn;
};

} // namespace zorby

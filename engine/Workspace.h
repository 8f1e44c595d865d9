#pragma once

#include "LineList.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zorby {

// An element of EQUI_Animations.xml that opens and is never closed before the end of the file.
struct UnclosedElement {
    std::string title;
    int lineNumber = 0; // 1-based line of the opening line in the file
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

    // Set by the scan when an element of EQUI_Animations.xml is still open at the end of the file.
    std::optional<UnclosedElement> Unclosed;

    std::array<LineList*, 14> AllLists();
};

} // namespace zorby

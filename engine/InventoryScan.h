#pragma once

#include "FileNames.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <optional>
#include <string>

namespace zorby {

class TextFileWriter;

// Why a main file cannot be taken into the lists at all: a line the scan cannot read, or a list that would
// pass the 32,768 lines it can hold (counted to the end of the file, to say by how much).
struct UnreadableLines {
    enum class Why { LeadingSpaces, UntitledOpening, TooManyLines };
    Why why = Why::TooManyLines;
    int lineNumber = 0;             // the line at fault, 1-based
    std::string shown;              // that line, as a message quotes it
    const LineList* list = nullptr; // the list past its limit
    int lines = 0;                  // how many lines it would take
};

// Words for the list past its limit: "its textures", "the lines outside its elements", ...
const char* WhatTheListHolds(const Workspace& workspace, const LineList* list);

// Reads EQUI_Animations.xml into the workspace: the head into Header, the texture and animation elements
// into AllTextures and AllAnimations with their titles and ranges, everything else into MiscItems. Writes
// the test form of every non-blank line to `trace` when one is given. Failures to read or trace are thrown;
// a file that cannot be taken into the lists is told in the result. `name` is another file to read as
// EQUI_Animations.xml, for a check in a folder that has none.
std::optional<UnreadableLines> ScanAnimationFile(Workspace& workspace, TextFileWriter* trace,
                                                 const char* name = names::kAnimationFile);

// The same scan of text that is on no disk: what a patch would write, as the next start reads it. The
// workspace keeps the text, re-indented where it stands.
std::optional<UnreadableLines> ScanMainFileText(Workspace& workspace, std::string text);

// Reads the add-on files raw into AllZorAnimations and AllZorTextures with their titles and items, and
// hides the title list and label of a file that is absent. A file that cannot be used is noted in its
// AddOnFile. Failures to read are thrown.
void ScanAddOnFiles(Workspace& workspace, WindowPort& window);

} // namespace zorby

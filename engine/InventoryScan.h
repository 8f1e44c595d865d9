#pragma once

#include "FileNames.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <span>

namespace zorby {

class TextFileWriter;

// Reads EQUI_Animations.xml into the workspace: the head into Header, the texture and animation
// elements into AllTextures and AllAnimations with their titles, everything else into MiscItems. Writes
// the test form of every non-blank line to `trace` when one is given. Failures are thrown.
// `name` is another file to read as EQUI_Animations.xml, for a check in a folder that has none.
void ScanAnimationFile(Workspace& workspace, TextFileWriter* trace, const char* name = names::kAnimationFile);

// How many lines the scan files into each list of the main file.
struct ScannedLineCounts {
    int Header = 0;
    int AllTextures = 0;
    int AllAnimations = 0;
    int MiscItems = 0;
};

// Counts, without keeping them, the lines that ScanAnimationFile would file into each list if the lines
// of `lists`, one after the other, were the main file: the file a patch writes, as the next run reads it.
ScannedLineCounts CountScannedLines(std::span<const LineList* const> lists);

// Reads the add-on files raw into AllZorAnimations and AllZorTextures with their titles, and hides the
// title list and label of a file that is absent. Failures are thrown.
void ScanAddOnFiles(Workspace& workspace, WindowPort& window);

} // namespace zorby

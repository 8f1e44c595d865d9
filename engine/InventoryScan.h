#pragma once

#include "WindowPort.h"
#include "Workspace.h"

namespace zorby {

class TextFileWriter;

// Reads EQUI_Animations.xml into the workspace: the head into Header, the texture and animation
// elements into AllTextures and AllAnimations with their titles, everything else into MiscItems. Writes
// the test form of every non-blank line to `trace` when one is given. Failures are thrown.
void ScanAnimationFile(Workspace& workspace, TextFileWriter* trace);

// Reads the add-on files raw into AllZorAnimations and AllZorTextures with their titles, and hides the
// title list and label of a file that is absent. Failures are thrown.
void ScanAddOnFiles(Workspace& workspace, WindowPort& window);

} // namespace zorby

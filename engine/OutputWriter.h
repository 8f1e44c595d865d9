#pragma once

#include "ReplacementFile.h"
#include "WindowPort.h"
#include "Workspace.h"

namespace zorby {

// Makes the backup when the check box asks for one, updates "Restore", and replaces
// EQUI_Animations.xml with Header, AllTextures, AllZorTextures, AllAnimations, AllZorAnimations and
// MiscItems, every line ending in CR LF. The new file is written and synced beside the old one first;
// only then is the backup replaced and the new file put in place, so a failure while writing leaves both
// files as they were. Only the final rename of the main file itself, failing after the backup's, would
// leave the older backup replaced by a copy of the unchanged main file. Reports its own failures:
// Flow::Failed after its error box or after a protected file's notice.
Flow WriteAnimationFile(Workspace& workspace, WindowPort& window, const SinkWrapper& wrapOutput);

} // namespace zorby

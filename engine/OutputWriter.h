#pragma once

#include "ReplacementFile.h"
#include "WindowPort.h"
#include "Workspace.h"

namespace zorby {

// Makes the backup when the check box asks for one, updates "Restore", and replaces
// EQUI_Animations.xml with Header, AllTextures, AllZorTextures, AllAnimations, AllZorAnimations and
// MiscItems, every line ending in CR LF. The new file is written and synced beside the old one first;
// only then is the backup replaced and the new file put in place, so a failure leaves both files as they
// were. Reports its own failures: Flow::Failed after its error box or after a protected file's notice.
Flow WriteAnimationFile(Workspace& workspace, WindowPort& window, const SinkWrapper& wrapOutput);

} // namespace zorby

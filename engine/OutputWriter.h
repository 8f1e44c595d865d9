#pragma once

#include "ReplacementFile.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <string>

namespace zorby {

// Makes the backup when the check box asks for one, updates "Restore", and replaces EQUI_Animations.xml
// with `bytes`. The new file is written and synced beside the old one first; only then is the backup
// replaced and the new file put in place, so a failure while writing leaves both files as they were. Only
// the final rename of the main file itself, failing after the backup's, would leave the older backup
// replaced by a copy of the unchanged main file. The inputs are checked once more after the last question,
// right before the first file changes. Reports its own failures: Flow::Failed after its error box, a
// protected or held file's notice, or the refusal of changed inputs; Flow::Done when the player closed the
// program instead of answering. `backupMade` tells, after Flow::Continue, whether EQUI_An.xml now holds the
// file as it was.
Flow WriteAnimationFile(Workspace& workspace, WindowPort& window, const std::string& bytes,
                        const SinkWrapper& wrapOutput, bool& backupMade);

} // namespace zorby

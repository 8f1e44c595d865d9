#pragma once

#include "WindowPort.h"
#include "Workspace.h"

#include <string>

namespace zorby {

enum class LoadFor {
    Window, // a run that may patch or restore
    Check,  // a check that changes nothing: no lock, no stale files removed, no trace, no seeding
};

// The start-up checks, run once before the window is first shown: removes stale helper files, decides
// debug mode, seeds EQUI_Animations.xml from the game's default folder when it is missing, runs the
// inventory scan and decides which commands are available. Any failure is reported here and ends the
// run; `helpPage` is opened when the user wants to know where custom UI files belong. For a check the
// same checks and the scan run, and a missing EQUI_Animations.xml is reported instead of seeded.
Flow RunLoadStep(Workspace& workspace, WindowPort& window, const std::string& helpPage,
                 LoadFor purpose = LoadFor::Window);

} // namespace zorby

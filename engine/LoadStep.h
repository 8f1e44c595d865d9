#pragma once

#include "WindowPort.h"
#include "Workspace.h"

#include <string>

namespace zorby {

// The start-up checks, run once before the window is first shown: removes stale helper files, decides
// debug mode, seeds EQUI_Animations.xml from the game's default folder when it is missing, runs the
// inventory scan and decides which commands are available. Any failure is reported here and ends the
// run; `helpPage` is opened when the user wants to know where custom UI files belong.
Flow RunLoadStep(Workspace& workspace, WindowPort& window, const std::string& helpPage);

} // namespace zorby

#pragma once

#include "ReplacementFile.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <functional>

namespace zorby {

// "Patch!": refuses malformed input, merges the add-on items into the lists, writes the new
// EQUI_Animations.xml and, outside debug mode, deletes the add-on files. Never returns Continue.
Flow PatchCommand(Workspace& workspace, WindowPort& window, const SinkWrapper& wrapOutput = {});

// "Restore": moves the backup EQUI_An.xml over EQUI_Animations.xml in one step. Never returns Continue.
Flow RestoreCommand(WindowPort& window);

// Runs one command. A failure that nothing else handled is shown with its number and description, and
// the run ends.
Flow RunCommand(WindowPort& window, const std::function<Flow()>& command);

} // namespace zorby

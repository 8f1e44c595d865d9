#pragma once

#include "PatchSummary.h"
#include "ReplacementFile.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <functional>

namespace zorby {

inline constexpr const char* kPatchCompleted =
    "Patch Completed - if you have problems, re-run this program and select 'Restore'";

// "Patch!": refuses malformed input, merges the add-on items into the lists, writes the new
// EQUI_Animations.xml, tells what it did and, outside debug mode, deletes the add-on files. Never returns
// Continue.
Flow PatchCommand(Workspace& workspace, WindowPort& window, const SinkWrapper& wrapOutput = {});

// "Patch!" without its changes: refuses what the patch would refuse, merges in memory and fills `summary`
// with what the patch would do. Asks nothing and writes nothing. Returns Done when the patch would
// complete.
Flow CheckPatch(Workspace& workspace, WindowPort& window, PatchSummary& summary);

// "Restore": moves the backup EQUI_An.xml over EQUI_Animations.xml in one step. Never returns Continue.
Flow RestoreCommand(WindowPort& window);

// Runs one command. A failure that nothing else handled is shown with its number and description, and
// the run ends.
Flow RunCommand(WindowPort& window, const std::function<Flow()>& command);

} // namespace zorby

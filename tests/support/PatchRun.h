#pragma once

#include "Commands.h"
#include "FakeWindow.h"
#include "LoadStep.h"

namespace zorby::testing {

// Starts the tool in the current folder and presses "Patch!", as a user would.
inline Flow LoadAndPatch(FakeWindow& window, const SinkWrapper& wrapOutput = {}) {
    Workspace ws;
    if (const Flow flow = RunLoadStep(ws, window, "help.html"); flow != Flow::Continue) {
        return flow;
    }
    return RunCommand(window, [&] { return PatchCommand(ws, window, wrapOutput); });
}

// Starts the tool in the current folder and presses "Restore".
inline Flow LoadAndRestore(FakeWindow& window) {
    Workspace ws;
    if (const Flow flow = RunLoadStep(ws, window, "help.html"); flow != Flow::Continue) {
        return flow;
    }
    return RunCommand(window, [&] { return RestoreCommand(window); });
}

} // namespace zorby::testing

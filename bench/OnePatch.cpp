// One load and one patch of the folder it is started in, and nothing else: the program to count
// instructions of with callgrind (docs/performance.md), on a folder made by zorby_make_folder.

#include "Commands.h"
#include "LoadStep.h"
#include "SilentWindow.h"
#include "Workspace.h"

#include <iostream>

int main() {
    using namespace zorby;
    bench::SilentWindow window;
    Workspace ws;
    Flow flow = RunLoadStep(ws, window, "help.html");
    if (flow == Flow::Continue) {
        flow = RunCommand(window, [&] { return PatchCommand(ws, window, {}); });
    }
    if (flow != Flow::Done) {
        std::cerr << "the patch did not complete: " << window.lastError << "\n";
        return 1;
    }
    return 0;
}

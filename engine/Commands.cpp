#include "Commands.h"

#include "Failure.h"
#include "FileHelpers.h"
#include "FileNames.h"
#include "ItemMerge.h"
#include "OutputWriter.h"
#include "PatchPreconditions.h"

namespace zorby {

namespace {

// Outside debug mode the add-on files have been used up. Debug.txt counts as it stands now, not as it
// stood at start.
Flow DeleteUsedAddOn(WindowPort& window, const char* name) {
    if (CheckForFile(name) && !CheckForFile(names::kDebugFile)) {
        return DeleteFile(window, name);
    }
    return Flow::Continue;
}

} // namespace

Flow PatchCommand(Workspace& ws, WindowPort& window, const SinkWrapper& wrapOutput) {
    if (const auto refusal = FindPatchRefusal(ws)) {
        window.ShowMessage("Error", *refusal, MessageIcon::Critical, MessageButtons::Ok);
        return Flow::Failed;
    }

    window.SetBusyPointer(true);
    MergeTextures(ws);
    MergeAnimations(ws, window);
    window.SetBusyPointer(false);

    // After a failed write the add-on files may be the only copy of what did not reach the file: keep
    // them, and say nothing of success.
    if (const Flow flow = WriteAnimationFile(ws, window, wrapOutput); flow != Flow::Continue) {
        return flow;
    }
    window.ShowMessage("Notice",
                       "Patch Completed - if you have problems, re-run this program and select 'Restore'",
                       MessageIcon::None, MessageButtons::Ok);
    for (const char* addOn : {names::kAddOnAnimations, names::kAddOnTextures}) {
        if (const Flow flow = DeleteUsedAddOn(window, addOn); flow != Flow::Continue) {
            return flow;
        }
    }
    return Flow::Done;
}

Flow RestoreCommand(WindowPort& window) {
    // One rename, so that EQUI_Animations.xml is never missing: a failure leaves both files as they were.
    MoveFileOver(names::kBackupFile, names::kAnimationFile);
    window.SetEnabled(Control::Restore_Animation, false);
    window.ShowMessage("Notice", "EQUI_Animation.xml restored", MessageIcon::None, MessageButtons::Ok);
    return Flow::Done;
}

Flow RunCommand(WindowPort& window, const std::function<Flow()>& command) {
    try {
        return command();
    } catch (const Failure& failure) {
        // The box needs a normal pointer to be answered.
        window.SetBusyPointer(false);
        window.ShowMessage("Zorby",
                           "Error " + std::to_string(failure.Number()) + ": " + failure.Description() +
                               "\rNothing was changed. Zorby will close now.",
                           MessageIcon::Critical, MessageButtons::Ok);
        return Flow::Failed;
    }
}

} // namespace zorby

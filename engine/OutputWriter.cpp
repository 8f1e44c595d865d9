#include "OutputWriter.h"

#include "Failure.h"
#include "FileHelpers.h"
#include "FileNames.h"

namespace zorby {

namespace {

// Keeps a copy of EQUI_Animations.xml as it stood before the patch, asking before an older backup is
// replaced. The copy replaces the old backup in one step, so a failed copy keeps the old one.
Flow MakeBackup(WindowPort& window) {
    if (!window.IsChecked(Control::Backup_Animation)) {
        return Flow::Continue;
    }
    if (CheckForFile(names::kBackupFile)) {
        if (window.ShowMessage("Confirm", "Overwrite previous EQUI_Animation.xml backup?", MessageIcon::None,
                               MessageButtons::YesNo) != Answer::Yes) {
            return Flow::Continue;
        }
        if (const Flow flow = DeleteFile(window, names::kBackupFile, Deletion::ByReplacement);
            flow != Flow::Continue) {
            return flow;
        }
    }
    CopyFile(names::kAnimationFile, names::kBackupFile);
    return Flow::Continue;
}

} // namespace

Flow WriteAnimationFile(Workspace& ws, WindowPort& window, const SinkWrapper& wrapOutput) {
    try {
        if (const Flow flow = MakeBackup(window); flow != Flow::Continue) {
            return flow;
        }
        window.SetEnabled(Control::Restore_Animation, CheckForFile(names::kBackupFile));

        // A protected file is refused here, before anything is written.
        if (const Flow flow = DeleteFile(window, names::kAnimationFile, Deletion::ByReplacement);
            flow != Flow::Continue) {
            return flow;
        }
        ReplacementFile output(names::kAnimationFile, wrapOutput);
        for (const LineList* list : {&ws.Header, &ws.AllTextures, &ws.AllZorTextures, &ws.AllAnimations,
                                     &ws.AllZorAnimations, &ws.MiscItems}) {
            for (const auto& line : list->Lines()) {
                output.WriteLine(line);
            }
        }
        output.Commit();
        return Flow::Continue;
    } catch (const Failure& failure) {
        window.ShowMessage("Error",
                           "Error " + std::to_string(failure.Number()) + "has occurred in patch module",
                           MessageIcon::Critical, MessageButtons::Ok);
        return Flow::Failed;
    }
}

} // namespace zorby

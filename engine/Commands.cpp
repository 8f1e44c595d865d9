// Every command ends the run; a patch refuses, merges, reads back and writes, in that order.

#include "Commands.h"

#include "Failure.h"
#include "FileDeletion.h"
#include "FileHelpers.h"
#include "FileNames.h"
#include "FileNotices.h"
#include "FolderChecks.h"
#include "ItemMerge.h"
#include "OutputWriter.h"
#include "PatchOutput.h"
#include "PatchPreconditions.h"
#include "TextFile.h"

#include <new>
#include <optional>

namespace zorby {

namespace {

// Outside debug mode the add-on files have been used up. Debug.txt counts as it stands now, not as it
// stood at start. A file that changed since it was read holds something this patch did not use: it
// stays, and the player is told.
Flow DeleteUsedAddOn(WindowPort& window, const char* name, const ScannedFile& scanned) {
    if (!CheckForFile(name) || CheckForFile(names::kDebugFile)) {
        return Flow::Continue;
    }
    return DeleteFile(window, name, Deletion::Now, &scanned.fingerprint);
}

// The patch up to the point where files change, in the order it goes: the refusals the scan found, both
// merges, and the read-back of what the patch would write, as the next start will read it. Fills
// `summary` and the bytes to write.
Flow PreparePatch(Workspace& ws, WindowPort& window, PatchSummary& summary, std::string& output) {
    if (auto refusal = FindPatchRefusal(ws)) {
        return Refuse(window, *refusal);
    }
    if (window.IsChecked(Control::Backup_Animation)) {
        if (auto refusal = RefusalOfNonPlainFile(names::kBackupFile)) {
            return Refuse(window, *refusal);
        }
    }
    window.SetBusyPointer(true);
    std::optional<Refusal> refusal = MergeTextures(ws, summary.textures);
    if (!refusal) {
        refusal = MergeAnimations(ws, window, summary.animations);
    }
    window.SetBusyPointer(false);
    if (!refusal) {
        output = PatchOutputBytes(ws);
        refusal = FindNextStartRefusal(ws, summary, output);
    }
    return refusal ? Refuse(window, *refusal) : Flow::Continue;
}

// The add-on files are kept in debug mode, decided as their deletion decides it.
bool AddOnFilesKept() {
    return CheckForFile(names::kDebugFile);
}

} // namespace

Flow PatchCommand(Workspace& ws, WindowPort& window, const SinkWrapper& wrapOutput) {
    PatchSummary summary;
    std::string output;
    if (const Flow flow = PreparePatch(ws, window, summary, output); flow != Flow::Continue) {
        return flow;
    }

    // After a failed write the add-on files may be the only copy of what did not reach the file: keep
    // them, and say nothing of success.
    // Looked at before anything changes: after the write, a failure could no longer say that nothing was.
    const bool olderBackup = CheckForFile(names::kBackupFile);
    bool backupMade = false;
    if (const Flow flow = WriteAnimationFile(ws, window, output, wrapOutput, backupMade);
        flow != Flow::Continue) {
        return flow;
    }
    // The player may have answered No to replacing an older backup.
    summary.backup = backupMade    ? BackupOutcome::Made
                     : olderBackup ? BackupOutcome::OlderKept
                                   : BackupOutcome::NoneMade;
    summary.addOnFilesKept = AddOnFilesKept();
    window.ShowMessage("Notice", std::string(kPatchCompleted) + "\r\r" + SummaryText(summary),
                       MessageIcon::None, MessageButtons::Ok);
    for (const auto& [name, scanned] : {std::pair{names::kAddOnAnimations, &ws.AddOnAnimations.scanned},
                                        std::pair{names::kAddOnTextures, &ws.AddOnTextures.scanned}}) {
        if (const Flow flow = DeleteUsedAddOn(window, name, *scanned); flow != Flow::Continue) {
            return flow;
        }
    }
    return Flow::Done;
}

Flow CheckPatch(Workspace& ws, WindowPort& window, PatchSummary& summary) {
    std::string output;
    if (const Flow flow = PreparePatch(ws, window, summary, output); flow != Flow::Continue) {
        return flow;
    }
    // The writer turns away a main file that could not be replaced before it asks anything.
    if (const Flow flow = ws.MainFileFromDefault
                              ? Flow::Continue
                              : DeleteFile(window, names::kAnimationFile, Deletion::ByReplacement);
        flow != Flow::Continue) {
        return flow;
    }
    summary.copiedFromDefault = ws.MainFileFromDefault;
    const bool ticked = window.IsChecked(Control::Backup_Animation);
    if (CheckForFile(names::kBackupFile)) {
        summary.backup = ticked ? BackupOutcome::AskFirst : BackupOutcome::OlderKept;
    } else {
        summary.backup = ticked ? BackupOutcome::Made : BackupOutcome::NoneMade;
    }
    summary.addOnFilesKept = AddOnFilesKept();
    return Flow::Done;
}

Flow RestoreCommand(WindowPort& window) {
    if (const auto refusal = RefusalOfNonPlainFile(names::kBackupFile)) {
        return Refuse(window, *refusal);
    }
    // Two names of one file: the rename would do nothing and report success.
    if (StatusOfEntry(names::kBackupFile).SameFileAs(StatusOfEntry(names::kAnimationFile))) {
        return Refuse(window, Refusal(std::string(names::kBackupFile) + " and " + names::kAnimationFile +
                                          " are one file under two names (a hard link), so there is no older "
                                          "version to restore.\rNothing was changed.",
                                      names::kBackupFile));
    }
    // One rename, so that EQUI_Animations.xml is never missing: a failure leaves both files as they were.
    try {
        MoveFileOver(names::kBackupFile, names::kAnimationFile);
    } catch (const Failure& failure) {
        if (failure.Number() != PermissionDenied) {
            throw;
        }
        return ReportFileFailure(window, failure, names::kAnimationFile);
    }
    window.SetEnabled(Control::Restore_Animation, false);
    window.ShowMessage("Notice", "EQUI_Animation.xml restored", MessageIcon::None, MessageButtons::Ok);
    return Flow::Done;
}

Flow RunCommand(WindowPort& window, const std::function<Flow()>& command) {
    const auto stop = [&](const Failure& failure) {
        // The box needs a normal pointer to be answered.
        window.SetBusyPointer(false);
        if (failure.Number() == FileInUse) {
            return ReportFileInUse(window, failure);
        }
        window.ShowMessage("Zorby",
                           "Error " + std::to_string(failure.Number()) + ": " + failure.Description() +
                               "\rNothing was changed. Zorby will close now.",
                           MessageIcon::Critical, MessageButtons::Ok);
        return Flow::Failed;
    };
    try {
        return command();
    } catch (const Failure& failure) {
        return stop(failure);
    } catch (const std::bad_alloc&) {
        return stop(Failure(OutOfMemory));
    }
}

} // namespace zorby

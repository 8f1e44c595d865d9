// The new file is complete on disk before the file it replaces, or an older backup, gives way.

#include "OutputWriter.h"

#include "Failure.h"
#include "FileDeletion.h"
#include "FileHelpers.h"
#include "FileNames.h"
#include "FileNotices.h"
#include "FolderChecks.h"

#include <new>

namespace zorby {

namespace {

enum class Backup { None, Make };

// Asks before an older backup is replaced (Enter keeps it: it is often the only copy of the UI as it was
// before any add-on), and makes sure it could be replaced: a protected backup gets
// its notice here, before anything is written.
Flow DecideBackup(WindowPort& window, Backup& backup) {
    backup = Backup::None;
    if (!window.IsChecked(Control::Backup_Animation)) {
        return Flow::Continue;
    }
    if (CheckForFile(names::kBackupFile)) {
        const Answer answer = window.ShowMessage("Confirm", "Overwrite previous EQUI_Animation.xml backup?",
                                                 MessageIcon::None, MessageButtons::YesNoDefaultNo);
        if (answer == Answer::Closed) {
            return Flow::Done; // the player closed the program: nothing is written
        }
        if (answer != Answer::Yes) {
            return Flow::Continue;
        }
        if (const Flow flow = DeleteFile(window, names::kBackupFile, Deletion::ByReplacement);
            flow != Flow::Continue) {
            return flow;
        }
    }
    backup = Backup::Make;
    return Flow::Continue;
}

Flow Write(const Workspace& ws, WindowPort& window, const std::string& bytes, const SinkWrapper& wrapOutput,
           bool& backupMade) {
    Backup backup = Backup::None;
    if (const Flow flow = DecideBackup(window, backup); flow != Flow::Continue) {
        return flow;
    }
    // A protected file is refused here, before anything is written.
    if (const Flow flow = DeleteFile(window, names::kAnimationFile, Deletion::ByReplacement);
        flow != Flow::Continue) {
        return flow;
    }
    // A question may have stayed open for minutes, and the files may have changed meanwhile.
    if (const auto changed = FindInputChangedSinceScan(ws)) {
        return Refuse(window, *changed);
    }
    if (const auto refusal =
            backup == Backup::Make ? RefusalOfNonPlainFile(names::kBackupFile) : std::nullopt) {
        return Refuse(window, *refusal);
    }

    ReplacementFile output(names::kAnimationFile, wrapOutput);
    output.Write(bytes);
    output.Sync();
    // Only now, with the new file complete on disk, may an older backup give way: any failure up to here
    // leaves both files as they were.
    if (backup == Backup::Make) {
        CopyFile(names::kAnimationFile, names::kBackupFile);
    }
    window.SetEnabled(Control::Restore_Animation, CheckForFile(names::kBackupFile));
    output.Commit();
    backupMade = backup == Backup::Make;
    return Flow::Continue;
}

} // namespace

Flow WriteAnimationFile(Workspace& ws, WindowPort& window, const std::string& bytes,
                        const SinkWrapper& wrapOutput, bool& backupMade) {
    const auto report = [&](int number) {
        window.ShowMessage("Error", "Error " + std::to_string(number) + "has occurred in patch module",
                           MessageIcon::Critical, MessageButtons::Ok);
        return Flow::Failed;
    };
    try {
        return Write(ws, window, bytes, wrapOutput, backupMade);
    } catch (const Failure& failure) {
        if (failure.Number() == FileInUse) {
            return ReportFileInUse(window, failure, names::kAnimationFile);
        }
        return report(failure.Number());
    } catch (const std::bad_alloc&) {
        return report(OutOfMemory);
    }
}

} // namespace zorby

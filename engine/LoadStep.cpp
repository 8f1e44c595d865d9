#include "LoadStep.h"

#include "ErrorReport.h"
#include "Failure.h"
#include "FileDeletion.h"
#include "FileHelpers.h"
#include "FileNotices.h"
#include "FileNames.h"
#include "FolderChecks.h"
#include "InventoryScan.h"
#include "PatchPreconditions.h"
#include "ReplacementFile.h"
#include "TextFile.h"

#include <new>
#include <optional>

namespace zorby {

namespace {

Flow DeleteIfPresent(WindowPort& window, const char* name, Deletion how) {
    return CheckForFile(name) ? DeleteFile(window, name, how) : Flow::Continue;
}

// Without ..\default\ beside it, this is not a custom UI folder.
void ReportWrongFolder(WindowPort& window, const std::string& helpPage) {
    window.ShowMessage("Error",
                       "You are attempting to run zorby.exe from a directory that is not your custom ui "
                       "directory.\rPlease reinstall to your custom ui directory and try again",
                       MessageIcon::Warning, MessageButtons::Ok);
    if (window.ShowMessage("Confirm", "Want to see an example of this error?", MessageIcon::None,
                           MessageButtons::YesNo) == Answer::Yes) {
        window.OpenLink(helpPage);
    }
}

} // namespace

Flow RunLoadStep(Workspace& workspace, WindowPort& window, const std::string& helpPage, LoadFor purpose) {
    const bool changes = purpose == LoadFor::Window;
    const auto report = [&](const Failure& failure) {
        if (failure.Number() == PathNotFound) {
            ReportWrongFolder(window, helpPage);
        } else if (failure.Number() == FileInUse) {
            return ReportFileInUse(window, failure);
        } else {
            ShowUnexpectedError(window, failure);
        }
        return Flow::Failed;
    };
    try {
        // A check leaves a window in the folder free to start, and a window leaves a check free to run.
        if (changes && !(workspace.Lock = RunLock::OnCurrentFolder()).Held()) {
            return Refuse(window, "Zorby is already running in this folder.\rNothing was changed. Please use "
                                  "the Zorby window that is open, or close it and run Zorby again.");
        }
        // The game's own folder is no custom UI folder, however the way to it is spelt: its file is the one
        // every custom UI falls back on, and the game's updates replace it.
        if (StatusOfEntry(".").SameFileAs(StatusOfEntry(names::kDefaultFolder))) {
            ReportWrongFolder(window, helpPage);
            return Flow::Failed;
        }
        // The trace and the main file are written later: a link there would lead outside the folder, and
        // the trace, written in place, would also change the other names of its file.
        for (const auto& [written, how] : {std::pair{names::kDebugFile, Writing::InPlace},
                                           std::pair{names::kAnimationFile, Writing::ByReplacement}}) {
            if (const auto refusal = RefusalOfNonPlainFile(written, how)) {
                return Refuse(window, *refusal);
            }
        }
        // A check leaves the stale files where they are, but finds those that could not be removed.
        for (const char* stale : {names::kStaleBatch, names::kStaleCom}) {
            if (const Flow flow =
                    DeleteIfPresent(window, stale, changes ? Deletion::Now : Deletion::ByReplacement);
                flow != Flow::Continue) {
                return flow;
            }
        }
        // What a run killed while writing left behind.
        for (const char* replaced : {names::kAnimationFile, names::kBackupFile}) {
            if (changes) {
                ReplacementFile::RemoveLeftovers(replaced);
            }
        }

        std::optional<TextFileWriter> trace;
        const bool debug = CheckForFile(names::kDebugFile);
        window.SetVisible(Control::DebugLabel, debug);
        window.SetVisible(Control::DebugButton, debug);
        if (debug && changes) {
            trace.emplace(names::kDebugFile);
        }

        if (!CheckForFile(names::kAnimationFile)) {
            // A copy too large to read would be refused right after it was made, and left behind.
            if (const std::uint64_t size = StatusOfEntry(names::kDefaultAnimationFile).size;
                size > kLargestTextFile) {
                return Refuse(window, std::string(names::kDefaultAnimationFile) + " is " +
                                          SizePastTheReadLimit(size) +
                                          ".\rNothing was changed. Please put a copy of your own " +
                                          names::kAnimationFile + " in this folder and run Zorby again.");
            }
            // Made only where no entry stands: never over a file that could not be seen. A check copies
            // nothing and reads the game's file where it stands.
            workspace.MainFileFromDefault = !changes;
            if (changes) {
                CopyFile(names::kDefaultAnimationFile, names::kAnimationFile, Placement::WhereNone);
            }
        }

        ScanAnimationFile(workspace, trace ? &*trace : nullptr,
                          workspace.MainFileFromDefault ? names::kDefaultAnimationFile
                                                        : names::kAnimationFile);
        if (trace) {
            trace->Close();
        }
        ScanAddOnFiles(workspace, window);

        if (!CheckForFile(names::kAddOnAnimationsCheck) && !CheckForFile(names::kAddOnTexturesCheck)) {
            window.SetEnabled(Control::PatchCommand, false);
            window.SetVisible(Control::Backup_Animation, false);
        }
        window.SetEnabled(Control::Restore_Animation, CheckForFile(names::kBackupFile));
        return Flow::Continue;
    } catch (const Failure& failure) {
        return report(failure);
    } catch (const std::bad_alloc&) {
        return report(Failure(OutOfMemory));
    }
}

} // namespace zorby

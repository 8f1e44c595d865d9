#include "LoadStep.h"

#include "ErrorReport.h"
#include "Failure.h"
#include "FileHelpers.h"
#include "FileNames.h"
#include "FolderChecks.h"
#include "InventoryScan.h"
#include "ReplacementFile.h"
#include "TextFile.h"

#include <new>
#include <optional>

namespace zorby {

namespace {

Flow DeleteIfPresent(WindowPort& window, const char* name) {
    return CheckForFile(name) ? DeleteFile(window, name) : Flow::Continue;
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

Flow RunLoadStep(Workspace& workspace, WindowPort& window, const std::string& helpPage) {
    const auto report = [&](const Failure& failure) {
        if (failure.Number() == PathNotFound) {
            ReportWrongFolder(window, helpPage);
        } else {
            ShowUnexpectedError(window, failure);
        }
        return Flow::Failed;
    };
    try {
        // The trace and the main file are written later: a link there would lead outside the folder.
        for (const char* written : {names::kDebugFile, names::kAnimationFile}) {
            if (const auto refusal = RefusalOfNonPlainFile(written)) {
                return Refuse(window, *refusal);
            }
        }
        for (const char* stale : {names::kStaleBatch, names::kStaleCom}) {
            if (const Flow flow = DeleteIfPresent(window, stale); flow != Flow::Continue) {
                return flow;
            }
        }
        // What a run killed while writing left behind.
        for (const char* replaced : {names::kAnimationFile, names::kBackupFile}) {
            ReplacementFile::RemoveLeftovers(replaced);
        }

        std::optional<TextFileWriter> trace;
        const bool debug = CheckForFile(names::kDebugFile);
        window.SetVisible(Control::DebugLabel, debug);
        window.SetVisible(Control::DebugButton, debug);
        if (debug) {
            trace.emplace(names::kDebugFile);
        }

        if (!CheckForFile(names::kAnimationFile)) {
            CopyFile(names::kDefaultAnimationFile, names::kAnimationFile);
        }

        ScanAnimationFile(workspace, trace ? &*trace : nullptr);
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

// Whatever fails at start is told with its file, line and reason, and a backup stays within reach.

#include "LoadStep.h"

#include "ErrorReport.h"
#include "Failure.h"
#include "FileDeletion.h"
#include "FileHelpers.h"
#include "FileNames.h"
#include "FileNotices.h"
#include "FolderChecks.h"
#include "InventoryScan.h"
#include "PatchPreconditions.h"
#include "PathResolver.h"
#include "ReplacementFile.h"
#include "TextFile.h"

#include <new>
#include <optional>

namespace zorby {

namespace {

// How the part of the load step after the folder checks ended.
enum class Loaded {
    Yes,
    Failed,      // the player was told why; a backup may still be restored
    WrongFolder, // the player was told this is no custom UI folder
};

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

// The game's own folder is no custom UI folder, however the way to it is spelt: its file is the one every
// custom UI falls back on, and the game's updates replace it. Its name is matched as every name is, letter
// case aside; a folder reached under another name is compared by identity.
bool IsTheGamesOwnFolder() {
    const std::string here = platform::CurrentFolderPath();
    const std::string name = here.substr(here.find_last_of("/\\") + 1);
    return EqualIgnoringAsciiCase(name, names::kDefaultFolderName) ||
           StatusOfEntry(".").SameFileAs(StatusOfEntry(names::kDefaultFolder));
}

std::string LinesDescription(const Workspace& ws, const UnreadableLines& unreadable) {
    if (unreadable.why == UnreadableLines::Why::TooManyLines) {
        const std::string limit = std::to_string(LineList::kMaxLines);
        return std::string(WhatTheListHolds(ws, unreadable.list)) + " take " +
               std::to_string(unreadable.lines) + " lines, " +
               std::to_string(unreadable.lines - LineList::kMaxLines) + " more than the " + limit +
               " lines that Zorby can hold.\rNothing was changed. Please make " + names::kAnimationFile +
               " smaller and run Zorby again.";
    }
    return "line " + std::to_string(unreadable.lineNumber) + " (" + unreadable.shown + ") " +
           (unreadable.why == UnreadableLines::Why::LeadingSpaces
                ? "has more than 32767 leading spaces."
                : "opens an element whose title Zorby cannot read.") +
           "\rNothing was changed. Please correct the file and run Zorby again.";
}

// Debug.txt is the player's to remove: a trace that cannot be written is told by its name.
void ReportTraceFailure(WindowPort& window, const Failure& failure) {
    if (failure.Number() == PermissionDenied || failure.Number() == FileInUse) {
        (void)ReportFileFailure(window, failure, names::kDebugFile);
        return;
    }
    (void)Refuse(window, Refusal(std::string(names::kDebugFile) + " cannot be written: " +
                                     failure.Description() + " (error " + std::to_string(failure.Number()) +
                                     ").\rNothing was changed. Please remove " + names::kDebugFile +
                                     ", or make room on the disk, and run Zorby again.",
                                 names::kDebugFile));
}

// Removes stale files, decides debug mode, seeds EQUI_Animations.xml and scans. Reports its own failures.
Loaded PrepareAndScan(Workspace& ws, WindowPort& window, const std::string& helpPage, bool changes) {
    // The trace and the main file are written later: a link there would lead outside the folder, and the
    // trace, written in place, would also change the other names of its file.
    for (const auto& [written, how] : {std::pair{names::kDebugFile, Writing::InPlace},
                                       std::pair{names::kAnimationFile, Writing::ByReplacement}}) {
        if (const auto refusal = RefusalOfNonPlainFile(written, how)) {
            (void)Refuse(window, *refusal);
            return Loaded::Failed;
        }
    }
    // A check leaves the stale files where they are, but finds those that could not be removed.
    for (const char* stale : {names::kStaleBatch, names::kStaleCom}) {
        if (CheckForFile(stale) &&
            DeleteFile(window, stale, changes ? Deletion::Now : Deletion::ByReplacement) != Flow::Continue) {
            return Loaded::Failed;
        }
    }
    // What a run killed while writing left behind.
    for (const char* replaced : {names::kAnimationFile, names::kBackupFile}) {
        if (changes) {
            ReplacementFile::RemoveLeftovers(replaced);
        }
    }

    const bool debug = CheckForFile(names::kDebugFile);
    window.SetVisible(Control::DebugLabel, debug);
    window.SetVisible(Control::DebugButton, debug);
    std::optional<TextFileWriter> trace;
    try {
        // A check only makes sure the trace could be written.
        if (debug) {
            changes ? void(trace.emplace(names::kDebugFile)) : CheckWritable(names::kDebugFile);
        }
    } catch (const Failure& failure) {
        ReportTraceFailure(window, failure);
        return Loaded::Failed;
    }

    if (!CheckForFile(names::kAnimationFile)) {
        // A copy too large to read would be refused right after it was made, and left behind.
        if (const std::uint64_t size = StatusOfEntry(names::kDefaultAnimationFile).size;
            size > kLargestTextFile) {
            (void)Refuse(window, Refusal(std::string(names::kDefaultAnimationFile) + " is " +
                                             SizePastTheReadLimit(size) +
                                             ".\rNothing was changed. Please put a copy of your own " +
                                             names::kAnimationFile + " in this folder and run Zorby again.",
                                         names::kDefaultAnimationFile));
            return Loaded::Failed;
        }
        // Made only where no entry stands: never over a file that could not be seen. A check copies
        // nothing and reads the game's file where it stands.
        ws.MainFileFromDefault = !changes;
        try {
            changes ? CopyFile(names::kDefaultAnimationFile, names::kAnimationFile, Placement::WhereNone)
                    : CheckCopyable(names::kDefaultAnimationFile, names::kAnimationFile);
        } catch (const Failure& failure) {
            if (failure.Number() == PathNotFound) {
                ReportWrongFolder(window, helpPage);
                return Loaded::WrongFolder;
            }
            if (failure.Number() == FileNotFound) {
                (void)Refuse(window,
                             Refusal(std::string(names::kAnimationFile) + " is not in this folder, and " +
                                         names::kDefaultFolder +
                                         "\\ holds none to copy.\rNothing was changed. Please put a "
                                         "copy of " +
                                         names::kAnimationFile + " in this folder and run Zorby again.",
                                     names::kAnimationFile));
                return Loaded::Failed;
            }
            (void)ReportFileFailure(window, failure, names::kAnimationFile);
            return Loaded::Failed;
        }
    }

    // Reading the main file fails only in ways that have no better words than the report's.
    const std::optional<UnreadableLines> unreadable =
        ScanAnimationFile(ws, trace ? &*trace : nullptr,
                          ws.MainFileFromDefault ? names::kDefaultAnimationFile : names::kAnimationFile);
    try {
        if (trace) {
            trace->Close();
        }
    } catch (const Failure& failure) {
        ReportTraceFailure(window, failure);
        return Loaded::Failed;
    }
    if (unreadable) {
        (void)Refuse(window, Refusal(std::string(names::kAnimationFile) +
                                         " cannot be read: " + LinesDescription(ws, *unreadable),
                                     names::kAnimationFile, unreadable->lineNumber));
        return Loaded::Failed;
    }
    ScanAddOnFiles(ws, window);
    return Loaded::Yes;
}

} // namespace

Flow RunLoadStep(Workspace& ws, WindowPort& window, const std::string& helpPage, LoadFor purpose) {
    const bool changes = purpose == LoadFor::Window;
    const auto report = [&](const Failure& failure) {
        return failure.Number() == FileInUse ? ReportFileInUse(window, failure)
                                             : (ShowUnexpectedError(window, failure), Flow::Failed);
    };
    Loaded loaded = Loaded::Failed;
    try {
        // A check leaves a window in the folder free to start, and a window leaves a check free to run.
        if (changes && !(ws.Lock = RunLock::OnCurrentFolder()).Held()) {
            return Refuse(window,
                          std::string("Zorby is already running in this folder.\rNothing was changed. Please "
                                      "use the Zorby window that is open, or close it and run Zorby again."));
        }
        if (IsTheGamesOwnFolder()) {
            ReportWrongFolder(window, helpPage);
            return Flow::Failed;
        }
        try {
            loaded = PrepareAndScan(ws, window, helpPage, changes);
        } catch (const Failure& failure) {
            (void)report(failure);
        } catch (const std::bad_alloc&) {
            (void)report(Failure(OutOfMemory));
        }
        if (loaded == Loaded::Yes) {
            if (!CheckForFile(names::kAddOnAnimationsCheck) && !CheckForFile(names::kAddOnTexturesCheck)) {
                window.SetEnabled(Control::PatchCommand, false);
                window.SetVisible(Control::Backup_Animation, false);
            }
            window.SetEnabled(Control::Restore_Animation, CheckForFile(names::kBackupFile));
            return Flow::Continue;
        }
        // Whatever the folder holds, a backup the player kept can be put back.
        if (loaded == Loaded::Failed && changes && CheckForFile(names::kBackupFile)) {
            window.SetEnabled(Control::PatchCommand, false);
            window.SetVisible(Control::Backup_Animation, false);
            window.SetEnabled(Control::Restore_Animation, true);
            return Flow::Continue;
        }
        return Flow::Failed;
    } catch (const Failure& failure) {
        return report(failure);
    } catch (const std::bad_alloc&) {
        return report(Failure(OutOfMemory));
    }
}

} // namespace zorby

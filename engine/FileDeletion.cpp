// A file is deleted only while it holds what was read, and a failure to delete it is told by cause.

#include "FileDeletion.h"

#include "FileHelpers.h"
#include "FileNotices.h"

namespace zorby {

Flow DeleteFile(WindowPort& window, const std::string& name, Deletion how,
                const FileFingerprint* unchangedFrom) {
    try {
        if (unchangedFrom != nullptr && !Unchanged(name, *unchangedFrom)) {
            window.ShowMessage(
                "Notice",
                name + " has changed since Zorby read it, so it was left as it is.\rThe patch used "
                       "the file as it was when Zorby started.",
                MessageIcon::Warning, MessageButtons::Ok);
            return Flow::Continue;
        }
        if (how == Deletion::Now) {
            RemoveFile(name);
        } else {
            CheckDeletable(name);
        }
    } catch (const Failure& failure) {
        return ReportFileFailure(window, failure, name);
    }
    return Flow::Continue;
}

} // namespace zorby

#include "FileDeletion.h"

#include "ErrorReport.h"
#include "FileHelpers.h"

namespace zorby {

Flow DeleteFile(WindowPort& window, const std::string& name, Deletion how,
                const FileFingerprint* unchangedFrom) {
    try {
        if (unchangedFrom != nullptr && FingerprintOf(name) != *unchangedFrom) {
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
        if (failure.Number() == PermissionDenied && FolderForbidsChanges(name)) {
            window.ShowMessage("Protected Folder",
                               "The folder that holds " + name +
                                   " is write protected - please un-protect the folder and try again",
                               MessageIcon::Critical, MessageButtons::Ok);
        } else if (failure.Number() == PermissionDenied) {
            window.ShowMessage(
                "Protected File",
                "The file " + name +
                    " is write protected - please delete or un-protect this file and try again",
                MessageIcon::Critical, MessageButtons::Ok);
        } else {
            ShowUnexpectedError(window, failure);
        }
        return Flow::Failed;
    }
    return Flow::Continue;
}

} // namespace zorby

// A file the run could not change is named with the real cause: a file in use is no protected file.

#include "FileNotices.h"

#include "ErrorReport.h"
#include "FileHelpers.h"

namespace zorby {

namespace {

// The file a failure is about, as a player finds it in the folder.
std::string NameOf(const Failure& failure, const std::string& name) {
    const std::string& file = failure.File();
    return file.empty() ? name : file.substr(file.find_last_of("/\\") + 1);
}

} // namespace

Flow ReportFileInUse(WindowPort& window, const Failure& failure, const std::string& name) {
    window.ShowMessage("File In Use",
                       "The file " + NameOf(failure, name) +
                           " is in use by another program - please close the program that has it open (the "
                           "game, an editor) and try again",
                       MessageIcon::Critical, MessageButtons::Ok);
    return Flow::Failed;
}

Flow ReportFileFailure(WindowPort& window, const Failure& failure, const std::string& name) {
    if (failure.Number() == FileInUse) {
        return ReportFileInUse(window, failure, name);
    }
    if (failure.Number() == PermissionDenied && FolderForbidsChanges(name)) {
        window.ShowMessage("Protected Folder",
                           "The folder that holds " + name +
                               " is write protected - please un-protect the folder and try again",
                           MessageIcon::Critical, MessageButtons::Ok);
    } else if (failure.Number() == PermissionDenied) {
        window.ShowMessage("Protected File",
                           "The file " + name +
                               " is write protected - please delete or un-protect this file and try again",
                           MessageIcon::Critical, MessageButtons::Ok);
    } else {
        ShowUnexpectedError(window, failure);
    }
    return Flow::Failed;
}

} // namespace zorby

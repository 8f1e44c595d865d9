// A file the run could not change is named with the real cause: a file in use is no protected file.

#include "FileNotices.h"

#include "ErrorReport.h"
#include "FileHelpers.h"

namespace zorby {

namespace {

// The file a failure is about, as a player finds it in the folder: never the hidden temporary file of a
// replacement, which the player does not know.
std::string NameOf(const Failure& failure, const std::string& name) {
    const std::string& path = failure.File();
    const std::string leaf = path.substr(path.find_last_of("/\\") + 1);
    const bool temporary = leaf.starts_with('.') && leaf.find(".zorby-") != std::string::npos;
    return leaf.empty() || (temporary && !name.empty()) ? name : leaf;
}

Flow Notice(WindowPort& window, const char* title, const std::string& text, const std::string& file) {
    window.ShowRefusal(Refusal(text, file, 0, title));
    return Flow::Failed;
}

} // namespace

Flow ReportFileInUse(WindowPort& window, const Failure& failure, const std::string& name) {
    const std::string file = NameOf(failure, name);
    return Notice(
        window, "File In Use",
        (file.empty() ? std::string("A file of this folder") : "The file " + file) +
            " is in use by another program - please close the program that has it open (the game, an "
            "editor) and try again",
        file);
}

Flow ReportFileFailure(WindowPort& window, const Failure& failure, const std::string& name) {
    if (failure.Number() == FileInUse) {
        return ReportFileInUse(window, failure, name);
    }
    if (failure.Number() == PermissionDenied && FolderForbidsChanges(name)) {
        return Notice(window, "Protected Folder",
                      "The folder that holds " + name +
                          " is write protected - please un-protect the folder and try "
                          "again",
                      name);
    }
    if (failure.Number() == PermissionDenied) {
        return Notice(window, "Protected File",
                      "The file " + name +
                          " is write protected - please delete or un-protect this file and try again",
                      name);
    }
    ShowUnexpectedError(window, failure);
    return Flow::Failed;
}

} // namespace zorby

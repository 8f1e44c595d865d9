// Only plain files of the folder, still as they were read, are changed: never through a link.

#include "FolderChecks.h"

#include "FileHelpers.h"
#include "FileNames.h"

namespace zorby {

std::optional<Refusal> RefusalOfNonPlainFile(const char* name, Writing writing) {
    switch (KindOfEntry(name)) {
    case EntryKind::Missing:
        return std::nullopt;
    case EntryKind::RegularFile:
        if (writing == Writing::InPlace && StatusOfEntry(name).links > 1) {
            return Refusal(std::string(name) +
                               " has other names: it is a hard link to a file that stands "
                               "elsewhere too, and Zorby would change it there as well.\rNothing "
                               "was changed. Please put a file of its own in its place and run "
                               "Zorby again.",
                           name);
        }
        return std::nullopt;
    case EntryKind::Link:
        return Refusal(std::string(name) +
                           " is a symbolic link. Zorby changes only plain files in the custom UI "
                           "folder, never what a link points to.\rNothing was changed. Please put "
                           "the file itself in its place and run Zorby again.",
                       name);
    case EntryKind::Folder:
    case EntryKind::Other:
        break;
    }
    return Refusal(std::string(name) + " is not a plain file but a folder, a pipe or a device.\rNothing was "
                                       "changed. Please remove it and run Zorby again.",
                   name);
}

std::optional<Refusal> FindInputChangedSinceScan(const Workspace& ws) {
    struct Input {
        const char* shownName;
        const char* readName;
        const ScannedFile& scanned;
        bool rewritten; // the patch replaces it, so it must still be the plain file that was read
    };
    const Input inputs[] = {
        {names::kAnimationFile, ws.MainFileFromDefault ? names::kDefaultAnimationFile : names::kAnimationFile,
         ws.MainFile, true},
        {names::kAddOnTextures, names::kAddOnTexturesRead, ws.AddOnTextures.scanned, false},
        {names::kAddOnAnimations, names::kAddOnAnimationsRead, ws.AddOnAnimations.scanned, false},
    };
    for (const Input& input : inputs) {
        const bool noLongerPlain = input.rewritten && KindOfEntry(input.readName) != EntryKind::RegularFile;
        if (noLongerPlain || !Unchanged(input.readName, input.scanned.fingerprint)) {
            return Refusal(
                std::string(input.shownName) +
                    " has changed since Zorby started.\rNothing was changed. Please run Zorby again.",
                input.shownName);
        }
    }
    return std::nullopt;
}

Flow Refuse(WindowPort& window, const Refusal& refusal) {
    window.ShowRefusal(refusal);
    return Flow::Failed;
}

} // namespace zorby

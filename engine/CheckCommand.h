#pragma once

#include "PatchSummary.h"
#include "Refusal.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zorby {

// What a check of a folder found: the exit status (0 when "Patch!" would complete, 1 when it would be
// refused) and the text to print, its lines joined by a single carriage return.
struct CheckResult {
    int status = 1;
    std::string text;
};

// Runs the start-up checks, the scan, both merges and the read-back of what the patch would write on
// the current folder in memory and tells what "Patch!" would do, or why it would refuse, in the words the
// window would use. Changes nothing on disk.
CheckResult CheckCurrentFolder();

// A sheet an add-on animation draws from that the patched UI may lack: no TextureInfo of that title in
// the patched file, or no such file in the folder or in ..\default\. Never a reason to refuse.
struct SheetNote {
    std::string sheet;
    int line = 0; // the first line of Zor_Anim.txt that names it
    bool undescribed = false;
    std::string text;
};

// The check of one folder, for the text and the JSON reports.
struct FolderCheck {
    std::string folder; // as it was given
    CheckResult result;
    PatchSummary summary;           // when the patch would complete
    std::optional<Refusal> refusal; // the first refusal or notice that stops it, when one does
    std::vector<SheetNote> notes;   // when the patch would complete
};

// Checks `folder` as CheckCurrentFolder does and goes back; a folder that cannot be entered is refused.
FolderCheck CheckFolder(const std::string& folder);

// The report of several checks: each folder's block headed by its path, then "N of M would complete".
std::string ChecksAsText(const std::vector<FolderCheck>& checks);

// The same for scripts, as one JSON document in UTF-8. A byte of a title or a message that is not UTF-8
// is written as \udcXX, XX its value, the escape that Python's "surrogateescape" reads back as the byte.
std::string ChecksAsJson(const std::vector<FolderCheck>& checks);

} // namespace zorby

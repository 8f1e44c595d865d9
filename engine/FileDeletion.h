#pragma once

#include "TextFile.h"
#include "WindowPort.h"

#include <string>

namespace zorby {

enum class Deletion {
    Now,           // delete the file
    ByReplacement, // the caller replaces the file in one step later; only make sure it could be deleted
};

// Deletes a file and handles its own failures: a protected file gets the "Protected File" notice, a
// folder whose entries cannot be changed a notice that says so, any other failure the unexpected-error
// report. After any of them it returns Flow::Failed: the run is over.
//
// With `unchangedFrom`, a file that no longer holds what that fingerprint says is not deleted: the player
// is told that it stays, and the run goes on.
Flow DeleteFile(WindowPort& window, const std::string& name, Deletion how = Deletion::Now,
                const FileFingerprint* unchangedFrom = nullptr);

} // namespace zorby

#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zorby {

// What the program's arguments ask of it.
struct StartRequest {
    bool window = false; // open the window, on the current folder as the command line left it
    int status = 0;      // otherwise the exit status
    // Arguments that cannot be used, in words for a box: a player who dropped a folder on the program, or
    // started it from a shortcut, has no console to read the usage in.
    std::string problem;
};

// The command line without the program's name:
// - nothing: the window, in the current folder, or in the program's own folder when that one is a custom
//   UI folder and the current one is not (a shortcut whose start folder is elsewhere);
// - FOLDER, or a file in it: the window on that folder, as if started there;
// - --check [--format text|json] [FOLDER...]: what "Patch!" would do in each folder, changing nothing;
//   exit status 0 when every patch would complete, 1 when any would be refused;
// - --help, --version.
// Anything else is a usage error (status 2). Prints to `out`, usage errors to `err`.
StartRequest RunCommandLine(const std::vector<std::string>& arguments, const std::string& programFolder,
                            std::ostream& out, std::ostream& err);

} // namespace zorby

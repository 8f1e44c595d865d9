#pragma once

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

// Runs the start-up checks, the scan and both merges on the current folder in memory and tells what
// "Patch!" would do, or why it would refuse, in the words the window would use. Changes nothing on disk.
CheckResult CheckCurrentFolder();

// The command line of Zorby without the program name: --check [FOLDER], --help or --version. Prints to
// `out` (usage errors to `err`) and returns the exit status: 0, 1 as the check found, 2 for a usage
// error. Nothing when there are no arguments: the program is the window.
std::optional<int> RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out,
                                  std::ostream& err);

} // namespace zorby

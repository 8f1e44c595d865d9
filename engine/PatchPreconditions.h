#pragma once

#include "Workspace.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zorby {

// Why the lists cannot be patched safely, or nothing when they can; decided from what the scan found,
// before any list changes:
// - no input file was too large or in a wide encoding (UTF-16, UTF-32) to read as lines;
// - EQUI_Animations.xml has no defect that the scan noted (an element or a comment left open, an element
//   opened inside another);
// - each add-on file splits into items (see SplitAddOnLines);
// - no element replaced shares a line with half of a comment.
// A malformed file would otherwise make the merge swallow, misplace or lose lines.
std::optional<Refusal> FindPatchRefusal(const Workspace& workspace);

// Why EQUI_Animations.xml cannot be patched, in the player's words, for a defect the scan noted.
// With the line of the defect.
Refusal DescribeDefect(const MainFileDefect& defect);

// "70 MB, more than the 64 MB that Zorby can read", for a file of `size` bytes.
std::string SizePastTheReadLimit(std::uint64_t size);

// The refusal of a patch that would take `what` ("its textures") to `lines` lines, past what a list
// holds, with the advice to make `biggerFile` smaller. `nextRun`: it is the next run that could not read
// the file, not even to restore it.
Refusal TooManyLinesRefusal(const std::string& what, std::size_t lines, const std::string& biggerFile,
                            bool nextRun);

} // namespace zorby

#pragma once

#include "Workspace.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zorby {

// Why the lists cannot be patched safely, or nothing when they can. Checked before any list changes:
// - no input file was too large or in a wide encoding (UTF-16, UTF-32) to read as lines;
// - every add-on item starts with an opening line of its kind (comment lines and comment blocks may
//   stand in front of it) and ends with a closing line before another element of its kind opens; no
//   comment block is left open, and nothing inside one counts as an opening or closing line;
// - one stray line after the last item is dropped, unless it starts an element;
// - EQUI_Animations.xml has no defect that the scan noted (an element or a comment left open, an
//   element opened inside another of its kind).
// A malformed file would otherwise make the merge swallow, misplace or lose lines.
std::optional<std::string> FindPatchRefusal(const Workspace& workspace);

// "70 MB, more than the 64 MB that Zorby can read", for a file of `size` bytes.
std::string SizePastTheReadLimit(std::uint64_t size);

} // namespace zorby

#pragma once

#include "Workspace.h"

#include <optional>
#include <string>

namespace zorby {

// Why the lists cannot be patched safely, or nothing when they can. Checked before any list changes:
// every add-on item must start with an opening line of its kind (comment lines may stand in front of
// it) and end with a closing line, before another element of its kind opens; one stray line after the
// last item is dropped unless it starts an element; and EQUI_Animations.xml must have no defect that
// the scan noted (an element or comment left open, an element opened inside another of its kind). A malformed file would otherwise make
// the merge swallow or misplace elements.
std::optional<std::string> FindPatchRefusal(const Workspace& workspace);

} // namespace zorby

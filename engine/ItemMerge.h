#pragma once

#include "PatchSummary.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <optional>
#include <string>

namespace zorby {

// Folds the add-on items of one kind into the existing elements, from what the scan found of them: an
// item whose title an element of EQUI_Animations.xml carries replaces the first element of that title,
// where it stands (a later item of the same title replaces the earlier one); the other items stay in the
// add-on list, in their order. When `progress` is given it is redrawn at the start of every item and its
// bar follows the add-on lines consumed, ending at 100. Every item is noted in `record` as replacing or
// added, with where its lines now stand.
// A list that would pass the 32,768 lines it can hold is refused, in the player's words; the lists are
// then as they were.
std::optional<Refusal> MergeItems(Workspace& workspace, ElementKind kind, WindowPort* progress,
                                  MergeRecord& record);

std::optional<Refusal> MergeTextures(Workspace& workspace, MergeRecord& record);
std::optional<Refusal> MergeAnimations(Workspace& workspace, WindowPort& window, MergeRecord& record);

} // namespace zorby

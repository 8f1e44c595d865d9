#pragma once

#include "PatchSummary.h"
#include "Workspace.h"

#include <array>
#include <optional>
#include <string>

namespace zorby {

// The lists that make the new EQUI_Animations.xml, in the order they are written.
inline std::array<const LineList*, 6> OutputLists(const Workspace& ws) {
    return {&ws.Header,        &ws.AllTextures,      &ws.AllZorTextures,
            &ws.AllAnimations, &ws.AllZorAnimations, &ws.MiscItems};
}

// The bytes a patch writes as EQUI_Animations.xml: the byte-order mark the file began with, if any, then
// every line of OutputLists followed by CR LF.
std::string PatchOutputBytes(const Workspace& workspace);

// Why the next start could not take `bytes` as EQUI_Animations.xml, found by reading them back the way it
// will: the same reading of a text file, the same scan, the same limits. Told in the player's words,
// naming the add-on line at fault where one is (`summary` says where the merges put each add-on line).
// Nothing when the next start could read them and patch them again.
std::optional<Refusal> FindNextStartRefusal(const Workspace& workspace, const PatchSummary& summary,
                                            const std::string& bytes);

} // namespace zorby

#include "Workspace.h"

namespace zorby {

Workspace::Workspace() {
    ZorAnimations.Set(0, "ZorAnimations");
}

std::array<LineList*, 14> Workspace::AllLists() {
    return {&Header,         &AllTextures,      &AllAnimations,      &MiscItems,
            &Textures,       &Animations,       &AllTexturesTemp,    &AllAnimationsTemp,
            &AllZorTextures, &AllZorAnimations, &AllZorTexturesTemp, &AllZorAnimationsTemp,
            &ZorTextures,    &ZorAnimations};
}

} // namespace zorby

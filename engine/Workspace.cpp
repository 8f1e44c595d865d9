// One run's fourteen lists and what the scan found of them, reached by kind where kinds are alike.

#include "Workspace.h"

namespace zorby {

namespace {

template <typename Lists, typename Space> Lists ListsOf(Space& ws, ElementKind kind) {
    if (kind == ElementKind::Texture) {
        return {ws.Textures,       ws.AllTextures,        ws.AllTexturesTemp, ws.TextureElements,
                ws.AllZorTextures, ws.AllZorTexturesTemp, ws.ZorTextures,     ws.AddOnTextures};
    }
    return {ws.Animations,       ws.AllAnimations,        ws.AllAnimationsTemp, ws.AnimationElements,
            ws.AllZorAnimations, ws.AllZorAnimationsTemp, ws.ZorAnimations,     ws.AddOnAnimations};
}

} // namespace

Workspace::Workspace() {
    ZorAnimations.Set(0, "ZorAnimations");
}

KindLists Workspace::Of(ElementKind kind) {
    return ListsOf<KindLists>(*this, kind);
}

ConstKindLists Workspace::Of(ElementKind kind) const {
    return ListsOf<ConstKindLists>(*this, kind);
}

} // namespace zorby

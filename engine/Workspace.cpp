#include "Workspace.h"

namespace zorby {

Workspace::Workspace() {
    ZorAnimations.Set(0, "ZorAnimations");
}

} // namespace zorby

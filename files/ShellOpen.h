#pragma once

#include <string>

namespace zorby {

// The desktop's opener for links and documents ("xdg-open" here).
std::string DefaultOpener();

// Hands `target` as one argument to the opener, never through a shell, and returns without waiting for
// it. Returns a value above 32 when the opener was started and 32 or less when it could not be.
int ShellOpen(const std::string& target, const std::string& opener = DefaultOpener());

} // namespace zorby

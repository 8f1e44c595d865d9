#pragma once

#include "LineList.h"

#include <string>
#include <vector>

namespace zorby::testing {

// The lines of a list as strings of their own, to compare with expected lines.
inline std::vector<std::string> Strings(const LineList& list) {
    return {list.Lines().begin(), list.Lines().end()};
}

} // namespace zorby::testing

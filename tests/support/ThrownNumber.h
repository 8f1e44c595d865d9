#pragma once

#include "Failure.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace zorby::testing {

// The number of the Failure that `step` throws, or 0 when it throws none.
template <typename Step> int ThrownNumber(Step step) {
    try {
        step();
    } catch (const Failure& failure) {
        return failure.Number();
    }
    return 0;
}

// The names in a folder, sorted: shows stray temporary files and entries doubled under another case.
inline std::vector<std::string> ListFolder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace zorby::testing

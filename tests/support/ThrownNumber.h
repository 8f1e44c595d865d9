#pragma once

#include "Failure.h"

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

} // namespace zorby::testing

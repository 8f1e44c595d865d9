#pragma once

#include "Failure.h"
#include "WindowPort.h"

#include <string>

namespace zorby {

// Builds the mailto: link of an error report. Not percent-encoded: the pieces are joined as they are.
std::string BuildMailLink(int number, const std::string& description);

// The unexpected-error report: the failure's number and description, then the offer to e-mail it.
// The caller ends the run afterwards.
void ShowUnexpectedError(WindowPort& window, const Failure& failure);

} // namespace zorby

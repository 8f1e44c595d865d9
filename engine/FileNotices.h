#pragma once

#include "Failure.h"
#include "WindowPort.h"

#include <string>

namespace zorby {

// Tells the player why a file could not be changed, in words for the cause: another program holds it
// open, it or its folder is write protected, or, for any other failure, the unexpected-error report.
// `name` is the file as the tool names it; a failure that knows which file it is about names that one.
// Returns Flow::Failed: the run is over.
Flow ReportFileFailure(WindowPort& window, const Failure& failure, const std::string& name);

// The notice of a file that another program holds open. Returns Flow::Failed.
Flow ReportFileInUse(WindowPort& window, const Failure& failure, const std::string& name = {});

} // namespace zorby

// A failure no other handler has words for is shown by number and description, and may be mailed.

#include "ErrorReport.h"

#include "Contacts.h"
#include "Version.h"

namespace zorby {

std::string BuildMailLink(int number, const std::string& description) {
    return std::string("mailto:") + contacts::kReportAddresses + "?subject=Zorby EXE ERROR" +
           "&body= <-- Please include a description of what happened immediately before the error -- Error "
           "Number:" +
           std::to_string(number) + " -- Description: " + description +
           " -- Zorby.exe Version: " + version::kShort;
}

void ShowUnexpectedError(WindowPort& window, const Failure& failure) {
    // A single CR is the window's line break.
    window.ShowMessage("Unexpected Error",
                       "Error Number: " + std::to_string(failure.Number()) + "\r" +
                           "Description: " + failure.Description() + "\r",
                       MessageIcon::Critical, MessageButtons::Ok);
    const Answer answer = window.ShowMessage("Confirm", "Attempt to E-Mail this error to Kestrin?",
                                             MessageIcon::None, MessageButtons::YesNo);
    if (answer == Answer::Yes) {
        window.OpenLink(BuildMailLink(failure.Number(), failure.Description()));
    }
}

} // namespace zorby

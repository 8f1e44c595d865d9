#include "ErrorReport.h"

#include "FakeWindow.h"

#include <gtest/gtest.h>

namespace zorby {
namespace {

using testing::FakeWindow;

TEST(ShowUnexpectedError, ShowsTheFailureThenOffersToMailIt) {
    FakeWindow window;
    window.answers = {Answer::Yes};

    ShowUnexpectedError(window, Failure(DiskFull));

    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_EQ(window.messages[0].title, "Unexpected Error");
    EXPECT_EQ(window.messages[0].text, "Error Number: 61\rDescription: Disk full\r");
    EXPECT_EQ(window.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(window.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(window.messages[1].title, "Confirm");
    EXPECT_EQ(window.messages[1].text, "Attempt to E-Mail this error to Kestrin?");
    EXPECT_EQ(window.messages[1].icon, MessageIcon::None);
    EXPECT_EQ(window.messages[1].buttons, MessageButtons::YesNo);
    EXPECT_EQ(window.links, std::vector<std::string>{BuildMailLink(61, "Disk full")});
}

TEST(BuildMailLink, JoinsThePiecesUnencoded) {
    EXPECT_EQ(BuildMailLink(-2147, "Tom & Jerry #1"),
              "mailto:kestrin@example.org;zorby-errors@example.org?subject=Zorby EXE ERROR&body= <-- Please "
              "include a description of what happened immediately before the error -- Error Number:-2147 -- "
              "Description: Tom & Jerry #1 -- Zorby.exe Version: 3.0");
    const std::string emptyDescription = BuildMailLink(5, "");
    EXPECT_TRUE(emptyDescription.ends_with(" -- Error Number:5 -- Description:  -- Zorby.exe Version: 3.0"))
        << emptyDescription;
}

} // namespace
} // namespace zorby

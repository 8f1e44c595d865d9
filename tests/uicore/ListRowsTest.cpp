#include "ListRows.h"

#include <gtest/gtest.h>
#include <string>

namespace zorby::ui {
namespace {

TEST(ListRows, LineBreaksAsTheBoxWantsThem) {
    EXPECT_EQ(WithLineBreaks("Error Number: 53\rDescription: x\r", "\r\n"),
              "Error Number: 53\r\nDescription: x\r\n");
    EXPECT_EQ(WithLineBreaks("a\r\nb\rc", "\n"), "a\r\nb\nc") << "a CR LF stays as it is";
}

} // namespace
} // namespace zorby::ui

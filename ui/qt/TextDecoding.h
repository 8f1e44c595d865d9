#pragma once

#include <QString>
#include <string_view>

namespace zorby::ui {

// Lines stay bytes in the engine; only the window turns them into text, to show them. Files saved as
// UTF-8 read as such, anything else as an 8-bit code page.
QString DecodeForDisplay(std::string_view bytes);

// A message text as the engine writes it, with a lone carriage return for each line break.
QString DecodeMessage(std::string_view bytes);

} // namespace zorby::ui

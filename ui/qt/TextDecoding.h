#pragma once

#include <QString>
#include <string_view>

namespace zorby::ui {

// Lines stay bytes in the engine; only the window turns them into text, to show them. Files saved as
// UTF-8 read as such, anything else as an 8-bit code page.
QString TextFromLine(std::string_view bytes);

// A message text as the engine writes it, with a lone carriage return for each line break: our words in
// UTF-8 beside quoted lines in either encoding, so each UTF-8 sequence reads as its character and every
// other byte as Latin-1.
QString TextFromMessage(std::string_view bytes);

} // namespace zorby::ui

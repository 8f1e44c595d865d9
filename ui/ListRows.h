#pragma once

#include "LineList.h"

#include <string>
#include <string_view>

// The rows a list shows of its lines, and which of them is the widest, whatever draws them.
namespace zorby::ui {

// A list would stretch tabs to wide stops; a few spaces show the indentation readably.
inline constexpr int kTabColumns = 4;

// How a front end turns a line's bytes into characters.
enum class LineEncoding {
    Utf8OrLatin1, // UTF-8 when the line is valid UTF-8, otherwise a character a byte
    CodePage,     // the system's 8-bit code page: a character a byte
};

bool IsUtf8(std::string_view bytes);

// The row's bytes: the line with each tab as kTabColumns spaces.
std::string RowText(std::string_view line);

// How many characters the row of `line` shows.
int ShownColumns(std::string_view line, LineEncoding encoding);

// A message text with each lone carriage return (the engine's line break) written as `lineBreak`.
std::string WithLineBreaks(std::string_view text, std::string_view lineBreak);

// Follows the widest row of one list as lines arrive. In a fixed-pitch font the row with the most
// characters is the widest, so measuring that one row sizes the whole list; it is found by counting,
// never by measuring text. Lines appended and replaced are weighed as they come; the list is counted
// again after a reset or when the widest line itself is replaced.
class WidestLine {
public:
    explicit WidestLine(LineEncoding encoding) : encoding_(encoding) {}

    // The widest row, -1 for an empty list.
    int Of(const LineList& list);
    void Appended(const LineList& list);
    void Replaced(const LineList& list, int row);
    void Reset() { known_ = false; }

private:
    void Consider(const LineList& list, int row);

    LineEncoding encoding_;
    int row_ = -1;
    int columns_ = -1;
    bool known_ = false; // the list may hold lines already
};

} // namespace zorby::ui

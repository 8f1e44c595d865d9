#pragma once

#include <string>
#include <string_view>

// What a message box shows of an engine text, whatever draws the box.
namespace zorby::ui {

// How a front end reads bytes that are not UTF-8: as the system's 8-bit code page has them.
using OtherBytes = std::u16string (*)(std::string_view bytes);

// Each byte as the character of its number.
std::u16string Latin1(std::string_view bytes);

// An engine text as characters. The engine's own words are ASCII or UTF-8, and the lines it quotes from
// the player's files may be UTF-8 or the system's code page, all in one text: every well-formed UTF-8
// sequence reads as its character, every run of other bytes as `otherBytes` reads it.
std::u16string MessageCharacters(std::string_view bytes, OtherBytes otherBytes);

// How much text a box shows: `rows` rows of `columns` characters.
struct BoxLimits {
    int rows;
    int columns;
    friend bool operator==(const BoxLimits&, const BoxLimits&) = default;
};

struct BoxSize {
    int width;
    int height;
};

// The limits to try next after a box built with `tried` came out `size` large for a `room` that size
// does not fit: fewer columns when it is too wide, fewer rows when it is too high. The same limits back
// when there is nothing left to take away.
BoxLimits ShrunkToFit(BoxLimits tried, BoxSize size, BoxSize room);

// `text` cut to what a box of `limits` shows, wrapped at spaces as a box wraps it: a word longer than a
// row and whatever goes past the last row are cut off, and "…" ends each cut. Line breaks (CR LF, a lone
// CR or LF) are written as `lineBreak`. Cutting first keeps a box of a huge text quick to build.
std::u16string FitMessage(std::u16string_view text, BoxLimits limits, std::u16string_view lineBreak);

} // namespace zorby::ui

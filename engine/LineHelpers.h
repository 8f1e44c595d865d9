#pragma once

#include <span>
#include <string>
#include <string_view>

// Small operations on one line of text. Lines are bytes; only tab, space and the double quote are
// special. Failures are thrown as zorby::Failure.
namespace zorby {

// The largest 16-bit signed number, which bounds the counts and positions of these helpers and every
// index of a line list.
inline constexpr int kLargest16Bit = 32767;

// Every tab replaced by one space; the length stays the same.
std::string TabTrim(std::string_view line);

// Leading and trailing spaces removed (spaces only; tabs stay).
std::string TTrim(std::string_view line);

// Leading spaces turned into tabs: one tab per space below eight spaces, one tab per whole eight from
// eight upward. Fails with 6 for more than 32,767 leading spaces. Done on the line's own bytes, which only
// ever shrinks it: the tabs are written just before the text, and the re-indented line is the view
// returned. The scan re-indents every line it keeps.
std::string_view SidlWidlInPlace(std::span<char> line);

// The test form of a raw line: tabs turned into spaces, then leading spaces removed. A view into `line`
// when no tab follows its indentation, otherwise a view of `buffer`, which holds the copy. The scan makes
// one for every line it reads.
std::string_view TestFormView(std::string_view line, std::string& buffer);

// Where the text of a line starts: the length of its indentation of spaces and tabs. Every line read is
// asked, and real lines are indented by a few blanks: a plain loop, inline.
inline std::size_t IndentOf(std::string_view line) {
    std::size_t indent = 0;
    while (indent < line.size() && (line[indent] == ' ' || line[indent] == '\t')) {
        ++indent;
    }
    return indent;
}

// True when `line` begins with `prefix`, compared exactly.
inline bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

} // namespace zorby

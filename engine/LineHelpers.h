#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// Small operations on one line of text. Lines are bytes; only tab, space and the double quote are
// special. Failures are thrown as zorby::Failure.
namespace zorby {

// Every tab replaced by one space; the length stays the same.
std::string TabTrim(std::string_view line);

// Leading and trailing spaces removed (spaces only; tabs stay).
std::string TTrim(std::string_view line);

// The text after the first double quote, without the line's last two characters:
// `<TextureInfo item="abc">` gives `abc`. Fails with 5 when that count is negative (an empty or
// one-character line, or a first quote among the last two characters) and with 6 when the first quote
// lies at position 32,767 or later.
std::string GetTitle(std::string_view line);

// The value of the line's item attribute: the text between the quote that follows `item` (after optional
// blanks, `=` and blanks) and the next quote of the same kind. `item` stands after a blank or right after
// the closing quote of another attribute (`name="n"item="P"`). Nothing when the line has no such value,
// and nothing for a comment line: what it quotes names no element.
std::optional<std::string_view> ItemAttributeValue(std::string_view line);

// The title of an element from its opening line: the value of its item attribute, so that
// `item = 'abc' >` and `item="abc">` with trailing blanks both give `abc`. A line without such a value
// has GetTitle's text, and fails as GetTitle does.
std::string ElementTitle(std::string_view line);

// Leading spaces turned into tabs: one tab per space below eight spaces, one tab per whole eight from
// eight upward. Fails with 6 for more than 32,767 leading spaces. Done on the line's own bytes, which only
// ever shrinks it: the tabs are written just before the text, and the re-indented line is the view
// returned. The scan re-indents every line it keeps.
std::string_view SidlWidlInPlace(std::span<char> line);

// The test form of a raw line: tabs turned into spaces, then leading spaces removed. A view into `line`
// when no tab follows its indentation, otherwise a view of `buffer`, which holds the copy. The scan makes
// one for every line it reads.
std::string_view TestFormView(std::string_view line, std::string& buffer);

// Where the text of a line starts: the length of its indentation of spaces and tabs.
std::size_t IndentOf(std::string_view line);
// Whether the test form of `line` begins with `prefix`, without making the test form.
bool TestFormStartsWith(std::string_view line, std::string_view prefix);

// True when `line` begins with `prefix`, compared exactly.
inline bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

} // namespace zorby

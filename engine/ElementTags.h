#pragma once

#include <string_view>

// How the tool recognises the two kinds of element, always on whole lines.
namespace zorby::tags {

inline constexpr std::string_view kAnimationOpening = "<Ui2DAnimation ";
inline constexpr std::string_view kAnimationClosing = "</Ui2DAnimation>";
// The element name, one space and the first two letters of the attribute that carries the title.
inline constexpr std::string_view kTextureOpening = "<TextureInfo it";
inline constexpr std::string_view kTextureClosing = "</TextureInfo>";
inline constexpr std::string_view kComment = "<!--";
inline constexpr std::string_view kCommentEnd = "-->";
inline constexpr std::string_view kSchema = "<Schema";

// True when the line, with tabs and spaces around it ignored, is exactly `tag`. Letter case counts.
inline bool IsClosingLine(std::string_view line, std::string_view tag) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t first = 0;
    std::size_t end = line.size();
    while (first < end && blank(line[first])) {
        ++first;
    }
    while (end > first && blank(line[end - 1])) {
        --end;
    }
    return line.substr(first, end - first) == tag;
}

// True when the line, with tabs and spaces at its end ignored, ends with `tag`. An opening line that does
// holds a whole element on one line.
inline bool EndsWithClosingTag(std::string_view line, std::string_view tag) {
    std::size_t end = line.size();
    while (end > 0 && (line[end - 1] == ' ' || line[end - 1] == '\t')) {
        --end;
    }
    return line.substr(0, end).ends_with(tag);
}

} // namespace zorby::tags

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
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return tag.empty();
    }
    const auto last = line.find_last_not_of(" \t");
    return line.substr(first, last - first + 1) == tag;
}

} // namespace zorby::tags

#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Line handling written out again, apart from the engine's, so that the structural checks of the fuzz
// target do not lean on the code they check.
namespace zorby::fuzzing {

// CR LF, a lone CR and a lone LF each end a line; the last line needs none.
inline std::vector<std::string> PlainLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string current;
    bool open = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            continue;
        }
        current += c;
        open = true;
    }
    if (open) {
        lines.push_back(std::move(current));
    }
    return lines;
}

// The line without its leading tabs and spaces, every other tab turned into a space.
inline std::string PlainTestForm(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    std::string form(first == std::string_view::npos ? std::string_view() : line.substr(first));
    std::replace(form.begin(), form.end(), '\t', ' ');
    return form;
}

// The line without the tabs and spaces around it, as a closing line is compared.
inline std::string_view PlainTrimmed(std::string_view line) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// Leading spaces as the tool re-indents them: below eight, one tab each; from eight, one per eight.
inline std::string PlainReindent(std::string_view line) {
    const auto first = line.find_first_not_of(' ');
    const std::size_t spaces = first == std::string_view::npos ? line.size() : first;
    const std::size_t tabs = spaces < 8 ? spaces : spaces / 8;
    return std::string(tabs, '\t').append(line.substr(spaces));
}

// The title the tool compares for a line: the text after the first double quote without the line's
// last two characters (the line without its last two characters when there is no quote). None when
// the line is too short for that.
inline std::optional<std::string> PlainTitle(std::string_view line) {
    const auto quote = line.find('"');
    const std::size_t start = quote == std::string_view::npos ? 0 : quote + 1;
    if (line.size() < start + 2) {
        return std::nullopt;
    }
    return std::string(line.substr(start, line.size() - 2 - start));
}

// Splits a file the tool wrote: every line must end in CR LF, and no line may hold another CR or LF.
// Returns false when the bytes are not of that form.
inline bool SplitCrLfLines(std::string_view bytes, std::vector<std::string>& lines) {
    lines.clear();
    while (!bytes.empty()) {
        const auto end = bytes.find("\r\n");
        if (end == std::string_view::npos) {
            return false;
        }
        const std::string_view line = bytes.substr(0, end);
        if (line.find_first_of("\r\n") != std::string_view::npos) {
            return false;
        }
        lines.emplace_back(line);
        bytes.remove_prefix(end + 2);
    }
    return true;
}

// Lines that may belong to a comment: a line whose test form starts with "<!--", and every line after
// one whose comment is not closed on it ("-->" after the opening four characters), up to the first line
// holding "-->". Wider than what the tool keeps raw, since the tool ignores where a comment starts
// inside the head or an element; no comment start is left out.
inline std::vector<bool> CommentLines(const std::vector<std::string>& lines) {
    std::vector<bool> inComment(lines.size(), false);
    bool open = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string form = PlainTestForm(lines[i]);
        const bool opening = form.starts_with("<!--");
        inComment[i] = opening || open;
        const bool stillOpen = open && form.find("-->") == std::string::npos;
        open = stillOpen || (opening && form.find("-->", 4) == std::string::npos);
    }
    return inComment;
}

} // namespace zorby::fuzzing

#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Line handling written out again, apart from the engine's, so that the expected trace does not lean on
// the code it checks.
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

} // namespace zorby::fuzzing

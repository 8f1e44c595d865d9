// Small operations on the bytes of one line: only tab, space and the double quote are special.

#include "LineHelpers.h"

#include "Failure.h"

#include <algorithm>

namespace zorby {

std::string TabTrim(std::string_view line) {
    std::string copy(line);
    std::replace(copy.begin(), copy.end(), '\t', ' ');
    return copy;
}

std::string TTrim(std::string_view line) {
    const auto first = line.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = line.find_last_not_of(' ');
    return std::string(line.substr(first, last - first + 1));
}

std::string_view SidlWidlInPlace(std::span<char> line) {
    std::size_t spaces = 0;
    while (spaces < line.size() && line[spaces] == ' ') {
        ++spaces;
    }
    if (spaces > static_cast<std::size_t>(kLargest16Bit)) {
        throw Failure(Overflow);
    }
    const std::size_t tabs = spaces < 8 ? spaces : spaces / 8;
    std::char_traits<char>::assign(line.data() + spaces - tabs, tabs, '\t');
    return {line.data() + spaces - tabs, line.size() - (spaces - tabs)};
}

std::string_view TestFormView(std::string_view line, std::string& buffer) {
    const std::string_view rest = line.substr(IndentOf(line));
    if (rest.find('\t') == std::string_view::npos) {
        return rest;
    }
    buffer.assign(rest);
    std::replace(buffer.begin(), buffer.end(), '\t', ' ');
    return buffer;
}

} // namespace zorby

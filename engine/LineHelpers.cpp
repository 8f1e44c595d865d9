#include "LineHelpers.h"

#include "ElementTags.h"
#include "Failure.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace zorby {

namespace {
constexpr std::size_t kInt16Max = 32767;
}

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

std::string GetTitle(std::string_view line) {
    const auto quote = line.find('"');
    // 1-based position of the first quote, 0 when there is none.
    const std::size_t q = quote == std::string_view::npos ? 0 : quote + 1;
    if (q + 1 > kInt16Max) {
        throw Failure(Overflow);
    }
    const auto start = static_cast<long long>(q) + 1;
    const auto count = static_cast<long long>(line.size()) - 1 - start;
    if (count < 0) {
        throw Failure(InvalidArgument);
    }
    return std::string(line.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

std::optional<std::string_view> ItemAttributeValue(std::string_view line) {
    constexpr std::string_view kName = "item";
    // Most lines carry no attribute at all.
    if (line.find('"') == std::string_view::npos && line.find('\'') == std::string_view::npos) {
        return std::nullopt;
    }
    if (line.substr(IndentOf(line)).starts_with(tags::kComment)) {
        return std::nullopt;
    }
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    // The quote just before `at` closes a value when the line holds an even number of them up to it.
    const auto closesValue = [&](std::size_t at) {
        const char quote = line[at - 1];
        return (quote == '"' || quote == '\'') &&
               std::count(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(at), quote) % 2 == 0;
    };
    for (std::size_t at = line.find(kName); at != std::string_view::npos; at = line.find(kName, at + 1)) {
        // A whole attribute name: a blank or the closing quote of another value before it, then `=`
        // after optional blanks.
        if (at == 0 || !(blank(line[at - 1]) || closesValue(at))) {
            continue;
        }
        std::size_t x = at + kName.size();
        while (x < line.size() && blank(line[x])) {
            ++x;
        }
        if (x == line.size() || line[x] != '=') {
            continue;
        }
        do {
            ++x;
        } while (x < line.size() && blank(line[x]));
        if (x == line.size() || (line[x] != '"' && line[x] != '\'')) {
            continue;
        }
        const std::size_t end = line.find(line[x], x + 1);
        if (end != std::string_view::npos) {
            return line.substr(x + 1, end - x - 1);
        }
    }
    return std::nullopt;
}

std::string ElementTitle(std::string_view line) {
    if (const auto value = ItemAttributeValue(line)) {
        return std::string(*value);
    }
    return GetTitle(line);
}

std::string_view SidlWidlInPlace(std::span<char> line) {
    std::size_t spaces = 0;
    while (spaces < line.size() && line[spaces] == ' ') {
        ++spaces;
    }
    if (spaces > kInt16Max) {
        throw Failure(Overflow);
    }
    const std::size_t tabs = spaces < 8 ? spaces : spaces / 8;
    std::fill(line.begin() + static_cast<std::ptrdiff_t>(spaces - tabs),
              line.begin() + static_cast<std::ptrdiff_t>(spaces), '\t');
    return {line.data() + spaces - tabs, line.size() - (spaces - tabs)};
}

std::size_t IndentOf(std::string_view line) {
    // Real files indent deeply; eight bytes at a time: the high bit of each byte of `zero(x)` is set
    // exactly where x has a zero byte.
    constexpr std::uint64_t kLow = 0x7F7F7F7F7F7F7F7FU;
    constexpr std::uint64_t kHigh = 0x8080808080808080U;
    const auto zero = [](std::uint64_t x) { return ~(((x & kLow) + kLow) | x | kLow); };
    std::size_t indent = 0;
    for (; std::endian::native == std::endian::little && indent + 8 <= line.size(); indent += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, line.data() + indent, 8);
        const std::uint64_t blank = zero(word ^ 0x2020202020202020U) | zero(word ^ 0x0909090909090909U);
        if (blank != kHigh) {
            // Bytes are loaded little-endian first: the lowest unset high bit is the first other byte.
            return indent + static_cast<std::size_t>(std::countr_zero(~blank & kHigh)) / 8;
        }
    }
    while (indent < line.size() && (line[indent] == ' ' || line[indent] == '\t')) {
        ++indent;
    }
    return indent;
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

bool TestFormStartsWith(std::string_view line, std::string_view prefix) {
    const std::string_view rest = line.substr(IndentOf(line));
    if (rest.size() < prefix.size()) {
        return false;
    }
    for (std::size_t x = 0; x < prefix.size(); ++x) {
        if ((rest[x] == '\t' ? ' ' : rest[x]) != prefix[x]) {
            return false;
        }
    }
    return true;
}

} // namespace zorby

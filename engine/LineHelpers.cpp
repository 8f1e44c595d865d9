#include "LineHelpers.h"

#include "Failure.h"

#include <algorithm>

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

std::string Tabs(int count) {
    return count > 0 ? std::string(static_cast<std::size_t>(count), '\t') : std::string();
}

std::string SidlWidl(std::string_view line) {
    const auto firstOther = line.find_first_not_of(' ');
    const std::size_t spaces = firstOther == std::string_view::npos ? line.size() : firstOther;
    if (spaces > kInt16Max) {
        throw Failure(Overflow);
    }
    const std::size_t tabs = spaces < 8 ? spaces : spaces / 8;
    std::string result;
    result.reserve(tabs + line.size() - spaces);
    result.append(tabs, '\t').append(line.substr(spaces));
    return result;
}

std::string TestForm(std::string_view line) {
    std::string form;
    TestFormInto(line, form);
    return form;
}

void TestFormInto(std::string_view line, std::string& form) {
    const auto first = line.find_first_not_of(" \t");
    form.assign(first == std::string_view::npos ? std::string_view() : line.substr(first));
    std::replace(form.begin(), form.end(), '\t', ' ');
}

} // namespace zorby

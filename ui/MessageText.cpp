#include "MessageText.h"

#include "Utf8.h"

#include <algorithm>
#include <cstdint>

namespace zorby::ui {

namespace {

constexpr char16_t kEllipsis = u'\u2026';

void Append(std::u16string& text, char32_t code) {
    if (code < 0x10000) {
        text.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        text.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

bool IsBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t';
}

// The text as kept so far, ended by the mark of a cut.
std::u16string& EndCut(std::u16string& text) {
    while (!text.empty() && IsSpace(text.back())) {
        text.pop_back();
    }
    text.push_back(kEllipsis);
    return text;
}

// The first `units` of `word`, not splitting a surrogate pair.
std::u16string_view Head(std::u16string_view word, std::size_t units) {
    if (units > 0 && word[units - 1] >= 0xD800 && word[units - 1] <= 0xDBFF) {
        --units;
    }
    return word.substr(0, units);
}

int Shrunk(int tried, int size, int room) {
    const auto scaled = static_cast<int>(std::int64_t{tried} * room / size);
    return std::max(1, std::min(tried - 1, scaled));
}

} // namespace

std::u16string Latin1(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    std::transform(bytes.begin(), bytes.end(), text.begin(),
                   [](char byte) { return static_cast<char16_t>(static_cast<unsigned char>(byte)); });
    return text;
}

std::u16string MessageCharacters(std::string_view bytes, OtherBytes otherBytes) {
    std::u16string text;
    text.reserve(bytes.size());
    char32_t code = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        if (const std::size_t length = Utf8SequenceAt(bytes, i, code); length > 0) {
            Append(text, code);
            i += length;
            continue;
        }
        std::size_t end = i + 1;
        while (end < bytes.size() && Utf8SequenceAt(bytes, end, code) == 0) {
            ++end;
        }
        text += otherBytes(bytes.substr(i, end - i));
        i = end;
    }
    return text;
}

BoxLimits ShrunkToFit(BoxLimits tried, BoxSize size, BoxSize room) {
    BoxLimits next = tried;
    if (size.width > room.width && tried.columns > 1) {
        next.columns = Shrunk(tried.columns, size.width, room.width);
    }
    if (size.height > room.height && tried.rows > 1) {
        next.rows = Shrunk(tried.rows, size.height, room.height);
    }
    return next;
}

std::u16string FitMessage(std::u16string_view text, BoxLimits limits, std::u16string_view lineBreak) {
    const auto columns = static_cast<std::size_t>(std::max(2, limits.columns));
    const int rows = std::max(1, limits.rows);
    std::u16string fitted;
    int row = 1;
    std::size_t column = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (IsBreak(text[i])) {
            i += text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
            if (++row > rows) {
                return EndCut(fitted);
            }
            fitted += lineBreak;
            column = 0;
            continue;
        }
        if (IsSpace(text[i])) {
            fitted.push_back(text[i++]);
            ++column;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !IsBreak(text[end]) && !IsSpace(text[end])) {
            ++end;
        }
        const std::u16string_view word = text.substr(i, end - i);
        const bool tooLong = word.size() > columns;
        const std::size_t width = std::min(word.size(), columns);
        if (column > 0 && column + width > columns) {
            if (++row > rows) {
                return EndCut(fitted);
            }
            column = 0;
        }
        if (tooLong) {
            fitted += Head(word, columns - 1);
            fitted.push_back(kEllipsis);
        } else {
            fitted += word;
        }
        column += width;
        i = end;
    }
    return fitted;
}

} // namespace zorby::ui

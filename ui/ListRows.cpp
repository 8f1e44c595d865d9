#include "ListRows.h"

namespace zorby::ui {

bool IsUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int length = 0;
        char32_t lowest = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            lowest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            lowest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            lowest = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < static_cast<std::size_t>(length)) {
            return false;
        }
        char32_t code = lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
        if (code < lowest || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            return false;
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

std::string RowText(std::string_view line) {
    std::string row;
    row.reserve(line.size());
    for (const char byte : line) {
        if (byte == '\t') {
            row.append(kTabColumns, ' ');
        } else {
            row.push_back(byte);
        }
    }
    return row;
}

int ShownColumns(std::string_view line, LineEncoding encoding) {
    // A UTF-8 sequence shows as one character: its continuation bytes do not count.
    const bool utf8 = encoding == LineEncoding::Utf8OrLatin1 && IsUtf8(line);
    int columns = 0;
    for (const char byte : line) {
        if (byte == '\t') {
            columns += kTabColumns;
        } else if (!utf8 || (static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
            ++columns;
        }
    }
    return columns;
}

std::string WithLineBreaks(std::string_view text, std::string_view lineBreak) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) {
            out.append(lineBreak);
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

int WidestLine::Of(const LineList& list) {
    if (!known_) {
        row_ = -1;
        columns_ = -1;
        known_ = true;
        for (int row = 0; row < list.Count(); ++row) {
            Consider(list, row);
        }
    }
    return row_;
}

void WidestLine::Appended(const LineList& list) {
    if (known_) {
        Consider(list, list.Count() - 1);
    }
}

void WidestLine::Replaced(const LineList& list, int row) {
    if (row == row_) {
        known_ = false; // it may have become narrower than another
    } else if (known_) {
        Consider(list, row);
    }
}

void WidestLine::Consider(const LineList& list, int row) {
    const int columns = ShownColumns(list.Lines()[static_cast<std::size_t>(row)], encoding_);
    if (columns > columns_) {
        columns_ = columns;
        row_ = row;
    }
}

} // namespace zorby::ui

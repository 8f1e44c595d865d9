#include "ListRows.h"

#include "Utf8.h"

namespace zorby::ui {

bool IsUtf8(std::string_view bytes) {
    char32_t code = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8SequenceAt(bytes, i, code);
        if (length == 0) {
            return false;
        }
        i += length;
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

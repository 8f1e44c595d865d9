// What a line is is decided here alone, by what remains of it outside comments, blanks aside.

#include "LineGrammar.h"

#include "LineHelpers.h"

#include <algorithm>

namespace zorby {

namespace {

constexpr ElementTags kTextureTags{tags::kTextureOpening, tags::kTextureClosing, "TextureInfo",
                                   "Zor_Tex.txt"};
constexpr ElementTags kAnimationTags{tags::kAnimationOpening, tags::kAnimationClosing, "Ui2DAnimation",
                                     "Zor_Anim.txt"};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Whether `text` begins with `prefix`, a tab in `text` read as a space.
bool StartsWithTabsAsSpaces(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t x = 0; x < prefix.size(); ++x) {
        if ((text[x] == '\t' ? ' ' : text[x]) != prefix[x]) {
            return false;
        }
    }
    return true;
}

std::string_view WithoutTrailingBlanks(std::string_view text) {
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

} // namespace

// Its second byte tells nearly every line apart.
void Classify(std::string_view rest, LineShape& shape) {
    shape.role = LineRole::Other;
    if (rest.size() < 2) {
        return;
    }
    if (rest[1] == '/') {
        const std::string_view tag = WithoutTrailingBlanks(rest);
        for (const ElementKind kind : kElementKinds) {
            if (tag == TagsOf(kind).closing) {
                shape.role = LineRole::Closing;
                shape.kind = kind;
            }
        }
        return;
    }
    const ElementKind kind =
        rest[1] == tags::kTextureOpening[1] ? ElementKind::Texture : ElementKind::Animation;
    if (rest[1] == TagsOf(kind).opening[1] && StartsWithTabsAsSpaces(rest, TagsOf(kind).opening)) {
        shape.role = LineRole::Opening;
        shape.kind = kind;
        shape.whole = WithoutTrailingBlanks(rest).ends_with(TagsOf(kind).closing);
    } else if (rest.starts_with(tags::kSchema)) {
        shape.role = LineRole::Schema;
    }
}

namespace {

// The value of the line's item attribute: the text between the quote that follows `item` (after optional
// blanks, `=` and blanks) and the next quote of the same kind. `item` stands after a blank or right after
// the closing quote of another attribute (`name="n"item="P"`).
std::optional<std::string_view> ItemAttributeValue(std::string_view line) {
    constexpr std::string_view kName = "item";
    // The quote just before `at` closes a value when the line holds an even number of them up to it.
    const auto closesValue = [&](std::size_t at) {
        const char quote = line[at - 1];
        return (quote == '"' || quote == '\'') &&
               std::count(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(at), quote) % 2 == 0;
    };
    for (std::size_t at = line.find(kName); at != std::string_view::npos; at = line.find(kName, at + 1)) {
        if (at == 0 || !(IsBlank(line[at - 1]) || closesValue(at))) {
            continue;
        }
        std::size_t x = at + kName.size();
        while (x < line.size() && IsBlank(line[x])) {
            ++x;
        }
        if (x == line.size() || line[x] != '=') {
            continue;
        }
        do {
            ++x;
        } while (x < line.size() && IsBlank(line[x]));
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

// The older reading of a title, for a line without an item attribute: the text after the first double
// quote, without the line's last two characters (`<T "abc">` gives abc). Nothing when that count is
// negative (an empty or one-character line, or a first quote among the last two characters), or when
// the first quote lies at position 32,767 or later, past what a 16-bit position holds.
std::optional<std::string_view> TextAfterFirstQuote(std::string_view line) {
    const auto quote = line.find('"');
    const std::size_t start = quote == std::string_view::npos ? 0 : quote + 1;
    if (start + 1 > static_cast<std::size_t>(kLargest16Bit) || start + 2 > line.size()) {
        return std::nullopt;
    }
    return line.substr(start, line.size() - 2 - start);
}

constexpr const char* kNothingChanged = "\rNothing was changed. Please correct the file and run Zorby again.";
constexpr const char* kOwnLine = " Please put the comment on a line of its own.";

} // namespace

const ElementTags& TagsOf(ElementKind kind) {
    return kind == ElementKind::Texture ? kTextureTags : kAnimationTags;
}

CommentTracker::Line CommentTracker::TakeSlowly(std::string_view line) {
    Line result{{}, open_, false};
    rest_.clear();
    std::size_t at = 0;
    if (open_) {
        const std::size_t end = line.find(tags::kCommentEnd);
        if (end == std::string_view::npos) {
            return result;
        }
        open_ = false;
        at = end + tags::kCommentEnd.size();
    }
    for (;;) {
        const std::size_t start = line.find(tags::kComment, at);
        if (start == std::string_view::npos) {
            break;
        }
        result.comment = true;
        rest_.append(line.substr(at, start - at));
        const std::size_t end = line.find(tags::kCommentEnd, start + tags::kComment.size());
        if (end == std::string_view::npos) {
            open_ = true;
            result.opensBlock = true;
            result.rest = rest_;
            return result;
        }
        at = end + tags::kCommentEnd.size();
    }
    if (!result.comment) {
        result.rest = line;
        return result;
    }
    rest_.append(line.substr(at));
    result.rest = rest_;
    return result;
}

LineShape LineReader::ReadAmongComments(std::string_view line, std::size_t indent, std::string_view& rest) {
    LineShape shape;
    shape.continuesComment = comments_.IsOpen();
    if (indent == line.size()) {
        shape.leavesCommentOpen = shape.continuesComment; // a blank line changes nothing
        rest = {};
        return shape;
    }
    const CommentTracker::Line parts = comments_.Take(line.substr(indent));
    const bool comment = parts.comment || shape.continuesComment;
    rest = comment ? parts.rest.substr(IndentOf(parts.rest)) : parts.rest;
    shape.opensComment = parts.opensBlock;
    shape.leavesCommentOpen = comments_.IsOpen();
    if (rest.empty()) {
        shape.role = comment ? LineRole::Comment : LineRole::Blank;
    } else if (rest[0] != '<') {
        shape.role = LineRole::Other;
    } else {
        Classify(rest, shape);
    }
    return shape;
}

std::optional<std::string_view> TitleOf(std::string_view rest, std::string& buffer) {
    std::optional<std::string_view> title = ItemAttributeValue(rest);
    if (!title) {
        title = TextAfterFirstQuote(rest);
    }
    if (!title || title->find('\t') == std::string_view::npos) {
        return title;
    }
    buffer.assign(*title);
    std::replace(buffer.begin(), buffer.end(), '\t', ' ');
    return buffer;
}

std::optional<std::string> TitleOf(std::string_view rest) {
    std::string buffer;
    const auto title = TitleOf(rest, buffer);
    return title ? std::optional<std::string>(*title) : std::nullopt;
}

std::optional<std::string_view> SheetOf(std::string_view rest) {
    constexpr std::string_view kOpen = "<Texture>";
    constexpr std::string_view kClose = "</Texture>";
    rest = WithoutTrailingBlanks(rest);
    // The two tags cannot overlap, so a line that starts with one and ends with the other holds both.
    if (!rest.starts_with(kOpen) || !rest.ends_with(kClose)) {
        return std::nullopt;
    }
    std::string_view name =
        WithoutTrailingBlanks(rest.substr(kOpen.size(), rest.size() - kOpen.size() - kClose.size()));
    name.remove_prefix(std::min(name.size(), IndentOf(name)));
    return name.empty() ? std::nullopt : std::optional(name);
}

std::string Quoted(std::string_view text) {
    constexpr std::size_t kLongest = 80;
    text = WithoutTrailingBlanks(text.substr(IndentOf(text)));
    std::size_t cut = std::min(text.size(), kLongest);
    while (cut < text.size() && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0U) == 0x80U) {
        --cut; // not inside a character of UTF-8
    }
    // A control byte would end or break the box's text (a NUL ends it on Windows): it shows as U+FFFD.
    std::string quoted;
    for (const char c : text.substr(0, cut)) {
        const auto byte = static_cast<unsigned char>(c);
        quoted += c == '\t'                     ? std::string(" ")
                  : byte < 0x20 || byte == 0x7F ? "\xEF\xBF\xBD"
                                                : std::string(1, c);
    }
    return cut < text.size() ? quoted + "\xE2\x80\xA6" : quoted;
}

Refusal AddOnFileRefusal(ElementKind kind, const std::string& why, int lineNumber) {
    return {std::string(TagsOf(kind).addOnFile) + " cannot be used: " + why + kNothingChanged,
            TagsOf(kind).addOnFile, lineNumber};
}

AddOnItems SplitAddOnLines(ElementKind kind, const std::vector<std::string_view>& lines,
                           const std::vector<LineShape>& shapes, const std::vector<int>& lineNumbers) {
    const ElementTags& element = TagsOf(kind);
    const std::size_t count = lines.size();
    const auto line = [&](std::size_t index) {
        return "line " + std::to_string(lineNumbers.at(index)) + " (" + Quoted(lines[index]) + ")";
    };
    AddOnItems split;
    const auto refuse = [&](const std::string& why, std::size_t at) {
        split.refusal = AddOnFileRefusal(kind, why, lineNumbers.at(at));
        return split;
    };
    const auto notClosed = [&](std::size_t opening) {
        return refuse("the element that starts on " + line(opening) + " has no " +
                          std::string(element.closing) + " line.",
                      opening);
    };
    const std::string shouldStart = " should start a <" + std::string(element.name) + "> element.";
    std::size_t commentStart = 0; // where the comment last left open began
    const auto follow = [&](std::size_t index) {
        if (shapes[index].opensComment) {
            commentStart = index;
        }
        return shapes[index];
    };

    std::size_t index = 0;
    while (index + 1 < count || (index + 1 == count && shapes[index].Opens(kind) && shapes[index].whole)) {
        // Comment lines may stand ahead of the element; they travel with it.
        std::size_t opening = index;
        while (opening < count && follow(opening).role == LineRole::Comment) {
            ++opening;
        }
        std::size_t closing = opening + 1;
        if (opening < count) {
            const LineShape& shape = shapes[opening];
            if (!shape.Opens(kind)) {
                return refuse(line(opening) + shouldStart, opening);
            }
            closing = shape.whole ? opening : opening + 1;
            for (; !shape.whole && closing < count; ++closing) {
                const LineShape inside = follow(closing);
                if (inside.Opens(kind)) {
                    // Without its closing line the first element would take the second one in; a
                    // one-line element there, taken for the closing line, would leave the first one open.
                    return refuse("the element that starts on " + line(opening) +
                                      " is not closed before line " +
                                      std::to_string(lineNumbers.at(closing)) + " starts another.",
                                  opening);
                }
                if (inside.Opens(OtherKind(kind))) {
                    // Patched in, it would stand among the wrong kind: the next run could not find it.
                    const ElementTags& other = TagsOf(OtherKind(kind));
                    return refuse("the element that starts on " + line(opening) + " holds on " +
                                      line(closing) + " the start of a <" + other.name +
                                      "> element, which belongs in " + other.addOnFile + ".",
                                  closing);
                }
                if (inside.Closes(kind)) {
                    break;
                }
            }
        }
        if (shapes[std::min(closing, count - 1)].leavesCommentOpen) {
            if (closing < count) {
                // The next item would take the rest of the comment away from its start.
                return refuse("the comment that starts on " + line(commentStart) +
                                  " runs on past the end of its element." + kOwnLine,
                              commentStart);
            }
            return refuse("the comment that opens on line " + std::to_string(lineNumbers.at(commentStart)) +
                              " is never closed.",
                          commentStart);
        }
        if (opening == count) {
            return refuse(line(index) + shouldStart, index);
        }
        if (closing == count) {
            return notClosed(opening);
        }
        split.items.push_back({static_cast<int>(index), static_cast<int>(opening), static_cast<int>(closing),
                               shapes[opening].continuesComment});
        index = closing + 1;
    }
    // A last line on its own is dropped, unless it starts an element (an item cut off) or a comment that
    // is never closed.
    if (index + 1 == count) {
        if (follow(index).Opens(kind)) {
            return notClosed(index);
        }
        if (shapes[index].leavesCommentOpen) {
            return refuse("the comment that opens on line " + std::to_string(lineNumbers.at(commentStart)) +
                              " is never closed.",
                          commentStart);
        }
    }
    if (split.items.empty() && count > 0) {
        return refuse("it holds no element Zorby can use; its first line is " + line(0) + ".", 0);
    }
    return split;
}

} // namespace zorby

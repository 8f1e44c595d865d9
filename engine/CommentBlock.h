#pragma once

#include "ElementTags.h"
#include "LineHelpers.h"

#include <string>
#include <string_view>

namespace zorby {

// Follows comments from line to line as XML reads them. A comment starts at "<!--" anywhere outside a
// comment and ends at the first "-->" that starts after those four characters ("<!-->" and "<!--->"
// run on), on the same line or a later one. A line is then judged by what remains of it once all
// comment text is taken out: a commented-out opening or closing line is no opening or closing line, and
// `  <!-- note --><TextureInfo item="B">` is B's opening line. "<!--" and "-->" hold no blank, so raw,
// re-indented and test-form lines give the same answer.
class CommentTracker {
public:
    struct Line {
        std::string_view rest;   // the line without its comment text; a view of the line or of the tracker
        bool comment = false;    // the line holds comment text
        bool opensBlock = false; // a comment that starts on this line runs on past its end
    };

    CommentTracker() = default;
    // Starts inside a comment when `open`.
    explicit CommentTracker(bool open) : open_(open) {}

    // Takes the next line. `rest` is valid until the next call.
    Line Take(std::string_view line) {
        // Nearly every line: no comment open, and no "!" at all.
        if (!open_ && line.find('!') == std::string_view::npos) {
            return {line, false, false};
        }
        return TakeSlowly(line);
    }

    // A comment has started and not reached its "-->" yet.
    bool IsOpen() const { return open_; }

private:
    Line TakeSlowly(std::string_view line) {
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

    bool open_ = false;
    std::string rest_; // the remainder of a line that held comment text
};

// What remains of a line outside comments, without the blanks around it at the start: empty for a
// blank line or a line of comment text only.
inline std::string_view Unindented(std::string_view rest) {
    return rest.substr(IndentOf(rest));
}

} // namespace zorby

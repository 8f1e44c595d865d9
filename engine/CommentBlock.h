#pragma once

#include "ElementTags.h"
#include "LineHelpers.h"

#include <string_view>

namespace zorby {

// Follows comments that span several lines, one line at a time. A line whose test form starts with
// "<!--" and that holds no "-->" after it opens a block; the block runs up to and including the next
// line holding "-->". Lines inside a block are never classified: a commented-out opening or closing
// line is no opening or closing line. Only the test form matters, so raw and re-indented lines give the
// same answer.
class CommentBlock {
public:
    // Takes the next line; true when it belongs to a block (its first line included).
    bool Covers(std::string_view line) {
        if (open_) {
            open_ = line.find(tags::kCommentEnd) == std::string_view::npos;
            return true;
        }
        const std::size_t start = IndentOf(line);
        if (line.substr(start, tags::kComment.size()) != tags::kComment) {
            return false;
        }
        open_ = line.find(tags::kCommentEnd, start + tags::kComment.size()) == std::string_view::npos;
        return open_;
    }

    // A block has started and not reached its "-->" yet.
    bool IsOpen() const { return open_; }

private:
    bool open_ = false;
};

} // namespace zorby

#pragma once

#include "LineHelpers.h"
#include "Refusal.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a line of EQUI_Animations.xml or of an add-on file is, in its context: the one place that decides
// it. The scan, the add-on check, the merges and the read-back of a patch's output all ask here, and
// nowhere else is an element's tag tested or a title read.
namespace zorby {

enum class ElementKind : std::uint8_t { Texture, Animation };

inline constexpr ElementKind kElementKinds[] = {ElementKind::Texture, ElementKind::Animation};

inline ElementKind OtherKind(ElementKind kind) {
    return kind == ElementKind::Texture ? ElementKind::Animation : ElementKind::Texture;
}

namespace tags {
inline constexpr std::string_view kAnimationOpening = "<Ui2DAnimation ";
inline constexpr std::string_view kAnimationClosing = "</Ui2DAnimation>";
// The element name, one space and the first two letters of the attribute that carries the title.
inline constexpr std::string_view kTextureOpening = "<TextureInfo it";
inline constexpr std::string_view kTextureClosing = "</TextureInfo>";
inline constexpr std::string_view kComment = "<!--";
inline constexpr std::string_view kCommentEnd = "-->";
inline constexpr std::string_view kSchema = "<Schema";
} // namespace tags

// How one kind of element is written, and the add-on file that brings elements of that kind.
struct ElementTags {
    std::string_view opening; // an opening line starts with this, tabs read as spaces
    std::string_view closing; // a closing line is this, blanks around it aside
    const char* name;         // "TextureInfo"
    const char* addOnFile;    // "Zor_Tex.txt"
};
const ElementTags& TagsOf(ElementKind kind);

// Follows comments from line to line as XML reads them. A comment starts at "<!--" anywhere outside a
// comment and ends at the first "-->" that starts after those four characters ("<!-->" and "<!--->" run
// on), on the same line or a later one. "<!--" and "-->" hold no blank, so raw, re-indented and
// test-form lines give the same answer.
class CommentTracker {
public:
    struct Line {
        std::string_view rest;   // the line without its comment text; a view of the line or of the tracker
        bool comment = false;    // the line holds comment text
        bool opensBlock = false; // a comment that starts on this line runs on past its end
    };

    explicit CommentTracker(bool open = false) : open_(open) {}

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
    Line TakeSlowly(std::string_view line);

    bool open_;
    std::string rest_; // the remainder of a line that held comment text
};

enum class LineRole : std::uint8_t {
    Blank,   // spaces and tabs only
    Comment, // comment text only, or the inside of a comment that runs over several lines
    Opening, // the opening line of an element of `kind`; `whole` when it also closes it
    Closing, // the closing line of an element of `kind`
    Schema,  // a schema line, which ends the head of the main file
    Other,
};

// What one line is, judged by what remains of it outside comments.
struct LineShape {
    LineRole role = LineRole::Blank;
    ElementKind kind = ElementKind::Texture; // of an opening or closing line
    bool whole = false;                      // an opening line that ends with its closing tag
    bool continuesComment = false;           // it begins inside a comment begun on an earlier line
    bool opensComment = false;               // a comment that starts on it runs on past its end
    bool leavesCommentOpen = false;          // a comment is still open after it

    bool Opens(ElementKind of) const { return role == LineRole::Opening && kind == of; }
    bool Closes(ElementKind of) const {
        return (role == LineRole::Closing || (role == LineRole::Opening && whole)) && kind == of;
    }
};

// What an opening, closing or schema line is; `rest` starts with '<' and holds no comment text.
void Classify(std::string_view rest, LineShape& shape);

// Reads the lines of one file in order, following comments across them.
class LineReader {
public:
    // `rest` becomes what remains of the line outside comments, without its indentation: a view of the
    // line or of the reader, valid until the next call. A blank line changes no comment. Every line of
    // every file comes here: the common one, with no comment about it, is read inline.
    LineShape Read(std::string_view line, std::string_view& rest) {
        const std::size_t indent = IndentOf(line);
        if (comments_.IsOpen() || indent == line.size() || line.find('!', indent) != std::string_view::npos) {
            return ReadAmongComments(line, indent, rest);
        }
        rest = line.substr(indent);
        LineShape shape;
        shape.role = LineRole::Other;
        if (rest[0] == '<') {
            Classify(rest, shape);
        }
        return shape;
    }
    bool InComment() const { return comments_.IsOpen(); }

private:
    LineShape ReadAmongComments(std::string_view line, std::size_t indent, std::string_view& rest);

    CommentTracker comments_;
};

// The title of an element from what remains of its opening line outside comments: the value of its item
// attribute (`item = 'abc' >` and `item="abc">` both give abc), or failing that the text GetTitle cuts
// from the line. Tabs in it are read as spaces, as XML reads an attribute's value, so one title is one
// title wherever it is read. Nothing when the line has no title that can be read.
std::optional<std::string> TitleOf(std::string_view rest);
// The same as a view of `rest`, or of `buffer` when the title holds a tab.
std::optional<std::string_view> TitleOf(std::string_view rest, std::string& buffer);

// The sheet an animation's frame is drawn from: NAME of a line `<Texture>NAME</Texture>`, given what
// remains of it outside comments, blanks around NAME aside. Nothing for any other line.
std::optional<std::string_view> SheetOf(std::string_view rest);

// A piece of a file as a message quotes it: without its blanks at either end, tabs as spaces, control
// bytes as U+FFFD, and cut to 80 characters, then "…", so that no box grows past the screen.
std::string Quoted(std::string_view text);

// "Zor_Tex.txt cannot be used: " and `why`, then that nothing was changed and the advice to correct it;
// `lineNumber` is the file's line at fault, 0 for none.
Refusal AddOnFileRefusal(ElementKind kind, const std::string& why, int lineNumber = 0);

// One element of an add-on file, as lines [first, last] of its list: the comment lines that stand ahead
// of it travel with it.
struct AddOnItem {
    int first = 0;
    int opening = 0; // its opening line
    int last = 0;    // its closing line
    bool openingEndsComment = false;
};

// The lines of an add-on file as items, or why they cannot be used, in the player's words. Every item
// starts with an opening line of the file's kind (comments may stand ahead of it) and ends with a closing
// line of that kind before another element opens; an element on one line is an item of its own. A single
// line after the last item is dropped, unless it starts an element or leaves a comment open. `shapes` are
// those of `lines`; `lineNumbers` their lines in the file.
struct AddOnItems {
    std::vector<AddOnItem> items;
    std::optional<Refusal> refusal;
};
AddOnItems SplitAddOnLines(ElementKind kind, const std::vector<std::string_view>& lines,
                           const std::vector<LineShape>& shapes, const std::vector<int>& lineNumbers);

} // namespace zorby

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorby {

// A key of a title, odd and quick to make; two titles with the same key are told apart by comparing them.
std::uint64_t TitleKey(std::string_view title);

// A set of titles to ask whether a title is among them: open addressing by TitleKey, no allocation a
// title. Holds views: the titles must outlive the set.
class TitleSet {
public:
    explicit TitleSet(const std::vector<std::string_view>& titles);
    bool Contains(std::string_view title) const;

private:
    std::vector<std::string_view> slots_;
    std::vector<bool> used_;
    std::size_t mask_ = 0;
};

// What ElementTitle would return for a line, without copying it; nothing where it would fail.
std::optional<std::string_view> TitleView(std::string_view line);

// The opening and closing tags of the elements a merge works on.
struct ElementKind {
    std::string_view opening;
    std::string_view closing;
};

// Whether `rest`, what remains of a line outside comments, is an opening line of the kind that also ends
// with the kind's closing tag: a whole element written on one line, which opens and closes there.
bool IsWholeElementLine(std::string_view rest, const ElementKind& kind);

// The existing lines of a merge while items replace elements in them, as views of the lists that hold
// them. The lines are kept in chunks of a
// few hundred, so that replacing an element moves only the lines of its own chunk; each chunk keeps a
// small filter of the titles its lines carry, so that finding an element skips the chunks that cannot
// hold it. Indexes are positions in the whole sequence, as in a flat list. Each line is judged by what
// remains of it outside comments: only an opening line of the kind carries a title, and only a closing
// line of the kind closes. A replacement is a whole element or item that starts and ends outside any
// comment, so the lines around it keep their standing.
class TitleIndexedLines {
public:
    TitleIndexedLines(std::vector<std::string_view> lines, ElementKind kind);

    int Count() const { return count_; }
    // Fail with 9 outside the lines.
    std::string_view At(int index) const;
    // A closing line of the kind, or a whole element on one line.
    bool IsClosing(int index) const;

    // The first opening line of the kind from the top whose title is `title`. An opening line above it
    // without a usable title fails as ElementTitle does; when no line has the title, running off the end
    // fails with 9, or with 6 when the lines already fill all 32,768 places.
    int Locate(const std::string& title) const;

    // Replaces the lines [first, last) with `replacement`.
    void Splice(int first, int last, std::vector<std::string_view> replacement);
    void Append(std::string_view line);

    std::vector<std::string_view> Release();

private:
    struct Chunk {
        std::vector<std::string_view> lines;
        std::vector<std::uint64_t> keys;        // one per line: its title's, or a mark for none
        std::array<std::uint64_t, 64> filter{}; // two bits per key among 4,096
        int untitled = 0;

        void Reindex();
        // Counts the keys in or out. A key counted out keeps its filter bits: the filter may then
        // let a chunk be searched in vain, but never skips a chunk that holds the key.
        void Learn(const std::vector<std::uint64_t>& added);
        void Forget(std::size_t first, std::size_t count);
        bool MayHold(std::uint64_t key) const;
    };
    struct Position {
        std::size_t chunk;
        std::size_t offset;
    };

    Position Find(int index) const;
    void SplitIfLarge(std::size_t chunk);
    void DropEmptyChunks();

    std::vector<std::uint64_t> KeysOf(const std::vector<std::string_view>& lines) const;

    std::vector<Chunk> chunks_;
    ElementKind kind_;
    int count_ = 0;
    // Where the last Find ended, so that reading an element line by line does not walk from the top
    // each time. Chunk 0 at index 0 is always a valid place to start.
    mutable std::size_t findChunk_ = 0;
    mutable int findChunkStart_ = 0;
};

} // namespace zorby

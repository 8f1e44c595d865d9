#include "TitleIndexedLines.h"

#include "CommentBlock.h"
#include "ElementTags.h"
#include "Failure.h"
#include "LineHelpers.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>

namespace zorby {

namespace {

constexpr int kInt16Max = 32767;
constexpr std::size_t kChunkLines = 256;

// The key of an opening line is its title's, which is odd, with the bit kInComment set exactly when the
// line starts inside a comment (it ends one before its tag); even values below 8 mark the other lines.
constexpr std::uint64_t kInComment = 2;
constexpr std::uint64_t kUntitled = 0; // an opening line on which ElementTitle fails; kInComment too
constexpr std::uint64_t kOther = 4;    // no opening or closing line of the kind
constexpr std::uint64_t kClosing = 6;  // a closing line of the kind

bool IsOpeningKey(std::uint64_t key) {
    return (key & 1U) != 0 || (key | kInComment) == (kUntitled | kInComment);
}

// What remains of an opening line outside comments.
std::string_view RestOfOpening(std::string_view line, std::uint64_t key, CommentTracker& comments) {
    comments = CommentTracker((key & kInComment) != 0);
    return Unindented(comments.Take(line).rest);
}

} // namespace

// Made from the length and three eight-byte windows (start, middle, end) rather than every byte: every
// line gets a key, and two titles that share one cost no more than a comparison of the two.
std::uint64_t TitleKey(std::string_view title) {
    const auto window = [&](std::size_t at) {
        std::uint64_t bytes = 0;
        std::memcpy(&bytes, title.data() + at, std::min<std::size_t>(8, title.size() - at));
        return bytes;
    };
    const std::size_t n = title.size();
    std::uint64_t key = n;
    if (n > 0) {
        key ^= window(0) * 0x9E3779B97F4A7C15U;
    }
    if (n > 8) {
        key ^= window(n - 8) * 0xC2B2AE3D27D4EB4FU;
    }
    if (n > 16) {
        key ^= window(n / 2 - 4) * 0x165667B19E3779F9U;
    }
    key ^= key >> 33;
    key *= 0xFF51AFD7ED558CCDU;
    key ^= key >> 33;
    return key | 1U;
}

TitleSet::TitleSet(const std::vector<std::string_view>& titles) {
    std::size_t capacity = 16;
    while (capacity < 2 * titles.size()) {
        capacity *= 2;
    }
    slots_.resize(capacity);
    used_.resize(capacity);
    mask_ = capacity - 1;
    for (const std::string_view title : titles) {
        std::size_t slot = TitleKey(title) & mask_;
        while (used_[slot] && slots_[slot] != title) {
            slot = (slot + 1) & mask_;
        }
        slots_[slot] = title;
        used_[slot] = true;
    }
}

bool TitleSet::Contains(std::string_view title) const {
    for (std::size_t slot = TitleKey(title) & mask_; used_[slot]; slot = (slot + 1) & mask_) {
        if (slots_[slot] == title) {
            return true;
        }
    }
    return false;
}

namespace {

std::uint64_t KeyOfLine(std::string_view line, CommentTracker& comments, const ElementKind& kind) {
    const std::uint64_t inComment = comments.IsOpen() ? kInComment : 0;
    const std::string_view rest = Unindented(comments.Take(line).rest);
    if (TestFormStartsWith(rest, kind.opening)) {
        const auto title = TitleView(rest);
        return ((title ? TitleKey(*title) : kUntitled) & ~kInComment) | inComment;
    }
    return tags::IsClosingLine(rest, kind.closing) ? kClosing : kOther;
}

std::array<std::size_t, 2> FilterBits(std::uint64_t key) {
    return {static_cast<std::size_t>((key >> 2U) & 4095U), static_cast<std::size_t>((key >> 14U) & 4095U)};
}

// Replaces `count` elements at `first` with `with`, moving the tail of the vector once at most.
template <typename T>
void ReplaceRange(std::vector<T>& target, std::size_t first, std::size_t count, std::vector<T>&& with) {
    const std::size_t common = std::min(count, with.size());
    const auto begin = target.begin() + static_cast<std::ptrdiff_t>(first);
    std::move(with.begin(), with.begin() + static_cast<std::ptrdiff_t>(common), begin);
    const auto afterCommon = begin + static_cast<std::ptrdiff_t>(common);
    if (with.size() > count) {
        target.insert(afterCommon,
                      std::make_move_iterator(with.begin() + static_cast<std::ptrdiff_t>(common)),
                      std::make_move_iterator(with.end()));
    } else {
        target.erase(afterCommon, begin + static_cast<std::ptrdiff_t>(count));
    }
}

} // namespace

std::optional<std::string_view> TitleView(std::string_view line) {
    const auto quote = line.find('"');
    if (quote != std::string_view::npos || line.find('\'') != std::string_view::npos) {
        if (const auto value = ItemAttributeValue(line)) {
            return value;
        }
    }
    const std::size_t start = quote == std::string_view::npos ? 1 : quote + 2; // 1-based, as GetTitle counts
    const auto count = static_cast<long long>(line.size()) - 1 - static_cast<long long>(start);
    if (start > kInt16Max || count < 0) {
        return std::nullopt;
    }
    return line.substr(start - 1, static_cast<std::size_t>(count));
}

// The end of the line first: nearly every line fails there, without a look at its indentation.
bool IsWholeElementLine(std::string_view rest, const ElementKind& kind) {
    return tags::EndsWithClosingTag(rest, kind.closing) && TestFormStartsWith(Unindented(rest), kind.opening);
}

void TitleIndexedLines::Chunk::Reindex() {
    filter.fill(0);
    untitled = 0;
    Learn(keys);
}

void TitleIndexedLines::Chunk::Learn(const std::vector<std::uint64_t>& added) {
    for (const std::uint64_t key : added) {
        if (!IsOpeningKey(key)) {
            continue;
        }
        if ((key & 1U) == 0) {
            ++untitled;
        } else {
            for (const std::size_t bit : FilterBits(key)) {
                filter[bit / 64] |= std::uint64_t{1} << (bit % 64);
            }
        }
    }
}

void TitleIndexedLines::Chunk::Forget(std::size_t first, std::size_t count) {
    untitled -=
        static_cast<int>(std::count_if(keys.begin() + static_cast<std::ptrdiff_t>(first),
                                       keys.begin() + static_cast<std::ptrdiff_t>(first + count),
                                       [](std::uint64_t key) { return (key | kInComment) == kInComment; }));
}

bool TitleIndexedLines::Chunk::MayHold(std::uint64_t key) const {
    const auto bits = FilterBits(key);
    return std::all_of(bits.begin(), bits.end(),
                       [&](std::size_t bit) { return (filter[bit / 64] >> (bit % 64)) & 1U; });
}

// The keys of lines that follow one another, starting outside any comment.
std::vector<std::uint64_t> TitleIndexedLines::KeysOf(const std::vector<std::string_view>& lines) const {
    CommentTracker comments;
    std::vector<std::uint64_t> keys;
    keys.reserve(lines.size());
    for (const auto& line : lines) {
        keys.push_back(KeyOfLine(line, comments, kind_));
    }
    return keys;
}

TitleIndexedLines::TitleIndexedLines(std::vector<std::string_view> lines, ElementKind kind)
    : kind_(kind), count_(static_cast<int>(lines.size())) {
    const std::vector<std::uint64_t> keys = KeysOf(lines);
    for (std::size_t first = 0; first < lines.size(); first += kChunkLines) {
        Chunk chunk;
        const std::size_t last = std::min(lines.size(), first + kChunkLines);
        chunk.lines.assign(std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(first)),
                           std::make_move_iterator(lines.begin() + static_cast<std::ptrdiff_t>(last)));
        chunk.keys.assign(keys.begin() + static_cast<std::ptrdiff_t>(first),
                          keys.begin() + static_cast<std::ptrdiff_t>(last));
        chunk.Reindex();
        chunks_.push_back(std::move(chunk));
    }
}

TitleIndexedLines::Position TitleIndexedLines::Find(int index) const {
    if (index < findChunkStart_) {
        findChunk_ = 0;
        findChunkStart_ = 0;
    }
    auto remaining = static_cast<std::size_t>(index - findChunkStart_);
    for (std::size_t c = findChunk_; c < chunks_.size(); ++c) {
        if (remaining < chunks_[c].lines.size()) {
            findChunk_ = c;
            findChunkStart_ = index - static_cast<int>(remaining);
            return {c, remaining};
        }
        remaining -= chunks_[c].lines.size();
    }
    // The end of the sequence: just behind the last line.
    return chunks_.empty() ? Position{0, 0} : Position{chunks_.size() - 1, chunks_.back().lines.size()};
}

std::string_view TitleIndexedLines::At(int index) const {
    if (index < 0 || index >= count_) {
        throw Failure(SubscriptOutOfRange);
    }
    const Position position = Find(index);
    return chunks_[position.chunk].lines[position.offset];
}

bool TitleIndexedLines::IsClosing(int index) const {
    if (index < 0 || index >= count_) {
        throw Failure(SubscriptOutOfRange);
    }
    const Position position = Find(index);
    const std::uint64_t key = chunks_[position.chunk].keys[position.offset];
    if (!IsOpeningKey(key)) {
        return key == kClosing;
    }
    CommentTracker comments;
    return IsWholeElementLine(RestOfOpening(chunks_[position.chunk].lines[position.offset], key, comments),
                              kind_);
}

int TitleIndexedLines::Locate(const std::string& title) const {
    const std::uint64_t key = TitleKey(title);
    CommentTracker comments;
    int base = 0;
    for (const Chunk& chunk : chunks_) {
        if (chunk.untitled > 0 || chunk.MayHold(key)) {
            for (std::size_t x = 0; x < chunk.lines.size(); ++x) {
                const std::uint64_t lineKey = chunk.keys[x];
                if ((lineKey | kInComment) == (key | kInComment) &&
                    *TitleView(RestOfOpening(chunk.lines[x], lineKey, comments)) == title) {
                    return base + static_cast<int>(x);
                }
                if ((lineKey | kInComment) == kInComment) {
                    // Throws the failure this line gives.
                    ElementTitle(RestOfOpening(chunk.lines[x], lineKey, comments));
                }
            }
        }
        base += static_cast<int>(chunk.lines.size());
    }
    throw Failure(count_ > kInt16Max ? Overflow : SubscriptOutOfRange);
}

void TitleIndexedLines::Splice(int first, int last, std::vector<std::string_view> replacement) {
    std::vector<std::uint64_t> keys = KeysOf(replacement);
    count_ += static_cast<int>(replacement.size()) - (last - first);
    if (chunks_.empty()) {
        chunks_.emplace_back();
    }

    const Position start = Find(first);
    findChunk_ = 0; // the chunks change below
    findChunkStart_ = 0;
    // Lines of the old element that lie in the chunks after the first one.
    auto spill = static_cast<std::size_t>(last - first);
    const std::size_t inFirst = std::min(spill, chunks_[start.chunk].lines.size() - start.offset);
    spill -= inFirst;
    for (std::size_t c = start.chunk + 1; spill > 0 && c < chunks_.size(); ++c) {
        const std::size_t erased = std::min(spill, chunks_[c].lines.size());
        chunks_[c].Forget(0, erased);
        ReplaceRange(chunks_[c].lines, 0, erased, {});
        ReplaceRange(chunks_[c].keys, 0, erased, {});
        spill -= erased;
    }

    Chunk& chunk = chunks_[start.chunk];
    chunk.Forget(start.offset, inFirst);
    chunk.Learn(keys);
    ReplaceRange(chunk.lines, start.offset, inFirst, std::move(replacement));
    ReplaceRange(chunk.keys, start.offset, inFirst, std::move(keys));
    SplitIfLarge(start.chunk);
    DropEmptyChunks();
}

void TitleIndexedLines::Append(std::string_view line) {
    if (chunks_.empty() || chunks_.back().lines.size() >= kChunkLines) {
        chunks_.emplace_back();
    }
    Chunk& chunk = chunks_.back();
    CommentTracker comments; // an appended line starts no comment that later lines would continue
    chunk.keys.push_back(KeyOfLine(line, comments, kind_));
    chunk.Learn({chunk.keys.back()});
    chunk.lines.push_back(line);
    ++count_;
}

void TitleIndexedLines::SplitIfLarge(std::size_t index) {
    if (chunks_[index].lines.size() <= 2 * kChunkLines) {
        return;
    }
    std::vector<Chunk> pieces;
    Chunk& large = chunks_[index];
    for (std::size_t first = 0; first < large.lines.size(); first += kChunkLines) {
        const std::size_t last = std::min(large.lines.size(), first + kChunkLines);
        Chunk piece;
        piece.lines.assign(std::make_move_iterator(large.lines.begin() + static_cast<std::ptrdiff_t>(first)),
                           std::make_move_iterator(large.lines.begin() + static_cast<std::ptrdiff_t>(last)));
        piece.keys.assign(large.keys.begin() + static_cast<std::ptrdiff_t>(first),
                          large.keys.begin() + static_cast<std::ptrdiff_t>(last));
        piece.Reindex();
        pieces.push_back(std::move(piece));
    }
    chunks_.erase(chunks_.begin() + static_cast<std::ptrdiff_t>(index));
    chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(index),
                   std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
}

void TitleIndexedLines::DropEmptyChunks() {
    std::erase_if(chunks_, [](const Chunk& chunk) { return chunk.lines.empty(); });
}

std::vector<std::string_view> TitleIndexedLines::Release() {
    std::vector<std::string_view> lines;
    lines.reserve(static_cast<std::size_t>(count_));
    for (Chunk& chunk : chunks_) {
        std::move(chunk.lines.begin(), chunk.lines.end(), std::back_inserter(lines));
    }
    chunks_.clear();
    count_ = 0;
    findChunk_ = 0;
    findChunkStart_ = 0;
    return lines;
}

} // namespace zorby

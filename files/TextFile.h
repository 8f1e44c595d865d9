#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorby {

// Splits bytes into lines. CR LF, a lone CR and a lone LF each end a line; the line end is not part of
// the line, and the last line need not have one. Nothing else is changed.
std::vector<std::string> SplitLines(std::string_view bytes);

// Reads a whole text file as raw lines (see SplitLines). Throws Failure: 53, 76, 70, ...
std::vector<std::string> ReadTextLines(const std::string& name);

// A text file opened for writing from scratch (truncated). Every line gets CR LF. Used for the debug
// trace, where what was written before a failure must stay on disk.
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& name);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void WriteLine(std::string_view line);
    void Close();

private:
    void Flush();

    static constexpr std::size_t kChunkSize = 64 * 1024;

    int fd_ = -1;
    std::string buffer_;
};

} // namespace zorby

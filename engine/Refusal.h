#pragma once

#include <string>
#include <utility>

namespace zorby {

// Why the run cannot go on, told to the player before anything changed: the title and words of its box,
// and the file and line at fault where there is one, which the check also reports on their own.
struct Refusal {
    Refusal(std::string text, std::string file = {}, int line = 0, std::string title = "Error")
        : title(std::move(title)), text(std::move(text)), file(std::move(file)), line(line) {}

    std::string title;
    std::string text;
    std::string file; // as the player finds it in the folder; empty when the refusal is of no one file
    int line = 0;     // 1-based; 0 when the refusal is of no one line
};

} // namespace zorby

#pragma once

#include <string>
#include <string_view>

namespace zorby {

// Where a name leads on disk. Names are matched the way players know them from Windows: letter case does
// not matter, component by component, and both '\' and '/' separate components. A resolved path joins
// its components with '/', from the root when the name is absolute ("/..." on POSIX; "C:\...",
// "\\server\share\..." and "\..." on Windows).
struct ResolvedPath {
    enum class State {
        Exists,        // `path` is the entry on disk (file, folder or anything else)
        MissingLeaf,   // every folder exists; `path` is where the last component would be created
        MissingFolder, // a folder on the way does not exist
    };
    State state;
    std::string path;
};

ResolvedPath ResolvePath(const std::string& name);

// Whether two names are the same but for the case of ASCII letters. Names are bytes, never transcoded.
bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b);

// The name with its ASCII letters in lower case: one spelling for all the names EqualIgnoringAsciiCase
// takes as one.
std::string FoldedAsciiCase(std::string_view name);

} // namespace zorby

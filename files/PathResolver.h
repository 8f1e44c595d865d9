#pragma once

#include <string>

namespace zorby {

// Where a name leads on disk. Names are matched the way players know them from Windows: letter case does
// not matter, component by component, and both '\' and '/' separate components.
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

} // namespace zorby

#include "PathResolver.h"

#include "Platform.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace zorby {

namespace {

std::vector<std::string> SplitComponents(std::string_view name) {
    std::vector<std::string> components;
    std::string current;
    for (const char c : name) {
        if (c == '\\' || c == '/') {
            if (!current.empty()) {
                components.push_back(std::exchange(current, {}));
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        components.push_back(std::move(current));
    }
    return components;
}

// Letter case is folded for ASCII only: names are bytes and are never transcoded.
char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Join(const std::string& folder, const std::string& component) {
    if (folder.empty()) {
        return component;
    }
    if (folder.back() == '/') {
        return folder + component;
    }
    return folder + '/' + component;
}

bool IsFolder(const std::string& path) {
    return platform::StatusOf(path, platform::Links::Follow).kind == EntryKind::Folder;
}

// The entry of `folder` that `component` names. Letter case is ignored entirely, so that every spelling
// reaches the same entry even where the file system holds names that differ only in case: the first of
// those in sorted order. Empty when there is none.
std::string MatchEntry(const std::string& folder, const std::string& component) {
    std::vector<std::string> candidates;
    for (std::string& entryName :
         platform::EntriesThatMayBe(folder.empty() ? std::string(".") : folder, component)) {
        if (EqualIgnoringAsciiCase(entryName, component)) {
            candidates.push_back(std::move(entryName));
        }
    }
    if (candidates.empty()) {
        return {};
    }
    return Join(folder, *std::min_element(candidates.begin(), candidates.end()));
}

} // namespace

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

std::string FoldedAsciiCase(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldAscii);
    return folded;
}

ResolvedPath ResolvePath(const std::string& name) {
    const platform::Root root = platform::RootOf(name);
    const std::vector<std::string> components = SplitComponents(std::string_view(name).substr(root.length));
    std::string resolved = root.path;
    if (components.empty()) {
        // The root itself, or an empty name standing for the current folder.
        return {ResolvedPath::State::Exists, root.path.empty() ? std::string(".") : root.path};
    }

    // Every component but the last must lead to an existing folder.
    for (std::size_t i = 0; i + 1 < components.size(); ++i) {
        const std::string& component = components[i];
        const bool literal = component == "." || component == "..";
        std::string next = literal ? Join(resolved, component) : MatchEntry(resolved, component);
        if (next.empty() || !IsFolder(next)) {
            return {ResolvedPath::State::MissingFolder, Join(resolved, component)};
        }
        resolved = std::move(next);
    }

    const std::string& leaf = components.back();
    const bool literal = leaf == "." || leaf == "..";
    const std::string match = literal ? Join(resolved, leaf) : MatchEntry(resolved, leaf);
    if (!match.empty()) {
        return {ResolvedPath::State::Exists, match};
    }
    return {ResolvedPath::State::MissingLeaf, Join(resolved, leaf)};
}

} // namespace zorby

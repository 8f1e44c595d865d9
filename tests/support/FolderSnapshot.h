#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <string>

namespace zorby::testing {

// One entry of a folder tree as it stood: a file's bytes (its size alone beyond 16 MiB, so that sparse
// giants are never read), a link's target, and whether it was read-only. Pipes are never opened.
struct SnapshotEntry {
    enum class Kind { File, Folder, Link, Other } kind = Kind::File;
    std::string bytes;
    bool readOnly = false;

    bool operator==(const SnapshotEntry&) const = default;
};

// Every entry below a folder, by path relative to it with '/' separators ("custom/Zor_Tex.txt").
using Snapshot = std::map<std::string, SnapshotEntry>;

inline Snapshot TakeSnapshot(const std::filesystem::path& root) {
    namespace fs = std::filesystem;
    Snapshot snapshot;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        const fs::path& path = item.path();
        const fs::file_status status = fs::symlink_status(path);
        SnapshotEntry entry{SnapshotEntry::Kind::File, "",
                            (status.permissions() & fs::perms::owner_write) == fs::perms::none};
        if (fs::is_symlink(status)) {
            entry = {SnapshotEntry::Kind::Link, fs::read_symlink(path).string()};
        } else if (!fs::is_regular_file(status)) {
            entry.kind = fs::is_directory(status) ? SnapshotEntry::Kind::Folder : SnapshotEntry::Kind::Other;
        } else if (fs::file_size(path) > (16U << 20U)) {
            entry.bytes = std::to_string(fs::file_size(path)) + " bytes, too many to keep";
        } else {
            std::ifstream in(path, std::ios::binary);
            entry.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        // The path relative to the root by hand: fs::relative would resolve links.
        snapshot[path.lexically_relative(root).generic_string()] = entry;
    }
    return snapshot;
}

// Said briefly: a failed comparison prints whole snapshots, and megabytes of content help nobody.
inline void PrintTo(const SnapshotEntry& entry, std::ostream* out) {
    std::string start = entry.bytes.substr(0, 60);
    std::replace_if(
        start.begin(), start.end(), [](char c) { return c < ' '; }, '.');
    *out << "{kind " << static_cast<int>(entry.kind) << (entry.readOnly ? ", read-only, " : ", ")
         << entry.bytes.size() << " bytes: " << start << "}";
}

} // namespace zorby::testing

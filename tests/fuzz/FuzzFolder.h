#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zorby::fuzzing {

namespace fs = std::filesystem;

// A regular file as it stood at one moment.
struct FileState {
    std::string bytes;
    bool readOnly = false;

    bool operator==(const FileState&) const = default;
};

// Every regular file under a folder, by path relative to it ("custom/Zor_Tex.txt"). Anything that is
// not a regular file is listed with the content "<not a file>", so that it cannot pass unnoticed.
using Snapshot = std::map<std::string, FileState>;

// One temporary tree per process, emptied between runs: `custom` (the current directory while the
// tool runs), `default` beside it and `oracle`, where the expectation is worked out. It lives in
// memory when /dev/shm is there, so that the tool's syncs cost nothing.
class FuzzFolder {
public:
    FuzzFolder() {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "zorby-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("zorby fuzz: mkdtemp");
            std::abort();
        }
        root_ = pattern;
        fs::create_directory(Custom());
        fs::create_directory(Oracle());
        fs::current_path(Custom());
    }
    ~FuzzFolder() { Remove(); }

    // Removes the whole tree; also called before the process aborts on a finding.
    void Remove() noexcept {
        std::error_code ignored;
        fs::current_path(root_.parent_path(), ignored);
        fs::remove_all(root_, ignored);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    fs::path Custom() const { return root_ / "custom"; }
    fs::path Default() const { return root_ / "default"; }
    fs::path Oracle() const { return root_ / "oracle"; }

    // Back to an empty `custom` and `oracle` and no `default`. The current directory stays `custom`.
    void Reset() {
        Empty(Custom());
        Empty(Oracle());
        fs::remove_all(Default());
    }

    // Everything under `custom` and `default`.
    Snapshot Take() const {
        Snapshot snapshot;
        for (const fs::path& folder : {Custom(), Default()}) {
            if (!fs::exists(folder)) {
                continue;
            }
            for (const auto& entry : fs::recursive_directory_iterator(folder)) {
                // The path below the root, cut out by hand: fs::relative would resolve links on every call.
                const std::string name = entry.path().string().substr(root_.string().size() + 1);
                if (entry.is_symlink() || !entry.is_regular_file()) {
                    if (!entry.is_directory()) {
                        snapshot[name] = {"<not a file>", false};
                    }
                    continue;
                }
                struct stat status {};
                ::stat(entry.path().c_str(), &status);
                snapshot[name] = {Read(entry.path()), (status.st_mode & S_IWUSR) == 0};
            }
        }
        return snapshot;
    }

    static void Write(const fs::path& name, const std::string& bytes, bool readOnly = false) {
        {
            std::ofstream out(name, std::ios::binary | std::ios::trunc);
            out << bytes;
        }
        if (readOnly) {
            fs::permissions(name, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        }
    }

private:
    static std::string Read(const fs::path& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void Empty(const fs::path& folder) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            fs::remove_all(entry.path());
        }
    }

    fs::path root_;
};

} // namespace zorby::fuzzing

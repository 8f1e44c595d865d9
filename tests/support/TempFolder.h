#pragma once

#include "TestPlatform.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace zorby::testing {

// A fresh folder tree that the test works in: `<root>/custom` becomes the current directory, with an
// empty `<root>/default` beside it when asked. Removed again, read-only files included.
class TempFolder {
public:
    explicit TempFolder(bool withDefaultFolder = true) {
        namespace fs = std::filesystem;
        std::random_device random;
        do {
            root_ = fs::temp_directory_path() / ("zorby-test-" + std::to_string(random()));
        } while (!fs::create_directory(root_));
        fs::create_directory(root_ / "custom");
        if (withDefaultFolder) {
            fs::create_directory(root_ / "default");
        }
        fs::current_path(root_ / "custom");
    }
    ~TempFolder() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::current_path(previous_, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(root_, ignored)) {
            fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
        fs::remove_all(root_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Root() const { return root_; }

    // Writes bytes exactly as given, relative to the custom folder. A short write (a full disk) stops the
    // test here, instead of leaving a cut file that the tool then rightly refuses.
    static void Write(const std::filesystem::path& name, const std::string& bytes) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out << bytes;
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + name.string() + " in full: is the disk full?");
        }
    }
    static std::string Read(const std::filesystem::path& name) {
        std::ifstream in(name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path root_, previous_ = std::filesystem::current_path();
};

// Joins lines with CR LF after each, the way the tool writes files.
inline std::string CrLf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& line : lines) {
        out.append(line).append("\r\n");
    }
    return out;
}

} // namespace zorby::testing

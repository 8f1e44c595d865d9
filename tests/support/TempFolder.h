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
        std::random_device random;
        do {
            root_ = std::filesystem::temp_directory_path() / ("zorby-test-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(root_));
        std::filesystem::create_directory(root_ / "custom");
        if (withDefaultFolder) {
            std::filesystem::create_directory(root_ / "default");
        }
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(root_ / "custom");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root_, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(root_, ignored);
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
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

// Joins lines with CR LF after each, the way the tool writes files.
inline std::string CrLf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

} // namespace zorby::testing

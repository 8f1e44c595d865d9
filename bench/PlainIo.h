#pragma once

#include <string>
#include <string_view>

// The least file work a step on the same bytes could do: the floors the benchmarks are compared with,
// and the writes that set a generated folder up. Failures throw std::runtime_error.
namespace zorby::bench {

// Opens the file and reads all of its bytes into one string.
std::string ReadAllBytes(const std::string& path);

enum class Durability {
    Buffered, // left to the kernel's write-back
    Synced,   // the file and its folder are synced before returning
};

// Creates (or truncates) the file and writes `bytes` to it.
void WriteWholeFile(const std::string& path, std::string_view bytes, Durability durability);

} // namespace zorby::bench

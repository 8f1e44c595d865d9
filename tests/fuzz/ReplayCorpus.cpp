#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <stdexcept>

namespace zorby::fuzzing {
void FuzzOnePatch(const std::uint8_t* data, std::size_t size);
}

// The seeds of the fuzzer, and the findings kept among them, run through its checks in every test run.
TEST(FuzzCorpus, EverySeedPassesTheFuzzersChecks) {
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(ZORBY_FUZZ_CORPUS)) {
        inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    ASSERT_GT(inputs.size(), 20U);
    for (const auto& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        try {
            zorby::fuzzing::FuzzOnePatch(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        } catch (const std::logic_error& violation) {
            ADD_FAILURE() << input.filename() << ": " << violation.what();
        }
    }
}

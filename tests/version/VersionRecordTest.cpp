// The version record Windows shows in a file's properties, read back from this program, which carries
// the same record as Zorby.exe.

#define WIN32_LEAN_AND_MEAN
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

TEST(VersionRecord, NamesZorby300) {
    wchar_t path[MAX_PATH];
    DWORD ignored = 0;
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    std::vector<char> record(GetFileVersionInfoSizeW(path, &ignored) + 1);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(record.size()), record.data()));
    const auto text = [&](const std::wstring& name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = L"\\StringFileInfo\\040904b0\\" + name;
        return VerQueryValueW(record.data(), key.c_str(), &value, &length) && length > 0
                   ? std::wstring(static_cast<const wchar_t*>(value), length - 1)
                   : std::wstring(L"(none)");
    };
    EXPECT_EQ(text(L"OriginalFilename"), L"Zorby.exe");
    EXPECT_EQ(text(L"FileVersion"), L"3.00");
}

// A FAT disk as Linux mounts it through FUSE: it keeps no permission bits, and it gives each spelling of
// a name an identity of its own, as the players' exFAT and FAT sticks do. Skipped where no such disk can
// be mounted (it takes fusefat and mkfs.vfat, and /dev/fuse).

#include "CheckCommand.h"
#include "Commands.h"
#include "FakeWindow.h"
#include "LoadStep.h"
#include "TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace zorby {
namespace {

namespace fs = std::filesystem;
using testing::FakeWindow;
using testing::TempFolder;

const std::string kMain =
    testing::CrLf({"<Schema/>", R"(<TextureInfo item="A">)", "</TextureInfo>", "</XML>"});
const std::string kAddOn = testing::CrLf({R"(<TextureInfo item="B">)", "</TextureInfo>"});

class FatFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path image = root_.Root() / "fat.img";
        const std::string commands = "truncate -s 8M '" + image.string() + "' && mkfs.vfat '" +
                                     image.string() + "' >/dev/null 2>&1 && mkdir -p '" + mount_.string() +
                                     "' && fusefat -o rw+ '" + image.string() + "' '" + mount_.string() +
                                     "' >/dev/null 2>&1";
        if (std::system(commands.c_str()) != 0) {
            GTEST_SKIP() << "no FAT disk can be mounted here (fusefat, mkfs.vfat and /dev/fuse are needed)";
        }
        mounted_ = true;
        fs::create_directories(mount_ / "UI" / "custom");
        fs::create_directories(mount_ / "UI" / "default");
        for (const auto& [name, bytes] :
             {std::pair{"custom/EQUI_Animations.xml", kMain}, std::pair{"custom/Zor_Tex.txt", kAddOn},
              std::pair{"default/EQUI_Animations.xml", kMain}}) {
            TempFolder::Write(mount_ / "UI" / name, bytes);
        }
    }
    void TearDown() override {
        fs::current_path(root_.Root());
        if (mounted_) {
            (void)std::system(("fusermount -u '" + mount_.string() + "' 2>/dev/null").c_str());
        }
    }

    TempFolder root_;
    fs::path mount_ = root_.Root() / "fat";
    bool mounted_ = false;
};

TEST_F(FatFolder, PatchesAndKnowsEachFolderUnderEverySpelling) {
    struct Row {
        const char* startIn;
        const char* secondIn; // a second run started meanwhile, or nullptr
        Flow load;
        std::string firstBox;
    };
    const Row rows[] = {
        // The new file's mode cannot be set there: that is no failure.
        {"UI/custom", nullptr, Flow::Continue, ""},
        {"UI/custom", "ui/CUSTOM", Flow::Continue, "Zorby is already running in this folder."},
        {"UI/DEFAULT", nullptr, Flow::Failed, "You are attempting to run zorby.exe from a directory"},
    };
    for (const Row& row : rows) {
        fs::current_path(mount_ / row.startIn);
        FakeWindow window;
        window.answers = {Answer::No};
        Workspace ws;
        ASSERT_EQ(RunLoadStep(ws, window, "help.html"), row.load) << row.startIn;
        if (row.secondIn != nullptr) {
            fs::current_path(mount_ / row.secondIn);
            FakeWindow second;
            Workspace other;
            EXPECT_EQ(RunLoadStep(other, second, "help.html"), Flow::Failed);
            ASSERT_FALSE(second.messages.empty());
            EXPECT_TRUE(second.messages[0].text.starts_with(row.firstBox)) << second.messages[0].text;
            continue;
        }
        if (row.load == Flow::Failed) {
            ASSERT_FALSE(window.messages.empty());
            EXPECT_TRUE(window.messages[0].text.starts_with(row.firstBox)) << window.messages[0].text;
            continue;
        }
        ASSERT_EQ(RunCommand(window, [&] { return PatchCommand(ws, window); }), Flow::Done)
            << window.messages.back().text;
        EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), kMain);
        EXPECT_FALSE(fs::exists("Zor_Tex.txt"));
        TempFolder::Write("Zor_Tex.txt", kAddOn); // for the next row
    }
}

} // namespace
} // namespace zorby

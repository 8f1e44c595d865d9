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

// One folder is one folder under every spelling, although the disk gives each spelling its own identity,
// and the game's folder is known under every spelling.
TEST_F(FatFolder, PatchesAndKnowsEachFolderUnderEverySpelling) {
    const auto firstBoxOfARunIn = [&](const char* folder) {
        fs::current_path(mount_ / folder);
        FakeWindow window;
        window.answers = {Answer::No};
        Workspace ws;
        EXPECT_EQ(RunLoadStep(ws, window, "help.html"), Flow::Failed) << folder;
        return window.messages.empty() ? std::string() : window.messages[0].text;
    };
    fs::current_path(mount_ / "UI/custom");
    FakeWindow window;
    Workspace ws;
    ASSERT_EQ(RunLoadStep(ws, window, "help.html"), Flow::Continue);
    EXPECT_TRUE(firstBoxOfARunIn("ui/CUSTOM").starts_with("Zorby is already running in this folder."));
    // The new file's mode cannot be set there: that is no failure.
    fs::current_path(mount_ / "UI/custom");
    ASSERT_EQ(RunCommand(window, [&] { return PatchCommand(ws, window); }), Flow::Done)
        << window.messages.back().text;
    EXPECT_EQ(TempFolder::Read("EQUI_An.xml"), kMain);
    EXPECT_FALSE(fs::exists("Zor_Tex.txt"));
    EXPECT_TRUE(
        firstBoxOfARunIn("UI/DEFAULT").starts_with("You are attempting to run zorby.exe from a directory"));
}

} // namespace
} // namespace zorby

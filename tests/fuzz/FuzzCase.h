#pragma once

#include "WindowPort.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zorby::fuzzing {

// One fuzz input, decoded. The layout keeps the three files apart with a separator byte instead of
// length prefixes, so that the usual mutations (insert, erase, cross-over) change one file's text
// without shifting the others or the control bytes:
//
//   byte 0      what lies in the folder (kFolder... bits)
//   byte 1      what stands in the way (kObstacle... bits)
//   byte 2      0: every write of the new EQUI_Animations.xml works; n: the n-th write fails (the one
//               after the last line is the final flush), as a full disk would
//   bytes 3, 4  answers to the Yes/No boxes in the order they come, lowest bit first (1 = Yes)
//   byte 5      what changes while the window is open, before "Patch!" (kChange... bits)
//   the rest    EQUI_Animations.xml, Zor_Tex.txt, Zor_Anim.txt, the old EQUI_An.xml and a second
//               spelling of the add-on animation file, separated by 0x1E; a missing part is empty
//
// An input shorter than the six control bytes is treated as if padded with zeros: an ordinary
// folder with all three files.
struct FuzzCase {
    static constexpr char kSeparator = '\x1e';
    static constexpr int kAnswerCount = 16;

    // byte 0
    static constexpr std::uint8_t kFolderNoMainFile = 0x01; // seeded from ..\default\ at start
    static constexpr std::uint8_t kFolderNoTextures = 0x02;
    static constexpr std::uint8_t kFolderNoAnimations = 0x04;
    static constexpr std::uint8_t kFolderOldBackup = 0x08;
    static constexpr std::uint8_t kFolderDebug = 0x10;
    static constexpr std::uint8_t kFolderStaleHelpers = 0x20;
    static constexpr std::uint8_t kFolderNoDefaultFolder = 0x40;
    static constexpr std::uint8_t kFolderNoDefaultFile = 0x80;
    // byte 1
    static constexpr std::uint8_t kObstacleMainReadOnly = 0x01;
    static constexpr std::uint8_t kObstacleTexturesReadOnly = 0x02;
    static constexpr std::uint8_t kObstacleAnimationsReadOnly = 0x04;
    static constexpr std::uint8_t kObstacleBackupReadOnly = 0x08;
    static constexpr std::uint8_t kObstacleHelpersReadOnly = 0x10; // the stale helpers and Debug.txt
    static constexpr std::uint8_t kObstacleOtherSpelling = 0x20;   // add-on names in other letter case
    static constexpr std::uint8_t kObstacleTwinAnimations = 0x40;  // "zor_anim.txt" beside the other
    static constexpr std::uint8_t kObstacleBackupUnticked = 0x80;
    // byte 5
    static constexpr std::uint8_t kChangeMainFile = 0x01;   // a line added to EQUI_Animations.xml
    static constexpr std::uint8_t kChangeTextures = 0x02;   // the add-on texture file removed, or added
    static constexpr std::uint8_t kChangeAnimations = 0x04; // the add-on animation file edited, or added

    std::uint8_t folder = 0;
    std::uint8_t obstacles = 0;
    int failingWrite = -1; // 0-based index of the write that fails; -1 for none
    std::uint8_t afterStart = 0;
    std::array<Answer, kAnswerCount> answers{};

    std::string mainFile;
    std::string textures;
    std::string animations;
    std::string oldBackup;
    std::string twinAnimations;

    bool Has(std::uint8_t folderBit) const { return (folder & folderBit) != 0; }
    bool Blocks(std::uint8_t obstacleBit) const { return (obstacles & obstacleBit) != 0; }
    bool Changes(std::uint8_t changeBit) const { return (afterStart & changeBit) != 0; }

    static FuzzCase Decode(const std::uint8_t* data, std::size_t size) {
        auto control = [&](std::size_t index) -> std::uint8_t { return index < size ? data[index] : 0; };
        FuzzCase c;
        c.folder = control(0);
        c.obstacles = control(1);
        c.failingWrite = control(2) == 0 ? -1 : control(2) - 1;
        const unsigned answerBits = control(3) | (unsigned{control(4)} << 8U);
        for (int i = 0; i < kAnswerCount; ++i) {
            c.answers[static_cast<std::size_t>(i)] =
                ((answerBits >> static_cast<unsigned>(i)) & 1U) != 0 ? Answer::Yes : Answer::No;
        }

        c.afterStart = control(5);

        constexpr std::size_t kControlBytes = 6;
        std::string_view rest;
        if (size > kControlBytes) {
            rest =
                std::string_view(reinterpret_cast<const char*>(data) + kControlBytes, size - kControlBytes);
        }
        for (std::string* part : {&c.mainFile, &c.textures, &c.animations, &c.oldBackup, &c.twinAnimations}) {
            const auto end = rest.find(kSeparator);
            *part = std::string(rest.substr(0, end));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
        return c;
    }
};

} // namespace zorby::fuzzing

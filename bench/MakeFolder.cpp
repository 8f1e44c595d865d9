#include "GeneratedFolder.h"
#include "PlainIo.h"
#include "Workloads.h"

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

int Usage(const char* program) {
    std::cerr
        << "usage: " << program << " DIR [w1|w2|LINES]\n"
        << "Writes DIR/default (empty) and DIR/custom with the generated EQUI_Animations.xml, Zor_Anim.txt\n"
        << "and Zor_Tex.txt of the benchmark workload (w1 unless told). LINES, from 1000 to 30000, gives a\n"
        << "main file of about that many lines with the w1 add-on pack. DIR must be new or empty.\n";
    return 2;
}

} // namespace

// Sets up the folder a benchmark patches, on disk, so that the real program can be timed on it.
int main(int argc, char** argv) {
    using namespace zorby::bench;
    if (argc < 2 || argc > 3) {
        return Usage(argv[0]);
    }
    const std::string workload = argc == 3 ? argv[2] : "w1";
    FolderRecipe recipe;
    if (workload == "w1" || workload == "w2") {
        recipe = workload == "w1" ? W1() : W2();
    } else {
        const int lines = std::atoi(workload.c_str());
        if (workload.find_first_not_of("0123456789") != std::string::npos || lines < 1000 || lines > 30000) {
            return Usage(argv[0]);
        }
        recipe = SizedLikeW1(lines);
    }
    const std::filesystem::path root = argv[1];
    try {
        // Never write over a folder that holds something: it may be a player's real one.
        if (std::filesystem::exists(root) && !std::filesystem::is_empty(root)) {
            std::cerr << root.string() << " exists and is not empty\n";
            return 1;
        }
        const GeneratedContent content = GenerateContent(recipe);
        std::filesystem::create_directories(root / "default");
        std::filesystem::create_directories(root / "custom");
        const auto custom = root / "custom";
        // Synced, so that the write-back of these files does not fall into a measurement that follows.
        WriteWholeFile((custom / "EQUI_Animations.xml").string(), content.mainFile, Durability::Synced);
        WriteWholeFile((custom / "Zor_Tex.txt").string(), content.addOnTextures, Durability::Synced);
        WriteWholeFile((custom / "Zor_Anim.txt").string(), content.addOnAnimations, Durability::Synced);
        std::cout << workload << ": " << content.mainLines << " lines (" << content.mainFile.size()
                  << " bytes), textures " << content.textureListLines << " lines, animations "
                  << content.animationListLines << " lines; " << content.patchedLines
                  << " lines after a patch\n";
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    return 0;
}

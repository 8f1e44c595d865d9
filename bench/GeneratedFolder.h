#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace zorby::bench {

// The size of one kind of element in a generated folder.
struct KindRecipe {
    int lines = 0;     // lines of this kind in EQUI_Animations.xml; whole elements are added until reached
    int replacing = 0; // add-on items whose titles exist in the main file
    int added = 0;     // add-on items with new titles
};

struct FolderRecipe {
    KindRecipe textures;
    KindRecipe animations;
    std::uint64_t seed = 1;
};

// The three files of a custom UI folder, as bytes with CR LF line ends. The same recipe always gives the
// same bytes, on every platform.
//
// The main file is indented with spaces, textures first. Every replacing item differs from the element it
// replaces by a few lines (a texture's size written on one line or spread over three, an animation's first
// frame with or without its hotspot), and the add-on file alternates shorter and longer replacements so
// that a list close to the 32,767-line limit stays below it while the patch runs.
struct GeneratedContent {
    std::string mainFile;
    std::string addOnTextures;
    std::string addOnAnimations;
    int mainLines = 0;
    int textureElements = 0;
    int animationElements = 0;
    int textureListLines = 0;   // what the scan puts in AllTextures
    int animationListLines = 0; // what the scan puts in AllAnimations
    int patchedLines = 0;       // the line count of EQUI_Animations.xml after a successful patch
};

GeneratedContent GenerateContent(const FolderRecipe& recipe);

// A generated custom UI folder in a fresh temp tree: `<root>/custom` holds the three files and is the
// current directory while the object lives; `<root>/default` is empty. Removed again at the end.
class GeneratedFolder {
public:
    explicit GeneratedFolder(const FolderRecipe& recipe);
    ~GeneratedFolder();
    GeneratedFolder(const GeneratedFolder&) = delete;
    GeneratedFolder& operator=(const GeneratedFolder&) = delete;

    const GeneratedContent& Content() const { return content_; }
    std::filesystem::path Custom() const { return root_ / "custom"; }

    // Writes the three files again as generated: a patch rewrites the main file and deletes the add-on
    // files. The files are synced, so that their write-back does not fall into the next measurement.
    void Restore() const;

private:
    GeneratedContent content_;
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

} // namespace zorby::bench

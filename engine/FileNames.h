#pragma once

// The files of a custom UI folder, spelled as the tool spells them. Names are matched without regard to
// letter case, so the add-on files may be written any way on disk.
namespace zorby::names {

inline constexpr const char* kAnimationFile = "EQUI_Animations.xml";
inline constexpr const char* kDefaultFolderName =
    "default"; // the game's own UI folder, beside the custom ones
inline constexpr const char* kDefaultFolder = "..\\default";
inline constexpr const char* kDefaultAnimationFile = "..\\default\\EQUI_Animations.xml";
inline constexpr const char* kBackupFile = "EQUI_An.xml";
inline constexpr const char* kDebugFile = "Debug.txt";
inline constexpr const char* kStaleBatch = "Zorby.bat";
inline constexpr const char* kStaleCom = "ZOR_ANIM.COM";

// The add-on files under the spellings of the places that use them.
inline constexpr const char* kAddOnAnimationsRead = "zor_anim.txt";
inline constexpr const char* kAddOnTexturesRead = "zor_tex.txt";
inline constexpr const char* kAddOnAnimationsCheck = "Zor_anim.txt";
inline constexpr const char* kAddOnTexturesCheck = "Zor_tex.txt";
inline constexpr const char* kAddOnAnimations = "Zor_Anim.txt";
inline constexpr const char* kAddOnTextures = "Zor_Tex.txt";

} // namespace zorby::names

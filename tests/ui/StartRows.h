#pragma once

#include "TempFolder.h"

#include <sstream>
#include <string>

// What a start in each kind of folder shows, the same in both windows: the tip of each greyed-out
// button, and the control that gets the keyboard (the first the start neither hid nor greyed out).
namespace zorby::testing {

struct StartRow {
    const char* name;
    const char* files; // words: main, broken-main (too long a line to be read), add-on, backup
    const char* patchTip;
    const char* restoreTip;
    const char* focus;
};
inline const char* const kNoAddOns = "No add-on files (Zor_Anim.txt, Zor_Tex.txt) in this folder";
inline const char* const kNoBackup = "No backup (EQUI_An.xml) in this folder";
inline const StartRow kStartRows[] = {
    {"nothing_to_patch_or_restore", "main", kNoAddOns, kNoBackup, "FancyButton1"},
    {"add_ons_without_a_backup", "main add-on", "", kNoBackup, "Backup_Animation"},
    {"only_a_backup", "main backup", kNoAddOns, "", "FancyButton1"},
    {"unreadable_main_file_with_a_backup", "broken-main add-on backup",
     "Nothing to patch: the files here could not be read (the message at start said why)", "",
     "FancyButton1"},
};

inline void WriteStartFiles(const StartRow& row) {
    const std::string main = "<Schema/>\r\n<XML/>\r\n";
    std::istringstream words(row.files);
    for (std::string word; words >> word;) {
        if (word == "add-on") {
            TempFolder::Write("Zor_Anim.txt", "<Ui2DAnimation item=\"A\">\r\n</Ui2DAnimation>\r\n");
        } else {
            TempFolder::Write(word == "backup" ? "EQUI_An.xml" : "EQUI_Animations.xml",
                              word == "broken-main" ? main + std::string(40000, ' ') + "<a/>\r\n" : main);
        }
    }
}

} // namespace zorby::testing

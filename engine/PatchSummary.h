#pragma once

#include <string>
#include <vector>

namespace zorby {

// Where lines of an add-on file stand after a merge: `count` lines from index `at` of the existing lines
// (AllTextures, AllAnimations) or of the add-on list itself are its lines from `addOnFirst` on.
struct AddOnPlacement {
    bool inExisting = false;
    int at = 0;
    int count = 0;
    int addOnFirst = 0;
};

// What one merge did, title by title, in the order it met the add-on items.
struct MergeRecord {
    std::vector<std::string> replaced; // an item took the place of an existing element of this title
    std::vector<std::string> added;    // an item with a new title, added behind the elements of its kind
    std::vector<AddOnPlacement> placed;
};

// Where the file as it was ends up after a patch.
enum class BackupOutcome {
    Made,      // EQUI_An.xml holds the file as it was
    OlderKept, // EQUI_An.xml holds an older backup, left as it was
    NoneMade,  // there is no EQUI_An.xml
    AskFirst,  // a check only: the patch will ask whether to replace the older backup
};

// What a patch did, or what it would do: told to the player after "Patch Completed", and printed by
// the check.
struct PatchSummary {
    MergeRecord textures;
    MergeRecord animations;
    BackupOutcome backup = BackupOutcome::NoneMade;
    bool addOnFilesKept = false;    // debug mode
    bool copiedFromDefault = false; // a check only: the folder has no EQUI_Animations.xml of its own yet
};

// The summary as lines joined by a single carriage return: per kind the elements replaced and added,
// with the first ten titles of each, then where the file as it was is kept and what becomes of the
// add-on files.
std::string SummaryText(const PatchSummary& summary);

} // namespace zorby

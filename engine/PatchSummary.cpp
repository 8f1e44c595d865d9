// What a patch did, in a few lines: ten titles at most a kind, an element replaced twice once.

#include "PatchSummary.h"

#include "FileNames.h"
#include "LineGrammar.h"

#include <cstddef>
#include <unordered_set>

namespace zorby {

namespace {

constexpr std::size_t kTitlesShown = 10;

// "2 replaced (A, B)", or with more than ten titles the first ten and "and 5 more".
std::string Counted(const std::vector<std::string>& titles, const char* what) {
    std::string text = std::to_string(titles.size()) + " " + what + " (";
    for (std::size_t n = 0; n < titles.size() && n < kTitlesShown; ++n) {
        text += (n == 0 ? "" : ", ") + Quoted(titles[n]);
    }
    if (titles.size() > kTitlesShown) {
        text += " and " + std::to_string(titles.size() - kTitlesShown) + " more";
    }
    return text + ")";
}

// An element replaced twice, by two add-on items of one title, is still one element replaced.
std::vector<std::string> Distinct(const std::vector<std::string>& titles) {
    std::unordered_set<std::string> seen;
    std::vector<std::string> distinct;
    for (const std::string& title : titles) {
        if (seen.insert(title).second) {
            distinct.push_back(title);
        }
    }
    return distinct;
}

std::string KindLine(const char* kind, const MergeRecord& record) {
    const std::vector<std::string> replaced = Distinct(record.replaced);
    std::string line = std::string(kind) + ": ";
    if (replaced.empty() && record.added.empty()) {
        return line + "none replaced or added.";
    }
    if (!replaced.empty()) {
        line += Counted(replaced, "replaced");
    }
    if (!record.added.empty()) {
        line += (replaced.empty() ? "" : ", ") + Counted(record.added, "added");
    }
    return line + ".";
}

std::string BackupLine(BackupOutcome backup) {
    const std::string name = names::kBackupFile;
    switch (backup) {
    case BackupOutcome::Made:
        return "The file as it was is kept as " + name + ".";
    case BackupOutcome::OlderKept:
        return "The older backup " + name + " was kept as it was.";
    case BackupOutcome::AskFirst:
        return "Zorby will ask before it replaces the older backup " + name + ".";
    case BackupOutcome::NoneMade:
        break;
    }
    return "No backup was made, so Restore will not be offered.";
}

} // namespace

std::string SummaryText(const PatchSummary& summary) {
    const std::string copied = std::string(names::kAnimationFile) +
                               " is not in this folder: the patch will first copy it from " +
                               names::kDefaultAnimationFile + ".\r";
    return (summary.copiedFromDefault ? copied : "") + KindLine("Textures", summary.textures) + "\r" +
           KindLine("Animations", summary.animations) + "\r" + BackupLine(summary.backup) + "\r" +
           (summary.addOnFilesKept ? "The add-on files are kept (debug mode)."
                                   : "The add-on files are removed.");
}

} // namespace zorby

// The arguments decide the folder and whether a window opens; the check of many folders prints and ends.

#include "CommandLine.h"

#include "CheckCommand.h"
#include "Failure.h"
#include "FileHelpers.h"
#include "FileNames.h"
#include "Version.h"

#include <algorithm>

namespace zorby {

namespace {

constexpr const char* kUsage =
    "Usage: Zorby [FOLDER]         open the window in FOLDER (a file stands for its folder), by default\n"
    "                              in this custom UI folder\n"
    "       Zorby --check [--format text|json] [FOLDER...]\n"
    "                              tell what \"Patch!\" would do in each FOLDER (by default this folder),\n"
    "                              changing nothing; exit status 0 when every patch would complete,\n"
    "                              1 when any would be refused\n"
    "       Zorby --help           show this text\n"
    "       Zorby --version        show the version\n";

StartRequest UsageError(std::ostream& err, const std::string& problem) {
    err << "Zorby: " << problem << "\n" << kUsage;
    return {false, 2, problem};
}

// A folder Zorby can work in: it holds EQUI_Animations.xml, or the game's file to copy it from.
bool IsCustomUiFolder(const std::string& folder) {
    const std::string in =
        folder.empty() || folder.back() == '/' || folder.back() == '\\' ? folder : folder + "/";
    return CheckForFile(in + names::kAnimationFile) || CheckForFile(in + names::kDefaultAnimationFile);
}

StartRequest RunChecks(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    bool json = false;
    std::vector<std::string> folders;
    for (std::size_t n = 1; n < arguments.size(); ++n) {
        if (arguments[n] == "--format" && n + 1 < arguments.size() &&
            (arguments[n + 1] == "json" || arguments[n + 1] == "text")) {
            json = arguments[++n] == "json";
        } else if (arguments[n].starts_with("--")) {
            return UsageError(err, "unknown option " + arguments[n]);
        } else {
            folders.push_back(arguments[n]);
        }
    }
    if (folders.empty()) {
        folders.emplace_back(".");
    }
    std::vector<FolderCheck> checks;
    for (const std::string& folder : folders) {
        checks.push_back(CheckFolder(folder));
    }
    out << (json ? ChecksAsJson(checks) : ChecksAsText(checks));
    return {false,
            std::ranges::all_of(checks, [](const FolderCheck& c) { return c.result.status == 0; }) ? 0 : 1,
            {}};
}

} // namespace

StartRequest RunCommandLine(const std::vector<std::string>& arguments, const std::string& programFolder,
                            std::ostream& out, std::ostream& err) {
    try {
        if (arguments.empty()) {
            if (!IsCustomUiFolder(".") && !programFolder.empty() && IsCustomUiFolder(programFolder)) {
                EnterFolder(programFolder);
            }
            return {true, 0, {}};
        }
        const std::string& first = arguments[0];
        if ((first == "--help" || first == "--version") && arguments.size() == 1) {
            out << (first == "--help" ? std::string(kUsage)
                                      : std::string("Zorby ") + version::kRecord + "\n");
            return {false, 0, {}};
        }
        if (first == "--check") {
            return RunChecks(arguments, out, err);
        }
        if (first.starts_with("--") || arguments.size() > 1) {
            return UsageError(err, arguments.size() > 1 ? "give one folder, or --check and any number of them"
                                                        : "unknown option " + first);
        }
        // A file dropped on the program stands for the folder that holds it.
        const bool file = KindOfEntry(first) == EntryKind::RegularFile;
        const std::size_t separator = first.find_last_of("/\\");
        const std::string folder = !file                            ? first
                                   : separator == std::string::npos ? std::string(".")
                                                                    : first.substr(0, separator + 1);
        if (KindOfEntry(folder) != EntryKind::Folder && KindOfEntry(folder) != EntryKind::Link) {
            return UsageError(err, "there is no folder " + first);
        }
        EnterFolder(folder);
        return {true, 0, {}};
    } catch (const Failure& failure) {
        return UsageError(err, "cannot open the folder " +
                                   (arguments.empty() ? programFolder : arguments.back()) + ": " +
                                   failure.Description());
    }
}

} // namespace zorby

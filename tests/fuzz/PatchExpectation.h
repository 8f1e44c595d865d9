#pragma once

#include "Failure.h"
#include "FakeWindow.h"
#include "FuzzFolder.h"
#include "InventoryScan.h"
#include "ItemMerge.h"
#include "PatchPreconditions.h"
#include "PlainText.h"
#include "StepByStepMerge.h"
#include "TextFile.h"
#include "Workspace.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zorby::fuzzing {

// What a patch of given files must come to, worked out apart from the run under test: the files are
// scanned again in a folder of their own, the merges are done by the literal step-by-step reference and
// the expected file is put together from the lists in their documented order.
struct PatchExpectation {
    enum class Outcome {
        ScanFails,  // the start-up scan itself fails (a title it cannot cut out, a list past its limit)
        Refused,    // the input is malformed; the patch must refuse it
        MergeFails, // the merge fails with `failureNumber`
        Written,    // the patch writes `output`
    };
    Outcome outcome = Outcome::ScanFails;
    int failureNumber = 0;
    std::string refusal;
    std::string output;
    int outputLines = 0;
    std::vector<float> progress; // what the animation merge shows on the progress bar
};

// `mainFile` is EQUI_Animations.xml as the tool reads it; `addOns` are the add-on files of the folder,
// under the names they have there. The current directory is `folder` while this runs.
inline PatchExpectation ExpectPatch(const std::filesystem::path& folder, const std::string& mainFile,
                                    const std::vector<std::pair<std::string, std::string>>& addOns) {
    PatchExpectation expected;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    FuzzFolder::Write("EQUI_Animations.xml", mainFile);
    for (const auto& [name, bytes] : addOns) {
        FuzzFolder::Write(name, bytes);
    }

    Workspace ws;
    testing::FakeWindow scanWindow;
    try {
        ScanAnimationFile(ws, nullptr);
        ScanAddOnFiles(ws, scanWindow);
    } catch (const Failure& failure) {
        expected.outcome = PatchExpectation::Outcome::ScanFails;
        expected.failureNumber = failure.Number();
        std::filesystem::current_path(previous);
        return expected;
    }
    std::filesystem::current_path(previous);

    if (auto refusal = FindPatchRefusal(ws)) {
        expected.outcome = PatchExpectation::Outcome::Refused;
        expected.refusal = std::move(*refusal);
        return expected;
    }

    testing::FakeWindow progress;
    try {
        expected.output = testing::StepByStepPatchOutput(ws, &progress);
    } catch (const Failure& failure) {
        expected.outcome = PatchExpectation::Outcome::MergeFails;
        expected.failureNumber = failure.Number();
        return expected;
    }
    expected.outcome = PatchExpectation::Outcome::Written;
    expected.progress = progress.progress;
    expected.outputLines = static_cast<int>(std::count(expected.output.begin(), expected.output.end(), '\n'));
    return expected;
}

// The trace a debug start writes into Debug.txt: the test form of every line that is not blank, each
// ending in CR LF.
// A file in a wide encoding is not read as lines, and a UTF-8 byte-order mark is no part of the first.
inline std::string ExpectTrace(std::string_view mainFile) {
    if (WideEncodingOf(mainFile) != Unreadable::No) {
        return {};
    }
    if (mainFile.starts_with("\xEF\xBB\xBF")) {
        mainFile.remove_prefix(3);
    }
    std::string trace;
    for (const auto& line : PlainLines(mainFile)) {
        const std::string form = PlainTestForm(line);
        if (!form.empty()) {
            trace.append(form).append("\r\n");
        }
    }
    return trace;
}

} // namespace zorby::fuzzing

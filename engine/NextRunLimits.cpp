#include "NextRunLimits.h"

#include "FileNames.h"
#include "InventoryScan.h"
#include "OutputWriter.h"
#include "PatchPreconditions.h"

namespace zorby {

std::optional<std::string> FindNextRunRefusal(const Workspace& ws) {
    const std::string start = std::string(names::kAnimationFile) + " cannot be patched: ";
    const std::string locked =
        ", and the next run could not open the file, not even to restore it.\rNothing was changed. Please "
        "make the add-on files smaller and run Zorby again.";
    const auto outputs = OutputLists(ws);
    std::uint64_t bytes = ws.MainFileMark ? kUtf8Mark.size() : 0;
    int lines = 0;
    for (const LineList* list : outputs) {
        lines += list->Count();
        for (const std::string_view line : list->Lines()) {
            bytes += line.size() + 2; // and CR LF
        }
    }
    if (bytes > kLargestTextFile) {
        return start + "it would be " + SizePastTheReadLimit(bytes) + locked;
    }
    // No list of the next run can hold more lines than the whole file: most files need no count.
    if (lines <= LineList::kMaxLines) {
        return std::nullopt;
    }
    const ScannedLineCounts counts = CountScannedLines(outputs);
    for (const auto& [what, count] :
         {std::pair{"its head", counts.Header}, std::pair{"its textures", counts.AllTextures},
          std::pair{"its animations", counts.AllAnimations},
          std::pair{"the lines outside its elements", counts.MiscItems}}) {
        if (count > LineList::kMaxLines) {
            return start + what + " would take " + std::to_string(count) + " lines, more than the " +
                   std::to_string(LineList::kMaxLines) + " lines that Zorby can read" + locked;
        }
    }
    return std::nullopt;
}

} // namespace zorby

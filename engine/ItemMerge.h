#pragma once

#include "LineList.h"
#include "PatchSummary.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <string_view>

namespace zorby {

// The lists one merge works on. The texture merge and the animation merge differ only in these and in
// whether they report progress.
struct MergeLists {
    LineList& items;        // the add-on lines; afterwards only the items with new titles
    LineList& collector;    // scratch list for the new items; empty before and after
    const LineList& titles; // the titles of the existing elements, as the scan found them
    LineList& existing;     // the lines of the existing elements
    LineList& rebuild;      // scratch list of a replacement; may hold lines left by the scan
    std::string_view openingTag;
    std::string_view closingTag;
};

// Folds the add-on items into the existing elements. Each line is judged by what remains of it outside
// comments. An item runs from its first line through its first closing line, or through a line that holds
// a whole element, and is named by its first line that is not comment text only; the last line starts an
// item only when it holds a whole element. An item whose title is among `titles` replaces the first element
// from the top whose opening line carries that title, where it stands; the other items stay in `items`,
// in their order. The result is line
// for line that of rebuilding the whole list for each replacement, but the work is done by splicing.
// When `progress` is given it is redrawn at the start of every item and its progress bar follows the
// add-on lines consumed, ending at 100. Failures are thrown: 5 for a line without a usable title, 6 when
// a list would pass 32,768 lines, 9 when a list ends inside an item.
// When `record` is given, the title of every item is noted in it as replacing or added.
void MergeItems(const MergeLists& lists, WindowPort* progress, MergeRecord* record = nullptr);

void MergeTextures(Workspace& workspace, MergeRecord* record = nullptr);
void MergeAnimations(Workspace& workspace, WindowPort& window, MergeRecord* record = nullptr);

} // namespace zorby

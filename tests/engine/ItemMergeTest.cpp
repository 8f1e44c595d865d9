#include "ItemMerge.h"

#include "FakeWindow.h"
#include "InventoryScan.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

// What a merge does is shown end to end by the robustness table, and held to the step-by-step reference
// merge, progress and all, by the fuzzer and its seeds (long lists among them); here is what only the merge
// decides: what it tells the summary.
namespace zorby {
namespace {

using testing::FakeWindow;
using testing::TempFolder;

std::string Item(const std::string& title, int inside = 0) {
    std::string lines = "<Ui2DAnimation item=\"" + title + "\">\r\n";
    for (int line = 0; line < inside; ++line) {
        lines += "<line/>\r\n";
    }
    return lines + "</Ui2DAnimation>\r\n";
}

// The animation lists as the scan leaves them for a main file and Zor_Anim.txt.
struct Scanned {
    Scanned(const std::string& main, const std::string& addOn) {
        TempFolder::Write("EQUI_Animations.xml", main);
        TempFolder::Write("Zor_Anim.txt", addOn);
        (void)ScanAnimationFile(ws, nullptr);
        FakeWindow silent;
        ScanAddOnFiles(ws, silent);
    }
    TempFolder folder;
    Workspace ws;
};

// The merge notes every item; the summary names an element replaced twice once, and ten titles at most.
TEST(ItemMerge, RecordTellsTheSummaryWhatEachItemDid) {
    std::string items;
    for (const std::string title :
         {"A", "A", "N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8", "N9", "N10", "N11"}) {
        items += Item(title);
    }
    Scanned animations(Item("A"), items);
    PatchSummary summary;
    ASSERT_FALSE(MergeItems(animations.ws, ElementKind::Animation, nullptr, summary.animations));
    EXPECT_EQ(animations.ws.AllAnimationsTemp.Count(), 0) << "a replacement leaves the rebuild list empty";
    std::string tenItems;
    for (int n = 1; n <= 10; ++n) {
        tenItems += Item(std::string("N").append(std::to_string(n)));
    }
    Scanned ten("", tenItems);
    ASSERT_FALSE(MergeItems(ten.ws, ElementKind::Animation, nullptr, summary.textures)); // shown as textures
    EXPECT_EQ(
        SummaryText(summary),
        "Textures: 10 added (N1, N2, N3, N4, N5, N6, N7, N8, N9, N10).\rAnimations: 1 replaced (A), 11 added "
        "(N1, N2, N3, N4, N5, N6, N7, N8, N9, N10 and 1 more).\rNo backup was made, so Restore will not be "
        "offered.\rThe add-on files are removed.");
}

// An element replaced twice takes the later item's lines; of the earlier one only the comments ahead of
// it, which travel with it. So a list exactly full stays within the limit, and one comment more is past.
TEST(ItemMerge, AnElementReplacedTwiceCountsAsTheLaterItem) {
    for (const std::string note : {"", "<!-- earlier A -->\r\n"}) {
        Scanned full(Item("A") + Item("Z", 32764), note + Item("A") + Item("A"));
        PatchSummary summary;
        EXPECT_EQ(MergeItems(full.ws, ElementKind::Animation, nullptr, summary.animations).has_value(),
                  !note.empty());
    }
}

} // namespace
} // namespace zorby

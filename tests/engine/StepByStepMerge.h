#pragma once

#include "CommentBlock.h"
#include "Failure.h"
#include "ItemMerge.h"
#include "LineHelpers.h"
#include "Workspace.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace zorby::testing {

// A line of a list by index, failing with 9 outside it, as the reference merge reads lists.
inline std::string_view At(const LineList& list, int index) {
    if (index < 0 || index >= list.Count()) {
        throw Failure(SubscriptOutOfRange);
    }
    return list.Lines()[static_cast<std::size_t>(index)];
}

// The merge done the slow, literal way: one line-list operation at a time, rebuilding the whole list of
// existing lines into the scratch list and back for every replacement. The real merge must give the
// same lists, the same progress values and the same failures.
inline void StepByStepMerge(const MergeLists& l, WindowPort* progress) {
    const auto closing = [&](std::string_view line) { return TTrim(TabTrim(line)) == l.closingTag; };
    const auto advance = [](int& cursor) {
        if (cursor == 32767) {
            throw Failure(Overflow);
        }
        ++cursor;
    };
    std::string buffer; // for test forms
    int i = 0;
    int k = 0;
    int m = 0;
    const auto reportProgress = [&] {
        if (progress != nullptr) {
            const int lastIndex = l.items.Count() - 1;
            const double percent = std::floor(static_cast<double>(i) / lastIndex * 100.0);
            progress->SetProgress(static_cast<float>(std::min(percent, 100.0)));
        }
    };

    while (i < l.items.Count() - 1) {
        if (progress != nullptr) {
            progress->Redraw();
        }
        int titleLine = i;
        for (CommentBlock block; titleLine < l.items.Count(); ++titleLine) {
            if (!block.Covers(At(l.items, titleLine)) &&
                !StartsWith(TestFormView(At(l.items, titleLine), buffer), "<!--")) {
                break;
            }
        }
        const std::string title = ElementTitle(At(l.items, titleLine < l.items.Count() ? titleLine : i));
        bool known = false;
        for (int x = 0; x < l.titles.Count() && !known; ++x) {
            known = At(l.titles, x) == title;
        }
        if (!known) {
            CommentBlock block;
            bool closed = false;
            do {
                closed = !block.Covers(At(l.items, i)) && closing(At(l.items, i));
                l.collector.Set(m, At(l.items, i));
                advance(i);
                reportProgress();
                advance(m);
            } while (!closed);
            continue;
        }
        int j = 0;
        for (CommentBlock block;
             block.Covers(At(l.existing, j)) || ElementTitle(At(l.existing, j)) != title;) {
            l.rebuild.Set(k, At(l.existing, j));
            advance(k);
            advance(j);
        }
        for (CommentBlock block;;) {
            advance(j);
            if (!block.Covers(At(l.existing, j - 1)) && closing(At(l.existing, j - 1))) {
                break;
            }
        }
        CommentBlock block;
        bool closed = false;
        do {
            closed = !block.Covers(At(l.items, i)) && closing(At(l.items, i));
            l.rebuild.Set(k, At(l.items, i));
            advance(i);
            reportProgress();
            advance(k);
        } while (!closed);
        for (int x = j; x < l.existing.Count(); ++x) {
            l.rebuild.Set(k, At(l.existing, x));
            advance(k);
        }
        l.existing.Clear();
        for (int x = 0; x < l.rebuild.Count(); ++x) {
            l.existing.Set(x, At(l.rebuild, x));
        }
        l.rebuild.Clear();
        k = 0;
    }
    if (progress != nullptr) {
        progress->SetProgress(100.0F);
    }
    l.items.Clear();
    for (int x = 0; x < l.collector.Count(); ++x) {
        l.items.Set(x, At(l.collector, x));
    }
    l.collector.Clear();
}

// The bytes the writer puts out for a scanned workspace, the merges done step by step: what a patch of
// those files must write. `progress` sees what the animation merge shows.
inline std::string StepByStepPatchOutput(Workspace& ws, WindowPort* progress = nullptr) {
    StepByStepMerge({ws.AllZorTextures, ws.AllZorTexturesTemp, ws.Textures, ws.AllTextures,
                     ws.AllTexturesTemp, "</TextureInfo>"},
                    nullptr);
    StepByStepMerge({ws.AllZorAnimations, ws.AllZorAnimationsTemp, ws.Animations, ws.AllAnimations,
                     ws.AllAnimationsTemp, "</Ui2DAnimation>"},
                    progress);
    std::string output = ws.MainFileMark ? "\xEF\xBB\xBF" : "";
    for (const LineList* list : {&ws.Header, &ws.AllTextures, &ws.AllZorTextures, &ws.AllAnimations,
                                 &ws.AllZorAnimations, &ws.MiscItems}) {
        for (const auto& line : list->Lines()) {
            output.append(line).append("\r\n");
        }
    }
    return output;
}

} // namespace zorby::testing

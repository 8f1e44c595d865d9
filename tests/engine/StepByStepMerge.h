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
// Each line is judged by what remains of it outside comments, as the scan judges it.
inline void StepByStepMerge(const MergeLists& l, WindowPort* progress) {
    const auto closing = [&](std::string_view line) { return TTrim(TabTrim(line)) == l.closingTag; };
    std::string buffer; // for test forms
    // An opening line that ends with the closing tag holds a whole element.
    const auto whole = [&](std::string_view r) {
        return StartsWith(TestFormView(r, buffer), l.openingTag) && TTrim(TabTrim(r)).ends_with(l.closingTag);
    };
    const auto advance = [](int& cursor) {
        if (cursor == 32767) {
            throw Failure(Overflow);
        }
        ++cursor;
    };
    // What remains of the next line outside comments, without its indentation.
    const auto rest = [](CommentTracker& comments, std::string_view line) {
        return Unindented(comments.Take(line).rest);
    };
    int i = 0;
    int k = 0;
    int m = 0;
    const auto reportProgress = [&] {
        if (progress != nullptr) {
            const int lastIndex = l.items.Count() - 1;
            const double percent =
                lastIndex == 0 ? 100.0 : std::floor(static_cast<double>(i) / lastIndex * 100.0);
            progress->SetProgress(static_cast<float>(std::min(percent, 100.0)));
        }
    };

    while (i < l.items.Count() - 1 || (i == l.items.Count() - 1 && [&] {
               CommentTracker fresh;
               return whole(rest(fresh, At(l.items, i)));
           }())) {
        if (progress != nullptr) {
            progress->Redraw();
        }
        // Named by the first line that is not comment text only.
        std::string title = ElementTitle(At(l.items, i));
        CommentTracker itemComments;
        for (int x = i; x < l.items.Count(); ++x) {
            const std::string_view r = rest(itemComments, At(l.items, x));
            if (!r.empty()) {
                title = ElementTitle(r);
                break;
            }
        }
        bool known = false;
        for (int x = 0; x < l.titles.Count() && !known; ++x) {
            known = At(l.titles, x) == title;
        }
        // The item's lines, through its closing line, go to `to` from `cursor` on.
        const auto copyItem = [&](LineList& to, int& cursor) {
            CommentTracker comments;
            bool closed = false;
            do {
                const std::string_view r = rest(comments, At(l.items, i));
                closed = closing(r) || whole(r);
                to.Set(cursor, At(l.items, i));
                advance(i);
                reportProgress();
                advance(cursor);
            } while (!closed);
        };
        if (!known) {
            copyItem(l.collector, m);
            continue;
        }
        // The first opening line of the kind with the title, comments followed from the top; then on
        // through the element's closing line.
        int j = 0;
        CommentTracker existingComments;
        bool matchCloses = false;
        for (;;) {
            const std::string_view r = rest(existingComments, At(l.existing, j));
            if (StartsWith(TestFormView(r, buffer), l.openingTag) && ElementTitle(r) == title) {
                matchCloses = closing(r) || whole(r);
                break;
            }
            l.rebuild.Set(k, At(l.existing, j));
            advance(k);
            advance(j);
        }
        for (bool first = true;; first = false) {
            advance(j);
            if (first ? matchCloses : closing(rest(existingComments, At(l.existing, j - 1)))) {
                break;
            }
        }
        copyItem(l.rebuild, k);
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
                     ws.AllTexturesTemp, "<TextureInfo it", "</TextureInfo>"},
                    nullptr);
    StepByStepMerge({ws.AllZorAnimations, ws.AllZorAnimationsTemp, ws.Animations, ws.AllAnimations,
                     ws.AllAnimationsTemp, "<Ui2DAnimation ", "</Ui2DAnimation>"},
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

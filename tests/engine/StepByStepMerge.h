#pragma once

#include "Failure.h"
#include "LineGrammar.h"
#include "LineHelpers.h"
#include "WindowPort.h"
#include "Workspace.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace zorby::testing {

// A line by index, failing with 9 outside the lines, as the reference merge reads lists.
inline std::string_view At(const auto& lines, int index) {
    if (index < 0 || index >= static_cast<int>(lines.size())) {
        throw Failure(SubscriptOutOfRange);
    }
    return lines[static_cast<std::size_t>(index)];
}

// The merge done the slow, literal way, from the lines alone: one line at a time, rebuilding the whole list
// of existing lines for every replacement and reading every line again each time. The real merge, which
// works from what the scan found, must give the same lists, the same progress values and the same
// failures: 6 when the existing lines would pass 32,768, and 5 or 9 for lists it cannot take.
// Each line is judged by what remains of it outside comments, as the scan judges it.
inline void StepByStepMerge(const KindLists& l, const ElementTags& tags, WindowPort* progress) {
    const auto closing = [&](std::string_view line) { return TTrim(TabTrim(line)) == tags.closing; };
    std::string buffer; // for test forms
    // An opening line that ends with the closing tag holds a whole element.
    const auto opening = [&](std::string_view r) {
        return StartsWith(TestFormView(r, buffer), tags.opening);
    };
    const auto whole = [&](std::string_view r) {
        return opening(r) && TTrim(TabTrim(r)).ends_with(tags.closing);
    };
    const auto title = [](std::string_view r) {
        const auto read = TitleOf(r);
        return read ? *read : throw Failure(InvalidArgument);
    };
    // What remains of the next line outside comments, without its indentation.
    const auto rest = [](CommentTracker& comments, std::string_view line) {
        const std::string_view r = comments.Take(line).rest;
        return r.substr(IndentOf(r));
    };
    const int count = l.addOnLines.Count();
    int i = 0;
    std::vector<std::string> collector;
    std::vector<std::string> existing(l.existing.Lines().begin(), l.existing.Lines().end());
    bool replaced = false;
    const auto consumed = [&] {
        ++i;
        if (progress != nullptr) {
            const double percent =
                count == 1 ? 100.0 : std::floor(static_cast<double>(i) / (count - 1) * 100.0);
            progress->SetProgress(static_cast<float>(std::min(percent, 100.0)));
        }
    };

    while (i < count - 1 || (i == count - 1 && [&] {
               CommentTracker fresh;
               return whole(rest(fresh, At(l.addOnLines.Lines(), i)));
           }())) {
        if (progress != nullptr) {
            progress->Redraw();
        }
        // Named by the first line that is not comment text only.
        std::string_view r;
        CommentTracker itemComments;
        for (int x = i; r.empty(); ++x) {
            r = rest(itemComments, At(l.addOnLines.Lines(), x));
        }
        const std::string name = title(r);
        const bool known = std::ranges::find(l.titles.Lines(), name) != l.titles.Lines().end();
        // The item's lines, through its closing line, go to `to`.
        const auto copyItem = [&](std::vector<std::string>& to) {
            CommentTracker comments;
            bool closed = false;
            do {
                const std::string_view r = rest(comments, At(l.addOnLines.Lines(), i));
                closed = closing(r) || whole(r);
                to.emplace_back(At(l.addOnLines.Lines(), i));
                consumed();
            } while (!closed);
        };
        if (!known) {
            copyItem(collector);
            continue;
        }
        // The first opening line of the kind with the title, comments followed from the top; then on
        // through the element's closing line.
        std::vector<std::string> rebuild;
        int j = 0;
        CommentTracker existingComments;
        bool matchCloses = false;
        for (;;) {
            const std::string_view r = rest(existingComments, At(existing, j));
            if (opening(r) && title(r) == name) {
                matchCloses = closing(r) || whole(r);
                break;
            }
            rebuild.emplace_back(At(existing, j++));
        }
        for (bool first = true;; first = false) {
            ++j;
            if (first ? matchCloses : closing(rest(existingComments, At(existing, j - 1)))) {
                break;
            }
        }
        copyItem(rebuild);
        rebuild.insert(rebuild.end(), existing.begin() + j, existing.end());
        existing = std::move(rebuild);
        replaced = true;
    }
    if (progress != nullptr) {
        progress->SetProgress(100.0F);
    }
    if (replaced) {
        l.existing.Assign({existing.begin(), existing.end()}); // fails with 6 past 32,768 lines
        l.rebuild.Clear();
    }
    l.addOnLines.Assign({collector.begin(), collector.end()});
    l.collector.Clear();
}

// The bytes the writer puts out for a scanned workspace, the merges done step by step: what a patch of
// those files must write. `progress` sees what the animation merge shows.
inline std::string StepByStepPatchOutput(Workspace& ws, WindowPort* progress = nullptr) {
    StepByStepMerge(ws.Of(ElementKind::Texture), TagsOf(ElementKind::Texture), nullptr);
    StepByStepMerge(ws.Of(ElementKind::Animation), TagsOf(ElementKind::Animation), progress);
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

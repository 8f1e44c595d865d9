#pragma once

#include "LineList.h"
#include "ListRows.h"

#include <string>
#include <windows.h>
// These need windows.h first.
#include <commctrl.h>

namespace zorby::win32 {

// Shows one of the engine's line lists in an owner-data list view that asks for each row as it
// paints it, and follows every change of the list; it holds no copy of the lines. Its one column is as
// wide as the widest line, so the list scrolls sideways as far as that line goes.
class LineListView : private LineListObserver {
public:
    LineListView(HWND parent, int id, LineList& list, const RECT& place);
    ~LineListView() override;
    LineListView(const LineListView&) = delete;
    LineListView& operator=(const LineListView&) = delete;

    HWND Window() const { return window_; }
    // The list view's request for a row's text (LVN_GETDISPINFOW).
    void Answer(NMLVDISPINFOW& request);
    // The width of the one column, in pixels.
    int ColumnWidth() const;

private:
    void BeforeAppend(const LineList&, int) override {}
    void AfterAppend(const LineList& list) override;
    void Replaced(const LineList& list, int row) override;
    void BeforeReset(const LineList&) override {}
    void AfterReset(const LineList& list) override;
    void FitColumn(bool widestChanged);

    HWND window_;
    LineList& list_;
    ui::WidestLine widest_{ui::LineEncoding::CodePage};
    int measuredRow_ = -2; // the row the column was last sized by
    std::wstring row_;     // the text handed out last; the list view reads it at once
};

} // namespace zorby::win32

#include "LineListView.h"

#include "Native.h"
// windows.h first, through the headers above.
#include <commctrl.h>

namespace zorby::win32 {

LineListView::LineListView(HWND parent, int id, LineList& list, const RECT& place) : list_(list) {
    window_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, WideFromUtf8(list.Name()).c_str(),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                  LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                              place.left, place.top, place.right - place.left, place.bottom - place.top,
                              parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(ListFont()), FALSE);
    SendMessageW(window_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 0;
    SendMessageW(window_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    list_.SetObserver(this);
    AfterReset(list_); // the list may hold lines already
}

LineListView::~LineListView() {
    list_.SetObserver(nullptr);
}

void LineListView::Answer(NMLVDISPINFOW& request) {
    const int row = request.item.iItem;
    if ((request.item.mask & LVIF_TEXT) == 0 || row < 0 || row >= list_.Count()) {
        return;
    }
    row_ = WideFromAnsi(ui::RowText(list_.Lines()[static_cast<std::size_t>(row)]));
    request.item.pszText = row_.data();
}

int LineListView::ColumnWidth() const {
    return static_cast<int>(SendMessageW(window_, LVM_GETCOLUMNWIDTH, 0, 0));
}

void LineListView::AfterAppend(const LineList& list) {
    widest_.Appended(list);
    SendMessageW(window_, LVM_SETITEMCOUNT, static_cast<WPARAM>(list.Count()),
                 LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    FitColumn(false);
}

void LineListView::Replaced(const LineList& list, int row) {
    const bool widestChanged = row == widest_.Of(list);
    widest_.Replaced(list, row);
    SendMessageW(window_, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
    FitColumn(widestChanged);
}

void LineListView::AfterReset(const LineList& list) {
    widest_.Reset();
    SendMessageW(window_, LVM_SETITEMCOUNT, static_cast<WPARAM>(list.Count()), 0);
    InvalidateRect(window_, nullptr, TRUE);
    FitColumn(true);
}

// Only the widest line is measured, and only when it is another line or another text than last time.
void LineListView::FitColumn(bool widestChanged) {
    const int row = widest_.Of(list_);
    if (row == measuredRow_ && !widestChanged) {
        return;
    }
    measuredRow_ = row;
    int width = 0;
    if (row >= 0) {
        const std::wstring text = WideFromAnsi(ui::RowText(list_.Lines()[static_cast<std::size_t>(row)]));
        HDC dc = GetDC(window_);
        HGDIOBJ before = SelectObject(dc, ListFont());
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, before);
        ReleaseDC(window_, dc);
        // The list view leaves a small margin either side of a row's text.
        width = size.cx + Scale(12);
    }
    SendMessageW(window_, LVM_SETCOLUMNWIDTH, 0, width);
}

} // namespace zorby::win32

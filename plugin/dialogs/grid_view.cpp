#include "grid_view.h"

#include <algorithm>
#include <memory>

#include "file_path.h"
#include "glyphs.h"
#include "icon_files.h"
#include "window_text.h"

namespace dialogs {

namespace {

constexpr UINT_PTR kRenameKeysSubclass = 0x4B59;
constexpr wchar_t kBlankIcon[] = L"[fav]_empty.bmp";

LRESULT CALLBACK renameKeysProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                DWORD_PTR data) {
  auto* keys = reinterpret_cast<RenameKeys*>(data);
  try {
    const bool open = keys->isOpen && keys->isOpen();
    switch (msg) {
      case WM_GETDLGCODE:
        // Enter, Tab and Escape belong to the rename, not to the dialog.
        if (open) return ::DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTALLKEYS;
        break;
      case WM_KEYDOWN:
        if (!open) break;
        if (wp == VK_RETURN || wp == VK_TAB) {
          keys->commit(true);
          return 0;
        }
        if (wp == VK_ESCAPE) {
          keys->cancel();
          return 0;
        }
        break;
      case WM_CHAR:
        // No beep for the keys just used.
        if (wp == L'\r' || wp == L'\t' || wp == 0x1B || wp == L'\n') return 0;
        break;
      case WM_KILLFOCUS: {
        // Leaving the editor commits; the focus goes where the user sent it.
        const LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
        if (open) keys->commit(false);
        return result;
      }
      case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, &renameKeysProc, id);
        delete keys;
        return ::DefSubclassProc(hwnd, msg, wp, lp);
      default:
        break;
    }
  } catch (...) {
    // Nothing escapes into the host; the edit box carries on.
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

// A list view works out its row metrics at its first paint that has rows,
// and one that does so then sets its scroll bars again, redrawing the
// vertical one twice over the rows it is about to draw. Worked out while
// the list is not yet shown, on a memory DC and with a single row, the
// first fill (at open or at a Load) is painted once. (Worked out at that
// first fill instead, with the list on screen, it saved little.)
void workOutRowMetrics(HWND list) {
  fav::unique_hdc memory(::CreateCompatibleDC(nullptr));
  if (!memory) return;
  constexpr DWORD kQuiet = LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL;
  ListView_SetItemCountEx(list, 1, kQuiet);
  ::SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
  ListView_SetItemCountEx(list, 0, kQuiet);
}

}  // namespace

// --- the list view ------------------------------------------------------------------------

HWND GridView::create(HWND parent, int id, const wchar_t* caption,
                      const std::vector<GridColumn>& columns, bool noHeaders, HFONT font,
                      GridSource source, const RECT& place) {
  source_ = std::move(source);
  list_ = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, caption,
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_VSCROLL | LVS_REPORT |
          LVS_NOSORTHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED |
          LVS_OWNERDATA | (noHeaders ? LVS_NOCOLUMNHEADER : 0),
      place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (!list_) return nullptr;
  header_ = ListView_GetHeader(list_);
  ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  // The font makes the list ask for its row height again.
  ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (size_t c = 0; c < columns.size(); ++c) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_SUBITEM | (columns[c].title ? LVCF_TEXT : 0);
    column.cx = columns[c].width;
    column.iSubItem = static_cast<int>(c);
    column.pszText = const_cast<wchar_t*>(columns[c].title ? columns[c].title : L"");
    ListView_InsertColumn(list_, static_cast<int>(c), &column);
  }
  workOutRowMetrics(list_);
  return list_;
}

void GridView::setRows(int count, int selectedRow) {
  if (!list_) return;
  if (count <= 0 && rowCount() == 0) return;  // empty it was and stays: nothing to draw
  ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  // The old selection belonged to the old rows. Cleared row by row: "every
  // row" walks the whole list in some list views, a cost per row.
  const int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
  if (focused >= 0) ListView_SetItemState(list_, focused, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (ListView_GetSelectedCount(list_) > 0)
    for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(list_, row, LVNI_SELECTED))
      ListView_SetItemState(list_, row, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemCountEx(list_, std::max(count, 0), LVSICF_NOSCROLL);
  if (selectedRow >= 0 && selectedRow < count) {
    ListView_SetItemState(list_, selectedRow, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetSelectionMark(list_, selectedRow);
    ListView_EnsureVisible(list_, selectedRow, FALSE);
  }
  ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list_, nullptr, TRUE);
}

int GridView::rowCount() const { return list_ ? ListView_GetItemCount(list_) : 0; }

int GridView::columnWidth(int column) const {
  if (!header_) return list_ ? ListView_GetColumnWidth(list_, column) : 0;
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  return Header_GetItem(header_, column, &item) ? item.cxy : 0;
}

void GridView::redrawRow(int row) const {
  if (list_ && row >= 0) ListView_RedrawItems(list_, row, row);
}

int GridView::cellAt(POINT client, int* column) const {
  if (!list_) return -1;
  LVHITTESTINFO hit{};
  hit.pt = client;
  const int row = ListView_HitTest(list_, &hit);
  if (column) {
    RECT first{};
    int left = 0;
    if (ListView_GetItemRect(list_, 0, &first, LVIR_BOUNDS)) left = first.left;
    const int columns = header_ ? Header_GetItemCount(header_) : 1;
    int c = 0;
    for (; c < columns - 1; ++c) {
      left += columnWidth(c);
      if (client.x < left) break;
    }
    *column = c;
  }
  return row;
}

RECT GridView::cellRect(int row, int column) const {
  RECT bounds{};
  if (!list_ || !ListView_GetItemRect(list_, row, &bounds, LVIR_BOUNDS)) return bounds;
  int left = bounds.left;
  for (int c = 0; c < column; ++c) left += columnWidth(c);
  return RECT{left, bounds.top, left + columnWidth(column), bounds.bottom};
}

void GridView::placeOver(HWND editor, HWND dialog, int row, int column, int height) const {
  RECT cell = cellRect(row, column);
  if (cell.bottom <= cell.top) return;
  POINT origin{cell.left + 1, cell.top + 1};
  ::MapWindowPoints(list_, dialog, &origin, 1);
  ::SetWindowPos(editor, HWND_TOP, origin.x, origin.y, cell.right - cell.left + 1,
                 height > 0 ? height : cell.bottom - cell.top + 1, SWP_NOACTIVATE);
}

bool GridView::answer(NMHDR* header, LRESULT& result) const {
  if (!header || header->hwndFrom != list_) return false;
  if (header->code == LVN_GETDISPINFOW) {
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    LVITEMW& item = info->item;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
      textBuffer_ = source_.cellText ? source_.cellText(item.iItem, item.iSubItem) : std::wstring();
      // A reader's buffer gets what fits, cut, never overrun.
      const size_t n = std::min(static_cast<size_t>(item.cchTextMax) - 1, textBuffer_.size());
      std::copy_n(textBuffer_.c_str(), n, item.pszText);
      item.pszText[n] = L'\0';
    }
    if (item.mask & LVIF_IMAGE) item.iImage = -1;
    if (item.mask & LVIF_PARAM) item.lParam = 0;
    result = 0;
    return true;
  }
  if (header->code == LVN_ODFINDITEMW) {
    // Typing in the list goes to the next row whose first cell starts with
    // the letters typed, ignoring case, as a list that holds its rows does.
    const auto* find = reinterpret_cast<const NMLVFINDITEMW*>(header);
    result = -1;
    const int count = rowCount();
    if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz || count <= 0 ||
        !source_.cellText)
      return true;
    const std::wstring wanted = find->lvfi.psz;
    const bool partial = (find->lvfi.flags & LVFI_PARTIAL) != 0;
    const int start = std::clamp(find->iStart, 0, count);
    for (int i = 0; i < count; ++i) {
      const int row = start + i;
      if (row >= count && !(find->lvfi.flags & LVFI_WRAP)) break;
      const std::wstring text = source_.cellText(row % count, 0);
      const size_t length = partial ? wanted.size() : std::max(wanted.size(), text.size());
      if (text.size() < wanted.size() || (!partial && text.size() != wanted.size())) continue;
      if (::CompareStringOrdinal(text.c_str(), static_cast<int>(length), wanted.c_str(),
                                 static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL) {
        result = row % count;
        return true;
      }
    }
    return true;
  }
  return false;
}

void paintRowBackground(const DRAWITEMSTRUCT& draw, bool listFocused) {
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  int back = COLOR_WINDOW, fore = COLOR_WINDOWTEXT;
  if (selected) {
    back = listFocused ? COLOR_HIGHLIGHT : COLOR_BTNFACE;
    fore = listFocused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
  }
  ::FillRect(draw.hDC, &draw.rcItem, ::GetSysColorBrush(back));
  ::SetBkMode(draw.hDC, TRANSPARENT);
  ::SetTextColor(draw.hDC, ::GetSysColor(fore));
}

void drawHintPanel(const DRAWITEMSTRUCT& draw, const HintPanelLook& look) {
  RECT r = draw.rcItem;
  ::FillRect(draw.hDC, &r, ::GetSysColorBrush(COLOR_BTNFACE));
  if (look.sunken) ::DrawEdge(draw.hDC, &r, BDR_SUNKENOUTER, BF_RECT);
  const std::wstring text = fav::windowText(draw.hwndItem);
  r.left += look.margin;
  r.right -= look.margin;
  r.bottom -= look.bottom;
  ::SetBkMode(draw.hDC, TRANSPARENT);
  ::SetTextColor(draw.hDC, ::GetSysColor(COLOR_BTNTEXT));
  HGDIOBJ oldFont = look.font ? ::SelectObject(draw.hDC, look.font) : nullptr;
  ::DrawTextW(draw.hDC, text.c_str(), static_cast<int>(text.size()), &r,
              DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (oldFont) ::SelectObject(draw.hDC, oldFont);
}

// --- the rename editor ---------------------------------------------------------------------

void attachRenameKeys(HWND edit, RenameKeys keys) {
  if (!edit) return;
  auto owned = std::make_unique<RenameKeys>(std::move(keys));
  if (::SetWindowSubclass(edit, &renameKeysProc, kRenameKeysSubclass,
                          reinterpret_cast<DWORD_PTR>(owned.get())))
    owned.release();  // freed at WM_NCDESTROY
}

// --- icons ---------------------------------------------------------------------------------

int IconImages::indexOf(const std::wstring& name) const {
  auto it = byName.find(name);
  return it == byName.end() ? -1 : it->second;
}

IconImages loadIconImages(const std::wstring& pluginFolder, const std::wstring& folder,
                          const std::wstring& prefix, int px, const std::atomic<bool>* stop) {
  IconImages icons;
  icons.size = px;
  icons.names.assign(1, std::wstring());
  icons.list.reset(::ImageList_Create(px, px, ILC_COLOR24 | ILC_MASK, 16, 64));
  if (icons.list) {
    fav::unique_hbitmap blank = loadBitmapFile(fav::joinPath(pluginFolder, kBlankIcon), px);
    // A missing blank icon becomes an empty picture, so the list still works.
    if (!blank) blank = emptyPicture(px);
    ::ImageList_AddMasked(icons.list.get(), blank.get(), RGB(255, 255, 255));
    for (const std::wstring& name : listIconFiles(folder, prefix)) {
      if (stop && *stop) break;
      fav::unique_hbitmap picture = loadBitmapFile(fav::joinPath(folder, name), px);
      if (!picture) continue;  // an unreadable file is left out, the rest still load
      if (::ImageList_AddMasked(icons.list.get(), picture.get(), RGB(255, 255, 255)) < 0) continue;
      icons.names.push_back(name);
    }
  }
  for (size_t i = 0; i < icons.names.size(); ++i)
    icons.byName.emplace(icons.names[i], static_cast<int>(i));
  return icons;
}

}  // namespace dialogs

// The favorites grid of the Configure Favorites dialog: the shared grid view
// over the favorites the filter shows (rows_ maps a row to its favorite), the
// icon lists it draws from, the three in-place editors and dragging. Drops
// and commands go to the shell through gridEvents_.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <array>

#include "code_page_text.h"
#include "file_path.h"
#include "frm_ConfigureFavorites.h"
#include "frm_ConfigureFavorites_res.h"
#include "glyphs.h"
#include "grid_view.h"
#include "icon_rule.h"
#include "open_favorite.h"
#include "plugin_state.h"
#include "ui_seam.h"
#include "un_plugincommon.h"
#include "window_text.h"

namespace {

constexpr int kIconColumn = 44;
constexpr int kSubmenuColumn = 128;
constexpr int kConnectionColumn = 150;
constexpr int kColumns = 4;
constexpr int kFileColumn = 2;
constexpr int kConnectionColumnIndex = 3;
constexpr int kIconOffset = 5;
constexpr UINT_PTR kSubclassId = 1;




// The files dropped from Explorer (folders left out). Releases the drop.
std::vector<std::wstring> droppedFiles(HDROP drop) {
  std::vector<std::wstring> paths;
  if (!drop) return paths;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    ::DragQueryFileW(drop, i, path.data(), length + 1);
    path.resize(length);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool folder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    if (!path.empty() && !folder) paths.push_back(std::move(path));
  }
  ::DragFinish(drop);
  return paths;
}


int systemDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// Holds a combo box's drawing while its entries are refilled. WM_SETREDRAW
// TRUE also sets WS_VISIBLE, so a hidden in-place picker is left alone:
// otherwise it would appear over the filter box after every refill.
class RedrawPause {
 public:
  explicit RedrawPause(HWND combo)
      : combo_((::GetWindowLongW(combo, GWL_STYLE) & WS_VISIBLE) ? combo : nullptr) {
    if (combo_) ::SendMessageW(combo_, WM_SETREDRAW, FALSE, 0);
  }
  ~RedrawPause() {
    if (!combo_) return;
    ::SendMessageW(combo_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(combo_, nullptr, TRUE);
  }
  RedrawPause(const RedrawPause&) = delete;
  RedrawPause& operator=(const RedrawPause&) = delete;

 private:
  HWND combo_;
};

void insertComboItem(HWND combo, const std::wstring& caption, int image) {
  COMBOBOXEXITEMW entry{};
  entry.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
  entry.iItem = -1;
  entry.pszText = const_cast<wchar_t*>(caption.c_str());
  entry.iImage = image;
  entry.iSelectedImage = image;
  ::SendMessageW(combo, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
}

}  // namespace

// --- the grid window ------------------------------------------------------------------

bool TfrmConfigureFavorites::createGrid(const RECT& place) {
  // The columns get the widths they will have with the rows to come, so the
  // first fill finds nothing to change.
  const int rows = initialized_ ? static_cast<int>(model_.visible().size()) : 0;
  const int edges = 2 * ::GetSystemMetrics(SM_CXEDGE);
  int inside = place.right - place.left - edges;
  if (rowsNeedScrollBar(rows, place.bottom - place.top - edges))
    inside -= ::GetSystemMetrics(SM_CXVSCROLL);
  const std::array<int, 4> widths = columnWidths(inside);
  const std::vector<dialogs::GridColumn> columns{{L"Icon", widths[0]},
                                                 {L"Submenu", widths[1]},
                                                 {L"File", widths[2]},
                                                 {L"Connection", widths[3]}};
  dialogs::GridSource source;
  source.cellText = [this](int row, int column) { return cellText(row, column); };
  sgFavorites_ = grid_.create(hwnd(), IDC_SG_FAVORITES, L"Favorites", columns, false,
                              reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)),
                              std::move(source), place);
  if (!sgFavorites_) return false;
  // Ctrl and Shift clicks choose the rows Export writes; the other commands
  // act on the row clicked last, and each of them leaves one row selected.
  ::SetWindowLongPtrW(sgFavorites_, GWL_STYLE,
                      ::GetWindowLongPtrW(sgFavorites_, GWL_STYLE) & ~LVS_SINGLESEL);
  // Files dropped from Explorer are added as Add adds them.
  ::DragAcceptFiles(sgFavorites_, TRUE);
  makeBoldFont();
  ::SetWindowSubclass(sgFavorites_, &TfrmConfigureFavorites::gridProc, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
  dialogs::RenameKeys keys;
  keys.isOpen = [this] { return renameOpen_; };
  keys.commit = [this](bool refocus) { edtItemCommit(refocus); };
  keys.cancel = [this] { edtItemCancel(); };
  dialogs::attachRenameKeys(item(IDC_EDT_ITEM), std::move(keys));
  return true;
}

// The icon and submenu pickers over the grid are combo boxes, the dearest
// windows to make (each brings a drop-down list of its own, two in a row
// are a third of an empty dialog's making): they are made once the dialog
// has been drawn, or at the first click that needs one if that comes first.
void TfrmConfigureFavorites::makePickers() {
  if (!hwnd() || item(IDC_CBE_ICON)) return;
  const WPARAM font = static_cast<WPARAM>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  HWND after = item(IDC_EDT_FILTER);  // their place in the tab order, before the grid
  const struct {
    int id;
    const wchar_t* hint;
    RECT units;  // dialog units: the drop-down list's length comes from the first height
  } pickers[] = {{IDC_CBE_ICON, L"Choose icon", {0, 0, 30, 150}},
                 {IDC_CB_SUBMENU_EDIT, L"Choose submenu", {0, 0, 80, 150}}};
  for (const auto& p : pickers) {
    RECT size = p.units;
    ::MapDialogRect(hwnd(), &size);
    HWND picker = ::CreateWindowExW(
        0, WC_COMBOBOXEXW, L"", WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0,
        size.right, size.bottom, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(p.id)),
        thisModule(), nullptr);
    if (!picker) continue;
    ::SendMessageW(picker, WM_SETFONT, font, FALSE);
    ::SetWindowPos(picker, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SendMessageW(picker, CB_SETDROPPEDWIDTH, scale(kPickerListWidth), 0);
    setHint(picker, p.hint);
    after = picker;
  }
  if (icons_.list) fillIconPicker(item(IDC_CBE_ICON));
  submenuComboShows_.clear();
  FillSubmenuCombo();
}

std::wstring TfrmConfigureFavorites::cellText(int row, int column) const {
  const TFavoriteItem* favorite = rowFavorite(row);
  if (!favorite) return {};
  switch (column) {
    // Column 0 is drawn as a picture; its text names the icon for tools that
    // read rows.
    case 0: return favorite->Image();
    case 1: return favorite->SubMenu();
    case kFileColumn: return favorite->FileName();
    default: return favlist::connectionText(*favorite);
  }
}

bool TfrmConfigureFavorites::rowsNeedScrollBar(int rows, int height) const {
  return static_cast<long long>(rows) * scale(kRowHeight) > height;
}

std::array<int, 4> TfrmConfigureFavorites::columnWidths(int inside) const {
  // The file column takes what the others leave.
  const int others = scale(kIconColumn) + scale(kSubmenuColumn) + scale(kConnectionColumn);
  return {scale(kIconColumn), scale(kSubmenuColumn), std::max<int>(inside - others, scale(40)),
          scale(kConnectionColumn)};
}

void TfrmConfigureFavorites::FormResize(int rowsToCome) {
  if (!sgFavorites_) return;
  RECT client{};
  ::GetClientRect(sgFavorites_, &client);
  if (rowsToCome >= 0) {
    // The width the list will have once those rows are in: with a scroll
    // bar when they do not fit under the header.
    RECT header{};
    ::GetWindowRect(grid_.header(), &header);
    const bool hasBar = (::GetWindowLongW(sgFavorites_, GWL_STYLE) & WS_VSCROLL) != 0;
    const bool needsBar =
        rowsNeedScrollBar(rowsToCome, client.bottom - (header.bottom - header.top));
    const int bar = ::GetSystemMetrics(SM_CXVSCROLL);
    if (needsBar && !hasBar) client.right -= bar;
    if (!needsBar && hasBar) client.right += bar;
  }
  const std::array<int, 4> widths = columnWidths(client.right);
  // A width set again redraws the whole list: only the ones that changed.
  for (int c = 0; c < 4; ++c)
    if (grid_.columnWidth(c) != widths[c])
      ListView_SetColumnWidth(sgFavorites_, c, widths[c]);
}

void TfrmConfigureFavorites::makeBoldFont() {
  LOGFONTW font{};
  HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  if (!dialogFont || !::GetObjectW(dialogFont, sizeof(font), &font)) return;
  font.lfWeight = FW_BOLD;
  boldFont_.reset(::CreateFontIndirectW(&font));
}

void TfrmConfigureFavorites::createTooltip() {
  tooltip_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(),
                               nullptr, thisModule(), nullptr);
  if (!tooltip_) return;
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(sgFavorites_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, scale(600));
}

void TfrmConfigureFavorites::updateTooltip(int row, int col) {
  // Made when the mouse first comes: a window fewer to make at every open.
  if (!tooltip_) createTooltip();
  if (!tooltip_ || (row == tipRow_ && col == tipCol_)) return;
  tipRow_ = row;
  tipCol_ = col;
  // The file cell shows the path the favorite opens, "%path%" resolved.
  std::wstring text;
  if (const TFavoriteItem* favorite = rowFavorite(row); favorite && col == kFileColumn &&
                                                        !favlist::isSeparator(*favorite))
    text = fav::expandPathMarker(favorite->FileName(), editText(IDC_EDT_REPLACE_PATH));
  TOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(sgFavorites_);
  tool.lpszText = text.data();
  ::SendMessageW(tooltip_, TTM_POP, 0, 0);
  ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

int TfrmConfigureFavorites::rowIndex(int row) const {
  if (!sgFavorites_) return model_.at(row) ? row : -1;
  if (row < 0 || row >= static_cast<int>(rows_.size())) return -1;
  return rows_[static_cast<size_t>(row)];
}

const TFavoriteItem* TfrmConfigureFavorites::rowFavorite(int row) const {
  return model_.at(rowIndex(row));
}

int TfrmConfigureFavorites::rowOfFavorite(int index) const {
  if (!model_.at(index)) return -1;
  if (!sgFavorites_) return index;
  // Unfiltered, row i shows favorite i.
  if (index < static_cast<int>(rows_.size()) && rows_[static_cast<size_t>(index)] == index)
    return index;
  const auto it = std::find(rows_.begin(), rows_.end(), index);
  return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
}

void TfrmConfigureFavorites::setRowTexts(int row) { grid_.redrawRow(row); }

void TfrmConfigureFavorites::applyFilter() {
  std::wstring text = editText(IDC_EDT_FILTER);
  if (text == model_.filter()) return;
  if (renameOpen_) edtItemCommit();
  if (model_.setFilter(std::move(text))) {
    // The selection went with its row: so does an armed rename.
    click_.forget();
  }
  FillGrid();
  UpdateActionStates();
}

void TfrmConfigureFavorites::FillGrid() {
  if (!sgFavorites_) return;
  tipRow_ = tipCol_ = -1;
  fillingGrid_ = true;
  // The list view holds no rows: it asks for what it shows.
  rows_ = model_.visible();
  // A column width set while rows are in redraws them all: the widths for
  // the rows to come go first, and the check after them finds nothing to do.
  FormResize(static_cast<int>(rows_.size()));
  grid_.setRows(static_cast<int>(rows_.size()), rowOfFavorite(model_.selected()));
  fillingGrid_ = false;
  FillSubmenuCombo();
  FormResize();
}

// --- icon lists --------------------------------------------------------------------------

int TfrmConfigureFavorites::iconPixels() const {
  return hwnd() ? scale(20) : ::MulDiv(20, systemDpi(), 96);
}

std::wstring TfrmConfigureFavorites::imageFolder() const {
  // An empty image path means the plug-in folder, as for the tool buttons.
  return fImagePath.empty() ? plugin::pluginFolder() : fImagePath;
}

void TfrmConfigureFavorites::LoadImages() {
  // A read still under way would bring older icons after these.
  iconLoader_.stop();
  if (submenuPickerWaits_) {
    submenuPickerWaits_ = false;
    FillSubmenuCombo();
  }
  // The combo boxes take the new list before the old one goes.
  dialogs::IconImages old = std::move(icons_);
  icons_ = dialogs::loadIconImages(plugin::pluginFolder(), imageFolder(), fPrefix, iconPixels());
  populateIconCombos();
}

void TfrmConfigureFavorites::startIconLoad() {
  if (!iconLoader_.start(hwnd(), kIconsReadMessage, plugin::pluginFolder(), imageFolder(), fPrefix,
                         iconPixels()))
    LoadImages();  // no worker: read here, as before
}

void TfrmConfigureFavorites::iconsRead() {
  std::optional<dialogs::IconImages> icons = iconLoader_.take();
  if (!icons) return;  // left over from a read that was stopped
  dialogs::IconImages old = std::move(icons_);
  icons_ = std::move(*icons);
  populateIconCombos();
  submenuPickerWaits_ = false;
  FillSubmenuCombo();
  if (sgFavorites_) ::InvalidateRect(sgFavorites_, nullptr, FALSE);
}

void TfrmConfigureFavorites::populateIconCombos() {
  if (!hwnd()) return;
  fillIconPicker(item(IDC_CBE_ICON));
  HWND menuItem = item(IDC_CBE_MENU_ITEM);
  const std::wstring previous = selectedMenuItemIcon();
  RedrawPause pause(menuItem);
  ::SendMessageW(menuItem, CB_RESETCONTENT, 0, 0);
  ::SendMessageW(menuItem, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(icons_.list.get()));
  int reselect = -1;
  for (size_t i = 1; i < icons_.names.size(); ++i) {
    insertComboItem(menuItem, icons_.names[i], static_cast<int>(i));
    if (reselect < 0 && !previous.empty() && icons_.names[i] == previous)
      reselect = static_cast<int>(i) - 1;
  }
  ::SendMessageW(menuItem, CB_SETCURSEL, reselect, 0);
}

// cbeIcon: the blank entry, then every icon file.
void TfrmConfigureFavorites::fillIconPicker(HWND picker) {
  if (!picker) return;  // not made yet: it is filled when it is
  RedrawPause pause(picker);
  ::SendMessageW(picker, CB_RESETCONTENT, 0, 0);
  ::SendMessageW(picker, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(icons_.list.get()));
  insertComboItem(picker, L"", 0);
  for (size_t i = 1; i < icons_.names.size(); ++i)
    insertComboItem(picker, icons_.names[i], static_cast<int>(i));
}

std::wstring TfrmConfigureFavorites::selectedMenuItemIcon() const {
  if (!hwnd()) return {};
  const int sel = static_cast<int>(::SendMessageW(item(IDC_CBE_MENU_ITEM), CB_GETCURSEL, 0, 0));
  // cbeMenuItem entry i is icon file i (no blank entry).
  if (sel < 0 || sel + 1 >= static_cast<int>(icons_.names.size())) return {};
  return icons_.names[static_cast<size_t>(sel) + 1];
}

int TfrmConfigureFavorites::iconImageIndex(const std::wstring& image) const {
  return image.empty() ? -1 : icons_.indexOf(image);
}

void TfrmConfigureFavorites::FillSubmenuCombo() {
  if (!hwnd() || submenuPickerWaits_) return;
  const int px = iconPixels();
  HWND combo = item(IDC_CB_SUBMENU_EDIT);
  if (!combo) return;  // not made yet: it is filled when it is
  const std::wstring folder = imageFolder();
  const TSubMenuItems& submenus = model_.submenus();
  // Every refill of the grid comes here; the pictures are read again only
  // when the submenus, their icons, the folder or the size changed.
  std::wstring shown = folder + L'\n' + std::to_wstring(px);
  for (int k = 0; k < submenus.Count(); ++k)
    shown += L'\n' + submenus.Items(k).SubMenu() + L'\t' + submenus.Items(k).Image();
  if (shown == submenuComboShows_) {
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    return;
  }
  submenuComboShows_ = std::move(shown);
  fav::unique_imagelist pictures{::ImageList_Create(px, px, ILC_COLOR24 | ILC_MASK, 8, 8)};
  RedrawPause pause(combo);
  ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  ::SendMessageW(combo, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pictures.get()));
  for (int k = 0; k < submenus.Count(); ++k) {
    const TSubMenuItem& submenu = submenus.Items(k);
    fav::unique_hbitmap picture;
    if (!submenu.Image().empty()) picture = dialogs::loadBitmapFile(fav::joinPath(folder, submenu.Image()), px);
    // No picture: an empty one keeps entry k on image k.
    if (!picture) picture = dialogs::emptyPicture(px);
    if (pictures) ::ImageList_AddMasked(pictures.get(), picture.get(), RGB(255, 255, 255));
    insertComboItem(combo, submenu.SubMenu(), k);
  }
  std::swap(ilSubmenuIcons_, pictures);
}

// --- drawing ------------------------------------------------------------------------------

void TfrmConfigureFavorites::sgFavoritesDrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.itemID == static_cast<UINT>(-1)) return;
  const int row = static_cast<int>(draw.itemID);
  const TFavoriteItem* favorite = rowFavorite(row);
  HDC dc = draw.hDC;
  const bool focused = gridFocused_;
  dialogs::paintRowBackground(draw, focused);
  if (!favorite) return;
  // A missing file: grey text and a warning mark before the file name
  // (on the focused selection the highlight colours stay legible).
  const bool missing = model_.presence(rowIndex(row)) == favlist::Presence::Missing;
  if (missing && !(focused && (draw.itemState & ODS_SELECTED)))
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));

  int x = draw.rcItem.left;
  int widths[kColumns];
  for (int c = 0; c < kColumns; ++c) widths[c] = grid_.columnWidth(c);
  const int image = iconImageIndex(favorite->Image());
  if (image >= 0 && icons_.list)
    ::ImageList_Draw(icons_.list.get(), image, dc, x + scale(kIconOffset),
                     draw.rcItem.top + scale(kIconOffset), ILD_TRANSPARENT);
  // Each submenu block is set apart, so the order Ok writes is the one seen.
  const TFavoriteItem* previous = rowFavorite(row - 1);
  const favlist::RowLook look =
      favlist::rowLook(previous ? &previous->SubMenu() : nullptr, favorite->SubMenu());
  const std::wstring connection = favlist::connectionText(*favorite);
  const std::wstring* texts[] = {nullptr, look.blockStart ? &favorite->SubMenu() : nullptr,
                                 &favorite->FileName(), &connection};
  for (int c = 0; c < kColumns; ++c) {
    RECT cell{x, draw.rcItem.top, x + widths[c], draw.rcItem.bottom};
    if (texts[c]) {
      RECT text = cell;
      text.left += scale(4);
      text.right -= scale(2);
      if (c == kFileColumn && missing) {
        const int size = scale(16);
        if (HICON mark = warningIcon())
          ::DrawIconEx(dc, text.left, (cell.top + cell.bottom - size) / 2, mark, size, size, 0,
                       nullptr, DI_NORMAL);
        text.left += size + scale(4);
      }
      HGDIOBJ oldFont = nullptr;
      if (c == 1 && boldFont_) oldFont = ::SelectObject(dc, boldFont_.get());
      ::DrawTextW(dc, texts[c]->c_str(), static_cast<int>(texts[c]->size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
      if (oldFont) ::SelectObject(dc, oldFont);
    }
    // The current cell of the keyboard.
    if (focused && (draw.itemState & ODS_FOCUS) && c == currentCol_) {
      RECT focus = cell;
      ::InflateRect(&focus, -1, -1);
      ::DrawFocusRect(dc, &focus);
    }
    x += widths[c];
  }
  const int line = std::max(scale(1), 1);
  if (look.dividerBefore) {
    RECT divider{draw.rcItem.left, draw.rcItem.top, draw.rcItem.right, draw.rcItem.top + line};
    ::FillRect(dc, &divider, ::GetSysColorBrush(COLOR_GRAYTEXT));
  }
  // Where a dragged row would land.
  if (dragRow_ >= 0 && dropRow_ == row) {
    const int y = dropAfter_ ? draw.rcItem.bottom - 2 * line : draw.rcItem.top;
    RECT mark{draw.rcItem.left, y, draw.rcItem.right, y + 2 * line};
    ::FillRect(dc, &mark, ::GetSysColorBrush(COLOR_WINDOWTEXT));
  }
}

// --- cells and editors ------------------------------------------------------------------

int TfrmConfigureFavorites::cellAt(int x, int y, int* col) const {
  return grid_.cellAt(POINT{x, y}, col);
}

void TfrmConfigureFavorites::placeEditor(HWND editor, int row, int col, int height) {
  grid_.placeOver(editor, hwnd(), row, col, height);
}

void TfrmConfigureFavorites::focusGrid() {
  if (sgFavorites_ && ::IsWindowEnabled(sgFavorites_)) ::SetFocus(sgFavorites_);
}

void TfrmConfigureFavorites::gridCellClicked(int row, int col, bool rightButton) {
  if (row < 0 || row >= rowCount()) return;
  model_.select(rowIndex(row));
  if (rightButton) {
    // Selects the row and arms Rename for the popup menu; no picker opens.
    fCol = col;
    fRow = row;
    click_.hold(row);
    UpdateActionStates();
    return;
  }
  currentCol_ = col;
  sgFavoritesSelectCell(col, row);
}

void TfrmConfigureFavorites::sgFavoritesSelectCell(int col, int row) {
  if (sgFavorites_ && ::IsWindowVisible(sgFavorites_)) {
    switch (col) {
      case 0:
        openIconPicker(row);
        click_.hold(row);
        break;
      case 1:
        openSubmenuPicker(row);
        click_.hold(row);
        break;
      case kConnectionColumnIndex:
        click_.disarm();
        break;
      default:
        if (click_.click(row)) {
          fRow = row;
          fCol = 2;
          actRenameExecute();
        }
        break;
    }
  }
  model_.select(rowIndex(row));
  UpdateActionStates();
}

// Puts a picker over the row's cell, shown and focused, with nothing selected.
HWND TfrmConfigureFavorites::showPicker(int pickerId, int row, int column) {
  makePickers();
  HWND picker = item(pickerId);
  editorRow_ = row;
  pickedIndex_ = -1;
  placeEditor(picker, row, column, scale(320));
  ::ShowWindow(picker, SW_SHOW);
  ::SetFocus(picker);
  ::SendMessageW(picker, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  return picker;
}

void TfrmConfigureFavorites::openIconPicker(int row) {
  // Asked for before the worker brought them: read here, as the user waits.
  if (!icons_.list) LoadImages();
  HWND picker = showPicker(IDC_CBE_ICON, row, 0);
  if (model_.count() > 0) {
    const TFavoriteItem* favorite = rowFavorite(row);
    const std::wstring image = favorite ? favorite->Image() : std::wstring();
    // No icon preselects the blank entry; a file no longer listed, nothing.
    const int entry = image.empty() ? 0 : iconImageIndex(image);
    if (entry >= 0) ::SendMessageW(picker, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  }
  ::SendMessageW(picker, CB_SHOWDROPDOWN, TRUE, 0);
  SetHintText(L"Choose icon");
}

void TfrmConfigureFavorites::openSubmenuPicker(int row) {
  // Its submenus are never missing, whether the icons came yet or not.
  if (submenuPickerWaits_) {
    submenuPickerWaits_ = false;
    FillSubmenuCombo();
  }
  HWND picker = showPicker(IDC_CB_SUBMENU_EDIT, row, 1);
  // Preselects the row's submenu (the last entry of that name), one row or many.
  if (const TFavoriteItem* favorite = rowFavorite(row)) {
    int entry = -1;
    const TSubMenuItems& submenus = model_.submenus();
    for (int k = 0; k < submenus.Count(); ++k)
      if (submenus.Items(k).SubMenu() == favorite->SubMenu()) entry = k;
    if (entry >= 0) ::SendMessageW(picker, CB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  }
  ::SendMessageW(picker, CB_SHOWDROPDOWN, TRUE, 0);
  SetHintText(L"Choose submenu");
}

void TfrmConfigureFavorites::pickerCommand(HWND picker, int code) {
  switch (code) {
    case CBN_DROPDOWN:
      ComboBoxDropDown();
      break;
    case CBN_SELENDOK:
      pickedIndex_ = static_cast<int>(::SendMessageW(picker, CB_GETCURSEL, 0, 0));
      break;
    case CBN_SELENDCANCEL:
      pickedIndex_ = -1;
      break;
    case CBN_CLOSEUP:
      ComboBoxCloseUp(picker);
      break;
    default:
      break;
  }
}

void TfrmConfigureFavorites::ComboBoxDropDown() {
  if (sgFavorites_) ::EnableWindow(sgFavorites_, FALSE);
}

void TfrmConfigureFavorites::ComboBoxCloseUp(HWND picker) {
  // The entry picked with a click or Enter; Escape or a click elsewhere
  // picks nothing.
  const bool icon = picker == item(IDC_CBE_ICON);
  if (icon)
    fIconIndex = pickedIndex_;
  else
    fSubmenuIndex = pickedIndex_;
  pickedIndex_ = -1;
  if (sgFavorites_) ::EnableWindow(sgFavorites_, TRUE);
  focusGrid();
  ::ShowWindow(item(IDC_CBE_ICON), SW_HIDE);
  ::ShowWindow(item(IDC_CB_SUBMENU_EDIT), SW_HIDE);
  if (icon)
    cbeIconExit();
  else
    cbFavoritesStringGridEditSelect();
}

void TfrmConfigureFavorites::cbeIconExit() {
  const int index = rowIndex(editorRow_);
  if (!model_.at(index)) {
    fIconIndex = -1;
    return;
  }
  if (sgFavorites_) ::EnableWindow(sgFavorites_, FALSE);
  if (fIconIndex >= 0 && fIconIndex < static_cast<int>(icons_.names.size())) {
    const std::wstring chosen = icons_.names[static_cast<size_t>(fIconIndex)];
    // The icon moving from its owner and to this row is one step to undo.
    model_.change([&] {
      const bool take = icons::mayTakeIcon(
          hwnd(), model_.count(), index, chosen, isChecked(IDC_CB_ALLOW_DUPLICATE_IMAGES),
          [&](int i) { return model_.at(i)->Image(); },
          [&](int i) { return model_.at(i)->FileName(); },
          [&](int i) {
            model_.setImage(i, L"");
            setRowTexts(rowOfFavorite(i));
          });
      if (take) {
        model_.setImage(index, chosen);
        setRowTexts(editorRow_);
      }
    });
  }
  ::ShowWindow(item(IDC_CBE_ICON), SW_HIDE);
  if (sgFavorites_) {
    ::EnableWindow(sgFavorites_, TRUE);
    ::InvalidateRect(sgFavorites_, nullptr, TRUE);
  }
  fIconIndex = -1;
  focusGrid();
}

void TfrmConfigureFavorites::cbFavoritesStringGridEditSelect() {
  if (model_.setSubmenu(rowIndex(editorRow_), fSubmenuIndex)) {
    // The row may start or end a submenu block now.
    if (sgFavorites_) ::InvalidateRect(sgFavorites_, nullptr, FALSE);
    setRowTexts(editorRow_);
    if (sgFavorites_) ListView_RedrawItems(sgFavorites_, editorRow_, editorRow_);
  }
  ::ShowWindow(item(IDC_CB_SUBMENU_EDIT), SW_HIDE);
  focusGrid();
}

void TfrmConfigureFavorites::actRenameExecute() {
  const int rows = rowCount();
  if (!sgFavorites_ || click_.row() < 0 || click_.row() >= rows) return;
  const int row = fRow >= 0 && fRow < rows ? fRow : click_.row();
  const TFavoriteItem* favorite = rowFavorite(row);
  if (!favorite) return;
  HWND editor = item(IDC_EDT_ITEM);
  ListView_EnsureVisible(sgFavorites_, row, FALSE);
  placeEditor(editor, row, 2, 0);
  ::SetWindowTextW(editor, favorite->FileName().c_str());
  renameRow_ = row;
  renameOpen_ = true;
  ::ShowWindow(editor, SW_SHOW);
  ::SetFocus(editor);
  Edit_SetSel(editor, 0, -1);
  model_.select(rowIndex(row));
  click_.disarm();
}

void TfrmConfigureFavorites::edtItemCommit(bool refocus) {
  if (!renameOpen_) return;
  renameOpen_ = false;
  HWND editor = item(IDC_EDT_ITEM);
  const std::wstring text = fav::windowText(editor);
  // An empty or blank name is refused, and so is one the host could not
  // open: the favorite keeps its file.
  const std::wstring refusal = codepage::outsideCodePageMessage(L"file name", text);
  if (refusal.empty() && model_.rename(rowIndex(renameRow_), text)) {
    setRowTexts(renameRow_);
    ListView_RedrawItems(sgFavorites_, renameRow_, renameRow_);
    ::PostMessageW(hwnd(), kCheckFilesMessage, 0, 0);  // the new name is checked
  }
  if (sgFavorites_) ::EnableWindow(sgFavorites_, TRUE);
  if (refocus) focusGrid();
  ::ShowWindow(editor, SW_HIDE);
  codepage::acceptTyped(hwnd(), refusal);
}

void TfrmConfigureFavorites::edtItemCancel() {
  if (!renameOpen_) return;
  renameOpen_ = false;
  focusGrid();
  ::ShowWindow(item(IDC_EDT_ITEM), SW_HIDE);
}

void TfrmConfigureFavorites::sgFavoritesMouseMove(int x, int y) {
  std::wstring text;
  int col = -1;
  const int row = cellAt(x, y, &col);
  updateTooltip(row, row >= 0 ? col : -1);
  if (rowFavorite(row)) text = model_.rowHint(rowIndex(row));
  SetHintText(text);
}

void TfrmConfigureFavorites::openCurrentCellEditor() {
  const int row = rowOfFavorite(model_.selected());
  if (row < 0) return;
  ListView_EnsureVisible(sgFavorites_, row, FALSE);
  switch (currentCol_) {
    case 0: openIconPicker(row); break;
    case 1: openSubmenuPicker(row); break;
    case kConnectionColumnIndex:
      if (isActionEnabled(IDC_ACT_CONNECTION_INFO) && gridEvents_.command)
        gridEvents_.command(IDC_ACT_CONNECTION_INFO);
      break;
    default:
      fRow = row;
      fCol = 2;
      click_.hold(row);
      actRenameExecute();
      break;
  }
}

void TfrmConfigureFavorites::clearInsertMark() {
  if (dropRow_ >= 0 && sgFavorites_) ListView_RedrawItems(sgFavorites_, dropRow_, dropRow_);
  dropRow_ = -1;
}

void TfrmConfigureFavorites::updateDropMark(int x, int y) {
  const int n = rowCount();
  int row = cellAt(x, y, nullptr);
  bool after = false;
  if (row < 0) {
    // Above the rows the drag lands first, below them last.
    row = y < 0 ? 0 : n - 1;
    after = y >= 0;
  } else {
    // Rows move to the row dropped on: below the dragged row the mark is
    // under the target, above it over the target.
    after = row > dragRow_;
  }
  if (row == dropRow_ && after == dropAfter_) return;
  const int old = dropRow_;
  dropRow_ = row;
  dropAfter_ = after;
  if (old >= 0) ListView_RedrawItems(sgFavorites_, old, old);
  if (row >= 0) ListView_RedrawItems(sgFavorites_, row, row);
  ::UpdateWindow(sgFavorites_);
}

void TfrmConfigureFavorites::finishDrag(int x, int y) {
  const int from = dragRow_;
  dragRow_ = -1;  // first, so the capture change below is no cancel
  ::ReleaseCapture();
  clearInsertMark();
  if (from < 0 || model_.filtered()) return;
  const int n = rowCount();
  int to = cellAt(x, y, nullptr);
  if (to < 0) to = y < 0 ? 0 : n - 1;
  // Unfiltered, rows are the list's own order.
  if (!model_.move(from, to)) return;
  FillGrid();
  UpdateActionStates();
}

// --- messages of the grid and the rename editor -------------------------------------------

LRESULT CALLBACK TfrmConfigureFavorites::gridProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                                  UINT_PTR, DWORD_PTR data) {
  try {
    auto* self = reinterpret_cast<TfrmConfigureFavorites*>(data);
    bool handled = false;
    const LRESULT result = self->gridMessage(hwnd, msg, wp, lp, handled);
    if (handled) return result;
  } catch (...) {
    // Nothing escapes into the host; the list carries on with its own handling.
  }
  if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, &TfrmConfigureFavorites::gridProc, kSubclassId);
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT TfrmConfigureFavorites::gridMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                            bool& handled) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (dragRow_ >= 0) updateDropMark(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      sgFavoritesMouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
      return 0;
    case WM_LBUTTONUP:
      if (dragRow_ >= 0) {
        finishDrag(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        handled = true;
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (dragRow_ >= 0 && reinterpret_cast<HWND>(lp) != hwnd) {
        dragRow_ = -1;
        clearInsertMark();
      }
      return 0;
    case WM_KEYDOWN:
      switch (wp) {
        case VK_LEFT:
        case VK_RIGHT:
          currentCol_ = std::clamp(currentCol_ + (wp == VK_LEFT ? -1 : 1), 0, kColumns - 1);
          ::InvalidateRect(hwnd, nullptr, FALSE);
          handled = true;
          return 0;
        case VK_F2:
          openCurrentCellEditor();
          handled = true;
          return 0;
        case VK_DELETE:
          // Remove, through the dialog so its enabled rule holds; with a
          // modifier the key is not ours.
          if (!(::GetKeyState(VK_CONTROL) & 0x8000) && !(::GetKeyState(VK_MENU) & 0x8000) &&
              !(::GetKeyState(VK_SHIFT) & 0x8000)) {
            ::SendMessageW(this->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_ACT_REMOVE, 0), 0);
            handled = true;
          }
          return 0;
        case VK_ESCAPE:
          if (dragRow_ >= 0) {
            dragRow_ = -1;
            clearInsertMark();
            ::ReleaseCapture();
            handled = true;
          }
          return 0;
        default:
          return 0;
      }
    case WM_DROPFILES:
      if (const std::vector<std::wstring> paths = droppedFiles(reinterpret_cast<HDROP>(wp));
          !paths.empty())
        if (gridEvents_.filesDropped) gridEvents_.filesDropped(paths);
      handled = true;
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The selection colour follows the focus. Kept here, not asked at
      // each row: asking costs a round trip to the window server.
      gridFocused_ = msg == WM_SETFOCUS;
      ::InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    default:
      return 0;
  }
}

INT_PTR TfrmConfigureFavorites::gridDialogMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

bool TfrmConfigureFavorites::onNotify(NMHDR* header, LRESULT& result) {
  if (!header || header->hwndFrom != sgFavorites_ || !sgFavorites_) return false;
  if (grid_.answer(header, result)) return true;
  switch (header->code) {
    case NM_CLICK:
    case NM_DBLCLK:
    case NM_RCLICK: {
      // The cell under the pointer, whatever the list reports.
      const DWORD pos = ::GetMessagePos();
      POINT p{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
      const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(header);
      if (activate->ptAction.x || activate->ptAction.y) p = activate->ptAction;
      else ::ScreenToClient(sgFavorites_, &p);
      int col = 2;
      const int row = cellAt(p.x, p.y, &col);
      gridCellClicked(row, col, header->code == NM_RCLICK);
      result = 0;
      return true;
    }
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if (!fillingGrid_ && change->iItem >= 0 && (change->uChanged & LVIF_STATE) &&
          (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED)) {
        model_.select(rowIndex(change->iItem));
        UpdateActionStates();
      } else if (!fillingGrid_ && (change->uChanged & LVIF_STATE) &&
                 (change->uOldState & LVIS_SELECTED) && !(change->uNewState & LVIS_SELECTED) &&
                 ListView_GetSelectedCount(sgFavorites_) == 0) {
        // No row looks selected, so none is.
        model_.select(-1);
        UpdateActionStates();
      }
      result = 0;
      return true;
    }
    case LVN_BEGINDRAG: {
      const auto* drag = reinterpret_cast<const NMLISTVIEW*>(header);
      if (!model_.filtered() && drag->iItem >= 0) {
        dragRow_ = drag->iItem;
        dropRow_ = -1;
        ::SetCapture(sgFavorites_);
      }
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

void TfrmConfigureFavorites::showRestoredLists() {
  click_.forget();
  FillGrid();
  FillSubmenuCombo();
  UpdateActionStates();
  SetHintText(L"");
  if (hwnd() && (!::GetFocus() || !::IsWindowEnabled(::GetFocus()))) focusGrid();
}

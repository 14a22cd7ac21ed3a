#include "frm_SubMenus.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "code_page_text.h"
#include "dialog_placement.h"
#include "file_path.h"
#include "submenu_list.h"
#include "frm_SubMenus_ids.h"
#include "glyph_ids.h"
#include "glyphs.h"
#include "grid_view.h"
#include "icon_rule.h"
#include "ui_seam.h"
#include "un_plugincommon.h"
#include "window_text.h"

namespace {

// Design figures in pixels at 96 DPI.
constexpr int kClientWidth = 484;
constexpr int kClientHeight = 211;
constexpr int kMinWidth = 500;
constexpr int kMinHeight = 250;
constexpr int kBottomBar = 39;
constexpr int kAddStrip = 30;
constexpr int kIconColumn = 44;
constexpr int kRowHeight = 26;
constexpr int kIconSize = 20;

// Posted once the icon editor's list has closed, however it closed.
constexpr UINT kIconEditorClosed = WM_APP + 1;
constexpr UINT kRelayout = WM_APP + 2;
// The worker's icons are ready; the timer that starts it after the first paint.
constexpr UINT kIconsReadMessage = WM_APP + 3;
constexpr UINT_PTR kReadIconsTimer = 1;




}  // namespace

TfrmSubMenus::TfrmSubMenus(HWND owner) : fOwner(owner) {
  TSubMenuItems blank;
  blank.Add();
  fSubMenus.assign(blank);
  UpdateActionStates();
}

INT_PTR TfrmSubMenus::ShowModal() { return showModal(IDD_SUBMENUS, fOwner); }

void TfrmSubMenus::Initialize() {
  fInitialized = true;
  FillGrid();
}

// --- window ------------------------------------------------------------------

bool TfrmSubMenus::onInit() {
  fIconSize = scale(kIconSize);
  createGrid();

  sizeCombos();
  dialogs::RenameKeys keys;
  keys.isOpen = [this] { return fRenameRow >= 0; };
  keys.commit = [this](bool refocus) { edtItemCommit(refocus); };
  keys.cancel = [this] { edtItemCancel(); };
  dialogs::attachRenameKeys(item(IDC_SM_EDT_ITEM), std::move(keys));

  applyGlyphs();

  setHintPanel(item(IDC_SM_PNL_HINT));
  setHint(item(IDC_SM_LBL_ADD_SUBMENU), L"");
  setHint(item(IDC_SM_ED_SUBMENU), L"Submenu name");
  setHint(item(IDC_SM_ACT_ADD_SUBMENU), L"Add submenu to the list");
  setHint(item(IDOK), L"Save changes");
  setHint(item(IDCANCEL), L"Discard changes");
  setHint(item(IDC_SM_PNL_HINT), L"");

  setClientSize(hwnd(), scale(kClientWidth), scale(kClientHeight));
  centreOnWindow(hwnd(), fOwner);
  layout();
  FillGrid();
  UpdateActionStates();
  focusGrid();
  return false;  // the focus is set
}

void TfrmSubMenus::onShown() {
  // The icons are read once the dialog has been drawn (a timer comes after
  // the first paint), off this thread; the rows and pickers show them then.
  if (fInitialized) ::SetTimer(hwnd(), kReadIconsTimer, USER_TIMER_MINIMUM, nullptr);
}

void TfrmSubMenus::onDestroy() {
  iconLoader_.stop();
  grid_.detach();
  sgFavorites = nullptr;
}

void TfrmSubMenus::applyGlyphs() {
  const UINT dialogDpi = dpi();
  fOkGlyph = dialogs::setButtonGlyph(item(IDOK), IDB_GLYPH_OK, dialogDpi);
  fCancelGlyph = dialogs::setButtonGlyph(item(IDCANCEL), IDB_GLYPH_CANCEL, dialogDpi);
  fAddGlyph = dialogs::setButtonGlyph(item(IDC_SM_ACT_ADD_SUBMENU), IDB_GLYPH_ADD_SUBMENU, dialogDpi);
  if (!fAddGlyph) ::SetDlgItemTextW(hwnd(), IDC_SM_ACT_ADD_SUBMENU, L"+");
  fPluginIcon = dialogs::glyphImageList(IDB_PLUGIN_ICON, scale(32));
}

void TfrmSubMenus::sizeCombos() {
  for (int id : {IDC_SM_CBE_ICON, IDC_SM_CBE_MENU_ITEM}) {
    HWND combo = item(id);
    ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), scale(kRowHeight - 6));
    ::SendMessageW(combo, CB_SETITEMHEIGHT, 0, fIconSize + scale(4));
    ::SendMessageW(combo, CB_SETDROPPEDWIDTH, scale(220), 0);
  }
}

void TfrmSubMenus::createGrid() {
  dialogs::GridSource source;
  source.cellText = [this](int row, int column) -> std::wstring {
    if (row < 0 || row >= fSubMenus.count()) return {};
    const TSubMenuItem& submenu = fSubMenus.items().Items(row);
    return column == 0 ? submenu.Image() : submenu.SubMenu();
  };
  const std::vector<dialogs::GridColumn> columns{{nullptr, scale(kIconColumn)},
                                                 {nullptr, scale(128)}};
  sgFavorites = grid_.create(hwnd(), IDC_SM_GRID, L"", columns, true,
                             reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0)),
                             std::move(source));
  if (!sgFavorites) return;
  // First in the tab order; the in-place editors go above it when shown.
  ::SetWindowPos(sgFavorites, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmSubMenus::layout() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int w = client.right;
  const int bottomTop = client.bottom - scale(kBottomBar);
  const int stripTop = bottomTop - scale(kAddStrip);
  auto place = [&](HWND control, int x, int y, int cx, int cy) {
    if (control) ::MoveWindow(control, x, y, std::max(cx, 0), std::max(cy, 0), TRUE);
  };
  place(sgFavorites, 0, 0, w, stripTop);

  const int buttonWidth = scale(25);
  const int pickerWidth = scale(kIconColumn);
  const int buttonLeft = w - scale(8) - buttonWidth;
  const int pickerLeft = buttonLeft - scale(4) - pickerWidth;
  const int editLeft = scale(80);
  place(item(IDC_SM_LBL_ADD_SUBMENU), scale(8), stripTop + scale(8), editLeft - scale(12),
        scale(16));
  place(item(IDC_SM_ED_SUBMENU), editLeft, stripTop + scale(4), pickerLeft - scale(4) - editLeft,
        scale(22));
  place(item(IDC_SM_CBE_MENU_ITEM), pickerLeft, stripTop + scale(3), pickerWidth, scale(200));
  place(item(IDC_SM_ACT_ADD_SUBMENU), buttonLeft, stripTop + scale(3), buttonWidth, scale(24));

  place(item(IDC_SM_IMAGE1), 0, bottomTop, scale(38), scale(kBottomBar));
  place(item(IDC_SM_PNL_HINT), scale(40), bottomTop + scale(3), w - scale(160) - scale(42),
        scale(kBottomBar - 6));
  place(item(IDOK), w - scale(160) + scale(4), bottomTop + scale(4), scale(74), scale(31));
  place(item(IDCANCEL), w - scale(80) + scale(2), bottomTop + scale(4), scale(74), scale(31));
  setColumnWidths();
}

void TfrmSubMenus::setColumnWidths() {
  if (!sgFavorites) return;
  RECT client{};
  ::GetClientRect(sgFavorites, &client);
  // The name column fills what the icon column leaves.
  ListView_SetColumnWidth(sgFavorites, 0, scale(kIconColumn));
  ListView_SetColumnWidth(sgFavorites, 1, std::max<int>(client.right - scale(kIconColumn), 0));
}

// --- lists --------------------------------------------------------------------

void TfrmSubMenus::LoadImages() {
  // A read still under way would bring older icons after these.
  iconLoader_.stop();
  icons_ = dialogs::loadIconImages(fPluginFolder, imageFolder(), fImagePrefix,
                                   hwnd() ? fIconSize : kIconSize);
  if (hwnd()) fillIconCombos();
}

std::wstring TfrmSubMenus::imageFolder() const {
  // An empty image path means the plug-in folder, as for the tool buttons.
  return fImagePath.empty() ? fPluginFolder : fImagePath;
}

void TfrmSubMenus::startIconLoad() {
  if (!iconLoader_.start(hwnd(), kIconsReadMessage, fPluginFolder, imageFolder(), fImagePrefix,
                         fIconSize))
    LoadImages();  // no worker: read here, as before
}

void TfrmSubMenus::iconsRead() {
  std::optional<dialogs::IconImages> icons = iconLoader_.take();
  if (!icons) return;  // left over from a read that was stopped
  icons_ = std::move(*icons);
  fillIconCombos();
  if (sgFavorites) ::InvalidateRect(sgFavorites, nullptr, FALSE);
}

void TfrmSubMenus::readIconsNow() {
  // A picker dropped before the worker brought the icons: read here, as the
  // user waits.
  if (icons_.list) return;
  ::KillTimer(hwnd(), kReadIconsTimer);
  LoadImages();
  if (sgFavorites) ::InvalidateRect(sgFavorites, nullptr, FALSE);
}

void TfrmSubMenus::fillIconCombos() {
  HWND icon = item(IDC_SM_CBE_ICON);
  HWND menuItem = item(IDC_SM_CBE_MENU_ITEM);
  ::SendMessageW(icon, CB_RESETCONTENT, 0, 0);
  ::SendMessageW(menuItem, CB_RESETCONTENT, 0, 0);
  for (size_t i = 0; i < icons_.names.size(); ++i) {
    const LPARAM caption = reinterpret_cast<LPARAM>(icons_.names[i].c_str());
    const LRESULT at = ::SendMessageW(icon, CB_ADDSTRING, 0, caption);
    ::SendMessageW(icon, CB_SETITEMDATA, at, static_cast<LPARAM>(i));
    if (i == 0) continue;  // the new-submenu picker has no blank entry
    const LRESULT entry = ::SendMessageW(menuItem, CB_ADDSTRING, 0, caption);
    ::SendMessageW(menuItem, CB_SETITEMDATA, entry, static_cast<LPARAM>(i));
  }
}

void TfrmSubMenus::FillGrid() {
  const int count = fSubMenus.count();
  if (fSelectedIndex >= count) fSelectedIndex = count - 1;
  if (sgFavorites) {
    fFilling = true;
    // The list view holds no rows: it asks for what it shows.
    grid_.setRows(count, fSelectedIndex);
    fFilling = false;
    setColumnWidths();
  }
  UpdateActionStates();
}

void TfrmSubMenus::UpdateActionStates() {
  // The blank first row stays as it is.
  fRemoveEnabled = fSubMenus.isEditable(fSelectedIndex);
  fRenameEnabled = fRemoveEnabled;
}

bool TfrmSubMenus::isCommandEnabled(int command) const {
  switch (command) {
    case IDC_SM_ACT_REMOVE:
      return fRemoveEnabled;
    case IDC_SM_ACT_RENAME:
      return fRenameEnabled;
    case IDC_SM_ACT_UNDO:
      return fSubMenus.canUndo();
    default:
      return DialogBase::isCommandEnabled(command);
  }
}

// --- commands -------------------------------------------------------------------

bool TfrmSubMenus::refuseMenuBreakingName(const std::wstring& name) {
  const std::wstring part = submenus::menuBreakingPart(name);
  if (part.empty()) return false;
  const std::wstring message = submenus::menuBreakingMessage(part);
  showMessageBox(hwnd(), message.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
  return true;
}

void TfrmSubMenus::actAddSubmenuExecute() {
  std::wstring image;
  HWND picker = item(IDC_SM_CBE_MENU_ITEM);
  const LRESULT chosen = picker ? ::SendMessageW(picker, CB_GETCURSEL, 0, 0) : CB_ERR;
  if (chosen != CB_ERR) {
    const LRESULT index = ::SendMessageW(picker, CB_GETITEMDATA, chosen, 0);
    if (index > 0 && static_cast<size_t>(index) < icons_.names.size())
      image = icons_.names[static_cast<size_t>(index)];
  }
  const std::wstring typed = text(IDC_SM_ED_SUBMENU);
  if (refuseMenuBreakingName(typed)) return;
  // The text box keeps its text.
  if (!codepage::acceptTyped(hwnd(), codepage::outsideCodePageMessage(L"submenu name", typed))) {
    ::SetFocus(item(IDC_SM_ED_SUBMENU));
    return;
  }
  const int row = fSubMenus.add(typed, image);
  if (row >= 0) fSelectedIndex = row;
  FillGrid();
}

void TfrmSubMenus::actRemoveExecute() {
  const int row = fSelectedIndex;
  if (!fSubMenus.isEditable(row)) return;
  const std::wstring removed = fSubMenus.items().Items(row).SubMenu();
  fSubMenus.remove(row);
  // The row that takes its place is selected; after the last row, the new last.
  fSelectedIndex = std::min(row, fSubMenus.count() - 1);
  click_.forget();
  UpdateActionStates();
  FillGrid();
  setHintText(L"Removed " + removed + L" (Ctrl+Z to undo)");
}

void TfrmSubMenus::actUndoExecute() {
  const int row = fSubMenus.undoRemove();
  if (row < 0) return;
  fSelectedIndex = row;
  FillGrid();
  setHintText(L"");
}

void TfrmSubMenus::actRenameExecute() {
  const int row = fSubMenus.isEditable(fRow) ? fRow : fSelectedIndex;
  fRow = -1;
  if (!fSubMenus.isEditable(row) || !sgFavorites) return;
  HWND editor = item(IDC_SM_EDT_ITEM);
  RECT cell = cellRect(row, 1);
  ::MapWindowPoints(sgFavorites, hwnd(), reinterpret_cast<POINT*>(&cell), 2);
  RECT own{};
  ::GetWindowRect(editor, &own);
  const int left = cell.left + scale(6);
  const int width = cell.right - left - 1;
  ::SetWindowTextW(editor, fSubMenus.items().Items(row).SubMenu().c_str());
  ::SetWindowPos(editor, HWND_TOP, left, cell.top + scale(5), std::max(width, scale(20)),
                 own.bottom - own.top, SWP_SHOWWINDOW);
  fRenameRow = row;
  fSelectedIndex = row;
  click_.disarm();
  ::SetFocus(editor);
  ::SendMessageW(editor, EM_SETSEL, 0, -1);
}

void TfrmSubMenus::edtItemCommit(bool refocus) {
  if (fRenameRow < 0) return;
  const int row = fRenameRow;
  fRenameRow = -1;
  const std::wstring typed = text(IDC_SM_EDT_ITEM);
  if (refuseMenuBreakingName(typed)) {
    // The old name stays; the user sees why.
    ::ShowWindow(item(IDC_SM_EDT_ITEM), SW_HIDE);
    if (refocus) focusGrid();
    return;
  }
  const std::wstring refusal = codepage::outsideCodePageMessage(L"submenu name", typed);
  const bool renamed = refusal.empty() && fSubMenus.rename(row, typed);
  // Only the row's text changes, and the rows are read when drawn: the list
  // may be busy with the click that took the focus away, so no refill here.
  if (renamed && sgFavorites) ::InvalidateRect(sgFavorites, nullptr, FALSE);
  if (refocus) focusGrid();
  ::ShowWindow(item(IDC_SM_EDT_ITEM), SW_HIDE);
  if (!renamed && submenus::trimName(typed).empty())
    setHintText(L"A submenu needs a name; the old one is kept");
  codepage::acceptTyped(hwnd(), refusal);
}

void TfrmSubMenus::edtItemCancel() {
  if (fRenameRow < 0) return;
  fRenameRow = -1;
  focusGrid();
  ::ShowWindow(item(IDC_SM_EDT_ITEM), SW_HIDE);
}

void TfrmSubMenus::actOkExecute() {
  edtItemCommit();
  FillGrid();
  endDialog(IDOK);
}

void TfrmSubMenus::actCancelExecute() { endDialog(IDCANCEL); }

// --- the grid -------------------------------------------------------------------

RECT TfrmSubMenus::cellRect(int row, int col) const { return grid_.cellRect(row, col); }

int TfrmSubMenus::hitTest(POINT client, int* col) const { return grid_.cellAt(client, col); }

void TfrmSubMenus::selectRow(int row) {
  if (!sgFavorites || row < 0) return;
  ListView_SetItemState(sgFavorites, row, LVIS_SELECTED | LVIS_FOCUSED,
                        LVIS_SELECTED | LVIS_FOCUSED);
  fSelectedIndex = row;
  UpdateActionStates();
}

void TfrmSubMenus::focusGrid() {
  if (sgFavorites) ::SetFocus(sgFavorites);
}

void TfrmSubMenus::sgFavoritesSelectCell(int col, int row) {
  if (row < 0) return;
  if (!fSubMenus.isEditable(row)) {
    // The blank row takes no icon and no name.
    click_.forget();
  } else if (col == 0) {
    openIconEditor(row);
  } else if (click_.click(row)) {
    fRow = row;
    fCol = 1;
    fSelectedIndex = row;
    actRenameExecute();
  }
  if (fRenameRow < 0) fSelectedIndex = row;
  UpdateActionStates();
}

void TfrmSubMenus::openIconEditor(int row) {
  readIconsNow();
  HWND editor = item(IDC_SM_CBE_ICON);
  RECT cell = cellRect(row, 0);
  ::MapWindowPoints(sgFavorites, hwnd(), reinterpret_cast<POINT*>(&cell), 2);
  ::SetWindowPos(editor, HWND_TOP, cell.left + 1, cell.top + 1, cell.right - cell.left + 1,
                 scale(200), SWP_SHOWWINDOW);
  fIconRow = row;
  fIconIndex = -1;
  ::SetFocus(editor);
  ::SendMessageW(editor, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  const int current = icons_.indexOf(fSubMenus.items().Items(row).Image());
  if (current >= 0 && fSubMenus.count() > 0) ::SendMessageW(editor, CB_SETCURSEL, current, 0);
  ::SendMessageW(editor, CB_SHOWDROPDOWN, TRUE, 0);
  setHintText(L"Choose icon");
  click_.hold(row);
}

void TfrmSubMenus::applyIcon() {
  const int row = fIconRow;
  const int index = fIconIndex;
  fIconIndex = -1;
  if (index < 0 || !fSubMenus.isEditable(row)) return;
  const std::wstring chosen =
      static_cast<size_t>(index) < icons_.names.size() ? icons_.names[index] : std::wstring();
  const bool take = icons::mayTakeIcon(
      hwnd(), fSubMenus.count(), row, chosen, fAllowDuplicateImages,
      [&](int i) { return fSubMenus.items().Items(i).Image(); },
      [&](int i) { return fSubMenus.items().Items(i).SubMenu(); },
      [&](int i) { fSubMenus.setImage(i, L""); });
  if (take) fSubMenus.setImage(row, chosen);
}

void TfrmSubMenus::closeIconEditor() {
  if (fIconRow < 0) return;
  applyIcon();
  fIconRow = -1;
  fIconIndex = -1;
  if (sgFavorites) ::EnableWindow(sgFavorites, TRUE);
  focusGrid();
  ::ShowWindow(item(IDC_SM_CBE_ICON), SW_HIDE);
  FillGrid();
}

void TfrmSubMenus::showPopupMenu(int row, POINT screen) {
  fav::unique_hmenu menu(::CreatePopupMenu());
  if (!menu) return;
  const bool editable = fSubMenus.isEditable(row);
  ::AppendMenuW(menu.get(), MF_STRING | (editable ? 0 : MF_GRAYED), IDC_SM_ACT_RENAME,
                L"Rename\tF2");
  ::AppendMenuW(menu.get(), MF_STRING | (editable ? 0 : MF_GRAYED), IDC_SM_ACT_REMOVE,
                L"Remove\tDel");
  const int command = ::TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                       screen.y, 0, hwnd(), nullptr);
  if (command) ::SendMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

// --- messages -------------------------------------------------------------------

bool TfrmSubMenus::onCommand(int id, int code, HWND control) {
  switch (id) {
    case IDOK:
      // Enter in the name box adds the submenu instead of closing.
      if (::GetFocus() == item(IDC_SM_ED_SUBMENU))
        actAddSubmenuExecute();
      else
        actOkExecute();
      return true;
    case IDCANCEL:
      actCancelExecute();
      return true;
    case IDC_SM_ACT_ADD_SUBMENU:
      if (code == BN_CLICKED) actAddSubmenuExecute();
      return true;
    case IDC_SM_ACT_REMOVE:
      if (isCommandEnabled(id)) actRemoveExecute();
      return true;
    case IDC_SM_ACT_RENAME:
      if (isCommandEnabled(id)) {
        if (!fSubMenus.isEditable(fRow)) fRow = fSelectedIndex;
        actRenameExecute();
      }
      return true;
    case IDC_SM_ACT_UNDO:
      actUndoExecute();
      return true;
    case IDC_SM_CBE_MENU_ITEM:
      if (code == CBN_DROPDOWN) readIconsNow();
      return DialogBase::onCommand(id, code, control);
    case IDC_SM_CBE_ICON:
      switch (code) {
        case CBN_DROPDOWN:
          if (sgFavorites) ::EnableWindow(sgFavorites, FALSE);
          break;
        case CBN_SELENDOK:
          fIconIndex = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
          if (fIconIndex != CB_ERR)
            fIconIndex = static_cast<int>(::SendMessageW(control, CB_GETITEMDATA, fIconIndex, 0));
          break;
        case CBN_SELENDCANCEL:
          fIconIndex = -1;
          break;
        case CBN_CLOSEUP:
        case CBN_KILLFOCUS:
          // Selection and close arrive in either order; act once both are in.
          ::PostMessageW(hwnd(), kIconEditorClosed, 0, 0);
          break;
        default:
          break;
      }
      return true;
    default:
      return DialogBase::onCommand(id, code, control);
  }
}

bool TfrmSubMenus::onNotify(NMHDR* header, LRESULT& result) {
  if (!header || header->hwndFrom != sgFavorites) return false;
  if (grid_.answer(header, result)) return true;
  switch (header->code) {
    case NM_CLICK:
    case NM_DBLCLK: {
      const auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
      int col = 0;
      const int row = hitTest(click->ptAction, &col);
      sgFavoritesSelectCell(col, row);
      result = 0;
      return true;
    }
    case NM_RCLICK: {
      const auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
      int col = 0;
      const int row = hitTest(click->ptAction, &col);
      if (row < 0) return true;
      // The popup acts on the row under the pointer.
      click_.hold(row);
      fRow = row;
      fCol = 1;
      selectRow(row);
      return true;  // the list's WM_CONTEXTMENU follows and opens the popup
    }
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if (fFilling || !(change->uChanged & LVIF_STATE)) return true;
      if (change->uNewState & LVIS_SELECTED) {
        fSelectedIndex = change->iItem;
      } else if ((change->uOldState & LVIS_SELECTED) &&
                 ListView_GetNextItem(sgFavorites, -1, LVNI_SELECTED) < 0) {
        fSelectedIndex = -1;
      }
      UpdateActionStates();
      return true;
    }
    case LVN_KEYDOWN: {
      const auto* key = reinterpret_cast<NMLVKEYDOWN*>(header);
      const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
      // Run once the list has finished with the key: the commands rebuild it.
      int command = 0;
      if (key->wVKey == VK_DELETE) command = IDC_SM_ACT_REMOVE;
      else if (key->wVKey == VK_F2) command = IDC_SM_ACT_RENAME;
      else if (key->wVKey == 'Z' && ctrl) command = IDC_SM_ACT_UNDO;
      if (command) ::PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
      return true;
    }
    default:
      return false;
  }
}

INT_PTR TfrmSubMenus::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  handled = true;
  switch (msg) {
    case WM_SIZE:
      layout();
      handled = false;
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lp);
      limits->ptMinTrackSize = POINT{scale(kMinWidth), scale(kMinHeight)};
      return 0;
    }
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (measure->CtlType == ODT_LISTVIEW) {
        measure->itemHeight = static_cast<UINT>(scale(kRowHeight));
      } else if (measure->CtlType == ODT_COMBOBOX) {
        measure->itemHeight = static_cast<UINT>(
            measure->itemID == static_cast<UINT>(-1) ? scale(kRowHeight - 6) : scale(24));
      } else {
        handled = false;
      }
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      switch (draw->CtlID) {
        case IDC_SM_GRID:
          drawGridRow(*draw);
          break;
        case IDC_SM_CBE_ICON:
        case IDC_SM_CBE_MENU_ITEM:
          drawIconEntry(*draw);
          break;
        case IDC_SM_PNL_HINT:
          drawHintPanel(*draw);
          break;
        case IDC_SM_IMAGE1:
          ::FillRect(draw->hDC, &draw->rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
          if (fPluginIcon) {
            const int size = scale(32);
            const RECT& r = draw->rcItem;
            ::ImageList_Draw(fPluginIcon.get(), 0, draw->hDC, r.left + (r.right - r.left - size) / 2,
                             r.top + (r.bottom - r.top - size) / 2, ILD_TRANSPARENT);
          }
          break;
        default:
          handled = false;
          return 0;
      }
      return TRUE;
    }
    case WM_CONTEXTMENU: {
      if (reinterpret_cast<HWND>(wp) != sgFavorites || !sgFavorites) {
        handled = false;
        return 0;
      }
      POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: below the selected row.
        const RECT cell = cellRect(std::max(fSelectedIndex, 0), 1);
        screen = POINT{cell.left, cell.bottom};
        ::ClientToScreen(sgFavorites, &screen);
      }
      showPopupMenu(fSelectedIndex, screen);
      return 0;
    }
    case WM_DPICHANGED:
      // The platform scales the dialog first; pictures and sizes follow.
      ::PostMessageW(hwnd(), kRelayout, 0, 0);
      handled = false;
      return 0;
    case kRelayout:
      fIconSize = scale(kIconSize);
      applyGlyphs();
      sizeCombos();
      LoadImages();
      layout();
      FillGrid();
      return 0;
    case kIconEditorClosed:
      closeIconEditor();
      return 0;
    case kIconsReadMessage:
      iconsRead();
      return 0;
    case WM_TIMER:
      if (wp != kReadIconsTimer) {
        handled = false;
        return 0;
      }
      ::KillTimer(hwnd(), kReadIconsTimer);
      if (!icons_.list) startIconLoad();
      return 0;
    default:
      handled = false;
      return 0;
  }
}

// --- drawing ----------------------------------------------------------------------

void TfrmSubMenus::drawGridRow(const DRAWITEMSTRUCT& draw) {
  const int row = static_cast<int>(draw.itemID);
  if (row < 0 || row >= fSubMenus.count()) return;
  const TSubMenuItem& submenu = fSubMenus.items().Items(row);
  const bool focused = ::GetFocus() == sgFavorites;
  dialogs::paintRowBackground(draw, focused);

  const RECT icon = cellRect(row, 0);
  if (!submenu.Image().empty() && icons_.list) {
    const int index = icons_.indexOf(submenu.Image());
    if (index >= 0)
      ::ImageList_Draw(icons_.list.get(), index, draw.hDC, icon.left + scale(5), icon.top + scale(3),
                       ILD_TRANSPARENT);
  }
  RECT name = cellRect(row, 1);
  name.left += scale(6);
  ::DrawTextW(draw.hDC, submenu.SubMenu().c_str(), static_cast<int>(submenu.SubMenu().size()),
              &name, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  if ((draw.itemState & ODS_FOCUS) && focused) ::DrawFocusRect(draw.hDC, &draw.rcItem);
}

void TfrmSubMenus::drawIconEntry(const DRAWITEMSTRUCT& draw) {
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  ::FillRect(draw.hDC, &draw.rcItem,
             ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (draw.itemID == static_cast<UINT>(-1)) return;
  const int index = static_cast<int>(draw.itemData);
  const RECT& r = draw.rcItem;
  const int top = r.top + (r.bottom - r.top - fIconSize) / 2;
  if (icons_.list && index >= 0)
    ::ImageList_Draw(icons_.list.get(), index, draw.hDC, r.left + scale(3), top, ILD_TRANSPARENT);
  // The closed field of a 44-pixel picker has room for the picture only.
  if (draw.itemState & ODS_COMBOBOXEDIT) return;
  if (static_cast<size_t>(index) >= icons_.names.size()) return;
  RECT caption = r;
  caption.left += fIconSize + scale(8);
  ::SetBkMode(draw.hDC, TRANSPARENT);
  ::SetTextColor(draw.hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const std::wstring& textOf = icons_.names[static_cast<size_t>(index)];
  ::DrawTextW(draw.hDC, textOf.c_str(), static_cast<int>(textOf.size()), &caption,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void TfrmSubMenus::drawHintPanel(const DRAWITEMSTRUCT& draw) {
  dialogs::HintPanelLook look;
  look.margin = scale(4);
  look.bottom = scale(3);
  look.sunken = true;
  look.font = reinterpret_cast<HFONT>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  dialogs::drawHintPanel(draw, look);
}

std::wstring TfrmSubMenus::text(int id) const { return fav::windowText(item(id)); }

#include "frm_ConfigureFavorites.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>

#include "PlugInIntf.h"
#include "configure_controls.h"
#include "dialog_placement.h"
#include "frm_ConfigureFavorites_res.h"
#include "glyph_ids.h"
#include "glyphs.h"
#include "main_menu_items.h"
#include "plugin_state.h"
#include "settings_read.h"
#include "text_codec.h"
#include "ui_seam.h"
#include "un_logger.h"
#include "un_plugincommon.h"
#include "window_text.h"

namespace {

constexpr int kLabelIds[] = {IDC_LBL_ADD_SUBMENU,  IDC_LBL_MAIN_MENU_ITEMS, IDC_LBL_MENU_ITEM_NAME,
                             IDC_LBL_IMAGE_PATH,   IDC_LBL_IMAGE_PREFIX,    IDC_LBL_REPLACE_PATH,
                             IDC_LBL_ASK_LOGON_DATABASES};

// Design sizes at 96 DPI.
constexpr int kMinWidth = 612;
constexpr int kMinHeight = 459;
constexpr int kBottomBar = 39;
constexpr int kRightColumn = 84;
constexpr int kOptionsPanel = 213;
constexpr int kSubmenuStrip = 30;
constexpr int kFilterStrip = 26;

// A log file that cannot be written must not keep the dialog from opening.
void trace(const std::wstring& line) {
  try {
    log(line);
  } catch (const LogFileError&) {
  }
}

}  // namespace

TfrmConfigureFavorites::TfrmConfigureFavorites() {
  hostVersion_ = host::HostVersion();
  FillTypeExtensions();
  UpdateActionStates();
}

TfrmConfigureFavorites::~TfrmConfigureFavorites() = default;

bool TfrmConfigureFavorites::Initialize() {
  if (!ReadIniFile()) return false;
  FillGrid();
  // Before the window the icons wait for it: it reads them at its DPI, off
  // its own thread.
  if (hwnd()) LoadImages();
  initialized_ = true;
  return true;
}

INT_PTR TfrmConfigureFavorites::ShowModal(HWND owner) {
  return showModal(IDD_CONFIGURE_FAVORITES, owner);
}

// --- loading and saving --------------------------------------------------------

bool TfrmConfigureFavorites::ReadIniFile() {
  trace(L"TfrmConfigureFavorites.ReadIniFile start");
  // Defaults shown for a file we could not read would replace the list at Ok.
  const std::optional<IniFile> read = plugin::loadForChange(fIniFilename, hwnd() ? hwnd() : fav::hostOwnerWindow());
  if (!read) return false;
  const IniFile& ini = *read;
  settings_ = readSettings(ini, plugin::pluginFolder());
  // Without a stored place the dialog opens over the IDE, not at a fixed spot.
  positionStored_ = ini.hasKey(ini::kSettings, L"Left") && ini.hasKey(ini::kSettings, L"Top");
  fPrefix = settings_.ImagePrefix;
  fImagePath = settings_.ImagePath;
  TSubMenuItems submenus;
  submenus.Add();  // the blank entry: no submenu
  TFavoriteItems favorites;
  loadLists(ini, submenus, favorites);
  loaded_.version = ini.version();
  loaded_.favorites = favorites;
  model_.load(std::move(favorites), std::move(submenus));
  mainMenuItems_ = mainMenuEntries(fav::toWide(host::MainMenuNames()));
  if (hwnd()) {
    applySettingsToControls();
    FillMainMenuItems();
  }
  trace(L"TfrmConfigureFavorites.ReadIniFile end");
  return true;
}

void TfrmConfigureFavorites::FillMainMenuItems() {
  HWND combo = item(IDC_CBX_MAIN_MENU_ITEMS);
  if (!combo) return;
  ComboBox_ResetContent(combo);
  for (const std::wstring& entry : mainMenuItems_) ComboBox_AddString(combo, entry.c_str());
  const int match = findMainMenuEntry(mainMenuItems_, settings_.NextToMenu);
  ComboBox_SetCurSel(combo, match);
}

void TfrmConfigureFavorites::applySettingsToControls() {
  if (!hwnd()) return;
  loadingControls_ = true;
  const FavoritesSettings& s = settings_;
  auto check = [&](int id, bool on) { Button_SetCheck(item(id), on ? BST_CHECKED : BST_UNCHECKED); };
  check(IDC_CB_SHOW_FULL_PATH, s.ShowFullPath);
  check(IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU, s.FavoritesOnMainmenu);
  check(IDC_CB_ALLOW_DUPLICATE_IMAGES, s.AllowDuplicateImages);
  check(IDC_CB_STORE_PASSWORD, s.SavePassword);
  check(IDC_CB_SHOW_CONNECTION_INFO, s.ShowConnectionInfo);
  check(IDC_CB_SHIFT_DOWN, s.ShiftState);
  check(IDC_CB_CTRL_DOWN, s.CtrlState);
  check(IDC_CB_ALT_DOWN, s.Altstate);
  ::SetWindowTextW(item(IDC_EDT_MENU_ITEM_NAME), s.MenuItemName.c_str());
  ::SetWindowTextW(item(IDC_EDT_IMAGE_PATH), s.ImagePath.c_str());
  ::SetWindowTextW(item(IDC_EDT_IMAGE_PREFIX), s.ImagePrefix.c_str());
  ::SetWindowTextW(item(IDC_EDT_REPLACE_PATH), s.ReplacementPath.c_str());
  ::SetWindowTextW(item(IDC_EDT_ASK_LOGON_DATABASES), s.AskLogonDatabases.c_str());
  loadingControls_ = false;
  cbShowFavoritesOnMainMenuClick();
}

FavoritesSettings TfrmConfigureFavorites::settingsFromControls() const {
  FavoritesSettings s = settings_;
  if (!hwnd()) return s;
  const RECT r = restoredWindowRect();
  s.Left = r.left;
  s.Top = r.top;
  s.Width = r.right - r.left;
  s.Height = r.bottom - r.top;
  s.ShowFullPath = isChecked(IDC_CB_SHOW_FULL_PATH);
  s.FavoritesOnMainmenu = isChecked(IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU);
  s.AllowDuplicateImages = isChecked(IDC_CB_ALLOW_DUPLICATE_IMAGES);
  s.MenuItemName = editText(IDC_EDT_MENU_ITEM_NAME);
  // A stored menu the host does not offer stays as it was.
  HWND combo = item(IDC_CBX_MAIN_MENU_ITEMS);
  const int sel = ComboBox_GetCurSel(combo);
  if (sel >= 0 && sel < static_cast<int>(mainMenuItems_.size())) s.NextToMenu = mainMenuItems_[sel];
  s.ImagePrefix = editText(IDC_EDT_IMAGE_PREFIX);
  s.ReplacementPath = editText(IDC_EDT_REPLACE_PATH);
  s.SavePassword = isChecked(IDC_CB_STORE_PASSWORD);
  s.ShowConnectionInfo = isChecked(IDC_CB_SHOW_CONNECTION_INFO);
  s.ImagePath = editText(IDC_EDT_IMAGE_PATH);
  s.ShiftState = isChecked(IDC_CB_SHIFT_DOWN);
  s.CtrlState = isChecked(IDC_CB_CTRL_DOWN);
  s.Altstate = isChecked(IDC_CB_ALT_DOWN);
  s.AskLogonDatabases = editText(IDC_EDT_ASK_LOGON_DATABASES);
  return s;
}

bool TfrmConfigureFavorites::WriteIniFile(std::wstring* error) {
  const int version = host::HostVersion();
  if (fIniFilename.empty()) {
    if (error) *error = L"The settings could not be saved: the settings file location is unknown.";
    return false;
  }
  return saveAll(fIniFilename, settingsFromControls(), model_.submenus(), model_.favorites(),
                 version, error, &loaded_);
}

void TfrmConfigureFavorites::actOkExecute() {
  if (renameOpen_) edtItemCommit();
  actSortBySubmenuExecute();
  std::wstring error;
  if (WriteIniFile(&error)) {
    endDialog(IDOK);
    return;
  }
  // The edits stay on screen and the file as it was; the user decides.
  showMessageBox(hwnd(), error.c_str(), L"Favorites", MB_OK | MB_ICONERROR);
}

void TfrmConfigureFavorites::actCancelExecute() { endDialog(IDCANCEL); }

void TfrmConfigureFavorites::takeBaseline() {
  model_.markUnchanged();
  baselineSettings_ = settingsFromControls();
}

bool TfrmConfigureFavorites::hasUnsavedChanges() const {
  if (model_.hasChanges()) return true;
  // Where the window is does not count as an edit.
  FavoritesSettings now = settingsFromControls();
  now.Left = baselineSettings_.Left;
  now.Top = baselineSettings_.Top;
  now.Width = baselineSettings_.Width;
  now.Height = baselineSettings_.Height;
  return !(now == baselineSettings_);
}

void TfrmConfigureFavorites::requestClose() {
  if (renameOpen_) edtItemCommit();
  if (hasUnsavedChanges() &&
      showMessageBox(hwnd(), L"Discard your changes to the favorites?", L"Favorites",
                     MB_YESNO | MB_ICONQUESTION) != IDYES)
    return;
  endDialog(IDCANCEL);
}

void TfrmConfigureFavorites::escapePressed() {
  // An open list closes first; the picker's close-up then puts it away.
  for (int id : {IDC_CBE_ICON, IDC_CB_SUBMENU_EDIT, IDC_CBE_MENU_ITEM, IDC_CBX_MAIN_MENU_ITEMS}) {
    HWND combo = item(id);
    if (combo && ::SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) {
      ::SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
      return;
    }
  }
  for (int id : {IDC_CBE_ICON, IDC_CB_SUBMENU_EDIT}) {
    if (::IsWindowVisible(item(id))) {
      pickedIndex_ = -1;
      ComboBoxCloseUp(item(id));
      return;
    }
  }
  if (renameOpen_) {
    edtItemCancel();
    return;
  }
  if (dragRow_ >= 0) {
    dragRow_ = -1;
    clearInsertMark();
    ::ReleaseCapture();
    return;
  }
  if (model_.filtered()) {
    ::SetWindowTextW(item(IDC_EDT_FILTER), L"");
    return;
  }
  requestClose();
}

// --- window ----------------------------------------------------------------------

bool TfrmConfigureFavorites::onInit() {
  // The window takes its size first, so that each control is made in its
  // place: one layout, and no control moved after it was made.
  placing_ = true;
  placeWindow();
  placing_ = false;
  if (!createControls()) {
    trace(L"TfrmConfigureFavorites: the dialog's controls could not be made");
    endDialog(IDCANCEL);
    return false;
  }
  FormCreate();
  if (initialized_) {
    applySettingsToControls();
    FillMainMenuItems();
    // The dialog opens without waiting for the icon files: a worker reads
    // them once it is up (onShown), and the rows and the pickers show them
    // when they come.
    submenuPickerWaits_ = true;  // its pictures are icon files too
    FillGrid();
  }
  UpdateActionStates();
  FormShow();
  takeBaseline();
  return false;  // the grid has the focus
}

bool TfrmConfigureFavorites::createControls() {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  std::map<int, RECT> places;
  forEachPlace(client.right, client.bottom, [&](int id, const RECT& r) { places[id] = r; });
  RECT renameBox{0, 0, 100, 12};  // placed over a cell when a rename opens
  ::MapDialogRect(hwnd(), &renameBox);
  places[IDC_EDT_ITEM] = renameBox;
  const WPARAM font = static_cast<WPARAM>(::SendMessageW(hwnd(), WM_GETFONT, 0, 0));
  for (const configure::ControlSpec& c : configure::kDialogControls) {
    const RECT& r = places[c.id];
    // Made in the state the list gives them, not switched after.
    DWORD state = 0;
    if (std::find(std::begin(configure::kRowCommands), std::end(configure::kRowCommands), c.id) !=
            std::end(configure::kRowCommands) &&
        !isActionEnabled(c.id))
      state = WS_DISABLED;
    HWND control = ::CreateWindowExW(
        WS_EX_NOPARENTNOTIFY | configure::exStyleOf(c), c.windowClass, c.text,
        WS_CHILD | c.style | state, r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), thisModule(), nullptr);
    if (!control) return false;
    ::SendMessageW(control, WM_SETFONT, font, FALSE);
    // The grid comes next in the tab order, under the rename box.
    if (c.id == IDC_EDT_ITEM && !createGrid(places[IDC_SG_FAVORITES])) return false;
  }
  ::SendMessageW(hwnd(), DM_SETDEFID, IDOK, 0);
  return true;
}

void TfrmConfigureFavorites::FormCreate() {
  gridEvents_.filesDropped = [this](const std::vector<std::wstring>& paths) {
    addFiles(paths);
    checkFiles();
  };
  gridEvents_.command = [this](int action) { runAction(action); };
  ::SendMessageW(item(IDC_CBE_MENU_ITEM), CB_SETDROPPEDWIDTH, scale(kPickerListWidth), 0);
  popupMenu_.reset(::LoadMenuW(thisModule(), MAKEINTRESOURCEW(IDM_PM_SG_FAVORITES)));
  ::SendMessageW(item(IDC_EDT_FILTER), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Filter"));

  setHintPanel(item(IDC_PNL_HINT));
  for (const configure::ActionControl& a : configure::kActionControls)
    if (a.glyph) setHint(item(a.id), favlist::hintOf(a.action));
  for (const configure::ControlHint& c : configure::kControlHints) setHint(item(c.id), c.hint);
  setHint(hwnd(), L"");  // the panels and the labels have no hint
  setHint(item(IDC_CBX_MAIN_MENU_ITEMS), L"Choose menu");
  clearHintOnLeave(item(IDC_CBX_MAIN_MENU_ITEMS));
  applyGlyphs();

  setShortcuts({{VK_UP, true, false, false, IDC_ACT_UP},
                {VK_DOWN, true, false, false, IDC_ACT_DOWN},
                {'F', false, true, false, IDC_EDT_FILTER},
                {'Z', false, true, false, IDC_ACT_UNDO},
                {'Y', false, true, false, IDC_ACT_REDO},
                {'R', false, true, false, IDC_ACT_RELINK},
                {VK_ESCAPE, false, false, false, IDC_ACT_ESCAPE}});
  // Enter in the submenu box adds the submenu instead of pressing Ok.
  ::SetWindowSubclass(edSubMenu(), &TfrmConfigureFavorites::submenuBoxProc, 1,
                      reinterpret_cast<DWORD_PTR>(this));

  // Only the older menu layout can put the favorites on the main menu.
  setEnabled(IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU, hostVersion_ < ini::kRibbonHostVersion);
  click_.forget();
  cbShowFavoritesOnMainMenuClick();
}

void TfrmConfigureFavorites::FormShow() {
  // As after a closed list: editors hidden, grid enabled and focused.
  ::ShowWindow(item(IDC_CBE_ICON), SW_HIDE);
  ::ShowWindow(item(IDC_CB_SUBMENU_EDIT), SW_HIDE);
  ::ShowWindow(item(IDC_EDT_ITEM), SW_HIDE);
  if (sgFavorites_) {
    ::EnableWindow(sgFavorites_, TRUE);
    ::SetFocus(sgFavorites_);
  }
}

void TfrmConfigureFavorites::applyGlyphs() {
  // The same few glyphs at every open: made once per process and size.
  const UINT d = dpi();
  for (const configure::ActionControl& a : configure::kActionControls)
    if (a.glyph) dialogs::setSharedButtonGlyph(item(a.id), a.glyph, d);
  for (const configure::ControlHint& c : configure::kControlHints)
    if (c.glyph) dialogs::setSharedButtonGlyph(item(c.id), c.glyph, d);
  const bool folderGlyph =
      dialogs::setSharedButtonGlyph(item(IDC_BBTN_IMAGE_PATH), IDB_GLYPH_FOLDER, d);
  ::SetWindowTextW(item(IDC_BBTN_IMAGE_PATH), folderGlyph ? L"" : L"...");
  pluginIcon_ = dialogs::sharedGlyphList(IDB_PLUGIN_ICON, scale(32));
}

void TfrmConfigureFavorites::placeWindow() {
  const int minW = scale(kMinWidth), minH = scale(kMinHeight);
  RECT r{settings_.Left, settings_.Top, settings_.Left + std::max(settings_.Width, minW),
         settings_.Top + std::max(settings_.Height, minH)};
  // A rectangle saved on a monitor that is gone comes back onto the nearest one.
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) {
    const RECT& work = mi.rcWork;
    const int w = std::min<int>(r.right - r.left, work.right - work.left);
    const int h = std::min<int>(r.bottom - r.top, work.bottom - work.top);
    int x = std::clamp<int>(r.left, work.left, work.right - w);
    int y = std::clamp<int>(r.top, work.top, work.bottom - h);
    r = RECT{x, y, x + w, y + h};
  }
  if (!positionStored_)
    r = centredRect(SIZE{r.right - r.left, r.bottom - r.top}, ::GetWindow(hwnd(), GW_OWNER));
  ::SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TfrmConfigureFavorites::restoredWindowRect() const {
  RECT r{};
  ::GetWindowRect(hwnd(), &r);
  if (::IsZoomed(hwnd()) || ::IsIconic(hwnd())) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (::GetWindowPlacement(hwnd(), &wp)) {
      // The placement is in work-area coordinates.
      r = wp.rcNormalPosition;
      MONITORINFO mi{};
      mi.cbSize = sizeof(mi);
      if (::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi))
        ::OffsetRect(&r, mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top);
    }
  }
  return r;
}

void TfrmConfigureFavorites::layout() {
  if (!hwnd()) return;
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  // Every control moves in one batch without drawing, then the dialog and
  // its children are drawn once: no ghosts of old positions, no half-drawn
  // buttons while the frame is dragged.
  constexpr UINT kMove = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS;
  HDWP batch = ::BeginDeferWindowPos(48);
  forEachPlace(client.right, client.bottom, [&](int id, const RECT& r) {
    HWND control = item(id);
    if (control && batch)
      batch = ::DeferWindowPos(batch, control, nullptr, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, kMove);
  });
  if (batch) ::EndDeferWindowPos(batch);

  FormResize();
  ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void TfrmConfigureFavorites::forEachPlace(int W, int H,
                                          const std::function<void(int, const RECT&)>& at) const {
  auto s = [this](int v) { return scale(v); };
  auto place = [&](int id, int x, int y, int w, int h) {
    at(id, RECT{x, y, x + std::max(w, 0), y + std::max(h, 0)});
  };

  const int bottom = H - s(kBottomBar);
  // Bottom bar: icon, hint panel, Ok and Cancel.
  place(IDC_IMAGE1, s(3), bottom + s(3), s(34), s(34));
  place(IDC_PNL_HINT, s(40), bottom + s(5), W - s(160) - s(42), s(30));
  place(IDOK, W - s(160) + s(4), bottom + s(7), s(74), s(26));
  place(IDCANCEL, W - s(80) + s(2), bottom + s(7), s(74), s(26));

  // Right column.
  const int colX = W - s(kRightColumn) + s(4);
  const int rightButtons[] = {IDC_BBTN_UP,     IDC_BBTN_DOWN,           IDC_BBTN_ADD,
                              IDC_BBTN_ADD_SEPARATOR, IDC_BBTN_REMOVE, IDC_BBTN_CONNECTION_INFO,
                              IDC_BBTN_SORT};
  for (int i = 0; i < 7; ++i) place(rightButtons[i], colX, s(4) + i * s(34), s(76), s(30));
  place(IDC_BBTN_LOAD, colX, bottom - s(4) - s(30), s(76), s(30));

  // Grid area.
  const int areaW = W - s(kRightColumn);
  const int optionsTop = bottom - s(kOptionsPanel);
  const int stripTop = optionsTop - s(kSubmenuStrip);
  const int fieldRight = areaW - s(4);
  place(IDC_EDT_FILTER, s(4), s(4), areaW - s(8), s(21));
  const int gridTop = s(kFilterStrip) + s(3);
  place(IDC_SG_FAVORITES, s(4), gridTop, areaW - s(8), std::max(stripTop - gridTop, s(26)));

  // Add-submenu strip.
  place(IDC_LBL_ADD_SUBMENU, s(6), stripTop + s(8), s(72), s(16));
  const int addX = fieldRight - s(25);
  const int pickerX = addX - s(3) - s(44);
  place(IDC_ED_SUBMENU, s(80), stripTop + s(4), pickerX - s(4) - s(80), s(22));
  place(IDC_CBE_MENU_ITEM, pickerX, stripTop + s(4), s(44), s(300));
  place(IDC_SB_ADD_SUBMENU, addX, stripTop + s(3), s(25), s(24));

  // Options panel.
  const int row1 = optionsTop + s(3), row2 = optionsTop + s(21);
  place(IDC_CB_SHOW_FULL_PATH, s(8), row1, s(168), s(17));
  place(IDC_CB_ALLOW_DUPLICATE_IMAGES, s(180), row1, s(160), s(17));
  place(IDC_CB_SHOW_CONNECTION_INFO, s(344), row1, std::min(s(166), fieldRight - s(344)), s(17));
  place(IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU, s(8), row2, s(168), s(17));
  place(IDC_CB_STORE_PASSWORD, s(180), row2, s(160), s(17));
  const int labelW = s(112), fieldX = s(122);
  const int lines[][2] = {{IDC_LBL_MAIN_MENU_ITEMS, IDC_CBX_MAIN_MENU_ITEMS},
                          {IDC_LBL_MENU_ITEM_NAME, IDC_EDT_MENU_ITEM_NAME},
                          {IDC_LBL_IMAGE_PATH, IDC_EDT_IMAGE_PATH},
                          {IDC_LBL_IMAGE_PREFIX, IDC_EDT_IMAGE_PREFIX},
                          {IDC_LBL_REPLACE_PATH, IDC_EDT_REPLACE_PATH},
                          {IDC_LBL_ASK_LOGON_DATABASES, IDC_EDT_ASK_LOGON_DATABASES}};
  for (int i = 0; i < 6; ++i) {
    const int y = optionsTop + s(40) + i * s(23);
    place(lines[i][0], s(8), y + s(3), labelW, s(16));
    int w = fieldRight - fieldX;
    if (lines[i][1] == IDC_EDT_IMAGE_PATH) {
      w -= s(27);
      place(IDC_BBTN_IMAGE_PATH, fieldRight - s(25), y, s(25), s(21));
    }
    place(lines[i][1], fieldX, y, w, lines[i][1] == IDC_CBX_MAIN_MENU_ITEMS ? s(200) : s(21));
  }
  const int groupTop = optionsTop + s(40) + 6 * s(23) - s(1);
  place(IDC_GB_SUPPRESS_LOGON, s(8), groupTop, fieldRight - s(8), bottom - groupTop - s(2));
  const int boxY = groupTop + s(15);
  place(IDC_CB_SHIFT_DOWN, s(18), boxY, s(110), s(17));
  place(IDC_CB_CTRL_DOWN, s(132), boxY, s(110), s(17));
  place(IDC_CB_ALT_DOWN, s(246), boxY, s(110), s(17));
}

void TfrmConfigureFavorites::cbShowFavoritesOnMainMenuClick() {
  setEnabled(IDC_CBX_MAIN_MENU_ITEMS, isChecked(IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU));
}

void TfrmConfigureFavorites::edtImagePrefixChange() {
  if (loadingControls_) return;
  const std::wstring prefix = editText(IDC_EDT_IMAGE_PREFIX);
  const std::wstring path = editText(IDC_EDT_IMAGE_PATH);
  if (prefix == fPrefix && path == fImagePath) return;
  fPrefix = prefix;
  fImagePath = path;
  LoadImages();
  FillSubmenuCombo();
  if (sgFavorites_) ::InvalidateRect(sgFavorites_, nullptr, TRUE);
}

void TfrmConfigureFavorites::bbtnImagePathClick() {
  // Owned by this dialog, so it can never outlive it; a cancelled or failed
  // browse keeps what the box holds.
  const std::wstring folder = browseForFolder(L"Select Imagepath Folder", 1, hwnd());
  if (!folder.empty()) ::SetWindowTextW(item(IDC_EDT_IMAGE_PATH), folder.c_str());
}

void TfrmConfigureFavorites::cbAllowDuplicateImagesClick() {
  if (!isChecked(IDC_CB_ALLOW_DUPLICATE_IMAGES)) model_.clearDuplicateImages();
  // The rows read the model when drawn.
  if (sgFavorites_) ::InvalidateRect(sgFavorites_, nullptr, TRUE);
}

// --- actions -----------------------------------------------------------------------


void TfrmConfigureFavorites::showContextMenu(int x, int y) {
  if (!popupMenu_) return;
  HMENU menu = ::GetSubMenu(popupMenu_.get(), 0);
  for (int id : {IDC_ACT_UP, IDC_ACT_DOWN, IDC_ACT_RENAME, IDC_ACT_REMOVE, IDC_ACT_CONNECTION_INFO,
                 IDC_ACT_EXPORT, IDC_ACT_RELINK})
    ::EnableMenuItem(menu, id, MF_BYCOMMAND | (isActionEnabled(id) ? MF_ENABLED : MF_GRAYED));
  if (x == -1 && y == -1) {
    // From the keyboard: at the selected row, which it arms for Rename as a
    // right click would.
    RECT r{};
    const int row = std::max(rowOfFavorite(model_.selected()), 0);
    if (row < rowCount()) {
      fRow = row;
      fCol = 2;
      click_.hold(row);
    }
    if (!ListView_GetItemRect(sgFavorites_, row, &r, LVIR_BOUNDS)) ::GetClientRect(sgFavorites_, &r);
    POINT p{r.left + scale(40), r.bottom};
    ::ClientToScreen(sgFavorites_, &p);
    x = p.x;
    y = p.y;
  }
  const int chosen = static_cast<int>(::TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, hwnd(), nullptr));
  if (chosen && isActionEnabled(chosen)) runAction(chosen);
}

bool TfrmConfigureFavorites::runAction(int id) {
  switch (id) {
    case IDC_ACT_UNDO: actUndoExecute(); return true;
    case IDC_ACT_REDO: actRedoExecute(); return true;
    case IDC_ACT_ESCAPE: escapePressed(); return true;
    case IDOK: actOkExecute(); return true;
    case IDCANCEL: actCancelExecute(); return true;
    default: break;
  }
  // Every command that edits the lists can be undone: as one step, whatever
  // it does on the way.
  bool known = true;
  model_.change([&] {
    switch (id) {
      case IDC_ACT_UP: actUpExecute(); break;
      case IDC_ACT_DOWN: actDownExecute(); break;
      case IDC_ACT_ADD: actAddExecute(); break;
      case IDC_ACT_ADD_SEPARATOR: actAddSeparatorExecute(); break;
      case IDC_ACT_REMOVE: actRemoveExecute(); break;
      case IDC_ACT_CONNECTION_INFO: actConnectionInfoExecute(); break;
      case IDC_ACT_SORT_BY_SUBMENU: actSortBySubmenuExecute(); break;
      case IDC_ACT_LOAD: actLoadExecute(); break;
      case IDC_ACT_RENAME: actRenameExecute(); break;
      case IDC_ACT_ADD_SUBMENU: actAddSubmenuExecute(); break;
      case IDC_ACT_EXPORT: actExportExecute(); break;
      case IDC_ACT_IMPORT: actImportExecute(); break;
      case IDC_ACT_RELINK: actRelinkExecute(); break;
      default: known = false; break;
    }
  });
  checkFiles();
  return known;
}

const wchar_t* TfrmConfigureFavorites::focusHint(int id) {
  for (const configure::ActionControl& a : configure::kActionControls)
    if (a.id == id && a.glyph) return favlist::hintOf(a.action);
  for (const configure::ControlHint& c : configure::kControlHints)
    if (c.id == id) return c.hint;
  if (id == IDC_CBX_MAIN_MENU_ITEMS) return L"Choose menu";
  return nullptr;
}

bool TfrmConfigureFavorites::onCommand(int id, int code, HWND control) {
  // The hint panel follows the keyboard focus as it follows the mouse.
  if (code == BN_SETFOCUS || code == EN_SETFOCUS ||
      (code == CBN_SETFOCUS && id == IDC_CBX_MAIN_MENU_ITEMS)) {
    if (const wchar_t* hint = focusHint(id)) SetHintText(hint);
    return true;
  }
  switch (id) {
    case IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU:
      if (code == BN_CLICKED) cbShowFavoritesOnMainMenuClick();
      return true;
    case IDC_CB_ALLOW_DUPLICATE_IMAGES:
      if (code == BN_CLICKED) cbAllowDuplicateImagesClick();
      return true;
    case IDC_BBTN_IMAGE_PATH:
      if (code == BN_CLICKED) bbtnImagePathClick();
      return true;
    case IDC_EDT_IMAGE_PREFIX:
    case IDC_EDT_IMAGE_PATH:
      if (code == EN_CHANGE) edtImagePrefixChange();
      return true;
    case IDC_EDT_REPLACE_PATH:
      if (code == EN_CHANGE) {
        edtImagePrefixChange();
        checkFiles();  // the favorites' paths changed with it
      }
      return true;
    case IDC_EDT_FILTER:
      if (code == EN_CHANGE) applyFilter();
      else if (code == 0 && !control) {
        ::SetFocus(item(IDC_EDT_FILTER));
        Edit_SetSel(item(IDC_EDT_FILTER), 0, -1);
      }
      return true;
    case IDC_CBE_ICON:
    case IDC_CB_SUBMENU_EDIT:
      pickerCommand(control ? control : item(id), code);
      return true;
    case IDC_CBX_MAIN_MENU_ITEMS:
      return true;
    case IDC_CBE_MENU_ITEM:
      // Dropped before the worker brought the icons: read here, as the user waits.
      if (code == CBN_DROPDOWN && !icons_.list) LoadImages();
      return false;
    default:
      break;
  }
  const bool isAction =
      id == IDOK || id == IDCANCEL || id == IDC_ACT_ESCAPE || configure::actionOf(id).has_value();
  if (!isAction) return false;
  if (code != BN_CLICKED && code != 0 && code != 1) return true;
  if (!isActionEnabled(id)) return true;
  if (renameOpen_ && id != IDCANCEL && id != IDC_ACT_ESCAPE) edtItemCommit();
  return runAction(id);
}

bool TfrmConfigureFavorites::wantsShortcut(const MSG& msg, const fav::Shortcut& shortcut) const {
  if (shortcut.command == IDC_ACT_ESCAPE) return true;
  if (shortcut.command == IDC_ACT_RELINK) return !sgFavorites_ || ::IsWindowEnabled(sgFavorites_);
  if (shortcut.command == IDC_ACT_UNDO || shortcut.command == IDC_ACT_REDO) {
    // Ctrl+Z in a text box undoes typing; while a picker is open (the grid
    // disabled) the rows must stay where the picker put them.
    wchar_t cls[32] = {};
    ::GetClassNameW(msg.hwnd, cls, 32);
    return ::lstrcmpiW(cls, L"Edit") != 0 && (!sgFavorites_ || ::IsWindowEnabled(sgFavorites_));
  }
  if (shortcut.command != IDC_ACT_UP && shortcut.command != IDC_ACT_DOWN) return true;
  // Alt+Up and Alt+Down keep opening and closing combo box lists.
  wchar_t cls[32] = {};
  for (HWND w = msg.hwnd; w && w != hwnd(); w = ::GetParent(w)) {
    ::GetClassNameW(w, cls, 32);
    if (::lstrcmpiW(cls, L"ComboBox") == 0 || ::lstrcmpiW(cls, WC_COMBOBOXEXW) == 0) return false;
  }
  return true;
}

INT_PTR TfrmConfigureFavorites::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  handled = false;
  switch (msg) {
    case WM_SIZE:
      if (!placing_) layout();
      handled = true;
      return 0;
    case kCheckFilesMessage:
      startFileChecks();
      handled = true;
      return 0;
    case kFilesCheckedMessage:
      filesChecked(static_cast<unsigned>(wp));
      handled = true;
      return 0;
    case WM_CLOSE:
      requestClose();
      handled = true;
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize.x = scale(kMinWidth);
      info->ptMinTrackSize.y = scale(kMinHeight);
      handled = true;
      return 0;
    }
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      applyGlyphs();
      LoadImages();
      ::SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      // The font makes the grid ask for its row height at the new DPI.
      if (sgFavorites_)
        ::SendMessageW(sgFavorites_, WM_SETFONT, ::SendMessageW(hwnd(), WM_GETFONT, 0, 0), TRUE);
      makeBoldFont();
      FillGrid();
      handled = true;
      return 0;
    }
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      if (measure->CtlType == ODT_LISTVIEW && measure->CtlID == IDC_SG_FAVORITES) {
        measure->itemHeight = static_cast<UINT>(scale(kRowHeight));
        handled = true;
        return TRUE;
      }
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (draw->CtlID == IDC_SG_FAVORITES) sgFavoritesDrawItem(*draw);
      else if (draw->CtlID == IDC_PNL_HINT) drawHintPanel(*draw);
      else if (draw->CtlID == IDC_IMAGE1) drawImage1(*draw);
      else return 0;
      handled = true;
      return TRUE;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == sgFavorites_) {
        showContextMenu(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        handled = true;
      }
      return 0;
    case WM_SETCURSOR:
      return 0;
    case kIconsReadMessage:
      iconsRead();
      handled = true;
      return 0;
    case WM_TIMER:
      if (wp == kStartChecksTimer) {
        startCheckNow();
        handled = true;
        return 0;
      }
      if (wp != kReadIconsTimer) return 0;
      ::KillTimer(hwnd(), kReadIconsTimer);
      makePickers();
      // Unless an edit of the image path has read them meanwhile.
      if (!icons_.list) startIconLoad();
      // The files too are checked only once the dialog has been drawn.
      startFileChecks();
      handled = true;
      return 0;
    default:
      return gridDialogMessage(msg, wp, lp, handled);
  }
}

LRESULT CALLBACK TfrmConfigureFavorites::submenuBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                                        UINT_PTR id, DWORD_PTR data) {
  try {
    auto* self = reinterpret_cast<TfrmConfigureFavorites*>(data);
    switch (msg) {
      case WM_GETDLGCODE:
        // Enter belongs to the box, so the dialog does not press Ok.
        if (lp && reinterpret_cast<const MSG*>(lp)->message == WM_KEYDOWN &&
            reinterpret_cast<const MSG*>(lp)->wParam == VK_RETURN)
          return ::DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTMESSAGE;
        break;
      case WM_KEYDOWN:
        if (wp == VK_RETURN) {
          self->addTypedSubmenu();
          return 0;
        }
        break;
      case WM_CHAR:
        if (wp == L'\r' || wp == L'\n') return 0;  // no beep for the Enter just used
        break;
      case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, &TfrmConfigureFavorites::submenuBoxProc, id);
        break;
      default:
        break;
    }
  } catch (...) {
    // Nothing escapes into the host; the box carries on.
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

void TfrmConfigureFavorites::onShown() {
  // The icons are read once the dialog has been drawn: a timer comes after
  // the first paint, which a posted message would not, and a read running
  // beside the dialog's creation would slow it down.
  ::SetTimer(hwnd(), kReadIconsTimer, USER_TIMER_MINIMUM, nullptr);
}

void TfrmConfigureFavorites::onDestroy() {
  iconLoader_.stop();
  presenceCheck_.stop();
  renameOpen_ = false;
  grid_.detach();
  sgFavorites_ = nullptr;
}

void TfrmConfigureFavorites::drawHintPanel(const DRAWITEMSTRUCT& draw) {
  dialogs::HintPanelLook look;
  look.margin = scale(4);
  look.bottom = scale(3);
  dialogs::drawHintPanel(draw, look);
}

void TfrmConfigureFavorites::drawImage1(const DRAWITEMSTRUCT& draw) {
  ::FillRect(draw.hDC, &draw.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
  if (!pluginIcon_) return;
  const int size = scale(32);
  const int x = (draw.rcItem.left + draw.rcItem.right - size) / 2;
  const int y = (draw.rcItem.top + draw.rcItem.bottom - size) / 2;
  ::ImageList_Draw(pluginIcon_, 0, draw.hDC, x, y, ILD_TRANSPARENT);
}

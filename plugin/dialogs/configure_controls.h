// Which control of the Configure Favorites dialog runs which list command,
// with its glyph, and the hints of the controls that are not list commands.
// The hints of the commands themselves come from the list model's table.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "favorites_list.h"
#include "frm_ConfigureFavorites_res.h"
#include "glyph_ids.h"

namespace configure {

struct ActionControl {
  int id;
  favlist::Action action;
  int glyph;  // 0: no button
};

inline constexpr ActionControl kActionControls[] = {
    {IDC_ACT_UP, favlist::Action::Up, IDB_GLYPH_UP},
    {IDC_ACT_DOWN, favlist::Action::Down, IDB_GLYPH_DOWN},
    {IDC_ACT_ADD, favlist::Action::Add, IDB_GLYPH_ADD},
    {IDC_ACT_ADD_SEPARATOR, favlist::Action::AddSeparator, IDB_GLYPH_SEPARATOR},
    {IDC_ACT_REMOVE, favlist::Action::Remove, IDB_GLYPH_REMOVE},
    {IDC_ACT_CONNECTION_INFO, favlist::Action::ConnectionInfo, IDB_GLYPH_CONNECTION},
    {IDC_ACT_SORT_BY_SUBMENU, favlist::Action::SortBySubmenu, IDB_GLYPH_SORT},
    {IDC_ACT_LOAD, favlist::Action::Load, IDB_GLYPH_LOAD},
    {IDC_ACT_ADD_SUBMENU, favlist::Action::AddSubmenu, IDB_GLYPH_ADD_SUBMENU},
    {IDC_ACT_RENAME, favlist::Action::Rename, 0},
    {IDC_ACT_UNDO, favlist::Action::Undo, 0},
    {IDC_ACT_REDO, favlist::Action::Redo, 0},
    {IDC_ACT_EXPORT, favlist::Action::Export, 0},
    {IDC_ACT_IMPORT, favlist::Action::Import, 0},
    {IDC_ACT_RELINK, favlist::Action::RelinkMissing, 0},
};

// The buttons whose command needs a row: enabled by the state of the list.
inline constexpr int kRowCommands[] = {IDC_ACT_UP, IDC_ACT_DOWN, IDC_ACT_REMOVE,
                                       IDC_ACT_CONNECTION_INFO};

// The list command a control id runs, if any.
inline std::optional<favlist::Action> actionOf(int id) {
  for (const ActionControl& control : kActionControls)
    if (control.id == id) return control.action;
  return std::nullopt;
}

struct ControlHint {
  int id;
  const wchar_t* hint;
  int glyph;  // 0: none
};

// Ok, Cancel and the options; an empty hint clears the panel.
inline constexpr ControlHint kControlHints[] = {
    {IDOK, L"Save changes", IDB_GLYPH_OK},
    {IDCANCEL, L"Discard changes", IDB_GLYPH_CANCEL},
    {IDC_CB_SHOW_FULL_PATH, L"Show full path of the favorites", 0},
    {IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU, L"Show favorites as a separate menu", 0},
    {IDC_EDT_MENU_ITEM_NAME, L"Menu item name", 0},
    {IDC_EDT_IMAGE_PATH, L"Path to where the images are located", 0},
    {IDC_EDT_IMAGE_PREFIX, L"Prefix of the images to be used", 0},
    {IDC_EDT_REPLACE_PATH, L"Path used to replace %path% with", 0},
    {IDC_EDT_ASK_LOGON_DATABASES,
     L"Database names separated by ';'; * and ? match any text and any one character (e.g. "
     L"PROD*;*_P)",
     0},
    {IDC_CB_ALLOW_DUPLICATE_IMAGES, L"Allow images to be used more than once", 0},
    {IDC_CB_STORE_PASSWORD, L"Store passwords when storing connection information", 0},
    {IDC_CB_SHOW_CONNECTION_INFO, L"Show connection info of the favorites", 0},
    {IDC_CB_SHIFT_DOWN, L"Suppress logon when shift pressed", 0},
    {IDC_CB_CTRL_DOWN, L"Suppress logon when ctrl pressed", 0},
    {IDC_CB_ALT_DOWN, L"Suppress logon when alt pressed", 0},
    {IDC_ED_SUBMENU, L"Submenu name", 0},
    {IDC_LBL_ADD_SUBMENU, L"", 0},
    {IDC_LBL_MAIN_MENU_ITEMS, L"", 0},
    {IDC_LBL_MENU_ITEM_NAME, L"", 0},
    {IDC_LBL_IMAGE_PATH, L"", 0},
    {IDC_LBL_IMAGE_PREFIX, L"", 0},
    {IDC_LBL_REPLACE_PATH, L"", 0},
    {IDC_LBL_ASK_LOGON_DATABASES, L"", 0},
    {IDC_PNL_HINT, L"", 0},
};

// The dialog's controls in tab and z-order, each label just before its
// field and the in-place rename box before the grid (made in code after it)
// so that it sits above it. They are made at the place the layout gives them:
// made in a template and then moved, they cost the open a tenth of its time.
struct ControlSpec {
  int id;
  const wchar_t* windowClass;
  const wchar_t* text;
  DWORD style;  // WS_CHILD is implied
};

inline constexpr DWORD kChecked = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY;
inline constexpr DWORD kCommand =
    WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE | BS_NOTIFY;
inline constexpr DWORD kDropList = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
inline constexpr DWORD kField = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;  // with a sunken edge
inline constexpr DWORD kLabel = WS_VISIBLE | SS_LEFT;

inline constexpr ControlSpec kDialogControls[] = {
    {IDC_EDT_FILTER, L"Edit", L"", kField},
    {IDC_EDT_ITEM, L"Edit", L"", WS_TABSTOP | ES_AUTOHSCROLL},  // shown by a rename
    {IDC_LBL_ADD_SUBMENU, L"Static", L"Add Su&bmenu", kLabel},
    {IDC_ED_SUBMENU, L"Edit", L"", kField},
    {IDC_CBE_MENU_ITEM, WC_COMBOBOXEXW, L"", kDropList},
    {IDC_SB_ADD_SUBMENU, L"Button", L"", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY},
    {IDC_CB_SHOW_FULL_PATH, L"Button", L"Show &full path", kChecked},
    {IDC_CB_ALLOW_DUPLICATE_IMAGES, L"Button", L"Allo&w duplicate images", kChecked},
    {IDC_CB_SHOW_CONNECTION_INFO, L"Button", L"Show co&nnection info", kChecked},
    {IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU, L"Button", L"Show fa&vorites on mainmenu", kChecked},
    {IDC_CB_STORE_PASSWORD, L"Button", L"Store &password", kChecked},
    {IDC_LBL_MAIN_MENU_ITEMS, L"Static", L"To the ri&ght of", kLabel},
    {IDC_CBX_MAIN_MENU_ITEMS, L"ComboBox", L"", kDropList},
    {IDC_LBL_MENU_ITEM_NAME, L"Static", L"&Menu item name", kLabel},
    {IDC_EDT_MENU_ITEM_NAME, L"Edit", L"", kField},
    {IDC_LBL_IMAGE_PATH, L"Static", L"Image pat&h", kLabel},
    {IDC_EDT_IMAGE_PATH, L"Edit", L"", kField},
    {IDC_BBTN_IMAGE_PATH, L"Button", L"...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON},
    {IDC_LBL_IMAGE_PREFIX, L"Static", L"Image prefi&x", kLabel},
    {IDC_EDT_IMAGE_PREFIX, L"Edit", L"", kField},
    {IDC_LBL_REPLACE_PATH, L"Static", L"Replace path", kLabel},
    {IDC_EDT_REPLACE_PATH, L"Edit", L"", kField},
    {IDC_LBL_ASK_LOGON_DATABASES, L"Static", L"As&k before logon to", kLabel},
    {IDC_EDT_ASK_LOGON_DATABASES, L"Edit", L"", kField},
    {IDC_GB_SUPPRESS_LOGON, L"Button", L"Suppress Logon", WS_VISIBLE | BS_GROUPBOX},
    {IDC_CB_SHIFT_DOWN, L"Button", L"&Shift Pressed", kChecked},
    {IDC_CB_CTRL_DOWN, L"Button", L"C&trl Pressed", kChecked},
    {IDC_CB_ALT_DOWN, L"Button", L"Alt Pr&essed", kChecked},
    {IDC_BBTN_UP, L"Button", L"&Up", kCommand},
    {IDC_BBTN_DOWN, L"Button", L"&Down", kCommand},
    {IDC_BBTN_ADD, L"Button", L"&Add", kCommand},
    {IDC_BBTN_ADD_SEPARATOR, L"Button", L"Separat&or", kCommand},
    {IDC_BBTN_REMOVE, L"Button", L"&Remove", kCommand},
    {IDC_BBTN_CONNECTION_INFO, L"Button", L"Connection &Info", kCommand},
    {IDC_BBTN_SORT, L"Button", L"Sort B&y Submenu", kCommand},
    {IDC_BBTN_LOAD, L"Button", L"&Load", kCommand},
    {IDC_IMAGE1, L"Static", L"", WS_VISIBLE | SS_OWNERDRAW},
    {IDC_PNL_HINT, L"Static", L"", WS_VISIBLE | SS_OWNERDRAW | SS_SUNKEN},
    {IDOK, L"Button", L"Ok", WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON | BS_NOTIFY},
    {IDCANCEL, L"Button", L"&Cancel", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY},
};

// Text boxes have the sunken edge of the dialog's other fields.
inline DWORD exStyleOf(const ControlSpec& control) {
  return ::lstrcmpW(control.windowClass, L"Edit") == 0 ? WS_EX_CLIENTEDGE : 0;
}

}  // namespace configure

// Which control of the Configure Favorites dialog runs which list command,
// with its glyph, and the hints of the controls that are not list commands.
// The hints of the commands themselves come from the list model's table.
#pragma once

#include <windows.h>

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

}  // namespace configure

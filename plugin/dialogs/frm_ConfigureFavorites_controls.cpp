// The Configure Favorites dialog's controls as the grid and the commands read
// them (from the window when it exists, else from what was loaded), and the
// enabled state of the list commands. Calls nothing of the dialog's other
// files, so every other part may call it.
#include <windows.h>
#include <windowsx.h>

#include "configure_controls.h"
#include "frm_ConfigureFavorites.h"
#include "frm_ConfigureFavorites_res.h"
#include "window_text.h"

HWND TfrmConfigureFavorites::edSubMenu() const { return item(IDC_ED_SUBMENU); }
HWND TfrmConfigureFavorites::cbeMenuItem() const { return item(IDC_CBE_MENU_ITEM); }
HWND TfrmConfigureFavorites::edtImagePath() const { return item(IDC_EDT_IMAGE_PATH); }
HWND TfrmConfigureFavorites::edtImagePrefix() const { return item(IDC_EDT_IMAGE_PREFIX); }
HWND TfrmConfigureFavorites::cbAllowDuplicateImages() const {
  return item(IDC_CB_ALLOW_DUPLICATE_IMAGES);
}

std::wstring TfrmConfigureFavorites::editText(int id) const {
  if (hwnd()) return fav::windowText(item(id));
  switch (id) {
    case IDC_EDT_MENU_ITEM_NAME: return settings_.MenuItemName;
    case IDC_EDT_IMAGE_PATH: return settings_.ImagePath;
    case IDC_EDT_IMAGE_PREFIX: return settings_.ImagePrefix;
    case IDC_EDT_REPLACE_PATH: return settings_.ReplacementPath;
    case IDC_EDT_ASK_LOGON_DATABASES: return settings_.AskLogonDatabases;
    default: return {};
  }
}

bool TfrmConfigureFavorites::isChecked(int id) const {
  if (hwnd()) return Button_GetCheck(item(id)) == BST_CHECKED;
  switch (id) {
    case IDC_CB_ALLOW_DUPLICATE_IMAGES: return settings_.AllowDuplicateImages;
    case IDC_CB_STORE_PASSWORD: return settings_.SavePassword;
    default: return false;
  }
}

void TfrmConfigureFavorites::setEnabled(int id, bool enabled) {
  HWND control = item(id);
  if (control && (::IsWindowEnabled(control) != FALSE) != enabled) ::EnableWindow(control, enabled);
}

bool TfrmConfigureFavorites::isActionEnabled(int action) const {
  const std::optional<favlist::Action> listAction = configure::actionOf(action);
  if (!listAction) return true;
  return model_.isEnabled(*listAction, click_.row() >= 0 && click_.row() < rowCount());
}

void TfrmConfigureFavorites::UpdateActionStates() {
  if (!hwnd()) return;
  for (int id : configure::kRowCommands) setEnabled(id, isActionEnabled(id));
}

// The Configure Favorites dialog's list commands: those that open files,
// folders and child dialogs before they change the list (Add, Load,
// Connection Info, Add Submenu with the hand-over of the submenu list to the
// Submenus dialog) and those that only reorder, append, remove or undo. The
// shell runs them; they redraw through the grid and never call the shell.
#include <windows.h>
#include <commdlg.h>

#include "FolderChoose.h"
#include "code_page_text.h"
#include "PlugInIntf.h"
#include "favorite_files.h"
#include "frm_ConfigureFavorites.h"
#include "frm_ConfigureFavorites_res.h"
#include "frm_ConnectionInfo.h"
#include "frm_SubMenus.h"
#include "plugin_state.h"
#include "submenu_list.h"
#include "text_codec.h"
#include "ui_seam.h"
#include "un_plugincommon.h"

namespace {

// The open-file dialog's answer buffer: a small one fails as if cancelled
// once many files are chosen.
constexpr DWORD kOpenFileChars = 64 * 1024;

// Where the next Add starts: the folder of the files chosen last.
std::wstring& lastAddFolder() {
  static std::wstring folder;
  return folder;
}

std::wstring folderOf(const std::wstring& path) {
  const size_t sep = path.find_last_of(L"\\/");
  if (sep == std::wstring::npos) return {};
  // A drive root keeps its separator ("C:\").
  return path.substr(0, sep == 2 && path[1] == L':' ? sep + 1 : sep);
}

// The multi-select open-file dialog owned by owner; the chosen full paths in
// the order returned, or none when cancelled.
std::vector<std::wstring> chooseFiles(HWND owner) {
  std::vector<wchar_t> buffer(kOpenFileChars, L'\0');
  const std::wstring& start = lastAddFolder();
  if (FavoritesUiSeam* seam = uiSeam(); seam && seam->openFiles) {
    if (seam->openFiles(owner, start.c_str(), buffer.data(), static_cast<int>(buffer.size())) <= 0)
      return {};
  } else {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kOpenFileChars;
    dialog.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    // No filter and no title; the host's working folder stays where it is.
    dialog.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING |
                   OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&dialog)) return {};
  }
  std::vector<std::wstring> paths =
      favfiles::openFileDialogPaths(favfiles::splitNullList(buffer.data(), buffer.size()));
  if (!paths.empty()) lastAddFolder() = folderOf(paths.front());
  return paths;
}

}  // namespace

void TfrmConfigureFavorites::addFiles(std::vector<std::wstring> paths) {
  favfiles::AddRules rules;
  // From the file on disk: an edited but unsaved "Replace path" counts after Ok.
  rules.replacementPath = getReplacementPath(fIniFilename);
  rules.extensions = fExtensions;
  rules.fitsCodePage = [](const std::wstring& name) { return fav::fitsCodePage(name); };
  const favfiles::AddOutcome outcome = model_.addFiles(std::move(paths), rules);
  FillGrid();
  UpdateActionStates();
  if (!outcome.unstorable.empty()) {
    // Stored as "?" they could never be opened; say which ones were left out.
    const std::wstring text = codepage::unstorableFilesMessage(outcome.unstorable);
    showMessageBox(hwnd(), text.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
  }
}

void TfrmConfigureFavorites::FillTypeExtensions() {
  fExtensions = favfiles::collectTypeExtensions(
      [](const std::string& objectType) { return host::FileExtensionsForType(objectType); });
}

void TfrmConfigureFavorites::actAddExecute() {
  std::vector<std::wstring> chosen = chooseFiles(hwnd());
  if (chosen.empty()) {
    FillGrid();
    return;
  }
  addFiles(std::move(chosen));
}

void TfrmConfigureFavorites::actLoadExecute() {
  TFolderDialog folderDialog(hwnd());
  if (!folderDialog.Execute()) {
    FillGrid();
    return;
  }
  addFiles(favfiles::listPlainFiles(folderDialog.FolderName()));
}

void TfrmConfigureFavorites::actConnectionInfoExecute() {
  const TFavoriteItem* favorite = model_.at(model_.selected());
  // No favorite, nothing to edit; an alias would turn a separator into a menu item.
  if (!favorite || favlist::isSeparator(*favorite)) return;

  TfrmConnectionInfo dialog(hwnd());
  dialog.Username(favorite->Username());
  dialog.Password(favorite->Password());
  dialog.Database(favorite->Database());
  dialog.ConnectAs(favorite->ConnectAs());
  dialog.Alias(favorite->Alias());
  dialog.AskLogon(favorite->AskLogon());
  dialog.StorePassword(isChecked(IDC_CB_STORE_PASSWORD));
  if (dialog.ShowModal() != IDOK) return;
  model_.editFavorite(model_.selected(), [&](TFavoriteItem& edited) {
    edited.Username(dialog.Username());
    edited.Password(dialog.Password());
    edited.Database(dialog.Database());
    edited.ConnectAs(dialog.ConnectAs());
    edited.Alias(dialog.Alias());
    edited.AskLogon(dialog.AskLogon());
  });
}

void TfrmConfigureFavorites::SubmenuEditorHandOver() {
  TfrmSubMenus dialog(hwnd());
  dialog.ImagePath(editText(IDC_EDT_IMAGE_PATH));
  dialog.ImagePrefix(editText(IDC_EDT_IMAGE_PREFIX));
  dialog.AllowDuplicateImages(isChecked(IDC_CB_ALLOW_DUPLICATE_IMAGES));
  dialog.PluginFolder(plugin::pluginFolder());
  dialog.Submenus(model_.submenus());  // a copy, blank entry included
  dialog.Initialize();
  if (dialog.ShowModal() != IDOK) return;

  // Renamed submenus keep their favorites; removed ones let them go.
  model_.applySubmenuEdits(dialog.Submenus(), dialog.Fates());
  FillGrid();
  LoadImages();
}

void TfrmConfigureFavorites::actAddSubmenuExecute() {
  if (!isCtrlDown(readKeyboardState())) {
    addTypedSubmenu();
    return;
  }
  SubmenuEditorHandOver();
  FillSubmenuCombo();
}

void TfrmConfigureFavorites::addTypedSubmenu() {
  // Trimmed (the file keeps no blanks around a value, so " x " would come
  // back as "x" and detach its favorites); a blank name adds nothing. The
  // blank entry stays first: the file never reads entry 0 back.
  const std::wstring typed = editText(IDC_ED_SUBMENU);
  if (const std::wstring part = submenus::menuBreakingPart(typed); !part.empty()) {
    const std::wstring text = submenus::menuBreakingMessage(part);
    showMessageBox(hwnd(), text.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
    return;
  }
  if (!codepage::acceptTyped(hwnd(), codepage::outsideCodePageMessage(L"submenu name", typed))) {
    ::SetFocus(edSubMenu());
    return;
  }
  model_.addSubmenu(typed, selectedMenuItemIcon());
  FillSubmenuCombo();
}

// --- list commands that only reorder or append ------------------------------------------

void TfrmConfigureFavorites::actUpExecute() {
  if (!model_.moveUp()) return;
  FillGrid();
  UpdateActionStates();
}

void TfrmConfigureFavorites::actDownExecute() {
  if (!model_.moveDown()) return;
  FillGrid();
  UpdateActionStates();
}

void TfrmConfigureFavorites::actAddSeparatorExecute() {
  model_.addSeparator();
  FillGrid();
  UpdateActionStates();
}

void TfrmConfigureFavorites::actRemoveExecute() {
  const std::wstring removed = model_.remove();
  if (removed.empty()) return;
  // The rows below moved up: an armed rename would hit another favorite.
  click_.forget();
  FillGrid();
  UpdateActionStates();
  // A Remove button that just went grey must not leave the keyboard nowhere.
  if (hwnd() && (!::GetFocus() || !::IsWindowEnabled(::GetFocus()))) focusGrid();
  SetHintText(removed);
}

void TfrmConfigureFavorites::actUndoExecute() {
  if (renameOpen_) edtItemCancel();
  if (model_.undo()) showRestoredLists();
}

void TfrmConfigureFavorites::actRedoExecute() {
  if (renameOpen_) edtItemCancel();
  if (model_.redo()) showRestoredLists();
}

void TfrmConfigureFavorites::actSortBySubmenuExecute() {
  model_.sortBySubmenu();
  FillGrid();
  UpdateActionStates();
}

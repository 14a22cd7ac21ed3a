#include "missing_favorite.h"

#include <commctrl.h>

#include <optional>
#include <vector>

#include "PlugInIntf.h"
#include "dialog_base.h"
#include "favorite_add.h"
#include "file_dialogs.h"
#include "file_path.h"
#include "menu_builder.h"
#include "plugin_state.h"
#include "settings_file.h"
#include "settings_read.h"
#include "ui_seam.h"

namespace missing {
namespace {

constexpr wchar_t kCaption[] = L"Favorites";
constexpr wchar_t kInstruction[] = L"Favorite not found";
constexpr const wchar_t* kButtons[] = {L"Locate...", L"Remove from favorites", L"Cancel"};
constexpr int kLocateId = 100;
constexpr int kRemoveId = 101;

std::wstring parentOf(const std::wstring& path) {
  size_t sep = path.find_last_of(L"\\/");
  if (sep == std::wstring::npos) return {};
  // "C:\" is a folder of its own; "\\server\share" is the top of a share.
  if (sep == 2 && path.size() > 3 && path[1] == L':') return path.substr(0, 3);
  if (sep + 1 == path.size() || sep == 0) return {};
  return path.substr(0, sep);
}

bool isFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring fileNameOf(const std::wstring& path) {
  const size_t sep = path.find_last_of(L"\\/:");
  return sep == std::wstring::npos ? path : path.substr(sep + 1);
}

Choice platformTaskDialog(HWND owner, const std::wstring& path) {
  fav::ActivationContextScope themed;
  using TaskDialogIndirectFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);
  // Only version 6 of the common controls has it; the import is by name so
  // a host without it still loads the plug-in.
  static const HMODULE comctl = ::LoadLibraryW(L"comctl32.dll");  // kept for the process
  const auto taskDialog = comctl ? reinterpret_cast<TaskDialogIndirectFn>(reinterpret_cast<void*>(
                                       ::GetProcAddress(comctl, "TaskDialogIndirect")))
                                 : nullptr;
  if (!taskDialog) {
    const std::wstring text = std::wstring(kInstruction) + L"\n\n" + path +
                              L"\n\nYes: Locate...\nNo: Remove from favorites\nCancel: do nothing";
    switch (::MessageBoxW(owner, text.c_str(), kCaption, MB_YESNOCANCEL | MB_ICONWARNING)) {
      case IDYES: return Choice::Locate;
      case IDNO: return Choice::Remove;
      default: return Choice::Cancel;
    }
  }
  const TASKDIALOG_BUTTON buttons[] = {
      {kLocateId, kButtons[0]}, {kRemoveId, kButtons[1]}, {IDCANCEL, kButtons[2]}};
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof(config);
  config.hwndParent = owner;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.pszWindowTitle = kCaption;
  config.pszMainIcon = TD_WARNING_ICON;
  config.pszMainInstruction = kInstruction;
  config.pszContent = path.c_str();
  config.cButtons = static_cast<UINT>(std::size(buttons));
  config.pButtons = buttons;
  config.nDefaultButton = kLocateId;
  int pressed = IDCANCEL;
  if (FAILED(taskDialog(&config, &pressed, nullptr, nullptr))) return Choice::Cancel;
  return pressed == kLocateId ? Choice::Locate : pressed == kRemoveId ? Choice::Remove : Choice::Cancel;
}

// "SQL files (*.sql)", "*.sql", then everything; only everything without an extension.
std::wstring filterFor(const std::wstring& oldPath) {
  const std::wstring extension = favfiles::extensionOf(fileNameOf(oldPath));
  std::wstring filter;
  if (!extension.empty() && extension.find_first_of(L"*?;") == std::wstring::npos) {
    std::wstring upper = extension;
    for (wchar_t& c : upper)
      if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    filter += upper + L" files (*." + extension + L")";
    filter += L'\0';
    filter += L"*." + extension;
    filter += L'\0';
  }
  filter += L"All files (*.*)";
  filter += L'\0';
  filter += L"*.*";
  filter += L'\0';
  filter += L'\0';
  return filter;
}

void refreshHost(const IniFile& saved) {
  host::RefreshPluginMenus(plugin::state().pluginId);
  menus::rebuildToolButtons(saved);
}

bool saveAndRefresh(HWND owner, const IniFile& ini) {
  std::wstring error;
  if (!ini.save(plugin::settingsPath(), &error)) {
    showMessageBox(owner, error.c_str(), kCaption, MB_OK | MB_ICONWARNING);
    return false;
  }
  refreshHost(ini);
  return true;
}

// The settings file as it is now with entry n found again, or nothing (the
// user has been told, or chose Cancel over a file that cannot be read).
std::optional<std::pair<IniFile, int>> loadEntry(HWND owner, int n, const std::wstring& storedFile) {
  std::optional<IniFile> ini = plugin::loadForChange(plugin::settingsPath(), owner);
  if (!ini) return std::nullopt;
  const int found = findEntry(*ini, n, storedFile);
  if (!found) {
    const std::wstring text = storedFile +
                              L" is no longer among the favorites: the list was changed "
                              L"elsewhere. Nothing was saved.";
    showMessageBox(owner, text.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
    return std::nullopt;
  }
  return std::make_pair(std::move(*ini), found);
}

}  // namespace

Choice askAboutMissingFile(HWND owner, const std::wstring& path) {
  if (FavoritesUiSeam* seam = uiSeam(); seam && seam->taskDialog) {
    const int answer = seam->taskDialog(owner, kCaption, kInstruction, path.c_str(), kButtons,
                                        static_cast<int>(std::size(kButtons)));
    if (answer != kSeamShowReal)
      return answer == 0 ? Choice::Locate : answer == 1 ? Choice::Remove : Choice::Cancel;
  }
  return platformTaskDialog(owner, path);
}

std::wstring nearestExistingFolder(const std::wstring& path) {
  // A handful of levels at most; each is one attribute query.
  for (std::wstring folder = parentOf(path); !folder.empty(); folder = parentOf(folder))
    if (isFolder(folder)) return folder;
  return {};
}

std::wstring locateFile(HWND owner, const std::wstring& oldPath) {
  const std::wstring title = L"Locate " + fileNameOf(oldPath);
  const std::wstring start = nearestExistingFolder(oldPath);
  const std::wstring filter = filterFor(oldPath);
  return fav::chooseFileToOpen(owner, title, start, filter);
}

int findEntry(const IniFile& ini, int n, const std::wstring& storedFile) {
  if (ini.readText(ini::kFiles, listKey(L"File", n), L"") == storedFile) return n;
  TSubMenuItems submenus;
  TFavoriteItems favorites;
  std::vector<int> numbers;
  loadLists(ini, submenus, favorites, &numbers);
  for (int i = 0; i < favorites.Count(); ++i)
    if (favorites.Items(i).FileName() == storedFile) return numbers[static_cast<size_t>(i)];
  return 0;
}

bool relinkFavorite(HWND owner, int n, const std::wstring& storedFile, const std::wstring& newPath) {
  auto loaded = loadEntry(owner, n, storedFile);
  if (!loaded) return false;
  IniFile& ini = loaded->first;
  ini.writeText(ini::kFiles, listKey(L"File", loaded->second),
                fav::toPathMarkerForm(newPath, getReplacementPath(ini)));
  return saveAndRefresh(owner, ini);
}

bool removeFavorite(HWND owner, int n, const std::wstring& storedFile) {
  auto loaded = loadEntry(owner, n, storedFile);
  if (!loaded) return false;
  IniFile& ini = loaded->first;
  TSubMenuItems submenus;
  submenus.Add();  // the blank entry, as the Configure dialog holds it
  TFavoriteItems favorites;
  std::vector<int> numbers;
  loadLists(ini, submenus, favorites, &numbers);
  for (int i = 0; i < favorites.Count(); ++i) {
    if (numbers[static_cast<size_t>(i)] != loaded->second) continue;
    favorites.Delete(i);
    break;
  }
  storeLists(ini, ini.readFlag(ini::kSettings, L"SavePassword", false), submenus, favorites,
             host::HostVersion());
  return saveAndRefresh(owner, ini);
}

}  // namespace missing

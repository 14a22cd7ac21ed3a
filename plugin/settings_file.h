// Favorites.ini: the Settings keys with their defaults, the nine list sections
// of the favorites and the two of the submenus, and the whole-file load and
// save of the Configure dialog.
#pragma once

#include <string>
#include <vector>

#include "ini_file.h"
#include "settings_keys.h"
#include "un_favoriteCollections.h"

struct FavoritesSettings {
  int Left = 200;
  int Top = 200;
  int Height = 600;
  int Width = 800;
  bool ShowFullPath = true;
  bool FavoritesOnMainmenu = false;
  bool AllowDuplicateImages = false;
  std::wstring MenuItemName = L"Favorite Files";
  std::wstring NextToMenu = L"File";
  std::wstring ImagePrefix = L"fav_";
  std::wstring ReplacementPath = L"c:\\";
  bool SavePassword = false;
  bool ShowConnectionInfo = false;
  std::wstring ImagePath;  // default: the plug-in folder
  bool ShiftState = false;
  bool CtrlState = false;
  bool Altstate = false;
  // Databases whose logons ask first: ";"-separated, "*" and "?" wildcards.
  std::wstring AskLogonDatabases;

  bool operator==(const FavoritesSettings&) const = default;
};

FavoritesSettings readSettings(const IniFile& ini, const std::wstring& pluginFolder);

// The folder "%path%" stands for: Settings' ReplacementPath ("c:\\" when
// absent), cut at a NUL. Read through the same reader as every other key, so
// a long value comes back whole; a file that cannot be read gives "c:\\".
std::wstring getReplacementPath(const IniFile& ini);
std::wstring getReplacementPath(const std::wstring& iniFileName);

// The Configure dialog's load: submenus 1, 2, ... up to the first empty name
// (names already in submenus skipped) are appended to submenus, favorites to
// favorites. Every File entry present is loaded, in number order, gaps and
// empty values skipped; group-start markers are skipped; a missing Type reads
// as 0; non-empty passwords are deciphered.
// entryNumbers, when given, receives each loaded favorite's entry number.
void loadLists(const IniFile& ini, TSubMenuItems& submenus, TFavoriteItems& favorites,
               std::vector<int>* entryNumbers = nullptr);

// The Configure dialog's save into ini (settings in order, list sections
// replaced, group-start entries from host version 1200, passwords enciphered
// only when settings.SavePassword, else written empty). Other sections,
// unknown keys and comment lines are kept.
void storeAll(IniFile& ini, const FavoritesSettings& settings, const TSubMenuItems& submenus,
              const TFavoriteItems& favorites, int hostVersion);
// The list sections alone, replaced and numbered as storeAll writes them.
void storeLists(IniFile& ini, bool savePassword, const TSubMenuItems& submenus,
                const TFavoriteItems& favorites, int hostVersion);

// What the Configure dialog read: the file's version and its favorites, so
// that its Ok can tell what was added to the file elsewhere meanwhile.
struct LoadedList {
  FileVersion version;
  TFavoriteItems favorites;
};

// The favorites to store when the file changed while the dialog was open:
// the dialog's list, then each favorite of the file now that was in neither
// the file as loaded nor the dialog's list, in file order. A file counts as
// the same in either path form ("%path%" expanded with the replacement path
// of its list) and in any letter case. fileReplacement belongs to the file's
// lists, dialogReplacement to the dialog's.
TFavoriteItems keepOutsideAdditions(const TFavoriteItems& loaded, const TFavoriteItems& now,
                                    const TFavoriteItems& dialog,
                                    const std::wstring& fileReplacement,
                                    const std::wstring& dialogReplacement);

// Load, storeAll and save in one step; false with a reason when the file
// could not be replaced (the old file is then unchanged). With loaded, the
// favorites added to the file since then are kept (keepOutsideAdditions).
bool saveAll(const std::wstring& path, const FavoritesSettings& settings,
             const TSubMenuItems& submenus, const TFavoriteItems& favorites, int hostVersion,
             std::wstring* error, const LoadedList* loaded = nullptr);

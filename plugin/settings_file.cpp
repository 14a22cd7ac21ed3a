#include "settings_file.h"

#include <algorithm>
#include <unordered_set>

#include "ascii_case.h"
#include "file_path.h"
#include "list_sections.h"
#include "string_cipher.h"
#include "text_codec.h"

namespace {

using namespace ini;

// Passwords are enciphered as the host hands them over: system-code-page
// bytes, one character code 0..255 each.
std::wstring storedPassword(const std::wstring& plain) {
  return encipherText(bytesAsCodes(fav::toNarrow(plain)), kPasswordKey, kPasswordMinFill,
                      kPasswordMaxFill);
}

std::wstring plainPassword(const std::wstring& stored) {
  return fav::toWide(codesAsBytes(decipherText(stored, kPasswordKey)));
}

}  // namespace

std::wstring getReplacementPath(const IniFile& ini) {
  std::wstring path = ini.readText(kSettings, L"ReplacementPath", L"c:\\");
  const size_t nul = path.find(L'\0');
  if (nul != std::wstring::npos) path.resize(nul);
  return path;
}

std::wstring getReplacementPath(const std::wstring& iniFileName) {
  if (iniFileName.empty()) return L"c:\\";
  return getReplacementPath(IniFile::load(iniFileName));
}

FavoritesSettings readSettings(const IniFile& ini, const std::wstring& pluginFolder) {
  FavoritesSettings s;
  s.Left = ini.readNumber(kSettings, L"Left", 200);
  s.Top = ini.readNumber(kSettings, L"Top", 200);
  s.Height = ini.readNumber(kSettings, L"Height", 600);
  s.Width = ini.readNumber(kSettings, L"Width", 800);
  s.ShowFullPath = ini.readFlag(kSettings, L"ShowFullPath", true);
  s.FavoritesOnMainmenu = ini.readFlag(kSettings, L"FavoritesOnMainmenu", false);
  s.AllowDuplicateImages = ini.readFlag(kSettings, L"AllowDuplicateImages", false);
  s.MenuItemName = ini.readText(kSettings, L"MenuItemName", L"Favorite Files");
  s.NextToMenu = ini.readText(kSettings, L"NextToMenu", L"File");
  s.ImagePrefix = ini.readText(kSettings, L"ImagePrefix", L"fav_");
  s.ReplacementPath = ini.readText(kSettings, L"ReplacementPath", L"c:\\");
  s.SavePassword = ini.readFlag(kSettings, L"SavePassword", false);
  s.ShowConnectionInfo = ini.readFlag(kSettings, L"ShowConnectionInfo", false);
  s.ImagePath = ini.readText(kSettings, L"ImagePath", pluginFolder);
  s.ShiftState = ini.readFlag(kSettings, L"ShiftState", false);
  s.CtrlState = ini.readFlag(kSettings, L"CtrlState", false);
  s.Altstate = ini.readFlag(kSettings, L"Altstate", false);
  s.AskLogonDatabases = ini.readText(kSettings, L"AskLogonDatabases", L"");
  return s;
}

void loadLists(const IniFile& ini, TSubMenuItems& submenus, TFavoriteItems& favorites,
               std::vector<int>* entryNumbers) {
  lists::read(ini, submenus, favorites, entryNumbers, plainPassword);
}

void storeAll(IniFile& ini, const FavoritesSettings& settings, const TSubMenuItems& submenus,
              const TFavoriteItems& favorites, int hostVersion) {
  ini.writeNumber(kSettings, L"Left", settings.Left);
  ini.writeNumber(kSettings, L"Top", settings.Top);
  ini.writeNumber(kSettings, L"Height", settings.Height);
  ini.writeNumber(kSettings, L"Width", settings.Width);
  ini.writeFlag(kSettings, L"ShowFullPath", settings.ShowFullPath);
  ini.writeFlag(kSettings, L"FavoritesOnMainmenu", settings.FavoritesOnMainmenu);
  ini.writeFlag(kSettings, L"AllowDuplicateImages", settings.AllowDuplicateImages);
  ini.writeText(kSettings, L"MenuItemName", settings.MenuItemName);
  ini.writeText(kSettings, L"NextToMenu", settings.NextToMenu);
  ini.writeText(kSettings, L"ImagePrefix", settings.ImagePrefix);
  ini.writeText(kSettings, L"ReplacementPath", settings.ReplacementPath);
  ini.writeFlag(kSettings, L"SavePassword", settings.SavePassword);
  ini.writeFlag(kSettings, L"ShowConnectionInfo", settings.ShowConnectionInfo);
  ini.writeText(kSettings, L"ImagePath", settings.ImagePath);
  ini.writeFlag(kSettings, L"ShiftState", settings.ShiftState);
  ini.writeFlag(kSettings, L"CtrlState", settings.CtrlState);
  ini.writeFlag(kSettings, L"Altstate", settings.Altstate);
  ini.writeText(kSettings, L"AskLogonDatabases", settings.AskLogonDatabases);
  storeLists(ini, settings.SavePassword, submenus, favorites, hostVersion);
}

void storeLists(IniFile& ini, bool savePassword, const TSubMenuItems& submenus,
                const TFavoriteItems& favorites, int hostVersion) {
  lists::write(ini, submenus, favorites, hostVersion,
               savePassword ? lists::Passwords::Enciphered : lists::Passwords::Blank,
               storedPassword);
}

TFavoriteItems keepOutsideAdditions(const TFavoriteItems& loaded, const TFavoriteItems& now,
                                    const TFavoriteItems& dialog,
                                    const std::wstring& fileReplacement,
                                    const std::wstring& dialogReplacement) {
  std::unordered_set<std::wstring> known;
  for (int i = 0; i < loaded.Count(); ++i)
    known.insert(fav::sameFileKey(loaded.Items(i).FileName(), fileReplacement));
  std::unordered_set<std::wstring> shown;
  TFavoriteItems merged;
  merged.Assign(dialog);
  for (int i = 0; i < dialog.Count(); ++i)
    shown.insert(fav::sameFileKey(dialog.Items(i).FileName(), dialogReplacement));
  for (int i = 0; i < now.Count(); ++i) {
    const std::wstring key = fav::sameFileKey(now.Items(i).FileName(), fileReplacement);
    if (known.count(key) || !shown.insert(key).second) continue;
    merged.Add() = now.Items(i);
  }
  return merged;
}

bool saveAll(const std::wstring& path, const FavoritesSettings& settings,
             const TSubMenuItems& submenus, const TFavoriteItems& favorites, int hostVersion,
             std::wstring* error, const LoadedList* loaded) {
  try {
    IniFile ini = IniFile::load(path);
    if (loaded && !ini.openFailed()) {
      // The file may have changed since the dialog read it (Add Current in
      // another window, a hand edit, a synchronised copy). Until versions
      // tell every change apart, the favorites themselves are compared too.
      TSubMenuItems unusedSubmenus;
      TFavoriteItems now;
      loadLists(ini, unusedSubmenus, now);
      if (ini.version() != loaded->version || !(now == loaded->favorites)) {
        const TFavoriteItems merged = keepOutsideAdditions(
            loaded->favorites, now, favorites,
            ini.readText(kSettings, L"ReplacementPath", L"c:\\"), settings.ReplacementPath);
        storeAll(ini, settings, submenus, merged, hostVersion);
        return ini.save(path, error);
      }
    }
    storeAll(ini, settings, submenus, favorites, hostVersion);
    return ini.save(path, error);
  } catch (const std::exception&) {
    if (error) *error = L"Could not save " + path + L": out of memory";
    return false;
  }
}

#include "settings_file.h"

#include <algorithm>
#include <climits>
#include <cwctype>
#include <unordered_set>

#include "ascii_case.h"
#include "file_path.h"
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

// The entry number of a key such as "File12" (any letter case, as a lookup
// of "File12" would find it): decimal without leading zeros, 1 and up.
std::optional<int> entryNumber(const std::wstring& key, std::wstring_view prefix) {
  if (key.size() <= prefix.size() || key.size() > prefix.size() + 10) return std::nullopt;
  if (!fav::startsWithIgnoringAsciiCase(key, prefix)) return std::nullopt;
  if (key[prefix.size()] == L'0') return std::nullopt;
  long long n = 0;
  for (size_t i = prefix.size(); i < key.size(); ++i) {
    if (key[i] < L'0' || key[i] > L'9') return std::nullopt;
    n = n * 10 + (key[i] - L'0');
  }
  if (n > INT_MAX) return std::nullopt;
  return static_cast<int>(n);
}

// The form in which two entries name the same file: "%path%" expanded as a
// click would expand it, letters folded.
std::wstring sameFileKey(const std::wstring& fileName, const std::wstring& replacement) {
  std::wstring key = fav::expandPathMarker(fileName, replacement);
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
  return key;
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
  // Submenus: entry 0 is the blank entry the dialog already holds; the list
  // ends at the first empty name, as the menus read it.
  std::unordered_set<std::wstring> known;
  for (int j = 0; j < submenus.Count(); ++j) known.insert(submenus.Items(j).fSubMenu);
  for (int j = 1; j < INT_MAX; ++j) {
    std::wstring name = ini.readText(kSubMenuItems, listKey(L"SubMenuItem", j), L"");
    if (name.empty()) break;
    if (!known.insert(name).second) continue;
    TSubMenuItem& item = submenus.Add();
    item.fImage = ini.readText(kSubMenuButtons, listKey(L"SubMenuButton", j), L"");
    item.fSubMenu = std::move(name);
  }

  // Favorites: every File<n> the file holds, in number order, so a gap in the
  // numbering never drops the entries after it. Walking the keys present
  // bounds the work by the file's size.
  std::vector<int> numbers;
  for (const std::wstring& key : ini.keyNames(kFiles))
    if (const std::optional<int> n = entryNumber(key, L"File")) numbers.push_back(*n);
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());

  for (const int n : numbers) {
    std::wstring file = ini.readText(kFiles, listKey(L"File", n), L"");
    if (file.empty() || file == kGroupStartMarker) continue;
    TFavoriteItem& f = favorites.Add();
    if (entryNumbers) entryNumbers->push_back(n);
    f.fFileName = std::move(file);
    // A missing type opens as 0 from the menus; reading it as anything else
    // would change how the favorite opens after the next save.
    f.fFileType = ini.readNumber(kTypes, listKey(L"Type", n), 0);
    f.fSubMenu = ini.readText(kSubMenus, listKey(L"SubMenu", n), L"");
    f.fImage = ini.readText(kButtons, listKey(L"Button", n), L"");
    f.fUsername = ini.readText(kUsernames, listKey(L"Username", n), L"");
    const std::wstring password = ini.readText(kPasswords, listKey(L"Password", n), L"");
    if (!password.empty()) f.fPassword = plainPassword(password);
    f.fDatabase = ini.readText(kDatabases, listKey(L"Database", n), L"");
    f.fConnectAs = ini.readText(kConnectsAs, listKey(L"ConnectAs", n), L"");
    f.fAlias = ini.readText(kAliases, listKey(L"Alias", n), L"");
    f.fAskLogon = ini.readFlag(kAskLogon, listKey(L"AskLogon", n), false);
  }
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
  for (const wchar_t* section : {kFiles, kTypes, kSubMenus, kButtons, kUsernames, kPasswords,
                                 kDatabases, kConnectsAs, kAliases, kAskLogon, kSubMenuItems,
                                 kSubMenuButtons})
    ini.eraseSection(section);

  for (int j = 0; j < submenus.Count(); ++j) {
    ini.writeText(kSubMenuItems, listKey(L"SubMenuItem", j), submenus.Items(j).fSubMenu);
    ini.writeText(kSubMenuButtons, listKey(L"SubMenuButton", j), submenus.Items(j).fImage);
  }

  int k = 0;
  std::wstring previousSubmenu;
  for (int i = 0; i < favorites.Count(); ++i) {
    const TFavoriteItem& f = favorites.Items(i);
    if (hostVersion >= kRibbonHostVersion && f.fSubMenu != previousSubmenu) {
      previousSubmenu = f.fSubMenu;
      ini.writeText(kFiles, listKey(L"File", ++k), kGroupStartMarker);
    }
    ++k;
    ini.writeText(kFiles, listKey(L"File", k), f.fFileName);
    ini.writeNumber(kTypes, listKey(L"Type", k), f.fFileType);
    ini.writeText(kSubMenus, listKey(L"SubMenu", k), f.fSubMenu);
    ini.writeText(kButtons, listKey(L"Button", k), f.fImage);
    ini.writeText(kUsernames, listKey(L"Username", k), f.fUsername);
    ini.writeText(kPasswords, listKey(L"Password", k),
                  savePassword ? storedPassword(f.fPassword) : std::wstring());
    ini.writeText(kDatabases, listKey(L"Database", k), f.fDatabase);
    ini.writeText(kConnectsAs, listKey(L"ConnectAs", k), f.fConnectAs);
    ini.writeText(kAliases, listKey(L"Alias", k), f.fAlias);
    // Only the favorites that ask: absent means no.
    if (f.fAskLogon) ini.writeFlag(kAskLogon, listKey(L"AskLogon", k), true);
  }
}

TFavoriteItems keepOutsideAdditions(const TFavoriteItems& loaded, const TFavoriteItems& now,
                                    const TFavoriteItems& dialog,
                                    const std::wstring& fileReplacement,
                                    const std::wstring& dialogReplacement) {
  std::unordered_set<std::wstring> known;
  for (int i = 0; i < loaded.Count(); ++i)
    known.insert(sameFileKey(loaded.Items(i).FileName(), fileReplacement));
  std::unordered_set<std::wstring> shown;
  TFavoriteItems merged;
  merged.Assign(dialog);
  for (int i = 0; i < dialog.Count(); ++i)
    shown.insert(sameFileKey(dialog.Items(i).FileName(), dialogReplacement));
  for (int i = 0; i < now.Count(); ++i) {
    const std::wstring key = sameFileKey(now.Items(i).FileName(), fileReplacement);
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

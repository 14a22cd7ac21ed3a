// The favorites and submenus as the list sections of Favorites.ini hold them:
// [Files], [Types], ... numbered per favorite, [SubMenuItems] and
// [SubMenuButtons] per submenu. Written once as templates over the reader
// and writer, so the settings file (IniFile) and a shared list's text
// (IniText, in the native tests too) are read and written by the same rules.
// No Windows headers: passwords come and go through the caller's cipher.
#pragma once

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "ascii_case.h"
#include "settings_keys.h"
#include "un_favoriteCollections.h"

namespace lists {

// The entry number of a key such as "File12" (any letter case, as a lookup
// of "File12" would find it): decimal without leading zeros, 1 and up.
inline std::optional<int> entryNumber(const std::wstring& key, std::wstring_view prefix) {
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

// Submenus 1, 2, ... up to the first empty name (names already in submenus
// skipped) are appended to submenus, favorites to favorites: every File
// entry present, in number order, gaps and empty values skipped, group-start
// markers skipped, a missing Type read as 0. plainPassword turns a stored,
// non-empty password into the plain one. entryNumbers, when given, receives
// each loaded favorite's entry number.
template <class Ini, class PlainPassword>
void read(const Ini& ini, TSubMenuItems& submenus, TFavoriteItems& favorites,
          std::vector<int>* entryNumbers, PlainPassword plainPassword) {
  using namespace ini;
  // Entry 0 is the blank entry the caller already holds; the list ends at
  // the first empty name, as the menus read it.
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

  // Every File<n> the file holds, in number order, so a gap in the
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

// What becomes of the passwords when the lists are written.
enum class Passwords {
  Enciphered,  // Password<n> holds the enciphered password
  Blank,       // Password<n> is written empty (passwords not stored)
  LeftOut,     // no [Passwords] section at all (a list shared with others)
};

// The list sections replaced: submenus from entry firstSubmenu on, keeping
// their numbers (the settings file writes the blank entry 0, a shared list
// starts at 1); favorites numbered from 1, with a group-start entry before
// each submenu block from host version 1200; AskLogon only for favorites
// that ask. storedPassword enciphers a plain password.
template <class Ini, class StoredPassword>
void write(Ini& ini, const TSubMenuItems& submenus, const TFavoriteItems& favorites,
           int hostVersion, Passwords passwords, StoredPassword storedPassword,
           int firstSubmenu = 0) {
  using namespace ini;
  for (const wchar_t* section : {kFiles, kTypes, kSubMenus, kButtons, kUsernames, kPasswords,
                                 kDatabases, kConnectsAs, kAliases, kAskLogon, kSubMenuItems,
                                 kSubMenuButtons})
    ini.eraseSection(section);

  for (int j = firstSubmenu; j < submenus.Count(); ++j) {
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
    ini.writeText(kTypes, listKey(L"Type", k), std::to_wstring(f.fFileType));
    ini.writeText(kSubMenus, listKey(L"SubMenu", k), f.fSubMenu);
    ini.writeText(kButtons, listKey(L"Button", k), f.fImage);
    ini.writeText(kUsernames, listKey(L"Username", k), f.fUsername);
    if (passwords != Passwords::LeftOut)
      ini.writeText(kPasswords, listKey(L"Password", k),
                    passwords == Passwords::Enciphered ? storedPassword(f.fPassword)
                                                       : std::wstring());
    ini.writeText(kDatabases, listKey(L"Database", k), f.fDatabase);
    ini.writeText(kConnectsAs, listKey(L"ConnectAs", k), f.fConnectAs);
    ini.writeText(kAliases, listKey(L"Alias", k), f.fAlias);
    // Only the favorites that ask: absent means no.
    if (f.fAskLogon) ini.writeText(kAskLogon, listKey(L"AskLogon", k), std::wstring(L"1"));
  }
}

}  // namespace lists

// Menu texts and tool-button lists from the settings keys. Written once as
// templates over the reader, so the same rules run on the one-read snapshot
// (IniFile) in the plug-in, on the text model alone (IniText) in the native
// tests, and on the platform's key-by-key reader in the benchmark that
// measures the difference. No Windows headers.
#pragma once

#include <string>
#include <vector>

#include "logon_guard.h"
#include "settings_keys.h"

namespace menus {

inline constexpr wchar_t kAddCurrentCaption[] = L"[Favorites] Add Current";
inline constexpr wchar_t kConfigureCaption[] = L"[Favorites] Configure...";
inline constexpr wchar_t kAboutCaption[] = L"[Favorites] About";
inline constexpr int kFirstFavoriteIndex = 6;
inline constexpr int kLastMenuIndex = 99;
inline constexpr int kListOffset = 5;

// The part after the last "\" or ":" (the whole text when it has neither).
inline std::wstring shortenText(const std::wstring& text) {
  const size_t cut = text.find_last_of(L"\\:");
  return cut == std::wstring::npos ? text : text.substr(cut + 1);
}

template <class Ini>
std::wstring entry(const Ini& ini, const wchar_t* section, const wchar_t* prefix, int n,
                   const wchar_t* def = L"") {
  return ini.readText(section, listKey(prefix, n), def);
}

// Whether a click on entry n asks before it logs on: its own flag, or its
// database among the patterns of AskLogonDatabases.
template <class Ini>
bool asksBeforeLogon(const Ini& ini, int n) {
  if (ini.readFlag(ini::kAskLogon, listKey(L"AskLogon", n), false)) return true;
  const std::wstring patterns = ini.readText(ini::kSettings, L"AskLogonDatabases", L"");
  return !patterns.empty() &&
         logon::matchesAnyPattern(entry(ini, ini::kDatabases, L"Database", n), patterns);
}

template <class Ini>
std::wstring favoriteDisplayText(const Ini& ini, int n) {
  std::wstring text = entry(ini, ini::kAliases, L"Alias", n);
  if (text.empty()) text = entry(ini, ini::kFiles, L"File", n);
  if (ini.readFlag(ini::kSettings, L"ShowConnectionInfo", false)) {
    const std::wstring user = entry(ini, ini::kUsernames, L"Username", n);
    if (!user.empty()) {
      text += L" [" + user + L"@" + entry(ini, ini::kDatabases, L"Database", n);
      const std::wstring connectAs = entry(ini, ini::kConnectsAs, L"ConnectAs", n);
      if (!connectAs.empty()) text += L" as " + connectAs;
      text += L"]";
      // The guard shows before the click that would meet it.
      if (asksBeforeLogon(ini, n)) text += L" !";
    }
  }
  return text;
}

template <class Ini>
std::wstring favoriteItemCaption(const Ini& ini, int n) {
  std::wstring text = favoriteDisplayText(ini, n);
  return ini.readFlag(ini::kSettings, L"ShowFullPath", true) ? text : shortenText(text);
}

template <class Ini>
std::wstring favoriteMenuCaption(const Ini& ini, int n) {
  const std::wstring submenu = entry(ini, ini::kSubMenus, L"SubMenu", n);
  const std::wstring caption = favoriteItemCaption(ini, n);
  return submenu.empty() ? caption : submenu + L" / " + caption;
}

// Text of menu item index for the host version; empty for no item.
template <class Ini>
std::wstring menuItemText(const Ini& ini, int index, int hostVersion) {
  if (index < 1 || index > kLastMenuIndex) return {};
  const bool onMainMenu = ini.readFlag(ini::kSettings, L"FavoritesOnMainmenu", false);
  const std::wstring next = ini.readText(ini::kSettings, L"NextToMenu", L"File");
  const std::wstring name = ini.readText(ini::kSettings, L"MenuItemName", L"Favorite Files");

  if (hostVersion >= ini::kRibbonHostVersion) {
    switch (index) {
      case 1: return L"GROUP=Favorites";
      case 2: return std::wstring(L"ITEM=") + kAddCurrentCaption;
      case 3: return std::wstring(L"ITEM=") + kConfigureCaption;
      case 4: return std::wstring(L"ITEM=") + kAboutCaption;
      case 5: return L"MENUITEM=" + name;
      default: break;
    }
    const int n = index - kListOffset;
    const std::wstring caption = favoriteItemCaption(ini, n);
    if (caption == ini::kGroupStartMarker)
      return L"MENUITEM=" + entry(ini, ini::kSubMenus, L"SubMenu", n + 1);
    return caption.empty() ? std::wstring() : L"SUBITEM=" + caption;
  }

  const std::wstring prefix = onMainMenu ? L"" : L"File / ";
  switch (index) {
    case 1: return onMainMenu ? next + L" >> " + name : L"File / Reopen >> " + name;
    case 2: return prefix + name + L" / " + kAddCurrentCaption;
    case 3: return prefix + name + L" / " + kConfigureCaption;
    case 4: return prefix + name + L" / " + kAboutCaption;
    case 5: return prefix + name + L" / -";
    default: break;
  }
  const std::wstring caption = favoriteMenuCaption(ini, index - kListOffset);
  return caption.empty() ? std::wstring() : prefix + name + L" / " + caption;
}

struct ToolButtonSpec {
  int index;
  std::wstring caption;
  std::wstring bitmap;
  bool operator==(const ToolButtonSpec&) const = default;
};

// The tool buttons in the order they are added. imageFolder receives the
// image folder as last read (ImagePath, or the plug-in folder when it is
// missing or empty).
template <class Ini>
std::vector<ToolButtonSpec> toolButtons(const Ini& ini, int hostVersion,
                                        const std::wstring& pluginFolder,
                                        std::wstring& imageFolder) {
  auto readImageFolder = [&] {
    imageFolder = ini.readText(ini::kSettings, L"ImagePath", L"");
    if (imageFolder.empty()) imageFolder = pluginFolder;
    return imageFolder;
  };
  const std::wstring pluginDir = pluginFolder + L"\\";
  std::vector<ToolButtonSpec> out = {
      {2, kAddCurrentCaption, pluginDir + L"btn_favorites_add.bmp"},
      {3, kConfigureCaption, pluginDir + L"btn_favorites_configure.bmp"},
      {4, kAboutCaption, pluginDir + L"btn_about.bmp"},
  };

  // Index 5 stands for list entry 0, which never exists: favorites start at 6.
  if (hostVersion >= ini::kRibbonHostVersion) {
    out.push_back({5, ini.readText(ini::kSettings, L"MenuItemName", L"Favorite Files"),
                   pluginDir + L"btn_favorites.bmp"});
    for (int i = kFirstFavoriteIndex; i <= kLastMenuIndex; ++i) {
      const int n = i - kListOffset;
      const std::wstring caption = favoriteItemCaption(ini, n);
      if (caption != ini::kGroupStartMarker) {
        const std::wstring button = entry(ini, ini::kButtons, L"Button", n);
        const std::wstring folder = readImageFolder();
        if (!button.empty()) out.push_back({i, caption, folder + L"\\" + button});
        continue;
      }
      const std::wstring submenu = entry(ini, ini::kSubMenus, L"SubMenu", n + 1);
      for (int j = 1;; ++j) {
        const std::wstring name = entry(ini, ini::kSubMenuItems, L"SubMenuItem", j);
        if (name.empty()) break;
        if (name != submenu) continue;
        std::wstring button = entry(ini, ini::kSubMenuButtons, L"SubMenuButton", j);
        const std::wstring folder = readImageFolder();
        if (button.empty()) button = L"btn_favorites.bmp";
        out.push_back({i, submenu, folder + L"\\" + button});
        break;
      }
    }
    return out;
  }

  for (int i = kFirstFavoriteIndex; i <= kLastMenuIndex; ++i) {
    const int n = i - kListOffset;
    const std::wstring button = entry(ini, ini::kButtons, L"Button", n);
    std::wstring folder = readImageFolder();
    if (button.empty()) continue;
    if (folder.empty() || (folder.back() != L'\\' && folder.back() != L'/')) folder += L'\\';
    out.push_back({i, favoriteMenuCaption(ini, n), folder + button});
  }
  return out;
}

}  // namespace menus

#include "menu_builder.h"

#include "PlugInIntf.h"
#include "plugin_state.h"
#include "settings_file.h"
#include "text_codec.h"

namespace menus {
namespace {

constexpr int kFirstFavoriteIndex = 6;
constexpr int kLastMenuIndex = 99;
constexpr int kListOffset = 5;

std::wstring entry(const IniFile& ini, const wchar_t* section, const wchar_t* prefix, int n) {
  return ini.readText(section, listKey(prefix, n), L"");
}

bool showFullPath(const IniFile& ini) {
  return ini.readFlag(ini::kSettings, L"ShowFullPath", true);
}

// The image folder is looked up afresh for every bitmap and remembered in the
// plug-in state, as the rest of the plug-in expects.
std::wstring imageFolder(const IniFile& ini) {
  std::wstring folder = ini.readText(ini::kSettings, L"ImagePath", L"");
  if (folder.empty()) folder = plugin::pluginFolder();
  plugin::state().imageFolder = fav::toNarrow(folder);
  return folder;
}

std::wstring withTrailingSeparator(std::wstring folder) {
  if (folder.empty() || (folder.back() != L'\\' && folder.back() != L'/')) folder += L'\\';
  return folder;
}

void addButton(int index, const std::wstring& caption, const std::wstring& bitmap) {
  host::AddToolButton(plugin::state().pluginId, index, fav::toNarrow(caption),
                      fav::toNarrow(bitmap));
}

}  // namespace

std::wstring shortenText(const std::wstring& text) {
  const size_t cut = text.find_last_of(L"\\:");
  return cut == std::wstring::npos ? text : text.substr(cut + 1);
}

std::wstring favoriteDisplayText(const IniFile& ini, int n) {
  std::wstring text = entry(ini, ini::kAliases, L"Alias", n);
  if (text.empty()) text = entry(ini, ini::kFiles, L"File", n);
  if (ini.readFlag(ini::kSettings, L"ShowConnectionInfo", false)) {
    const std::wstring user = entry(ini, ini::kUsernames, L"Username", n);
    if (!user.empty()) {
      text += L" [" + user + L"@" + entry(ini, ini::kDatabases, L"Database", n);
      const std::wstring connectAs = entry(ini, ini::kConnectsAs, L"ConnectAs", n);
      if (!connectAs.empty()) text += L" as " + connectAs;
      text += L"]";
    }
  }
  return text;
}

std::wstring favoriteItemCaption(const IniFile& ini, int n) {
  std::wstring text = favoriteDisplayText(ini, n);
  return showFullPath(ini) ? text : shortenText(text);
}

std::wstring favoriteMenuCaption(const IniFile& ini, int n) {
  const std::wstring submenu = entry(ini, ini::kSubMenus, L"SubMenu", n);
  const std::wstring caption = favoriteItemCaption(ini, n);
  return submenu.empty() ? caption : submenu + L" / " + caption;
}

std::wstring menuItemText(const IniFile& ini, int index, int hostVersion) {
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

void rebuildToolButtons() { rebuildToolButtons(IniFile::load(plugin::settingsPath())); }

void rebuildToolButtons(const IniFile& ini) {
  const int hostVersion = host::HostVersion();
  const std::wstring pluginDir = plugin::pluginFolder() + L"\\";
  addButton(2, kAddCurrentCaption, pluginDir + L"btn_favorites_add.bmp");
  addButton(3, kConfigureCaption, pluginDir + L"btn_favorites_configure.bmp");
  addButton(4, kAboutCaption, pluginDir + L"btn_about.bmp");

  // Index 5 stands for list entry 0, which never exists: the favorites start at 6.
  if (hostVersion >= ini::kRibbonHostVersion) {
    addButton(5, ini.readText(ini::kSettings, L"MenuItemName", L"Favorite Files"),
              pluginDir + L"btn_favorites.bmp");
    for (int i = kFirstFavoriteIndex; i <= kLastMenuIndex; ++i) {
      const int n = i - kListOffset;
      const std::wstring caption = favoriteItemCaption(ini, n);
      if (caption != ini::kGroupStartMarker) {
        const std::wstring button = entry(ini, ini::kButtons, L"Button", n);
        const std::wstring folder = imageFolder(ini);
        if (!button.empty()) addButton(i, caption, folder + L"\\" + button);
        continue;
      }
      const std::wstring submenu = entry(ini, ini::kSubMenus, L"SubMenu", n + 1);
      for (int j = 1;; ++j) {
        const std::wstring name = entry(ini, ini::kSubMenuItems, L"SubMenuItem", j);
        if (name.empty()) break;
        if (name != submenu) continue;
        std::wstring button = entry(ini, ini::kSubMenuButtons, L"SubMenuButton", j);
        const std::wstring folder = imageFolder(ini);
        if (button.empty()) button = L"btn_favorites.bmp";
        addButton(i, submenu, folder + L"\\" + button);
        break;
      }
    }
    return;
  }

  for (int i = kFirstFavoriteIndex; i <= kLastMenuIndex; ++i) {
    const int n = i - kListOffset;
    const std::wstring button = entry(ini, ini::kButtons, L"Button", n);
    const std::wstring folder = imageFolder(ini);
    if (!button.empty()) addButton(i, favoriteMenuCaption(ini, n), withTrailingSeparator(folder) + button);
  }
}

}  // namespace menus

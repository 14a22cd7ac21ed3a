// The platform's private-profile functions used key by key, the key-by-key
// model: the reference our snapshot reader and whole-file save are compared
// with.
#pragma once

#include <windows.h>

#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "settings_file.h"
#include "string_cipher.h"
#include "text_codec.h"

namespace platform {

// The buffer the key-by-key model read every text through: the platform
// answers at most 2047 characters of a value.
inline constexpr size_t kBufferChars = 2048;

// One read through that buffer.
inline std::wstring readText(const std::wstring& file, const std::wstring& section,
                             const std::wstring& key, const std::wstring& def) {
  std::vector<wchar_t> buffer(kBufferChars, L'\0');
  const DWORD n = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(),
                                             buffer.data(), static_cast<DWORD>(buffer.size()),
                                             file.c_str());
  return std::wstring(buffer.data(), n);
}

// The menu rules' reader over the platform, key by key: every read opens and
// parses the file again. hiddenSections and hiddenKeys ("Section/Key") read
// as missing, as in a version of the plug-in that does not know them.
struct Reader {
  std::wstring path;
  std::set<std::wstring> hiddenSections, hiddenKeys;

  std::wstring readText(const std::wstring& section, const std::wstring& key,
                        const std::wstring& def) const {
    if (hiddenSections.count(section) || hiddenKeys.count(section + L"/" + key)) return def;
    return platform::readText(path, section, key, def);
  }
  bool readFlag(const std::wstring& section, const std::wstring& key, bool def) const {
    const std::wstring v = readText(section, key, def ? L"1" : L"0");
    wchar_t* end = nullptr;
    const long n = std::wcstol(v.c_str(), &end, 10);
    return end && *end == 0 && !v.empty() ? n != 0 : def;
  }
};

inline std::vector<std::wstring> splitList(const std::vector<wchar_t>& buffer, DWORD n) {
  std::vector<std::wstring> out;
  for (size_t i = 0; i < n;) {
    std::wstring item(buffer.data() + i);
    i += item.size() + 1;
    if (!item.empty()) out.push_back(item);
  }
  return out;
}

inline std::vector<std::wstring> sectionNames(const std::wstring& file) {
  std::vector<wchar_t> buffer(1 << 20, L'\0');
  const DWORD n = ::GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()),
                                                   file.c_str());
  return splitList(buffer, n);
}

inline std::vector<std::wstring> keyNames(const std::wstring& file, const std::wstring& section) {
  std::vector<wchar_t> buffer(1 << 20, L'\0');
  const DWORD n = ::GetPrivateProfileStringW(section.c_str(), nullptr, L"", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
  return splitList(buffer, n);
}

inline void writeText(const std::wstring& file, const wchar_t* section, const std::wstring& key,
                      const std::wstring& value) {
  ::WritePrivateProfileStringW(section, key.c_str(), value.c_str(), file.c_str());
}

inline void writeNumber(const std::wstring& file, const wchar_t* section, const std::wstring& key,
                        int value) {
  writeText(file, section, key, std::to_wstring(value));
}

inline void writeFlag(const std::wstring& file, const wchar_t* section, const std::wstring& key,
                      bool value) {
  writeText(file, section, key, value ? L"1" : L"0");
}

inline void eraseSection(const std::wstring& file, const wchar_t* section) {
  ::WritePrivateProfileStringW(section, nullptr, nullptr, file.c_str());
}

// The Configure dialog's save as a sequence of platform writes, key by key,
// in the documented order.
inline void saveKeyByKey(const std::wstring& file, const FavoritesSettings& s,
                         const TSubMenuItems& submenus, const TFavoriteItems& favorites,
                         int hostVersion) {
  using namespace ini;
  writeNumber(file, kSettings, L"Left", s.Left);
  writeNumber(file, kSettings, L"Top", s.Top);
  writeNumber(file, kSettings, L"Height", s.Height);
  writeNumber(file, kSettings, L"Width", s.Width);
  writeFlag(file, kSettings, L"ShowFullPath", s.ShowFullPath);
  writeFlag(file, kSettings, L"FavoritesOnMainmenu", s.FavoritesOnMainmenu);
  writeFlag(file, kSettings, L"AllowDuplicateImages", s.AllowDuplicateImages);
  writeText(file, kSettings, L"MenuItemName", s.MenuItemName);
  writeText(file, kSettings, L"NextToMenu", s.NextToMenu);
  writeText(file, kSettings, L"ImagePrefix", s.ImagePrefix);
  writeText(file, kSettings, L"ReplacementPath", s.ReplacementPath);
  writeFlag(file, kSettings, L"SavePassword", s.SavePassword);
  writeFlag(file, kSettings, L"ShowConnectionInfo", s.ShowConnectionInfo);
  writeText(file, kSettings, L"ImagePath", s.ImagePath);
  writeFlag(file, kSettings, L"ShiftState", s.ShiftState);
  writeFlag(file, kSettings, L"CtrlState", s.CtrlState);
  writeFlag(file, kSettings, L"Altstate", s.Altstate);
  writeText(file, kSettings, L"AskLogonDatabases", s.AskLogonDatabases);
  for (const wchar_t* section : {kFiles, kTypes, kSubMenus, kButtons, kUsernames, kPasswords,
                                 kDatabases, kConnectsAs, kAliases, kAskLogon, kSubMenuItems,
                                 kSubMenuButtons})
    eraseSection(file, section);
  for (int j = 0; j < submenus.Count(); ++j) {
    writeText(file, kSubMenuItems, L"SubMenuItem" + std::to_wstring(j), submenus.Items(j).fSubMenu);
    writeText(file, kSubMenuButtons, L"SubMenuButton" + std::to_wstring(j), submenus.Items(j).fImage);
  }
  int k = 0;
  std::wstring previous;
  for (int i = 0; i < favorites.Count(); ++i) {
    const TFavoriteItem& f = favorites.Items(i);
    if (hostVersion >= 1200 && f.fSubMenu != previous) {
      previous = f.fSubMenu;
      ++k;
      writeText(file, kFiles, L"File" + std::to_wstring(k), kGroupStartMarker);
    }
    ++k;
    const std::wstring n = std::to_wstring(k);
    writeText(file, kFiles, L"File" + n, f.fFileName);
    writeNumber(file, kTypes, L"Type" + n, f.fFileType);
    writeText(file, kSubMenus, L"SubMenu" + n, f.fSubMenu);
    writeText(file, kButtons, L"Button" + n, f.fImage);
    writeText(file, kUsernames, L"Username" + n, f.fUsername);
    writeText(file, kPasswords, L"Password" + n,
              s.SavePassword ? encipherText(bytesAsCodes(fav::toNarrow(f.fPassword)), kPasswordKey,
                                            kPasswordMinFill, kPasswordMaxFill)
                             : std::wstring());
    writeText(file, kDatabases, L"Database" + n, f.fDatabase);
    writeText(file, kConnectsAs, L"ConnectAs" + n, f.fConnectAs);
    writeText(file, kAliases, L"Alias" + n, f.fAlias);
    if (f.fAskLogon) writeFlag(file, kAskLogon, L"AskLogon" + n, true);
  }
}

}  // namespace platform

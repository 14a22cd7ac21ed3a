// The names in Favorites.ini: sections, the group-start marker, the host
// version that brings the ribbon, and the keys of the list sections. No
// Windows headers.
#pragma once

#include <string>

namespace ini {
inline constexpr wchar_t kSettings[] = L"Settings";
inline constexpr wchar_t kFiles[] = L"Files";
inline constexpr wchar_t kTypes[] = L"Types";
inline constexpr wchar_t kSubMenus[] = L"SubMenus";
inline constexpr wchar_t kButtons[] = L"Buttons";
inline constexpr wchar_t kUsernames[] = L"Usernames";
inline constexpr wchar_t kPasswords[] = L"Passwords";
inline constexpr wchar_t kDatabases[] = L"Databases";
inline constexpr wchar_t kConnectsAs[] = L"ConnectsAs";
inline constexpr wchar_t kAliases[] = L"Aliases";
inline constexpr wchar_t kSubMenuItems[] = L"SubMenuItems";
inline constexpr wchar_t kSubMenuButtons[] = L"SubMenuButtons";
// AskLogon<n>=1: the favorite asks before it logs on; absent means no.
inline constexpr wchar_t kAskLogon[] = L"AskLogon";
inline constexpr wchar_t kGroupStartMarker[] = L"[PL/SQL Developer 12 separator]";
inline constexpr int kRibbonHostVersion = 1200;
// The longest password, in the host's code-page bytes, that Add Current,
// Connection Info and Ok store; a longer one is refused, never cut.
inline constexpr size_t kMaxPasswordBytes = 1024;
}  // namespace ini

// Entry n's key in a list section: prefix + n in decimal ("File1").
inline std::wstring listKey(const wchar_t* prefix, int n) { return prefix + std::to_wstring(n); }

// Menu texts and tool buttons, computed from one snapshot of the settings file
// per export call, so hand edits show at the next refresh.
#pragma once

#include <string>

#include "ini_file.h"

namespace menus {

inline constexpr wchar_t kAddCurrentCaption[] = L"[Favorites] Add Current";
inline constexpr wchar_t kConfigureCaption[] = L"[Favorites] Configure...";
inline constexpr wchar_t kAboutCaption[] = L"[Favorites] About";

// Captions of list entry n.
std::wstring favoriteDisplayText(const IniFile& ini, int n);
std::wstring favoriteMenuCaption(const IniFile& ini, int n);
std::wstring favoriteItemCaption(const IniFile& ini, int n);
// The part after the last "\" or ":" (the whole text when it has neither).
std::wstring shortenText(const std::wstring& text);

// Text of menu item index for the given host version; empty for no item.
std::wstring menuItemText(const IniFile& ini, int index, int hostVersion);

// Registers the tool buttons through the host's AddToolButton.
void rebuildToolButtons();
void rebuildToolButtons(const IniFile& ini);

}  // namespace menus

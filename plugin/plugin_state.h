// The little state the plug-in keeps between export calls. The settings
// themselves are kept by settings_snapshot.
#pragma once

#include <string>

namespace plugin {

inline constexpr char kPluginName[] = "Favorites";

struct State {
  int pluginId = 0;
  std::string iniFileName;   // narrow, system code page
  std::string pluginFolder;  // narrow, no trailing separator
  std::string imageFolder;   // as last read from ImagePath
  int previousMenuIndex = 0; // of the last CreateMenuItem; 0 before the first
};

State& state();

// Resolves the plug-in folder and the settings file on first need (the first
// CreateMenuItem, or any export that needs the file before it). Once set, the
// path stays for the life of the library.
void ensureSettingsPath();
std::wstring settingsPath();
std::wstring pluginFolder();

// True when CreateMenuItem(index) begins a new pass over the menu: the host
// asks from the first index up, so an index not above the previous one, or
// the first call, starts a refresh.
bool startsMenuRefresh(int index);

// Back to the just-loaded state (library unload).
void resetState();

}  // namespace plugin

// The little state the plug-in keeps between export calls. Everything else
// (the favorites, the options) is read from the settings file at each call.
#pragma once

#include <string>

namespace plugin {

inline constexpr char kPluginName[] = "Favorites";

struct State {
  int pluginId = 0;
  std::string iniFileName;   // narrow, system code page
  std::string pluginFolder;  // narrow, no trailing separator
  std::string imageFolder;   // as last read from ImagePath
};

State& state();

// Resolves the plug-in folder and the settings file on first need (the first
// CreateMenuItem, or any export that needs the file before it). Once set, the
// path stays for the life of the library.
void ensureSettingsPath();
std::wstring settingsPath();
std::wstring pluginFolder();

// Back to the just-loaded state (library unload).
void resetState();

}  // namespace plugin

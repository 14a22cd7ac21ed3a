#include "plugin_state.h"

#include "PlugInIntf.h"
#include "text_codec.h"
#include "un_plugincommon.h"

namespace plugin {

State& state() {
  static State s;
  return s;
}

void ensureSettingsPath() {
  State& s = state();
  if (!s.iniFileName.empty()) return;
  getIniFileLocation(host::HostRootFolder(), kPluginName, s.pluginFolder, s.iniFileName,
                     [] { return host::HostKeyPath(); });
}

std::wstring settingsPath() { return fav::toWide(state().iniFileName); }
std::wstring pluginFolder() { return fav::toWide(state().pluginFolder); }

bool startsMenuRefresh(int index) {
  int& previous = state().previousMenuIndex;
  const bool starts = previous == 0 || index <= previous;
  previous = index;
  return starts;
}

void resetState() { state() = State{}; }

}  // namespace plugin

#include "menu_builder.h"

#include "PlugInIntf.h"
#include "plugin_state.h"
#include "settings_snapshot.h"
#include "text_codec.h"

namespace menus {

void rebuildToolButtons() { rebuildToolButtons(*plugin::settingsForCall(true)); }

void rebuildToolButtons(const IniFile& ini) {
  std::wstring imageFolder;
  const auto buttons = toolButtons(ini, host::HostVersion(), plugin::pluginFolder(), imageFolder);
  if (!imageFolder.empty()) plugin::state().imageFolder = fav::toNarrow(imageFolder);
  for (const ToolButtonSpec& b : buttons)
    host::AddToolButton(plugin::state().pluginId, b.index, fav::toNarrow(b.caption),
                        fav::toNarrow(b.bitmap));
}

}  // namespace menus

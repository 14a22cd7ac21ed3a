#include <memory>

#include "PlugInIntf.h"
#include "commands.h"
#include "dialog_base.h"
#include "frm_ConfigureFavorites.h"
#include "menu_builder.h"
#include "plugin_state.h"

namespace commands {

void runConfigure() {
  // The dialog goes on every path, and no failure reaches the host.
  try {
    auto dialog = std::make_unique<TfrmConfigureFavorites>();
    dialog->IniFileName(plugin::settingsPath());
    dialog->Initialize();
    const INT_PTR result = dialog->ShowModal(fav::hostOwnerWindow());
    if (result == IDOK) {
      host::RefreshPluginMenus(plugin::state().pluginId);
      menus::rebuildToolButtons();
    }
  } catch (...) {
  }
}

}  // namespace commands

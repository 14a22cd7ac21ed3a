#include <memory>

#include "PlugInIntf.h"
#include "commands.h"
#include "dialog_base.h"
#include "frm_ConfigureFavorites.h"
#include "menu_builder.h"
#include "open_command.h"
#include "plugin_state.h"

namespace commands {

void runConfigure() {
  // The dialog goes on every path, and no failure reaches the host.
  try {
    if (commandRunning()) return;
    auto dialog = std::make_unique<TfrmConfigureFavorites>();
    const OpenCommand running(*dialog);
    dialog->IniFileName(plugin::settingsPath());
    if (!dialog->Initialize()) return;
    const INT_PTR result = dialog->ShowModal(fav::hostOwnerWindow());
    if (result == IDOK) {
      host::RefreshPluginMenus(plugin::state().pluginId);
      menus::rebuildToolButtons();
    }
  } catch (...) {
  }
}

}  // namespace commands

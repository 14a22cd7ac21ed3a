#include <windows.h>

#include "about_text.h"
#include "commands.h"
#include "dialog_base.h"
#include "frm_about.h"
#include "menu_builder.h"
#include "open_command.h"
#include "PlugInIntf.h"
#include "plugin_state.h"
#include "un_plugincommon.h"

namespace commands {
namespace {

int currentYear() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return now.wYear;
}

void showAbout() {
  // Before the first CreateMenuItem the path is not known yet; the dialog
  // names itself and logs beside it.
  plugin::ensureSettingsPath();
  TfrmAbout about(plugin::settingsPath(), fav::hostOwnerWindow());
  const OpenCommand running(about);
  about.fraSettings.reset();
  about.destroySettingsPage();
  about.setLabelText(about.lblAboutText1, about::titleLine());
  about.setLabelText(about.lblAboutText2, about::ownerLine(currentYear()));
  about.setLabelText(about.lblAboutText3, getPluginVersion());
  about.SetInfoText(about::infoText(currentYear()));
  about.EnableImageClick();
  about.setActivePage(about.tsAbout);
  about.ShowModal();
}

}  // namespace

void runAbout() {
  // A dialog of ours is open: it comes forward, and the menus stay as they are.
  try {
    if (commandRunning()) return;
  } catch (...) {
    return;
  }
  try {
    showAbout();
  } catch (...) {
    // The dialog is gone by now; the host hears nothing of it.
  }
  try {
    host::RefreshPluginMenus(plugin::state().pluginId);
    menus::rebuildToolButtons();
  } catch (...) {
  }
}

}  // namespace commands

// The exports the host calls. Each one is a thin layer: it catches everything
// at the boundary, so no failure of ours ever reaches the host, and hands the
// work to the modules behind it.
#include <windows.h>

#include <exception>

#include "PlugInIntf.h"
#include "commands.h"
#include "glyphs.h"
#include "menu_builder.h"
#include "open_favorite.h"
#include "plugin_state.h"
#include "settings_snapshot.h"
#include "text_store.h"

namespace {

template <typename Fn>
void guarded(Fn&& fn) noexcept {
  try {
    fn();
  } catch (...) {
    // The operation ends here; the host never sees our failures.
  }
}

constexpr char kEmptyText[] = "";

}  // namespace

extern "C" {

const char* IdentifyPlugIn(int id) {
  guarded([&] { plugin::state().pluginId = id; });
  return plugin::kPluginName;
}

void RegisterCallback(int index, void* address) {
  guarded([&] { host::RegisterCallback(index, address); });
}

const char* CreateMenuItem(int index) {
  const char* result = kEmptyText;
  guarded([&] {
    plugin::ensureSettingsPath();
    const auto ini = plugin::settingsForCall(plugin::startsMenuRefresh(index));
    result = plugin::hostText(menus::menuItemText(*ini, index, host::HostVersion()));
  });
  return result;
}

void OnMenuClick(int index) {
  guarded([&] {
    if (index < 2 || index > 99) return;
    plugin::ensureSettingsPath();
    switch (index) {
      case 2: favorites::AddCurrent(); break;
      case 3: commands::runConfigure(); break;
      case 4: commands::runAbout(); break;
      // 5 is the separator (or the ribbon's menu) and stands for entry 0,
      // which the plug-in never writes.
      case 5: break;
      default: favorites::OpenFavorite(index); break;
    }
  });
}

void Configure() {
  guarded([] {
    plugin::ensureSettingsPath();
    commands::runConfigure();
  });
}

const char* About() {
  guarded([] {
    plugin::ensureSettingsPath();
    commands::runAbout();
  });
  return kEmptyText;
}

void OnActivate() {
  guarded([] {
    plugin::ensureSettingsPath();
    menus::rebuildToolButtons();
  });
}

void OnCreate() {}
void OnDestroy() {}
void onWindowChange() {}
void OnMainMenu() {}

int SupportsStyles() { return -1; }

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // At process exit (reserved != null) the system reclaims everything.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    guarded([] {
      plugin::releaseHostTexts();
      plugin::releaseSettingsSnapshot();
      plugin::resetState();
      dialogs::releaseSharedGlyphs();
      host::clearCallbacks();
    });
  }
  return TRUE;
}

// The demo host's main window: plays the host IDE for favorites.dll. It
// keeps the host simulator's model (windows, connections, tool buttons) and
// shows it: a menu bar with the plug-in's items (older scheme) or a ribbon
// strip (ribbon scheme), a tool bar from AddToolButton, editor windows for
// OpenFileInWindow, a status bar with the current window's file, type and
// connection, and a log pane with every call between host and plug-in.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host_simulator.h"
#include "log_pane.h"
#include "menu_layout.h"
#include "ribbon_strip.h"
#include "scratch_folder.h"

namespace demohost {

struct DemoOptions {
  std::filesystem::path packageDir;  // dist\Favorites: favorites.dll and its bitmaps
  std::filesystem::path sampleDir;   // Scripts\, Favorites.ini, Favorites-ribbon.ini
  std::filesystem::path scratchRoot;
  int hostVersion = 1199;
  bool quitOnClose = true;  // closing the window ends the message loop
  // A call into the plug-in (not counting the host's own work in its
  // callbacks, nor a dialog it shows) that takes longer is reported.
  double slowCallMs = 500.0;
};

class DemoWindow {
 public:
  static constexpr int kPluginCommand = 0x4000;  // + the plug-in's menu index
  static constexpr int kPluginId = 7;

  explicit DemoWindow(DemoOptions options);
  ~DemoWindow();
  DemoWindow(const DemoWindow&) = delete;
  DemoWindow& operator=(const DemoWindow&) = delete;

  // Makes the window and starts the plug-in on a fresh scratch copy.
  bool create(int showCommand);
  HWND hwnd() const { return hwnd_; }
  // The message loop of the application; returns the exit code.
  int run();
  // Accelerators and MDI keys for one message; true when it was handled.
  bool preTranslate(MSG& msg);

  // --- what a user does (also the tour's and the test's hands) -------------
  // Unloads the plug-in, makes the scratch folder afresh for that host
  // version's scheme and starts the plug-in again; with keepSettings (the
  // Tools menu's switch) the settings file as it is now stays, not the sample.
  bool restartPlugin(int hostVersion, bool keepSettings = false);
  void clickPluginItem(int index);  // a menu item, ribbon entry or tool button
  void openFile(const std::filesystem::path& file);  // as File > Open does
  void logOn(const hostsim::Connection& connection);  // the current window
  void configurePlugin();  // Tools > Configure Plug-In
  void aboutPlugin();      // Help > About Plug-In

  // --- what can be seen ------------------------------------------------------
  hostsim::HostSimulator& host() { return host_; }
  const ScratchFolder& scratch() const { return scratch_; }
  const std::filesystem::path& packageDir() const { return options_.packageDir; }
  const std::vector<std::wstring>& menuTexts() const { return texts_; }  // [i-1] = index i
  const std::vector<MenuNode>& menuBar() const { return bar_; }
  const RibbonStrip& ribbon() const { return ribbon_; }
  RibbonStrip& ribbon() { return ribbon_; }
  const LogPane& log() const { return log_; }
  std::wstring statusText(int part) const;
  HWND toolbar() const { return toolbar_; }
  const std::vector<HWND>& editors() const { return editors_; }
  std::wstring editorText(size_t window) const;
  bool ribbonScheme() const { return host_.hostVersion >= 1200; }
  // The menu index whose text contains that, or 0.
  int pluginIndexWith(const std::wstring& part) const;

  static std::wstring windowTypeName(int type);
  static int windowTypeForFile(const std::filesystem::path& file);

 private:
  static LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK editorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
  void onCreate();
  void onSize();
  void onCommand(int id);
  LRESULT onNotify(NMHDR* header);
  void onEditorActivated(HWND editor);
  void onEditorDestroyed(HWND editor);

  // Calls an export through the guard, then brings the windows, menus and
  // buttons up to date with what the plug-in did.
  void callPlugin(const std::wstring& what, const std::function<void()>& call, bool mayShowDialog = false);
  template <typename Fn>
  Fn exportOf(const char* name);
  void onCallback(const hostsim::Call& call);
  void readPluginMenus();
  void buildMenuBar();
  void buildToolbar();
  void syncEditors();
  void createEditor(size_t window);
  void updateStatus();
  void note(const std::wstring& text) { log_.add(LogPane::Kind::Note, text); }
  void fault(const std::wstring& text) { log_.add(LogPane::Kind::Fault, text); }
  void stopPlugin();

  DemoOptions options_;
  ScratchFolder scratch_;
  hostsim::HostSimulator host_;
  HWND hwnd_ = nullptr;
  HWND mdi_ = nullptr;
  HWND toolbar_ = nullptr;
  HWND status_ = nullptr;
  HWND logCaption_ = nullptr;
  HMENU menu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HFONT uiFont_ = nullptr;
  HFONT monoFont_ = nullptr;
  HIMAGELIST images_ = nullptr;
  LogPane log_;
  RibbonStrip ribbon_;
  std::vector<std::wstring> texts_;
  std::vector<MenuNode> bar_;
  std::vector<HWND> editors_;
  std::vector<std::wstring> toolTips_;
  std::vector<int> toolIndices_;
  int callDepth_ = 0;
  double hostMs_ = 0;  // time spent in the host's callbacks, to tell it from the plug-in's
  bool inMenuRead_ = false;
};

std::wstring widenHost(const std::string& text);
std::string narrowHost(const std::wstring& text);

}  // namespace demohost

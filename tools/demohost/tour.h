// The scripted tour: clicks through the demo host on a timer, so it also runs
// while the plug-in's modal dialogs and the menus have their own loops. It
// shows both menu schemes, opens a favorite, adds the current file, opens and
// closes the Configure and About dialogs, walks through the installer's
// pages when the package holds tolvane.exe, and saves a screenshot of each.
// Every wait has a time limit, so the tour always ends.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "demo_window.h"

namespace demohost {

class Tour {
 public:
  struct Options {
    std::filesystem::path outDir;  // where the BMPs and shots.txt go; empty: no screenshots
    DWORD stepTimeoutMs = 30000;
  };
  struct Shot {
    std::wstring name;     // file name without extension
    std::wstring caption;  // what it shows
  };

  Tour(DemoWindow& demo, Options options);
  ~Tour();
  Tour(const Tour&) = delete;
  Tour& operator=(const Tour&) = delete;

  void start();
  bool finished() const { return finished_; }
  const std::vector<std::wstring>& failures() const { return failures_; }
  const std::vector<Shot>& shots() const { return shots_; }
  HWND dialog() const { return dialog_; }  // the plug-in dialog the tour last found

  // Called on the UI thread when the tour reaches a named state
  // ("older menus", "favorite opened", "current added", "configure shown",
  // "about shown", "ribbon"); a test checks the demo there.
  std::function<void(const std::string&)> onCheckpoint;
  std::function<void()> onFinished;

 private:
  // A step runs at each tick until it returns true.
  struct Step {
    std::wstring name;
    std::function<bool()> run;
  };
  static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
  void tick();
  void finish();
  void fail(const std::wstring& why);

  void add(std::wstring name, std::function<bool()> run);
  void wait(DWORD ms);
  void checkpoint(const std::string& name);
  void shot(std::wstring name, std::wstring caption, std::function<HWND()> window = nullptr);
  void click(const std::function<int()>& index);
  void openMenu(std::vector<std::wstring> path);
  void closeMenus();
  void dialog(int index, const std::string& checkpointName, std::wstring shotName, std::wstring caption,
              DWORD settleMs);
  void openRibbonDropDown(std::wstring caption);
  void installerPages();
  bool startInstaller();
  void pressInstaller(int x, int y) const;

  HWND findDialog() const;
  static bool inMenu();
  void post(UINT msg, WPARAM wp, LPARAM lp = 0) const;

  DemoWindow& demo_;
  Options options_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  DWORD stepStarted_ = 0;
  UINT_PTR timer_ = 0;
  bool busy_ = false;
  bool finished_ = false;
  HWND dialog_ = nullptr;
  HANDLE installer_ = nullptr;  // the installer process the tour started
  DWORD installerId_ = 0;
  HWND installerWindow_ = nullptr;
  std::vector<std::wstring> failures_;
  std::vector<Shot> shots_;
};

}  // namespace demohost

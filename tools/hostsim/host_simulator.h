// A stand-in for the host IDE. It loads the real favorites.dll through
// LoadLibrary, hands it every callback service over an in-memory model
// (windows, files, connections, main menu, tool buttons), records every call
// the plug-in makes, and drives the plug-in only through its exports.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace hostsim {

struct Window {
  std::string fileName;  // narrow, as the host keeps it
  int type = 0;
  int connection = 0;    // 0: not connected
};

struct Connection {
  std::string username, password, database, connectAs;
  bool operator==(const Connection&) const = default;
};

struct ToolButton {
  int pluginId = 0;
  int index = 0;
  std::string caption;
  std::string bitmap;
  int flags = 0;
  bool operator==(const ToolButton&) const = default;
};

// One callback the plug-in made: its name and its arguments as text.
struct Call {
  std::string name;
  std::vector<std::string> args;
  std::string text() const;  // "Name(a, b)"
};

// Answers for the platform pickers and message boxes, given to the plug-in
// through the "FavoritesUiSeam" export of this executable (host_seam.cpp,
// linked by the hostsim library; hostsim_model has no seam). Unset answers
// cancel (pickers) or say No (message boxes).
struct UiAnswers {
  std::deque<std::wstring> folders;                  // one per folder browse; L"" = cancel
  std::deque<std::vector<std::wstring>> openFiles;   // one per open-file dialog; {} = cancel
  std::deque<int> messageBoxes;                      // IDYES, IDNO, ...
  std::vector<std::wstring> messageBoxTexts;         // what was asked
  std::vector<std::wstring> folderTitles;
  // Task dialogs: the index of the button chosen, one per dialog; -1 (or no
  // answer left) closes it; kSeamShowReal lets the real one show.
  std::deque<int> taskDialogs;
  std::vector<std::wstring> taskDialogTexts;  // "caption|instruction|content|button|button..."
  // Single-file open dialogs: the path chosen, one per dialog; L"" cancels.
  std::deque<std::wstring> openFile;
  struct OpenFileAsked {
    std::wstring title, folder;
    std::vector<std::wstring> filter;  // name, pattern, name, pattern, ...
  };
  std::vector<OpenFileAsked> openFileAsked;
  // Save dialogs: the path chosen, one per dialog; L"" (or none left) cancels.
  std::deque<std::wstring> saveFile;
  struct SaveFileAsked {
    std::wstring title, folder, name;
    std::vector<std::wstring> filter;  // name, pattern, name, pattern, ...
  };
  std::vector<SaveFileAsked> saveFileAsked;
  // The plug-in's existence check: 1 exists, 0 missing, -1 cannot tell;
  // kSeamShowReal (or no function) checks the disk. Called on the plug-in's
  // worker thread. The model's files are names only, so by default each one
  // exists.
  std::function<int(const std::wstring& path)> fileExists = [](const std::wstring&) { return 1; };
  // Called while a picker or message box would be showing (a window of the
  // plug-in is then modal); lets a test take a screenshot at that moment.
  std::function<void(const std::wstring& what)> onShow;
  // Called once each modal dialog of the plug-in is up, with its window and
  // class name; the test drives the dialog from here and closes it. Without
  // a handler the dialog is cancelled at once, so no test ever hangs.
  std::function<void(HWND dialog, const std::wstring& name)> onDialog;
  std::vector<std::wstring> dialogsShown;
};

class HostSimulator {
 public:
  // Only one simulator is active at a time: the callbacks have no context.
  HostSimulator();
  ~HostSimulator();
  HostSimulator(const HostSimulator&) = delete;
  HostSimulator& operator=(const HostSimulator&) = delete;

  // Loads the DLL (default: favorites.dll as built, FAV_BUILD_DIR/plugin).
  bool load(const std::wstring& dllPath = defaultDllPath());
  void unload();
  HMODULE module() const { return module_; }
  static std::wstring defaultDllPath();

  // Identifies the plug-in and registers every service this host offers,
  // except those in skip.
  std::string identify(int pluginId = 7);
  void registerServices(const std::set<int>& skip = {});
  // The usual start: identify, register, ask every menu item, OnActivate.
  void start(int pluginId = 7);

  // --- exports -----------------------------------------------------------
  const char* createMenuItemRaw(int index);
  std::string createMenuItem(int index);
  void registerCallback(int index, void* address);
  void onMenuClick(int index);
  void configure();
  const char* about();
  void onActivate();
  void onCreate();
  void onDestroy();
  void onWindowChange();
  void onMainMenu();
  int supportsStyles();
  FARPROC exportAddress(const char* name) const;

  // Asks CreateMenuItem for 1..99, as the host does after a refresh.
  std::vector<std::string> menuTexts();

  // --- the model -----------------------------------------------------------
  int hostVersion = 1199;
  std::string hostKeyPath = "Software\\IDE Vendor\\PL/SQL Developer";
  std::string hostRootFolder;  // default: FAV_BUILD_DIR\hostroot\ (ends with a separator)
  std::string mainMenuNames = "File\r\nEdit\r\nSession\r\nTools\r\nWindow\r\nHelp\r\n";
  std::map<std::string, std::string> extensionsForType;
  std::vector<Window> windows;
  int currentWindow = -1;               // index into windows; -1 none
  std::vector<Connection> connections;  // connection number = position + 1
  int windowConnectionStateAnswer = 1;  // what WindowConnectionState(2) returns
  // A host gone wrong: WindowCount answers this instead of the window count,
  // and (nullTexts) every text service answers a null pointer while
  // ConnectionDetails leaves its output pointers as they were.
  std::optional<int> windowCountAnswer;
  bool nullTexts = false;
  std::vector<ToolButton> toolButtons;  // every AddToolButton, in order
  std::vector<std::string> menu;        // the last menu texts read (1..99 -> [0..98])
  int refreshRequests = 0;
  std::vector<Call> calls;
  UiAnswers ui;
  // Told of each callback right after it is recorded, before the model
  // changes for it (the demo host's live log).
  std::function<void(const Call&)> onCall;

  // Keyboard state of this thread as GetKeyboardState will report it.
  static void setModifiers(bool shift, bool ctrl, bool alt);

  // Calls whose name is name, in order.
  std::vector<Call> callsNamed(const std::string& name) const;
  std::vector<std::string> callTexts() const;
  void clearRecords();

  // Internal: the callbacks reach the active simulator through this.
  static HostSimulator* active();
  void record(std::string name, std::vector<std::string> args = {});
  const char* keep(std::string text);  // a text the host hands out, kept alive

 private:
  void afterExport();

  HMODULE module_ = nullptr;
  std::deque<std::string> texts_;
};

}  // namespace hostsim

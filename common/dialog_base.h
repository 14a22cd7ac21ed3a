// The one dialog base every dialog of the plug-in derives from: a window
// procedure thunk that stores `this`, a catch-all at that boundary, a modal
// loop of our own that translates shortcuts, the themed controls of the
// module's own manifest, per-monitor DPI, and the hint-panel plumbing.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fav {

// Activates the manifest (resource 2) of the module this code lives in, so the
// dialogs get version 6 common controls inside a host that may not use them.
class ActivationContextScope {
 public:
  ActivationContextScope();
  ~ActivationContextScope();
  ActivationContextScope(const ActivationContextScope&) = delete;
  ActivationContextScope& operator=(const ActivationContextScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

// Per-monitor DPI awareness for the windows created inside this scope.
class DpiAwarenessScope {
 public:
  DpiAwarenessScope();
  ~DpiAwarenessScope();
  DpiAwarenessScope(const DpiAwarenessScope&) = delete;
  DpiAwarenessScope& operator=(const DpiAwarenessScope&) = delete;

 private:
  void* previous_ = nullptr;
};

// The window a modal dialog of ours is owned by: the host's active window
// (or its top-level owner), so the host is disabled while the dialog shows.
HWND hostOwnerWindow();

// DPI of a window (96 when the platform cannot tell).
UINT windowDpi(HWND hwnd);

// A keyboard shortcut that runs a command id; the command's enabled rule is
// asked before it runs.
struct Shortcut {
  UINT virtualKey;
  bool alt = false;
  bool ctrl = false;
  bool shift = false;
  int command = 0;
};

class DialogBase {
 public:
  DialogBase() = default;
  virtual ~DialogBase();
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  // Runs the dialog from its template modally, owned by owner; returns the
  // result given to endDialog (IDCANCEL when the dialog failed to start).
  INT_PTR showModal(int templateId, HWND owner);
  // The same in two steps, for a dialog its creator sets up before showing:
  // create() builds the window hidden (false when it could not), runModal()
  // shows it and runs the loop.
  bool create(int templateId, HWND owner);
  INT_PTR runModal();
  HWND hwnd() const { return hwnd_; }
  bool isOpen() const { return hwnd_ != nullptr; }
  HWND item(int id) const { return ::GetDlgItem(hwnd_, id); }

  // Ends the modal loop with this result.
  void endDialog(INT_PTR result);

  // The dialog's class name, told to a test host once the dialog is up.
  virtual const wchar_t* name() const = 0;

 protected:
  // Handlers; return true when handled.
  virtual bool onInit() { return true; }
  virtual bool onCommand(int id, int code, HWND control);
  virtual bool onNotify(NMHDR* header, LRESULT& result);
  // Every other message; set handled when the message is consumed.
  virtual INT_PTR onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
  virtual void onDestroy() {}
  // The window has been shown; its first paint is still to come.
  virtual void onShown() {}
  // Whether the command a shortcut names may run now.
  virtual bool isCommandEnabled(int command) const;
  // Whether a shortcut applies to this key message at all; when not, the key
  // goes on to its control as usual (a combo box keeps Alt+Down, say).
  virtual bool wantsShortcut(const MSG&, const Shortcut&) const { return true; }

  void setShortcuts(std::vector<Shortcut> shortcuts) { shortcuts_ = std::move(shortcuts); }

  // Hint panel: the hint of the control under the mouse goes into the panel.
  // A control registered with an empty hint clears it; unregistered controls
  // leave it as it is.
  void setHintPanel(HWND panel) { hintPanel_ = panel; }
  void setHint(HWND control, std::wstring hint) { hints_[control] = std::move(hint); }
  // The panel is cleared when the mouse leaves this control for one without
  // a hint of its own.
  void clearHintOnLeave(HWND control) { clearOnLeave_.push_back(control); }
  void setHintText(const std::wstring& text);
  std::wstring hintText() const;

  // Pixels at the design DPI (96) scaled to the dialog's DPI.
  int scale(int designPixels) const;
  UINT dpi() const { return dpi_; }

 private:
  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR handle(UINT msg, WPARAM wp, LPARAM lp);
  bool translateShortcut(const MSG& msg);

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  bool done_ = false;
  INT_PTR result_ = IDCANCEL;
  UINT dpi_ = 96;
  HWND hintPanel_ = nullptr;
  std::map<HWND, std::wstring> hints_;
  HWND lastHintControl_ = nullptr;
  std::vector<HWND> clearOnLeave_;
  std::vector<Shortcut> shortcuts_;
};

}  // namespace fav

// Drives the Configure Favorites dialog as a user would, through window
// messages, while the host simulator runs the Configure export.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "frm_ConfigureFavorites_res.h"
#include "plugin_fixture.h"

namespace configuretest {

// One open dialog.
class Dialog {
 public:
  explicit Dialog(HWND hwnd) : hwnd_(hwnd) {}
  HWND hwnd() const { return hwnd_; }
  HWND item(int id) const { return ::GetDlgItem(hwnd_, id); }
  HWND grid() const { return item(IDC_SG_FAVORITES); }

  // Runs what is queued, and whatever that posts in turn, until the queue
  // is empty. Work the dialogs do later (timers, another thread) is waited
  // for with waitFor.
  static void pump();
  // Pumps until condition holds; false when it still does not after
  // timeoutMs.
  static bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
  // The dialog reads its icon files on a worker after it opens; true once
  // the icon pickers hold them.
  bool iconsRead() const;
  bool waitForIcons() const;

  std::wstring text(int id) const;
  void setText(int id, const std::wstring& text);
  // Types the text into a box one character at a time (EN_CHANGE each).
  void type(int id, const std::wstring& text);
  bool checked(int id) const;
  void click(int id);  // a button click (BM_CLICK)
  bool enabled(int id) const;
  bool visible(int id) const;
  void command(int id);  // WM_COMMAND as a shortcut or menu would send it

  // Rows of the grid: submenu and file text of each row.
  int rows() const;
  std::wstring cell(int row, int col) const;
  int selectedRow() const;
  // Mouse on a cell of the grid (down and up posted to the list, then pumped).
  void clickCell(int row, int col);
  void rightClickCell(int row, int col);
  // A left click with Ctrl held: one more row selected.
  void ctrlClickCell(int row, int col);
  void moveOver(int row);  // the mouse moving over a row of the grid
  POINT cellCenter(int row, int col) const;
  // Keys to the focused window (or a given one).
  void key(UINT vk, HWND target = nullptr);
  void altKey(UINT vk);
  // Alt+key posted for the dialog's loop (use inside steps()).
  void postAltKey(UINT vk);
  static void releaseAlt();
  // Ctrl+key posted for the dialog's loop to a window (the focused one by
  // default); Ctrl stays down until releaseCtrl.
  void postCtrlKey(UINT vk, HWND target = nullptr);
  static void releaseCtrl();

  // The list of an open picker: its entries, and choosing one with Enter.
  std::vector<std::wstring> pickerEntries(int id) const;
  int pickerSelection(int id) const;
  bool pickerDropped(int id) const;
  void pickEntry(int id, int entry);
  void cancelPicker(int id);

  // The mouse entering a control (WM_SETCURSOR as the system sends it).
  void hover(HWND control);
  std::wstring hint() const { return text(IDC_PNL_HINT); }

  // Runs the steps one after another from the dialog's own message loop,
  // so what a step posts (keys for the shortcuts, say) goes through it. The
  // drive function returns after scheduling; the last step closes the dialog.
  void steps(std::vector<std::function<void(Dialog&)>> steps);
  bool scheduled() const { return scheduled_; }

  void ok() { command(IDOK); pump(); }
  void cancel() { command(IDCANCEL); pump(); }

  // Writes a PNG-convertible BMP of the screen area of the dialog (and any
  // open list) to $FAV_SHOT_DIR/name.bmp; nothing without that variable.
  void screenshot(const std::wstring& name) const;
  // Shows the question as a real message box over the dialog (of the given
  // type), takes a screenshot of it and closes it (the seam has already
  // answered). Without a dialog (Dialog(nullptr)) the box alone is taken.
  void screenshotQuestion(const std::wstring& text, const std::wstring& name,
                          unsigned type = MB_YESNO | MB_ICONQUESTION) const;

 private:
  HWND hwnd_;
  bool scheduled_ = false;
};

// The plug-in copy, its settings file and the host, with helpers to run the
// Configure command and drive its dialog.
class ConfigureTest : public testsupport::PluginTest {
 protected:
  // Runs Configure; drive is called with the dialog once it is up and must
  // close it. Returns how many dialogs were shown.
  void configure(const std::function<void(Dialog&)>& drive);
  // Writes icon file name (20 x 20, one colour) into folder.
  void writeIcon(const std::filesystem::path& folder, const std::wstring& name,
                 COLORREF colour = RGB(200, 30, 30), int size = 20);
  // The blank icon and the first count of fav_a.bmp (red), fav_b.bmp (green)
  // and fav_c.bmp (blue), in the plug-in folder.
  void writeSampleIcons(int count);
};

}  // namespace configuretest

// Seam for the platform pickers and message boxes. A test host (our host
// simulator) exports "FavoritesUiSeam" from its executable; when present, the
// plug-in asks it instead of opening the real platform window. The real IDE
// exports no such function, so production always takes the platform path.
#pragma once

#include <windows.h>

extern "C" {

struct FavoritesUiSeam {
  // Returns the button id (IDYES, IDNO, IDOK, ...), like MessageBoxW.
  int (*messageBox)(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned type);
  // Folder pickers: copy the chosen path into out (capacity outLen) and return 1, or return 0.
  int (*browseForFolder)(HWND owner, const wchar_t* title, unsigned flags, wchar_t* out,
                         int outLen);
  // Multi-select open-file: fill out with "file\0file\0\0" (full paths), return the count.
  int (*openFiles)(HWND owner, const wchar_t* initialFolder, wchar_t* out, int outLen);
  // Told once each modal dialog of ours is up and running its loop; a test
  // drives the dialog from here (and may open nested dialogs re-entrantly).
  // name is the dialog's class name in the code, e.g. L"TfrmConfigureFavorites".
  void (*dialogShown)(HWND dialog, const wchar_t* name);
  // A task dialog with the push buttons buttons[0..count-1]: returns the
  // index of the button chosen, -1 when it was closed otherwise, or
  // kSeamShowReal to let the platform's task dialog show after all.
  int (*taskDialog)(HWND owner, const wchar_t* caption, const wchar_t* instruction,
                    const wchar_t* content, const wchar_t* const* buttons, int count);
  // Single-file open dialog titled title, starting in initialFolder, with
  // filter in the platform's "name\0pattern\0...\0\0" form: copy the chosen full
  // path into out (capacity outLen) and return 1, or return 0.
  int (*openFile)(HWND owner, const wchar_t* title, const wchar_t* initialFolder,
                  const wchar_t* filter, wchar_t* out, int outLen);
  // Whether a file exists, asked on the plug-in's worker thread: 1 yes, 0 no,
  // -1 cannot tell, or kSeamShowReal to ask the disk after all.
  int (*fileExists)(const wchar_t* path);
  // Save dialog titled title, starting in initialFolder with defaultName
  // proposed, filter as for openFile: copy the chosen full path into out
  // (capacity outLen) and return 1, or return 0.
  int (*saveFile)(HWND owner, const wchar_t* title, const wchar_t* initialFolder,
                  const wchar_t* defaultName, const wchar_t* filter, wchar_t* out, int outLen);
};

// A seam answer that leaves the question to the platform.
enum { kSeamShowReal = -2 };

typedef FavoritesUiSeam* (*FavoritesUiSeamFn)();
}

// The seam the current process offers, or null.
FavoritesUiSeam* uiSeam();

// Tells the seam a dialog is up (no-op without a seam).
void notifyDialogShown(HWND dialog, const wchar_t* name);

// MessageBoxW through the seam.
int showMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned type);

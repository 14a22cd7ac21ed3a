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
};

typedef FavoritesUiSeam* (*FavoritesUiSeamFn)();
}

// The seam the current process offers, or null.
FavoritesUiSeam* uiSeam();

// Tells the seam a dialog is up (no-op without a seam).
void notifyDialogShown(HWND dialog, const wchar_t* name);

// MessageBoxW through the seam.
int showMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned type);

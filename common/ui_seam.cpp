#include "ui_seam.h"

FavoritesUiSeam* uiSeam() {
  // Only a test host exports the seam, and the process's executable never
  // changes, so one lookup serves the whole process.
  static const FavoritesUiSeamFn seamFn = reinterpret_cast<FavoritesUiSeamFn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(nullptr), "FavoritesUiSeam")));
  return seamFn ? seamFn() : nullptr;
}

int showMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned type) {
  if (FavoritesUiSeam* seam = uiSeam(); seam && seam->messageBox)
    return seam->messageBox(owner, text, caption, type);
  return ::MessageBoxW(owner, text, caption, type);
}

void notifyDialogShown(HWND dialog, const wchar_t* name) {
  if (FavoritesUiSeam* seam = uiSeam(); seam && seam->dialogShown) seam->dialogShown(dialog, name);
}

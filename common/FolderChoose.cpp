#include "FolderChoose.h"

#include <shlobj.h>

#include "un_plugincommon.h"

namespace {

// Where the next browse opens when the caller names no folder.
std::wstring& lastFolder() {
  static std::wstring folder;
  return folder;
}

}  // namespace

std::wstring withFolderBackslash(std::wstring folder, bool backSlashOnEnd) {
  if (backSlashOnEnd && !folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

TFolderDialog::TFolderDialog(HWND owner) : fOwner(owner) {}

bool TFolderDialog::Execute() {
  std::wstring chosen;
  try {
    const std::wstring start = FFolderName.empty() ? lastFolder() : FFolderName;
    chosen = browseForFolder(FTitle, BIF_RETURNONLYFSDIRS, fOwner, start);
  } catch (...) {
    chosen.clear();
  }
  if (chosen.empty()) {
    FFolderName.clear();
    return false;
  }
  lastFolder() = chosen;
  FFolderName = withFolderBackslash(std::move(chosen), FBackSlashOnEnd);
  return true;
}

// TFolderDialog: the shell's folder browser over its owner's window, handing
// back the chosen folder (with a trailing "\" unless told otherwise).
#pragma once

#include <windows.h>

#include <string>

class TFolderDialog {
 public:
  // owner: the form the browser is modal to; it outlives this object.
  explicit TFolderDialog(HWND owner);
  ~TFolderDialog() = default;
  TFolderDialog(const TFolderDialog&) = delete;
  TFolderDialog& operator=(const TFolderDialog&) = delete;

  const std::wstring& Title() const { return FTitle; }
  void Title(std::wstring value) { FTitle = std::move(value); }
  // The folder of the last Execute; empty after a cancelled one.
  const std::wstring& FolderName() const { return FFolderName; }
  void FolderName(std::wstring value) { FFolderName = std::move(value); }
  bool BackSlashOnEnd() const { return FBackSlashOnEnd; }
  void BackSlashOnEnd(bool value) { FBackSlashOnEnd = value; }

  // True when a file-system folder was chosen; it is then in FolderName. The
  // browser opens at FolderName when set, else at the last folder chosen in
  // this process.
  bool Execute();

 private:
  HWND fOwner;
  std::wstring FTitle;
  std::wstring FFolderName;
  bool FBackSlashOnEnd = true;
};

// The folder as Execute stores it: "\" appended only when asked for and not
// already there (a drive root comes back as "X:\").
std::wstring withFolderBackslash(std::wstring folder, bool backSlashOnEnd);

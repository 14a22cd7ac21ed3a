#include "FolderChoose.h"

#include <shlobj.h>

#include "ui_seam.h"
#include "unique_handles.h"

namespace {

constexpr int kPathChars = MAX_PATH + 1;

// Where the next browse opens when the caller names no folder.
std::wstring& lastFolder() {
  static std::wstring folder;
  return folder;
}

int CALLBACK openAtFolder(HWND browser, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED && data)
    ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

std::wstring browse(HWND owner, const std::wstring& title, const std::wstring& startFolder) {
  if (FavoritesUiSeam* seam = uiSeam(); seam && seam->browseForFolder) {
    wchar_t chosen[kPathChars] = {};
    if (!seam->browseForFolder(owner, title.c_str(), BIF_RETURNONLYFSDIRS, chosen, kPathChars))
      return {};
    chosen[kPathChars - 1] = L'\0';
    return chosen;
  }

  // The shell browser needs COM on this thread; the host usually has it already.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  wchar_t displayName[kPathChars] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pszDisplayName = displayName;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  if (!startFolder.empty()) {
    info.lpfn = &openAtFolder;
    info.lParam = reinterpret_cast<LPARAM>(startFolder.c_str());
  }
  std::wstring result;
  if (fav::unique_cotaskmem<ITEMIDLIST> item{::SHBrowseForFolderW(&info)}) {
    wchar_t path[kPathChars] = {};
    if (::SHGetPathFromIDListW(item.get(), path)) result = path;
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  return result;
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
    chosen = browse(fOwner, FTitle, start);
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

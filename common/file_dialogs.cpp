#include "file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "dialog_base.h"
#include "ui_seam.h"

namespace fav {
namespace {

// Long paths fit; a small buffer fails as if cancelled.
constexpr size_t kPathChars = 32 * 1024;

// "ini" from a filter whose first pattern is "*.ini"; empty for "*.*".
std::wstring firstExtension(const std::wstring& filter) {
  const size_t pattern = filter.find(L'\0');
  if (pattern == std::wstring::npos) return {};
  const std::wstring first = filter.c_str() + pattern + 1;
  if (first.rfind(L"*.", 0) != 0 || first.find_first_of(L"*?;", 2) != std::wstring::npos)
    return {};
  return first.substr(2);
}

// What both platform dialogs are given: owner, filter, answer buffer,
// starting folder and title.
OPENFILENAMEW dialogFor(HWND owner, const std::wstring& title, const std::wstring& folder,
                        const std::wstring& filter, std::vector<wchar_t>& buffer) {
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrTitle = title.c_str();
  return dialog;
}

}  // namespace

std::wstring chooseFileToOpen(HWND owner, const std::wstring& title, const std::wstring& folder,
                              const std::wstring& filter) {
  std::vector<wchar_t> buffer(kPathChars, L'\0');
  if (FavoritesUiSeam* seam = uiSeam(); seam && seam->openFile) {
    if (!seam->openFile(owner, title.c_str(), folder.c_str(), filter.c_str(), buffer.data(),
                        static_cast<int>(buffer.size())))
      return {};
    return buffer.data();
  }
  ActivationContextScope themed;
  OPENFILENAMEW dialog = dialogFor(owner, title, folder, filter, buffer);
  // The host's working folder stays where it is.
  dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameW(&dialog)) return {};
  return buffer.data();
}

std::wstring chooseFileToSave(HWND owner, const std::wstring& title, const std::wstring& folder,
                              const std::wstring& defaultName, const std::wstring& filter) {
  std::vector<wchar_t> buffer(kPathChars, L'\0');
  if (FavoritesUiSeam* seam = uiSeam(); seam && seam->saveFile) {
    if (!seam->saveFile(owner, title.c_str(), folder.c_str(), defaultName.c_str(), filter.c_str(),
                        buffer.data(), static_cast<int>(buffer.size())))
      return {};
    return buffer.data();
  }
  defaultName.copy(buffer.data(), std::min(defaultName.size(), buffer.size() - 1));
  const std::wstring extension = firstExtension(filter);
  ActivationContextScope themed;
  OPENFILENAMEW dialog = dialogFor(owner, title, folder, filter, buffer);
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                 OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!::GetSaveFileNameW(&dialog)) return {};
  return buffer.data();
}

}  // namespace fav

// The Configure Favorites dialog's commands that share a list: Export writes
// favorites to a file for others, Import appends those of such a file (or of
// someone's whole Favorites.ini). The texts come from list_exchange; here
// are the pickers, the files and the messages. Import changes only the
// lists the dialog edits: the settings file follows at Ok.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <iterator>

#include "code_page_text.h"
#include "file_dialogs.h"
#include "frm_ConfigureFavorites.h"
#include "frm_ConfigureFavorites_res.h"
#include "ini_text.h"
#include "list_exchange.h"
#include "settings_io.h"
#include "text_codec.h"
#include "ui_seam.h"

namespace {

constexpr wchar_t kShareFilter[] = L"Favorites lists (*.ini)\0*.ini\0All files (*.*)\0*.*\0";

std::wstring shareFilter() { return std::wstring(kShareFilter, std::size(kShareFilter) - 1); }

// Where the next Export or Import starts: the folder of the file used last.
std::wstring& lastShareFolder() {
  static std::wstring folder;
  return folder;
}

void rememberFolder(const std::wstring& path) {
  const size_t sep = path.find_last_of(L"\\/");
  if (sep != std::wstring::npos) lastShareFolder() = path.substr(0, sep + 1);
}

std::wstring fullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4] = {};
  const DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(buffer)), buffer,
                                     nullptr);
  return n > 0 && n < std::size(buffer) ? std::wstring(buffer, n) : path;
}

// An export chosen over the settings file itself would replace the user's
// list with a list that has no settings.
bool isSameFile(const std::wstring& a, const std::wstring& b) {
  if (a.empty() || b.empty()) return false;
  const std::wstring fa = fullPath(a), fb = fullPath(b);
  return ::CompareStringOrdinal(fa.c_str(), static_cast<int>(fa.size()), fb.c_str(),
                                static_cast<int>(fb.size()), TRUE) == CSTR_EQUAL;
}

// "2026-12-10 21:04", the local time the export's first line names.
std::wstring localTimeText() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  wchar_t text[32] = {};
  std::swprintf(text, std::size(text), L"%04u-%02u-%02u %02u:%02u", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute);
  return text;
}

}  // namespace

void TfrmConfigureFavorites::actExportExecute() {
  // Two or more rows selected are the choice; otherwise the whole list.
  TFavoriteItems chosen;
  if (sgFavorites_ && ListView_GetSelectedCount(sgFavorites_) >= 2) {
    for (int row = ListView_GetNextItem(sgFavorites_, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(sgFavorites_, row, LVNI_SELECTED))
      if (const TFavoriteItem* favorite = rowFavorite(row)) chosen.Add() = *favorite;
  } else {
    chosen = model_.favorites();
  }
  if (chosen.Count() == 0) return;

  const std::wstring path = fav::chooseFileToSave(hwnd(), L"Export Favorites", lastShareFolder(),
                                                  exchange::kDefaultFileName, shareFilter());
  if (path.empty()) return;
  rememberFolder(path);
  if (isSameFile(path, fIniFilename)) {
    const std::wstring text = path + L" is the settings file of these favorites.\n\nChoose "
                                     L"another file for the export.";
    showMessageBox(hwnd(), text.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
    return;
  }
  // Names under the replacement path on disk, as Add stores them.
  const std::string bytes =
      exchange::exportText(chosen, model_.submenus(), getReplacementPath(fIniFilename),
                           hostVersion_, localTimeText(), fav::systemCodePage());
  std::wstring reason;
  if (!settings_io::replaceFile(path, bytes, &reason)) {
    const std::wstring text = L"Could not save " + path + L": " + reason;
    showMessageBox(hwnd(), text.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
    return;
  }
  SetHintText(L"Exported " + std::to_wstring(chosen.Count()) +
              (chosen.Count() == 1 ? L" favorite to " : L" favorites to ") + path);
}

void TfrmConfigureFavorites::actImportExecute() {
  const std::wstring path =
      fav::chooseFileToOpen(hwnd(), L"Import Favorites", lastShareFolder(), shareFilter());
  if (path.empty()) return;
  rememberFolder(path);
  auto refuse = [&](const std::wstring& text) {
    showMessageBox(hwnd(), text.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
  };
  const settings_io::FileRead read =
      settings_io::readFile(path, IniText::kMaxFileBytes, IniText::tooLargeReason());
  if (read.status == settings_io::FileRead::Status::Missing)
    return refuse(path + L" could not be read: the file does not exist");
  if (read.status == settings_io::FileRead::Status::Failed)
    return refuse(path + L" could not be read: " + read.error);

  // Files under the replacement path on disk become "%path%" entries, as
  // Add stores them; the whole import is one step for Ctrl+Z.
  const std::wstring replacement = getReplacementPath(fIniFilename);
  exchange::ImportOutcome outcome;
  model_.editLists([&](TFavoriteItems& favorites, TSubMenuItems& submenus) {
    outcome = exchange::importList(read.bytes, fav::systemCodePage(), favorites, submenus,
                                   replacement);
  });
  if (!outcome.refusal.empty()) return refuse(exchange::refusalMessage(path, outcome.refusal));
  if (!isChecked(IDC_CB_ALLOW_DUPLICATE_IMAGES)) model_.clearDuplicateImages();
  FillGrid();
  FillSubmenuCombo();
  UpdateActionStates();
  const std::wstring text = exchange::summary(outcome);
  showMessageBox(hwnd(), text.c_str(), L"Favorites", MB_OK | MB_ICONINFORMATION);
  if (!outcome.unstorable.empty()) {
    const std::wstring left = codepage::unstorableFilesMessage(outcome.unstorable);
    showMessageBox(hwnd(), left.c_str(), L"Favorites", MB_OK | MB_ICONWARNING);
  }
}

// The Configure Favorites dialog and files that moved: the marks of missing
// files in the grid (a background check after the dialog shows and after
// each change of the file names, never waited for) and Relink Missing...,
// which searches a folder on a worker thread while the dialog shows the
// count and Esc stops it. The shell runs both; they redraw through the grid.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include "file_path.h"
#include "frm_ConfigureFavorites.h"
#include "frm_ConfigureFavorites_res.h"
#include "relink_search.h"
#include "settings_file.h"
#include "ui_seam.h"
#include "un_plugincommon.h"
#include "window_text.h"

namespace {

constexpr wchar_t kRelinkFolderTitle[] = L"Choose the folder to search for the missing files";

favlist::Presence presenceOf(filecheck::Presence answer) {
  switch (answer) {
    case filecheck::Presence::Exists: return favlist::Presence::Present;
    case filecheck::Presence::Missing: return favlist::Presence::Missing;
    default: return favlist::Presence::Unknown;
  }
}

bool isInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

// --- the marks ------------------------------------------------------------------------

void TfrmConfigureFavorites::startFileChecks() {
  checksStarted_ = true;
  checkFiles();
}

void TfrmConfigureFavorites::checkFiles() {
  if (!hwnd() || !checksStarted_) return;
  // Moves and icon edits change no file: the answers stand. The names'
  // hashes are summed, not the names copied and sorted, as this runs after
  // every command.
  const std::hash<std::wstring_view> hash;
  size_t files = hash(editText(IDC_EDT_REPLACE_PATH));
  for (int i = 0; i < model_.count(); ++i)
    if (!favlist::isSeparator(*model_.at(i))) files += hash(model_.at(i)->FileName());
  if (checkedFiles_ == files) return;
  checkedFiles_ = files;
  // Answers for the names as they were go nowhere. The marks shown stay
  // until the new answers arrive.
  presenceCheck_.stop();
  ::SetTimer(hwnd(), kStartChecksTimer, USER_TIMER_MINIMUM, nullptr);
}

void TfrmConfigureFavorites::startCheckNow() {
  ::KillTimer(hwnd(), kStartChecksTimer);
  std::vector<std::wstring_view> names;
  names.reserve(static_cast<size_t>(model_.count()));
  for (int i = 0; i < model_.count(); ++i)
    if (!favlist::isSeparator(*model_.at(i))) names.push_back(model_.at(i)->FileName());
  presenceCheck_.start(hwnd(), kFilesCheckedMessage, names,
                       [replacement = editText(IDC_EDT_REPLACE_PATH)](std::wstring_view name) {
                         return fav::expandPathMarker(name, replacement);
                       });
}

void TfrmConfigureFavorites::filesChecked(unsigned generation) {
  const auto answers = presenceCheck_.take(generation);
  if (answers.empty()) return;
  for (const filecheck::BackgroundCheck::Answer& answer : answers)
    model_.setPresence(answer.name, presenceOf(answer.presence), answer.path);
  if (sgFavorites_) ::InvalidateRect(sgFavorites_, nullptr, FALSE);
}

HICON TfrmConfigureFavorites::warningIcon() {
  const int size = scale(16);
  if (warningIcon_ && warningIconSize_ == size) return warningIcon_.get();
  warningIconSize_ = size;
  HICON icon = nullptr;
  {
    fav::ActivationContextScope themed;
    using LoadScaledFn = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    // Only version 6 of the common controls has it; by name, so an older one
    // still draws the mark from the system icon.
    const HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
    const auto loadScaled = comctl ? reinterpret_cast<LoadScaledFn>(reinterpret_cast<void*>(
                                         ::GetProcAddress(comctl, "LoadIconWithScaleDown")))
                                   : nullptr;
    if (!loadScaled || FAILED(loadScaled(nullptr, IDI_WARNING, size, size, &icon))) icon = nullptr;
  }
  if (!icon)
    icon = static_cast<HICON>(
        ::CopyImage(::LoadIconW(nullptr, IDI_WARNING), IMAGE_ICON, size, size, 0));
  warningIcon_.reset(icon);
  return icon;
}

// --- Relink Missing... -----------------------------------------------------------------

void TfrmConfigureFavorites::actRelinkExecute() {
  std::vector<relink::Missing> missing = model_.missingFavorites();
  if (missing.empty()) return;
  const std::wstring folder = browseForFolder(kRelinkFolderTitle, BIF_RETURNONLYFSDIRS, hwnd());
  if (folder.empty()) return;

  relink::Search search(folder, relink::Matcher(std::move(missing)));
  if (!search.start()) {
    showMessageBox(hwnd(), L"The search could not be started.", L"Favorites", MB_OK | MB_ICONERROR);
    return;
  }
  if (!waitForSearch(search)) {
    // Half a search would relink some favorites by chance: nothing changes.
    SetHintText(relink::kStoppedText);
    return;
  }
  const relink::Outcome outcome = search.outcome();
  // Stored as Add stores a file: under the replacement path as "%path%...".
  const std::wstring replacement = getReplacementPath(fIniFilename);
  std::vector<std::pair<int, std::wstring>> fileNames;
  std::vector<std::wstring> found;
  for (const auto& [index, path] : outcome.relinked) {
    fileNames.emplace_back(index, fav::toPathMarkerForm(path, replacement));
    found.push_back(path);
  }
  if (model_.relink(fileNames, found)) {
    click_.forget();
    FillGrid();
    UpdateActionStates();
  }
  SetHintText(L"");
  const std::wstring summary =
      relink::summaryText(outcome, search.end() == relink::WalkEnd::Limit);
  showMessageBox(hwnd(), summary.c_str(), L"Favorites",
                 MB_OK | (outcome.notFound.empty() ? MB_ICONINFORMATION : MB_ICONWARNING));
}

bool TfrmConfigureFavorites::waitForSearch(relink::Search& search) {
  // The dialog keeps drawing and shows the count; clicks and keys other
  // than Esc are dropped, so nothing edits the list under the search.
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        search.stop();
        return false;
      }
      if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        search.stop();
        return false;
      }
      if (isInput(msg.message)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (search.finished()) return true;
    // Set again each time: the pointer passing over a control sets its hint.
    const std::wstring progress = relink::progressText(search.files());
    if (HWND panel = item(IDC_PNL_HINT); panel && fav::windowText(panel) != progress) {
      SetHintText(progress);
      ::UpdateWindow(panel);
    }
    HANDLE done = search.done();
    ::MsgWaitForMultipleObjectsEx(1, &done, 100, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

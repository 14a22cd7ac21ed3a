// The UI seam of the test hosts: pickers and message boxes answered from
// HostSimulator::ui, and each modal dialog handed to the test. Only
// executables that link this file export "FavoritesUiSeam"; a host that
// wants the real platform windows (the demo host) links hostsim_model alone.
#include <cstring>
#include <cwchar>

#include "host_simulator.h"
#include "ui_seam.h"

namespace hostsim {
namespace {

void notifyShow(const std::wstring& what) {
  HostSimulator* host = HostSimulator::active();
  if (host && host->ui.onShow) host->ui.onShow(what);
}

// The next path a picker answers, copied into out: 1, or 0 for a cancel
// (none left, an empty answer, or one that does not fit).
int takePath(std::deque<std::wstring>& answers, wchar_t* out, int outLen) {
  if (answers.empty()) return 0;
  const std::wstring answer = answers.front();
  answers.pop_front();
  if (answer.empty() || (int)answer.size() >= outLen) return 0;
  wcscpy(out, answer.c_str());
  return 1;
}

int seamMessageBox(HWND, const wchar_t* text, const wchar_t* caption, unsigned type) {
  HostSimulator* host = HostSimulator::active();
  if (!host) return IDNO;
  auto& ui = host->ui;
  ui.messageBoxTexts.push_back(std::wstring(caption ? caption : L"") + L"|" + (text ? text : L""));
  notifyShow(L"messagebox");
  if (ui.messageBoxes.empty()) return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDNO;
  const int answer = ui.messageBoxes.front();
  ui.messageBoxes.pop_front();
  return answer;
}

int seamBrowseForFolder(HWND, const wchar_t* title, unsigned, wchar_t* out, int outLen) {
  HostSimulator* host = HostSimulator::active();
  if (!host) return 0;
  auto& ui = host->ui;
  ui.folderTitles.push_back(title ? title : L"");
  notifyShow(L"folder");
  return takePath(ui.folders, out, outLen);
}

int seamOpenFiles(HWND, const wchar_t*, wchar_t* out, int outLen) {
  HostSimulator* host = HostSimulator::active();
  if (!host) return 0;
  auto& ui = host->ui;
  notifyShow(L"openfiles");
  if (ui.openFiles.empty()) return 0;
  const auto files = ui.openFiles.front();
  ui.openFiles.pop_front();
  std::wstring buf;
  for (const auto& f : files) buf += f + L'\0';
  buf += L'\0';
  if (files.empty() || (int)buf.size() > outLen) return 0;
  std::memcpy(out, buf.data(), buf.size() * sizeof(wchar_t));
  return (int)files.size();
}

void seamDialogShown(HWND dialog, const wchar_t* name) {
  HostSimulator* host = HostSimulator::active();
  if (!host) return;
  auto& ui = host->ui;
  const std::wstring n = name ? name : L"";
  ui.dialogsShown.push_back(n);
  if (ui.onDialog) {
    ui.onDialog(dialog, n);
  } else {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
}

int seamTaskDialog(HWND, const wchar_t* caption, const wchar_t* instruction, const wchar_t* content,
                   const wchar_t* const* buttons, int count) {
  HostSimulator* host = HostSimulator::active();
  if (!host) return -1;
  auto& ui = host->ui;
  std::wstring text = std::wstring(caption ? caption : L"") + L"|" + (instruction ? instruction : L"") +
                      L"|" + (content ? content : L"");
  for (int i = 0; i < count; ++i) text += L"|" + std::wstring(buttons[i] ? buttons[i] : L"");
  ui.taskDialogTexts.push_back(text);
  notifyShow(L"taskdialog");
  if (ui.taskDialogs.empty()) return -1;
  const int answer = ui.taskDialogs.front();
  ui.taskDialogs.pop_front();
  return answer;
}

int seamOpenFile(HWND, const wchar_t* title, const wchar_t* initialFolder, const wchar_t* filter,
                 wchar_t* out, int outLen) {
  HostSimulator* host = HostSimulator::active();
  if (!host) return 0;
  auto& ui = host->ui;
  UiAnswers::OpenFileAsked asked{title ? title : L"", initialFolder ? initialFolder : L"", {}};
  for (const wchar_t* p = filter; p && *p; p += wcslen(p) + 1) asked.filter.push_back(p);
  ui.openFileAsked.push_back(asked);
  notifyShow(L"openfile");
  return takePath(ui.openFile, out, outLen);
}

int seamSaveFile(HWND, const wchar_t* title, const wchar_t* initialFolder,
                 const wchar_t* defaultName, const wchar_t* filter, wchar_t* out, int outLen) {
  HostSimulator* host = HostSimulator::active();
  if (!host) return 0;
  auto& ui = host->ui;
  UiAnswers::SaveFileAsked asked{title ? title : L"", initialFolder ? initialFolder : L"",
                                 defaultName ? defaultName : L"", {}};
  for (const wchar_t* p = filter; p && *p; p += wcslen(p) + 1) asked.filter.push_back(p);
  ui.saveFileAsked.push_back(asked);
  notifyShow(L"savefile");
  return takePath(ui.saveFile, out, outLen);
}

int seamFileExists(const wchar_t* path) {
  HostSimulator* host = HostSimulator::active();
  if (!host || !host->ui.fileExists) return kSeamShowReal;
  return host->ui.fileExists(path ? path : L"");
}

FavoritesUiSeam gSeam{&seamMessageBox, &seamBrowseForFolder, &seamOpenFiles, &seamDialogShown,
                      &seamTaskDialog, &seamOpenFile, &seamFileExists, &seamSaveFile};

}  // namespace
}  // namespace hostsim

// The seam the plug-in looks up in its host process.
extern "C" __declspec(dllexport) struct FavoritesUiSeam* FavoritesUiSeam() { return &hostsim::gSeam; }

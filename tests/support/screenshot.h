// Saves what a window (or a screen rectangle) shows as a BMP when a screenshot
// folder is named in the environment, so a dialog's states can be looked at
// (convert to PNG outside). Nothing happens without that variable.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "screen_capture.h"

namespace testsupport {

inline void pumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Writes the screen rectangle r to file (a BMP).
inline void captureScreenRect(RECT r, const std::filesystem::path& file) {
  hostsim::saveScreenRect(r, file);
}

// The folder named by variable, or empty.
inline std::wstring screenshotFolder(const wchar_t* variable = L"FAV_SCREENSHOT_DIR") {
  const wchar_t* dir = _wgetenv(variable);
  return dir ? dir : L"";
}

inline void saveScreenshot(HWND window, const std::wstring& name) {
  const std::wstring dir = screenshotFolder();
  if (dir.empty() || !window) return;
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  pumpMessages();
  ::Sleep(150);
  pumpMessages();
  RECT r{};
  ::GetWindowRect(window, &r);
  captureScreenRect(r, std::filesystem::path(dir) / (name + L".bmp"));
}

}  // namespace testsupport

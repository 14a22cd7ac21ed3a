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

namespace testsupport {

inline void pumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Writes the screen rectangle r to folder\name.bmp.
inline void captureScreenRect(RECT r, const std::filesystem::path& file) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(memory, bmp);
  ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ::GdiFlush();
  const int stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
  fh.bfSize = fh.bfOffBits + stride * h;
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
  out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(bi.bmiHeader));
  out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * h);
  ::SelectObject(memory, old);
  ::DeleteObject(bmp);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
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

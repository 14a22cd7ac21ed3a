#include "screen_capture.h"

#include <fstream>

namespace hostsim {

bool saveScreenRect(const RECT& rect, const std::filesystem::path& bmpFile) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return false;
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
  bool ok = false;
  if (bmp && bits) {
    HGDIOBJ old = ::SelectObject(memory, bmp);
    ::BitBlt(memory, 0, 0, w, h, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride) * h;
    std::ofstream out(bmpFile, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&fh), sizeof(fh));
    out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(bi.bmiHeader));
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(stride) * h);
    ok = static_cast<bool>(out);
    ::SelectObject(memory, old);
  }
  if (bmp) ::DeleteObject(bmp);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return ok;
}

bool saveWindowShot(HWND window, const std::filesystem::path& bmpFile) {
  if (!window || !::IsWindow(window)) return false;
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  RECT r{};
  ::GetWindowRect(window, &r);
  return saveScreenRect(r, bmpFile);
}

}  // namespace hostsim

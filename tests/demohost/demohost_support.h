// A demo host over a package folder made for the test: a plug-in DLL (named
// favorites.dll, as the host expects) and the starter bitmaps.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "demo_window.h"
#include "temp_dir.h"

namespace demotest {

inline std::filesystem::path envPath(const wchar_t* name) {
  const wchar_t* v = _wgetenv(name);
  return v ? std::filesystem::path(v) : std::filesystem::path(L".");
}

inline std::filesystem::path makePackage(const testsupport::TempDir& dir, const std::filesystem::path& dll) {
  const auto package = dir / L"package";
  std::filesystem::create_directories(package);
  std::filesystem::copy_file(dll, package / L"favorites.dll");
  for (const auto& e : std::filesystem::directory_iterator(envPath(L"FAV_SOURCE_DIR") / L"resources" / L"package"))
    if (e.path().extension() == L".bmp") std::filesystem::copy_file(e.path(), package / e.path().filename());
  return package;
}

inline demohost::DemoOptions demoOptions(const testsupport::TempDir& dir, const std::filesystem::path& dll) {
  demohost::DemoOptions o;
  o.packageDir = makePackage(dir, dll);
  o.sampleDir = envPath(L"FAV_SOURCE_DIR") / L"tools" / L"demohost" / L"sample";
  o.scratchRoot = dir / L"scratch";
  o.quitOnClose = false;
  return o;
}

// The captions of a real menu, as the user sees them (no '&').
inline std::vector<std::wstring> captions(HMENU menu) {
  std::vector<std::wstring> out;
  for (int i = 0; menu && i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[512] = L"";
    ::GetMenuStringW(menu, i, text, 512, MF_BYPOSITION);
    out.push_back(demohost::withoutAmpersands(text));
  }
  return out;
}

// The popup at that caption path of a real menu bar, or null.
inline HMENU submenu(HMENU bar, const std::vector<std::wstring>& path) {
  HMENU menu = bar;
  for (const std::wstring& part : path) {
    const auto names = captions(menu);
    HMENU next = nullptr;
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == part) next = ::GetSubMenu(menu, static_cast<int>(i));
    if (!next) return nullptr;
    menu = next;
  }
  return menu;
}

inline void pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace demotest

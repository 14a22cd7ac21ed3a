// The captions of a tab control's tabs, in order.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::wstring> tabCaptions(HWND tab) {
  std::vector<std::wstring> out;
  const int n = static_cast<int>(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t buf[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buf;
    item.cchTextMax = 64;
    ::SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    out.push_back(buf);
  }
  return out;
}

}  // namespace testsupport

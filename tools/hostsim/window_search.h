// Finds a control anywhere under a window by its ID: GetDlgItem looks at
// direct children only, and some dialogs nest their controls in panels.
#pragma once

#include <windows.h>

namespace hostsim {

inline HWND findDescendant(HWND parent, int id) {
  struct Search {
    int id;
    HWND found;
  } search{id, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        if (::GetDlgCtrlID(child) != s->id) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace hostsim

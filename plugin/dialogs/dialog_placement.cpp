#include "dialog_placement.h"

#include <algorithm>

void centreOnWindow(HWND dialog, HWND around) {
  RECT self{};
  if (!::GetWindowRect(dialog, &self)) return;
  const RECT r = centredRect(SIZE{self.right - self.left, self.bottom - self.top}, around);
  ::SetWindowPos(dialog, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT centredRect(SIZE size, HWND around) {
  if (!around || !::IsWindow(around)) around = ::GetDesktopWindow();
  RECT area{};
  ::GetWindowRect(around, &area);
  const int width = size.cx;
  const int height = size.cy;
  int x = area.left + (area.right - area.left - width) / 2;
  int y = area.top + (area.bottom - area.top - height) / 2;
  MONITORINFO monitor{sizeof(monitor)};
  if (::GetMonitorInfoW(::MonitorFromWindow(around, MONITOR_DEFAULTTONEAREST), &monitor)) {
    const RECT& work = monitor.rcWork;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
  }
  return RECT{x, y, x + width, y + height};
}

void setClientSize(HWND dialog, int width, int height) {
  RECT frame{0, 0, width, height};
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE));
  ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  ::SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

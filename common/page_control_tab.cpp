#include "page_control_tab.h"

#include <commctrl.h>

#include "dialog_base.h"
#include "unique_handles.h"

void drawPageControlTab(HWND pageControl, HDC dc, int tabIndex, const RECT& rect, bool active) {
  if (!dc) return;
  // The highlight pair, not the button-highlight fill: white caption text on
  // a white fill would leave the active tab unreadable.
  ::FillRect(dc, &rect, ::GetSysColorBrush(active ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  if (tabIndex < 0 || !pageControl) return;

  wchar_t caption[256] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption;
  item.cchTextMax = 256;
  if (!::SendMessageW(pageControl, TCM_GETITEMW, static_cast<WPARAM>(tabIndex),
                      reinterpret_cast<LPARAM>(&item)))
    return;

  const UINT dpi = fav::windowDpi(pageControl);
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(pageControl, WM_GETFONT, 0, 0));
  fav::SelectObjectScope selectFont(dc, font ? static_cast<HGDIOBJ>(font)
                                             : ::GetStockObject(DEFAULT_GUI_FONT));
  const COLORREF oldColour =
      ::SetTextColor(dc, ::GetSysColor(active ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const int len = static_cast<int>(wcslen(item.pszText));
  ::ExtTextOutW(dc, rect.left + ::MulDiv(4, static_cast<int>(dpi), 96),
                rect.top + ::MulDiv(2, static_cast<int>(dpi), 96), ETO_CLIPPED, &rect,
                item.pszText, static_cast<UINT>(len), nullptr);
  ::SetBkMode(dc, oldMode);
  ::SetTextColor(dc, oldColour);
}

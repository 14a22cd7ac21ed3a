#include "log_pane.h"

namespace demohost {
namespace {
// The pane keeps the newest lines; a long session must not slow it down.
constexpr int kMaxShown = 4000;
}  // namespace

bool LogPane::create(HWND parent, int id, HFONT font) {
  font_ = font;
  hwnd_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT |
                                LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOSEL,
                            0, 0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  ::SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  ::SendMessageW(hwnd_, LB_SETHORIZONTALEXTENT, 2400, 0);
  return true;
}

void LogPane::add(Kind kind, const std::wstring& text) {
  static const wchar_t* const kPrefix[] = {L"", L"    ", L"-- ", L"!! "};
  std::wstring line = kPrefix[static_cast<int>(kind)] + text;
  if (kind == Kind::Callback && !lines_.empty() && text == lastCallback_) {
    line += L"  \x00D7" + std::to_wstring(++repeats_);
    lines_.back() = line;
    if (hwnd_) {
      const LRESULT last = ::SendMessageW(hwnd_, LB_GETCOUNT, 0, 0) - 1;
      if (last >= 0) {
        ::SendMessageW(hwnd_, LB_DELETESTRING, last, 0);
        ::SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        ::SendMessageW(hwnd_, LB_SETTOPINDEX, last, 0);
      }
    }
    return;
  }
  lastCallback_ = kind == Kind::Callback ? text : std::wstring();
  repeats_ = 1;
  lines_.push_back(line);
  if (kind == Kind::Fault) ++faults_;
  if (!hwnd_) return;
  if (::SendMessageW(hwnd_, LB_GETCOUNT, 0, 0) >= kMaxShown) ::SendMessageW(hwnd_, LB_DELETESTRING, 0, 0);
  const LRESULT at = ::SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  if (at >= 0) ::SendMessageW(hwnd_, LB_SETTOPINDEX, at, 0);
}

void LogPane::hold(bool on) {
  if (!hwnd_) return;
  ::SendMessageW(hwnd_, WM_SETREDRAW, on ? FALSE : TRUE, 0);
  if (!on) {
    const LRESULT count = ::SendMessageW(hwnd_, LB_GETCOUNT, 0, 0);
    if (count > 0) ::SendMessageW(hwnd_, LB_SETTOPINDEX, count - 1, 0);
    ::InvalidateRect(hwnd_, nullptr, TRUE);
  }
}

void LogPane::measure(MEASUREITEMSTRUCT& item) const {
  item.itemHeight = lineHeight_;
  if (HDC dc = ::GetDC(hwnd_)) {
    HGDIOBJ old = ::SelectObject(dc, font_);
    TEXTMETRICW tm{};
    if (::GetTextMetricsW(dc, &tm)) item.itemHeight = tm.tmHeight + 2;
    ::SelectObject(dc, old);
    ::ReleaseDC(hwnd_, dc);
  }
}

void LogPane::draw(const DRAWITEMSTRUCT& item) const {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const LRESULT len = ::SendMessageW(hwnd_, LB_GETTEXTLEN, item.itemID, 0);
  if (len < 0) return;
  std::wstring text(static_cast<size_t>(len) + 1, L'\0');
  ::SendMessageW(hwnd_, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(len));
  ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
  COLORREF color = ::GetSysColor(COLOR_WINDOWTEXT);
  if (text.rfind(L"!! ", 0) == 0) color = RGB(192, 0, 0);
  else if (text.rfind(L"    ", 0) == 0) color = RGB(0, 70, 140);
  else if (text.rfind(L"-- ", 0) == 0) color = RGB(96, 96, 96);
  ::SetTextColor(item.hDC, color);
  ::SetBkMode(item.hDC, TRANSPARENT);
  HGDIOBJ old = ::SelectObject(item.hDC, font_);
  RECT r = item.rcItem;
  r.left += 4;
  ::DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
  ::SelectObject(item.hDC, old);
}

}  // namespace demohost

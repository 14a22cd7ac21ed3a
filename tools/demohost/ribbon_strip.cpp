#include "ribbon_strip.h"

#include <algorithm>

namespace demohost {
namespace {

const wchar_t kClass[] = L"FavoritesDemoRibbon";
constexpr int kTabRow = 24;
constexpr int kGroupCaption = 18;
constexpr int kButtonTop = kTabRow + 6;
constexpr int kButtonHeight = RibbonStrip::kHeight - kTabRow - kGroupCaption - 10;
const COLORREF kFrame = RGB(210, 210, 214);

int textWidth(HDC dc, const std::wstring& text) {
  SIZE s{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &s);
  return s.cx;
}

// Room for the drop-down arrow is kept in the width.
std::wstring shownCaption(const RibbonButton& b) { return b.dropDown ? b.caption + L" ww" : b.caption; }

}  // namespace

bool RibbonStrip::create(HWND parent, HFONT font, int commandBase) {
  parent_ = parent;
  font_ = font;
  commandBase_ = commandBase;
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &RibbonStrip::proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    registered = ::RegisterClassW(&wc) != 0;
  }
  hwnd_ = ::CreateWindowExW(0, kClass, nullptr, WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 10, kHeight,
                            parent, nullptr, ::GetModuleHandleW(nullptr), this);
  return hwnd_ != nullptr;
}

void RibbonStrip::show(std::vector<RibbonGroup> groups, HIMAGELIST images, std::map<int, int> imageOf) {
  groups_ = std::move(groups);
  images_ = images;
  imageOf_ = std::move(imageOf);
  hot_ = -1;
  layout();
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

void RibbonStrip::layout() {
  boxes_.clear();
  HDC dc = ::GetDC(hwnd_);
  HGDIOBJ old = ::SelectObject(dc, font_);
  int x = 6;
  for (size_t g = 0; g < groups_.size(); ++g) {
    const int groupLeft = x;
    x += 4;
    for (size_t b = 0; b < groups_[g].buttons.size(); ++b) {
      const int w = std::clamp(textWidth(dc, shownCaption(groups_[g].buttons[b])) / 2 + 18, 64, 112);
      boxes_.push_back(Box{RECT{x, kButtonTop, x + w, kButtonTop + kButtonHeight}, static_cast<int>(g),
                           static_cast<int>(b)});
      x += w + 2;
    }
    x = std::max(x + 4, groupLeft + textWidth(dc, groups_[g].caption) + 16);
    boxes_.push_back(Box{RECT{groupLeft, kTabRow + 2, x, kHeight - 3}, static_cast<int>(g), -1});
    x += 6;
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd_, dc);
}

void RibbonStrip::paint(HDC dc) {
  RECT all;
  ::GetClientRect(hwnd_, &all);
  HBRUSH back = ::CreateSolidBrush(RGB(243, 243, 245));
  ::FillRect(dc, &all, back);
  ::DeleteObject(back);
  HGDIOBJ oldFont = ::SelectObject(dc, font_);
  ::SetBkMode(dc, TRANSPARENT);

  // The tab row: the host's tabs, ours selected.
  const wchar_t* tabs[] = {L"File", L"Session", L"Tools", L"Plug-Ins"};
  int tx = 8;
  for (int i = 0; i < 4; ++i) {
    const int w = textWidth(dc, tabs[i]) + 20;
    RECT t{tx, 3, tx + w, kTabRow + 1};
    if (i == 3) {
      ::FillRect(dc, &t, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
      HPEN pen = ::CreatePen(PS_SOLID, 1, kFrame);
      HGDIOBJ op = ::SelectObject(dc, pen);
      ::MoveToEx(dc, t.left, t.bottom, nullptr);
      ::LineTo(dc, t.left, t.top);
      ::LineTo(dc, t.right, t.top);
      ::LineTo(dc, t.right, t.bottom);
      ::SelectObject(dc, op);
      ::DeleteObject(pen);
    }
    ::SetTextColor(dc, i == 3 ? RGB(0, 84, 166) : RGB(60, 60, 60));
    ::DrawTextW(dc, tabs[i], -1, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    tx += w + 2;
  }
  RECT body{0, kTabRow + 1, all.right, all.bottom - 1};
  ::FillRect(dc, &body, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  HPEN framePen = ::CreatePen(PS_SOLID, 1, kFrame);
  HGDIOBJ oldPen = ::SelectObject(dc, framePen);
  ::MoveToEx(dc, 0, kTabRow + 1, nullptr);
  ::LineTo(dc, 8, kTabRow + 1);
  ::MoveToEx(dc, tx, kTabRow + 1, nullptr);
  ::LineTo(dc, all.right, kTabRow + 1);
  ::MoveToEx(dc, 0, all.bottom - 1, nullptr);
  ::LineTo(dc, all.right, all.bottom - 1);

  for (size_t i = 0; i < boxes_.size(); ++i) {
    const Box& box = boxes_[i];
    const RibbonGroup& group = groups_[box.group];
    if (box.button < 0) {
      RECT caption{box.rect.left, box.rect.bottom - kGroupCaption, box.rect.right, box.rect.bottom};
      ::SetTextColor(dc, RGB(96, 96, 96));
      ::DrawTextW(dc, group.caption.c_str(), -1, &caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      ::MoveToEx(dc, box.rect.right, box.rect.top + 4, nullptr);
      ::LineTo(dc, box.rect.right, box.rect.bottom - 4);
      continue;
    }
    const RibbonButton& button = group.buttons[box.button];
    if (static_cast<int>(i) == hot_) {
      HBRUSH hot = ::CreateSolidBrush(RGB(205, 230, 247));
      ::FillRect(dc, &box.rect, hot);
      ::DeleteObject(hot);
    }
    const int cx = (box.rect.left + box.rect.right) / 2;
    auto image = imageOf_.find(button.pluginIndex);
    if (images_ && image != imageOf_.end())
      ::ImageList_Draw(images_, image->second, dc, cx - 10, box.rect.top + 4, ILD_TRANSPARENT);
    else
      ::Rectangle(dc, cx - 10, box.rect.top + 4, cx + 10, box.rect.top + 24);
    RECT text{box.rect.left + 2, box.rect.top + 28, box.rect.right - 2, box.rect.bottom};
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::DrawTextW(dc, button.caption.c_str(), -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (button.dropDown) {
      // The arrow is drawn: not every font has a glyph for it.
      const POINT arrow[] = {{cx - 4, box.rect.bottom - 8}, {cx + 4, box.rect.bottom - 8}, {cx, box.rect.bottom - 4}};
      HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
      HGDIOBJ oldArrowPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
      ::Polygon(dc, arrow, 3);
      ::SelectObject(dc, oldArrowPen);
      ::SelectObject(dc, oldBrush);
    }
  }
  ::SelectObject(dc, oldPen);
  ::DeleteObject(framePen);
  ::SelectObject(dc, oldFont);
}

int RibbonStrip::hitTest(POINT p) const {
  for (size_t i = 0; i < boxes_.size(); ++i)
    if (boxes_[i].button >= 0 && ::PtInRect(&boxes_[i].rect, p)) return static_cast<int>(i);
  return -1;
}

void RibbonStrip::press(int boxIndex) {
  if (boxIndex < 0 || boxIndex >= static_cast<int>(boxes_.size())) return;
  const Box& box = boxes_[boxIndex];
  if (box.button < 0) return;
  const RibbonButton& button = groups_[box.group].buttons[box.button];
  if (!button.dropDown) {
    ::PostMessageW(parent_, WM_COMMAND, MAKEWPARAM(commandBase_ + button.pluginIndex, 0), 0);
    return;
  }
  HMENU menu = ::CreatePopupMenu();
  for (const RibbonEntry& e : button.items) {
    if (e.separator) ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    else ::AppendMenuW(menu, MF_STRING, commandBase_ + e.pluginIndex, e.caption.c_str());
  }
  if (button.items.empty()) ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, L"(empty)");
  POINT at{box.rect.left, box.rect.bottom};
  ::ClientToScreen(hwnd_, &at);
  hot_ = boxIndex;
  ::InvalidateRect(hwnd_, &box.rect, TRUE);
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, at.x, at.y, 0, parent_, nullptr);
  ::DestroyMenu(menu);
  hot_ = -1;
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

bool RibbonStrip::openDropDown(const std::wstring& caption) {
  for (size_t i = 0; i < boxes_.size(); ++i) {
    const Box& box = boxes_[i];
    if (box.button >= 0 && groups_[box.group].buttons[box.button].dropDown &&
        groups_[box.group].buttons[box.button].caption == caption) {
      press(static_cast<int>(i));
      return true;
    }
  }
  return false;
}

bool RibbonStrip::dropDownCentre(const std::wstring& caption, POINT& centre) const {
  for (const Box& box : boxes_) {
    if (box.button < 0) continue;
    const RibbonButton& b = groups_[box.group].buttons[box.button];
    if (b.dropDown && b.caption == caption) {
      centre = POINT{(box.rect.left + box.rect.right) / 2, (box.rect.top + box.rect.bottom) / 2};
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK RibbonStrip::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<RibbonStrip*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<RibbonStrip*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  try {
    if (self) return self->handle(msg, wp, lp);
  } catch (...) {
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT RibbonStrip::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd_, &ps);
      paint(dc);
      ::EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE: {
      const int hot = hitTest(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      if (hot != hot_) {
        hot_ = hot;
        ::InvalidateRect(hwnd_, nullptr, TRUE);
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd_, 0};
        ::TrackMouseEvent(&tme);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      hot_ = -1;
      ::InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_LBUTTONUP:
      press(hitTest(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))}));
      return 0;
    case WM_SIZE:
      ::InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
  }
  return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace demohost

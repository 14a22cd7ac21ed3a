#include "fra_pluginframe.h"

#include <cwchar>

#include "ascii_case.h"
#include "un_plugincommon.h"
#include "window_text.h"

namespace fav {
namespace {

constexpr wchar_t kPanelClass[] = L"FavoritesPanel";

LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    switch (msg) {
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORLISTBOX:
        if (HWND parent = ::GetParent(hwnd)) return ::SendMessageW(parent, msg, wp, lp);
        break;
      default:
        break;
    }
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  } catch (...) {
    return 0;
  }
}

}  // namespace

const wchar_t* panelClassName() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &panelProc;
    wc.hInstance = thisModule();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kPanelClass;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  (void)registered;
  return kPanelClass;
}

HWND createPanel(HWND parent, int id, const RECT& rect, DWORD extraStyle, const wchar_t* text) {
  return ::CreateWindowExW(WS_EX_CONTROLPARENT, panelClassName(), text,
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | extraStyle,
                           rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           thisModule(), nullptr);
}

}  // namespace fav

namespace {

enum class Kind { CheckBox, EditBox, ComboBox, Memo, Other };

Kind kindOf(HWND control) {
  wchar_t cls[32] = {};
  ::GetClassNameW(control, cls, 32);
  const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
  if (_wcsicmp(cls, L"Button") == 0) {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return Kind::CheckBox;
      default:
        return Kind::Other;
    }
  }
  if (_wcsicmp(cls, L"Edit") == 0) return (style & ES_MULTILINE) ? Kind::Memo : Kind::EditBox;
  if (_wcsicmp(cls, L"ComboBox") == 0) return Kind::ComboBox;
  return Kind::Other;
}

}  // namespace

bool Tfrapluginframe::create(HWND parent, int id) {
  if (window_) return true;
  RECT rect{0, 0, kDesignWidth, kDesignHeight};
  if (parent) ::GetClientRect(parent, &rect);
  window_.reset(fav::createPanel(parent, id, rect, WS_TABSTOP));
  return static_cast<bool>(window_);
}

void Tfrapluginframe::fillParent() {
  HWND parent = window_ ? ::GetParent(window_.get()) : nullptr;
  if (!parent) return;
  RECT rect{};
  ::GetClientRect(parent, &rect);
  ::MoveWindow(window_.get(), 0, 0, rect.right, rect.bottom, TRUE);
}

HWND Tfrapluginframe::addControl(const std::wstring& name, const wchar_t* windowClass, DWORD style,
                                 const RECT& rect, const std::wstring& text, int id) {
  if (!window_) return nullptr;
  HWND control = ::CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                   rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top, window_.get(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::thisModule(), nullptr);
  if (!control) return nullptr;
  if (HFONT font = reinterpret_cast<HFONT>(
          ::SendMessageW(::GetParent(window_.get()), WM_GETFONT, 0, 0)))
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  controls_.emplace_back(name, control);
  return control;
}

HWND Tfrapluginframe::findControl(const std::wstring& name) const {
  for (const auto& [controlName, control] : controls_)
    if (fav::equalsIgnoringAsciiCase(controlName, name))
      return ::IsWindow(control) ? control : nullptr;
  return nullptr;
}

bool Tfrapluginframe::setSetting(const std::wstring& name, const SettingValue& value) {
  HWND control = findControl(name);
  if (!control) return false;
  switch (kindOf(control)) {
    case Kind::CheckBox: {
      const std::optional<bool> checked = value.toBool();
      if (!checked) return false;
      ::SendMessageW(control, BM_SETCHECK, *checked ? BST_CHECKED : BST_UNCHECKED, 0);
      return true;
    }
    case Kind::EditBox:
    case Kind::Memo:
      return ::SetWindowTextW(control, value.toText().c_str()) != FALSE;
    case Kind::ComboBox: {
      const std::optional<std::int32_t> index = value.toInt();
      if (!index) return false;
      ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(*index), 0);
      return true;
    }
    case Kind::Other:
      return false;
  }
  return false;
}

void Tfrapluginframe::setItems(const std::wstring& name, const std::vector<std::wstring>& items) {
  HWND control = findControl(name);
  if (!control || kindOf(control) != Kind::ComboBox) return;
  ::SendMessageW(control, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& item : items)
    ::SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

SettingValue Tfrapluginframe::readSetting(const std::wstring& name) const {
  HWND control = findControl(name);
  if (!control) return {};
  switch (kindOf(control)) {
    case Kind::CheckBox:
      return ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    case Kind::EditBox:
    case Kind::Memo:
      return fav::windowText(control);
    case Kind::ComboBox:
      return static_cast<std::int32_t>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
    case Kind::Other:
      break;
  }
  return {};
}

SettingValue Tfrapluginframe::readValue(const std::wstring& name) const {
  HWND control = findControl(name);
  if (!control) return {};
  switch (kindOf(control)) {
    case Kind::CheckBox:
      return ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    case Kind::EditBox:
    case Kind::ComboBox:
      return fav::windowText(control);
    case Kind::Memo:
    case Kind::Other:
      break;
  }
  return {};
}

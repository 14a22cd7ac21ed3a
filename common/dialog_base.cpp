#include "dialog_base.h"

#include <algorithm>
#include <exception>

#include "ui_seam.h"
#include "un_plugincommon.h"
#include "window_text.h"

namespace fav {
namespace {

constexpr UINT kShownMessage = WM_APP + 0x3F0;

using SetThreadDpiAwarenessContextFn = void*(WINAPI*)(void*);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

template <typename Fn>
Fn user32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
                : nullptr;
}

}  // namespace

ActivationContextScope::ActivationContextScope() {
  static HANDLE context = [] {
    ACTCTXW ctx{};
    ctx.cbSize = sizeof(ctx);
    ctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.hModule = thisModule();
    ctx.lpResourceName = MAKEINTRESOURCEW(2);
    return ::CreateActCtxW(&ctx);
  }();
  if (context != INVALID_HANDLE_VALUE) active_ = ::ActivateActCtx(context, &cookie_) != FALSE;
}

ActivationContextScope::~ActivationContextScope() {
  if (active_) ::DeactivateActCtx(0, cookie_);
}

DpiAwarenessScope::DpiAwarenessScope() {
  static const auto setContext =
      user32Function<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (setContext) previous_ = setContext(reinterpret_cast<void*>(static_cast<INT_PTR>(-4)));
}

DpiAwarenessScope::~DpiAwarenessScope() {
  static const auto setContext =
      user32Function<SetThreadDpiAwarenessContextFn>("SetThreadDpiAwarenessContext");
  if (setContext && previous_) setContext(previous_);
}

HWND hostOwnerWindow() {
  HWND active = ::GetActiveWindow();
  if (!active) return nullptr;
  HWND root = ::GetAncestor(active, GA_ROOTOWNER);
  return root ? root : active;
}

UINT windowDpi(HWND hwnd) {
  static const auto getDpi = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpi && hwnd) {
    const UINT dpi = getDpi(hwnd);
    if (dpi) return dpi;
  }
  HDC dc = ::GetDC(hwnd);
  const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ::ReleaseDC(hwnd, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

DialogBase::~DialogBase() {
  if (hwnd_) {
    HWND h = hwnd_;
    hwnd_ = nullptr;
    ::SetWindowLongPtrW(h, DWLP_USER, 0);
    ::DestroyWindow(h);
  }
}

INT_PTR DialogBase::showModal(int templateId, HWND owner) {
  if (!create(templateId, owner)) return IDCANCEL;
  return runModal();
}

bool DialogBase::create(int templateId, HWND owner) {
  if (hwnd_) return true;
  ActivationContextScope themed;
  DpiAwarenessScope perMonitor;
  owner_ = owner;
  HWND dialog = ::CreateDialogParamW(thisModule(), MAKEINTRESOURCEW(templateId), owner,
                                     &DialogBase::dialogProc, reinterpret_cast<LPARAM>(this));
  return dialog != nullptr && hwnd_ != nullptr;
}

INT_PTR DialogBase::runModal() {
  if (!hwnd_) return IDCANCEL;
  ActivationContextScope themed;
  DpiAwarenessScope perMonitor;
  done_ = false;
  result_ = IDCANCEL;
  HWND dialog = hwnd_;
  HWND owner = owner_;

  const bool disableOwner = owner && ::IsWindowEnabled(owner);
  if (disableOwner) ::EnableWindow(owner, FALSE);
  ::ShowWindow(dialog, SW_SHOW);
  ::PostMessageW(dialog, kShownMessage, 0, 0);

  MSG msg;
  bool quit = false;
  while (!done_) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      break;
    }
    if (got < 0) break;
    if (translateShortcut(msg)) continue;
    if (hwnd_ && ::IsDialogMessageW(hwnd_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  // The owner is enabled before we go, so activation returns to it.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (hwnd_) {
    HWND h = hwnd_;
    ::DestroyWindow(h);
    hwnd_ = nullptr;
  }
  if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
  return result_;
}

void DialogBase::endDialog(INT_PTR result) {
  result_ = result;
  done_ = true;
  // Wakes the loop when we are called from outside a message.
  if (hwnd_) ::PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool DialogBase::onCommand(int id, int, HWND) {
  if (id == IDCANCEL) {
    endDialog(IDCANCEL);
    return true;
  }
  return false;
}

bool DialogBase::onNotify(NMHDR*, LRESULT&) { return false; }

INT_PTR DialogBase::onMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

bool DialogBase::isCommandEnabled(int command) const {
  HWND control = item(command);
  return !control || ::IsWindowEnabled(control);
}

bool DialogBase::translateShortcut(const MSG& msg) {
  if (!hwnd_ || shortcuts_.empty()) return false;
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  if (msg.hwnd != hwnd_ && !::IsChild(hwnd_, msg.hwnd)) return false;
  const bool alt = (::GetKeyState(VK_MENU) & 0x8000) != 0;
  const bool ctrl = (::GetKeyState(VK_CONTROL) & 0x8000) != 0;
  const bool shift = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
  for (const Shortcut& s : shortcuts_) {
    if (s.virtualKey != msg.wParam || s.alt != alt || s.ctrl != ctrl || s.shift != shift) continue;
    if (!wantsShortcut(msg, s)) return false;
    // A shortcut obeys its command's enabled rule; a disabled one is swallowed.
    if (isCommandEnabled(s.command))
      ::SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(s.command, 0), 0);
    return true;
  }
  return false;
}

void DialogBase::setHintText(const std::wstring& text) {
  if (hintPanel_ && hintText() != text) {
    ::SetWindowTextW(hintPanel_, text.c_str());
    // Owner-drawn panels are not repainted by a new text on their own.
    ::InvalidateRect(hintPanel_, nullptr, TRUE);
  }
}

std::wstring DialogBase::hintText() const { return fav::windowText(hintPanel_); }

int DialogBase::scale(int designPixels) const { return ::MulDiv(designPixels, dpi_, 96); }

INT_PTR CALLBACK DialogBase::dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    DialogBase* self;
    if (msg == WM_INITDIALOG) {
      self = reinterpret_cast<DialogBase*>(lp);
      ::SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
      self->hwnd_ = hwnd;
      self->dpi_ = windowDpi(hwnd);
    } else {
      self = reinterpret_cast<DialogBase*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    return self->handle(msg, wp, lp);
  } catch (...) {
    // Nothing escapes into the host; the dialog carries on.
    return FALSE;
  }
}

INT_PTR DialogBase::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      return onInit() ? TRUE : FALSE;
    case WM_COMMAND:
      return onCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)) ? TRUE : FALSE;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (!onNotify(reinterpret_cast<NMHDR*>(lp), result)) break;
      ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
      return TRUE;
    }
    case WM_SETCURSOR: {
      HWND over = reinterpret_cast<HWND>(wp);
      if (over != lastHintControl_) {
        const HWND left = lastHintControl_;
        lastHintControl_ = over;
        auto it = hints_.find(over);
        if (it != hints_.end())
          setHintText(it->second);
        else if (std::find(clearOnLeave_.begin(), clearOnLeave_.end(), left) != clearOnLeave_.end())
          setHintText(L"");
      }
      break;
    }
    case WM_DPICHANGED:
      dpi_ = HIWORD(wp);
      break;
    case kShownMessage:
      onShown();
      notifyDialogShown(hwnd_, name());
      return TRUE;
    case WM_DESTROY:
      onDestroy();
      break;
    case WM_NCDESTROY:
      // Whoever destroyed the window, we no longer hold it.
      hwnd_ = nullptr;
      return FALSE;
    default:
      break;
  }
  bool handled = false;
  const INT_PTR result = onMessage(msg, wp, lp, handled);
  // These few messages answer through the return value itself.
  const bool direct = (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) ||
                      msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM ||
                      msg == WM_QUERYDRAGICON;
  if (handled && direct) return result;
  if (handled) {
    ::SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
  }
  return FALSE;
}

}  // namespace fav

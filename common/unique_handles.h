// RAII owners for the Win32 handles this project uses. One template, one
// traits type per handle kind, so every handle is closed on every path.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>

namespace fav {

template <typename Traits>
class unique_handle {
 public:
  using H = typename Traits::Handle;

  unique_handle() = default;
  explicit unique_handle(H h) noexcept : h_(h) {}
  unique_handle(const unique_handle&) = delete;
  unique_handle& operator=(const unique_handle&) = delete;
  unique_handle(unique_handle&& o) noexcept : h_(o.release()) {}
  unique_handle& operator=(unique_handle&& o) noexcept {
    if (this != &o) reset(o.release());
    return *this;
  }
  ~unique_handle() { reset(); }

  H get() const noexcept { return h_; }
  explicit operator bool() const noexcept { return valid(h_); }
  H release() noexcept {
    H h = h_;
    h_ = Traits::invalid();
    return h;
  }
  void reset(H h = Traits::invalid()) noexcept {
    if (valid(h_)) Traits::close(h_);
    h_ = h;
  }
  // For out-parameters of APIs that fill a handle.
  H* put() noexcept {
    reset();
    return &h_;
  }

 private:
  static bool valid(H h) noexcept { return h != Traits::invalid() && h != H{}; }
  H h_ = Traits::invalid();
};

namespace traits {
template <typename T, auto Close>
struct NullIsInvalid {
  using Handle = T;
  static T invalid() noexcept { return T{}; }
  static void close(T h) noexcept { Close(h); }
};
template <auto Close>
struct MinusOneIsInvalid {
  using Handle = HANDLE;
  static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE h) noexcept { Close(h); }
};
inline void closeHandle(HANDLE h) noexcept { ::CloseHandle(h); }
inline void findClose(HANDLE h) noexcept { ::FindClose(h); }
inline void regCloseKey(HKEY h) noexcept { ::RegCloseKey(h); }
template <typename T>
inline void deleteObject(T h) noexcept { ::DeleteObject(h); }
inline void destroyIcon(HICON h) noexcept { ::DestroyIcon(h); }
inline void destroyMenu(HMENU h) noexcept { ::DestroyMenu(h); }
inline void destroyWindow(HWND h) noexcept { ::DestroyWindow(h); }
inline void freeLibrary(HMODULE h) noexcept { ::FreeLibrary(h); }
inline void imageListDestroy(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
inline void deleteDC(HDC h) noexcept { ::DeleteDC(h); }
}  // namespace traits

using unique_file = unique_handle<traits::MinusOneIsInvalid<traits::closeHandle>>;
using unique_find = unique_handle<traits::MinusOneIsInvalid<traits::findClose>>;
using unique_kernel_handle = unique_handle<traits::NullIsInvalid<HANDLE, traits::closeHandle>>;
using unique_hkey = unique_handle<traits::NullIsInvalid<HKEY, traits::regCloseKey>>;
using unique_hfont = unique_handle<traits::NullIsInvalid<HFONT, traits::deleteObject<HFONT>>>;
using unique_hbitmap = unique_handle<traits::NullIsInvalid<HBITMAP, traits::deleteObject<HBITMAP>>>;
using unique_hbrush = unique_handle<traits::NullIsInvalid<HBRUSH, traits::deleteObject<HBRUSH>>>;
using unique_hpen = unique_handle<traits::NullIsInvalid<HPEN, traits::deleteObject<HPEN>>>;
using unique_hicon = unique_handle<traits::NullIsInvalid<HICON, traits::destroyIcon>>;
using unique_hmenu = unique_handle<traits::NullIsInvalid<HMENU, traits::destroyMenu>>;
using unique_hwnd = unique_handle<traits::NullIsInvalid<HWND, traits::destroyWindow>>;
using unique_module = unique_handle<traits::NullIsInvalid<HMODULE, traits::freeLibrary>>;
using unique_imagelist = unique_handle<traits::NullIsInvalid<HIMAGELIST, traits::imageListDestroy>>;
using unique_hdc = unique_handle<traits::NullIsInvalid<HDC, traits::deleteDC>>;

// Memory the shell hands out with CoTaskMemAlloc.
struct CoTaskMemDeleter {
  void operator()(void* p) const noexcept { ::CoTaskMemFree(p); }
};
template <typename T>
using unique_cotaskmem = std::unique_ptr<T, CoTaskMemDeleter>;

// Selects a GDI object into a DC for one scope.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(::SelectObject(dc, obj)) {}
  ~SelectObjectScope() {
    if (old_) ::SelectObject(dc_, old_);
  }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace fav

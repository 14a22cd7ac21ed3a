#include "window_text.h"

namespace fav {

std::wstring windowText(HWND window) {
  const int length = window ? ::GetWindowTextLengthW(window) : 0;
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

}  // namespace fav

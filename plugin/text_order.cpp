#include "text_order.h"

#include <windows.h>

int compareTextLocale(const std::wstring& a, const std::wstring& b) {
  const int r = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(),
                                 static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()));
  if (r == 0) return a.compare(b);  // comparison refused: keep a total order anyway
  return r - CSTR_EQUAL;
}

bool containsIgnoringCase(const std::wstring& text, const std::wstring& part) {
  if (part.empty()) return true;
  if (text.size() < part.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i)
    if (::CompareStringOrdinal(text.c_str() + i, static_cast<int>(part.size()), part.c_str(),
                               static_cast<int>(part.size()), TRUE) == CSTR_EQUAL)
      return true;
  return false;
}

std::wstring foldedForMatch(const std::wstring& text) {
  if (text.empty()) return text;
  std::wstring folded(text.size(), L'\0');
  const int n = ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.c_str(),
                                static_cast<int>(text.size()), folded.data(),
                                static_cast<int>(folded.size()), nullptr, nullptr, 0);
  if (n != static_cast<int>(text.size())) return text;  // refused: compare as written
  return folded;
}

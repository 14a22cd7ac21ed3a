// The text comparisons of plugin/text_order.h for the native build, where
// there is no system to ask: letters folded one by one, then ordinal.
#include "text_order.h"

#include <cwctype>

namespace {

wchar_t folded(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); }

}  // namespace

int compareTextLocale(const std::wstring& a, const std::wstring& b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i)
    if (folded(a[i]) != folded(b[i])) return folded(a[i]) < folded(b[i]) ? -1 : 1;
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return 0;  // equal but for case, as the system says
}

bool containsIgnoringCase(const std::wstring& text, const std::wstring& part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < part.size() && folded(text[i + k]) == folded(part[k])) ++k;
    if (k == part.size()) return true;
  }
  return false;
}

std::wstring foldedForMatch(const std::wstring& text) {
  std::wstring out = text;
  for (wchar_t& c : out) c = folded(c);
  return out;
}

#include "main_menu_items.h"

#include <cwctype>

namespace {

bool isTrimmed(wchar_t c) { return c <= L' '; }

std::wstring folded(const std::wstring& text) {
  std::wstring out = text;
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return out;
}

}  // namespace

std::vector<std::wstring> mainMenuEntries(const std::wstring& names) {
  std::vector<std::wstring> entries;
  size_t start = 0;
  while (start < names.size()) {
    size_t end = names.find(L"\r\n", start);
    const bool last = end == std::wstring::npos;
    if (last) end = names.size();
    const std::wstring line = names.substr(start, end - start);
    if (line.empty() || (!isTrimmed(line.front()) && !isTrimmed(line.back())))
      entries.push_back(line);
    if (last) break;
    start = end + 2;
  }
  return entries;
}

int findMainMenuEntry(const std::vector<std::wstring>& entries, const std::wstring& value) {
  const std::wstring wanted = folded(value);
  for (size_t i = 0; i < entries.size(); ++i)
    if (folded(entries[i]) == wanted) return static_cast<int>(i);
  return -1;
}

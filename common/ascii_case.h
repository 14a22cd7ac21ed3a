// Letter case as the settings file sees it: only A-Z and a-z are folded, so
// no locale decides whether two names (or two paths) are the same. No
// Windows headers.
#pragma once

#include <string>
#include <string_view>

namespace fav {

constexpr wchar_t asciiLower(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// Inline: the settings reader compares every name it looks up with these.
inline bool equalsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

inline bool startsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view head) {
  return text.size() >= head.size() && equalsIgnoringAsciiCase(text.substr(0, head.size()), head);
}

// Where part first occurs in text at or after from, ignoring ASCII letter
// case; npos when it does not.
size_t findIgnoringAsciiCase(std::wstring_view text, std::wstring_view part, size_t from = 0);

enum class LetterCase { Exact, IgnoreAscii };

// Every occurrence of from in text replaced with to, left to right, each
// match starting after the previous one. An empty from changes nothing.
std::wstring replaceAll(std::wstring_view text, std::wstring_view from, std::wstring_view to,
                        LetterCase match);

}  // namespace fav

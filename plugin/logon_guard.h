// Which logons ask first: the database patterns of "Ask before logon to"
// ("PROD*;*_P") and the question's text. No Windows headers, so the rules
// run natively in the core's table tests as they run in the plug-in.
#pragma once

#include <string>
#include <string_view>

#include "ascii_case.h"

namespace logon {

// Whole-text match of one pattern: "*" any text (none too), "?" any one
// character, the rest itself ignoring ASCII letter case (as the settings
// file compares names). Greedy with one back-track point,
// so the time stays bounded by text length times pattern length.
inline bool matchesPattern(std::wstring_view text, std::wstring_view pattern) {
  size_t t = 0, p = 0;
  size_t starP = std::wstring_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;
      starT = t;
    } else if (p < pattern.size() &&
               (pattern[p] == L'?' || fav::asciiLower(pattern[p]) == fav::asciiLower(text[t]))) {
      ++p;
      ++t;
    } else if (starP != std::wstring_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

// Whether database matches one of the ";"-separated patterns. Blanks around
// a pattern are not part of it ("PROD*; *_P"); empty patterns match nothing.
inline bool matchesAnyPattern(std::wstring_view database, std::wstring_view patterns) {
  size_t from = 0;
  while (from <= patterns.size()) {
    size_t end = patterns.find(L';', from);
    if (end == std::wstring_view::npos) end = patterns.size();
    std::wstring_view one = patterns.substr(from, end - from);
    while (!one.empty() && (one.front() == L' ' || one.front() == L'\t')) one.remove_prefix(1);
    while (!one.empty() && (one.back() == L' ' || one.back() == L'\t')) one.remove_suffix(1);
    if (!one.empty() && matchesPattern(database, one)) return true;
    from = end + 1;
  }
  return false;
}

// The question asked before such a logon. mode is the connect-as text the
// logon uses; without one the question names none.
inline std::wstring question(const std::wstring& user, const std::wstring& database,
                             const std::wstring& mode) {
  std::wstring text = L"Log on to " + user + L"@" + database;
  if (!mode.empty()) text += L" as " + mode;
  return text + L"?";
}

}  // namespace logon

// A text as a failure message can show it: printable ASCII as it is, every
// other character as \uXXXX, long texts cut with their length. No Windows
// headers, so the native core tests use it too.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace testsupport {

inline std::string show(std::wstring_view s, size_t max = 80) {
  std::string out;
  for (size_t i = 0; i < s.size() && i < max; ++i) {
    const wchar_t c = s[i];
    if (c >= 32 && c < 127) {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[16];
      std::snprintf(hex, sizeof hex, "\\u%04x", static_cast<unsigned>(c));
      out += hex;
    }
  }
  if (s.size() > max) out += "...(" + std::to_string(s.size()) + " chars)";
  return out;
}

}  // namespace testsupport

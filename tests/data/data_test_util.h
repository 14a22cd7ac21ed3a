// Helpers shared by the data tests: readable texts in failure messages and a
// key-by-key comparison of two settings files through the platform's reader.
#pragma once

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform_profile.h"
#include "shown_text.h"

namespace datatest {

// A byte string literal with its NULs, without the terminator.
template <size_t N>
std::string bytesOf(const char (&s)[N]) {
  return std::string(s, N - 1);
}

using testsupport::show;

inline std::wstring upper(std::wstring s) {
  for (wchar_t& c : s)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return s;
}

inline void addUnique(std::vector<std::wstring>& list, const std::wstring& name) {
  if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

// Every section and key either file holds (as the platform lists them) plus
// the extra names, read from both files through the platform: each difference
// in the lists of names or in a value is one line of the result.
inline std::vector<std::string> compareThroughPlatform(const std::wstring& expected,
                                                       const std::wstring& actual,
                                                       const std::vector<std::wstring>& extraKeys = {}) {
  std::vector<std::string> diffs;
  const auto sectionsE = platform::sectionNames(expected);
  const auto sectionsA = platform::sectionNames(actual);
  if (sectionsE != sectionsA) diffs.push_back("section lists differ");
  std::vector<std::wstring> sections = sectionsE;
  for (const auto& s : sectionsA) addUnique(sections, s);
  for (const auto& section : sections) {
    const auto keysE = platform::keyNames(expected, section);
    const auto keysA = platform::keyNames(actual, section);
    if (keysE != keysA) diffs.push_back(std::string("key lists of [").append(show(section)).append("] differ"));
    std::vector<std::wstring> keys = keysE;
    for (const auto& k : keysA) addUnique(keys, k);
    for (const auto& k : extraKeys) addUnique(keys, k);
    for (const auto& key : keys) {
      const std::wstring e = platform::readText(expected, section, key, L"<missing>");
      const std::wstring a = platform::readText(actual, section, key, L"<missing>");
      if (e != a) {
        std::string line = "[";
        line.append(show(section)).append("] ").append(show(key)).append(": expected '");
        line.append(show(e)).append("', got '").append(show(a)).append("'");
        diffs.push_back(std::move(line));
      }
    }
  }
  return diffs;
}

inline std::string joined(const std::vector<std::string>& lines, size_t max = 25) {
  std::string out;
  for (size_t i = 0; i < lines.size() && i < max; ++i) out += lines[i] + "\n";
  if (lines.size() > max) out += "... " + std::to_string(lines.size() - max) + " more\n";
  return out;
}

}  // namespace datatest

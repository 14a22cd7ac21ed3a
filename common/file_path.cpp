#include "file_path.h"

#include <cwctype>

#include "ascii_case.h"

namespace fav {

std::wstring joinPath(std::wstring_view folder, std::wstring_view name) {
  std::wstring out(folder);
  if (!out.empty() && out.back() != L'\\' && out.back() != L'/') out += L'\\';
  return out.append(name);
}

std::wstring expandPathMarker(std::wstring_view fileName, std::wstring_view replacement) {
  return replaceAll(fileName, kPathMarker, replacement, LetterCase::Exact);
}

std::wstring toPathMarkerForm(std::wstring fileName, std::wstring_view replacement) {
  if (replacement == kNoReplacementPath || replacement.empty() ||
      findIgnoringAsciiCase(fileName, replacement) == std::wstring_view::npos)
    return fileName;
  return replaceAll(fileName, replacement, kPathMarker, LetterCase::IgnoreAscii);
}

std::wstring sameFileKey(std::wstring_view fileName, std::wstring_view replacement) {
  std::wstring key = expandPathMarker(fileName, replacement);
  for (wchar_t& c : key) c = static_cast<wchar_t>(std::towlower(c));
  return key;
}

}  // namespace fav

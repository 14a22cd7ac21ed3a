#include "icon_files.h"

#include <windows.h>

#include <algorithm>

#include "file_path.h"
#include "unique_handles.h"

namespace dialogs {

namespace {

int compareNoCase(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength) {
  return ::CompareStringOrdinal(a, static_cast<int>(aLength), b, static_cast<int>(bLength), TRUE);
}

bool startsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() &&
         compareNoCase(text.c_str(), prefix.size(), prefix.c_str(), prefix.size()) == CSTR_EQUAL;
}

bool endsWithNoCase(const std::wstring& text, const std::wstring& suffix) {
  return text.size() >= suffix.size() &&
         compareNoCase(text.c_str() + text.size() - suffix.size(), suffix.size(), suffix.c_str(),
                       suffix.size()) == CSTR_EQUAL;
}

}  // namespace

std::vector<std::wstring> listIconFiles(const std::wstring& folder, const std::wstring& prefix) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  fav::unique_find find{::FindFirstFileExW(fav::joinPath(folder, prefix + L"*.bmp").c_str(),
                                           FindExInfoBasic, &found, FindExSearchNameMatch,
                                           nullptr, 0)};
  if (!find) return names;
  constexpr DWORD kLeftOut =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if (found.dwFileAttributes & kLeftOut) continue;
    const std::wstring name = found.cFileName;
    // The pattern also matches short names and longer extensions.
    if (startsWithNoCase(name, prefix) && endsWithNoCase(name, L".bmp")) names.push_back(name);
  } while (::FindNextFileW(find.get(), &found));
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    const int c = compareNoCase(a.c_str(), a.size(), b.c_str(), b.size());
    return c == CSTR_LESS_THAN || (c == CSTR_EQUAL && a < b);
  });
  return names;
}

}  // namespace dialogs

#include "favorite_files.h"

#include <windows.h>

#include <algorithm>

#include "ascii_case.h"
#include "file_path.h"
#include "text_codec.h"
#include "text_order.h"
#include "unique_handles.h"

namespace favfiles {

const char* const kObjectTypes[10] = {
    "FUNCTION", "PROCEDURE", "TRIGGER", "PACKAGE", "PACKAGE BODY", "PACKAGE SPEC AND BODY",
    "TYPE", "TYPE BODY", "TYPE SPEC AND BODY", "JAVA SOURCE"};

namespace {

bool isAbsolute(const std::wstring& path) {
  return (path.size() >= 2 && path[1] == L':') || path.starts_with(L"\\\\");
}

}  // namespace

std::vector<std::wstring> splitExtensions(std::string_view hostText) {
  std::vector<std::wstring> pieces;
  size_t start = 0;
  for (size_t comma = hostText.find(','); comma != std::string_view::npos;
       comma = hostText.find(',', start)) {
    pieces.push_back(fav::toWide(hostText.substr(start, comma - start)));
    start = comma + 1;
  }
  if (start < hostText.size()) pieces.push_back(fav::toWide(hostText.substr(start)));
  return pieces;
}

std::vector<std::wstring> GetTypeExtensions(const std::string& objectType,
                                            const ExtensionsForType& host) {
  if (!host) return {};
  return splitExtensions(host(objectType));
}

std::vector<std::wstring> collectTypeExtensions(const ExtensionsForType& host) {
  std::vector<std::wstring> all;
  for (const char* type : kObjectTypes) {
    std::vector<std::wstring> pieces = GetTypeExtensions(type, host);
    all.insert(all.end(), pieces.begin(), pieces.end());
  }
  return all;
}

std::vector<std::wstring> listPlainFiles(const std::wstring& folder) {
  std::vector<std::wstring> names;
  if (folder.empty()) return names;
  WIN32_FIND_DATAW data;
  fav::unique_find find(::FindFirstFileExW(fav::joinPath(folder, L"*").c_str(), FindExInfoBasic,
                                           &data, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return names;
  constexpr DWORD kLeftOut =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if (data.dwFileAttributes & kLeftOut) continue;
    names.emplace_back(data.cFileName);
  } while (::FindNextFileW(find.get(), &data));
  std::stable_sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return compareTextLocale(a, b) < 0;
  });
  for (std::wstring& name : names) name = fav::joinPath(folder, name);
  return names;
}

std::vector<std::wstring> splitNullList(const wchar_t* buffer, size_t capacity) {
  std::vector<std::wstring> entries;
  if (!buffer) return entries;
  size_t i = 0;
  while (i < capacity && buffer[i] != L'\0') {
    size_t end = i;
    while (end < capacity && buffer[end] != L'\0') ++end;
    entries.emplace_back(buffer + i, end - i);
    i = end + 1;
  }
  return entries;
}

std::vector<std::wstring> openFileDialogPaths(const std::vector<std::wstring>& entries) {
  if (entries.size() <= 1) return entries;
  // Several entries: a folder and names in it (names are never absolute).
  if (isAbsolute(entries[1])) return entries;
  std::vector<std::wstring> paths;
  for (size_t i = 1; i < entries.size(); ++i)
    paths.push_back(fav::joinPath(entries[0], entries[i]));
  return paths;
}

}  // namespace favfiles

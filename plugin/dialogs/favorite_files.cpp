#include "favorite_files.h"

#include <windows.h>

#include <algorithm>
#include <unordered_set>

#include "ascii_case.h"
#include "file_path.h"
#include "text_codec.h"
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

std::wstring extensionOf(const std::wstring& fileName) {
  const size_t dot = fileName.find_last_of(L".\\/:");
  if (dot == std::wstring::npos || fileName[dot] != L'.') return {};
  return fileName.substr(dot + 1);
}

int FileTypeOf(const std::wstring& fileName, const std::vector<std::wstring>& extensions) {
  const std::wstring extension = extensionOf(fileName);
  if (extension.empty()) return 0;
  const bool listed =
      std::any_of(extensions.begin(), extensions.end(), [&](const std::wstring& e) {
        return fav::equalsIgnoringAsciiCase(e, extension);
      });
  return listed ? 3 : 0;
}

bool FavoriteExists(const TFavoriteItems& favorites, const std::wstring& fileName) {
  for (int i = 0; i < favorites.Count(); ++i)
    if (favorites.Items(i).FileName() == fileName) return true;
  return false;
}

AddOutcome addFavoriteFiles(TFavoriteItems& favorites, const std::vector<std::wstring>& paths,
                            const AddRules& rules) {
  AddOutcome outcome;
  // The names stored so far, as FavoriteExists compares them (a folder of a
  // thousand files would otherwise compare each with every other).
  std::unordered_set<std::wstring> stored;
  stored.reserve(static_cast<size_t>(favorites.Count()) + paths.size());
  for (int i = 0; i < favorites.Count(); ++i) stored.insert(favorites.Items(i).FileName());
  for (const std::wstring& path : paths) {
    if (path.empty()) continue;
    if (rules.fitsCodePage && !rules.fitsCodePage(path)) {
      outcome.unstorable.push_back(path);
      continue;
    }
    std::wstring name = fav::toPathMarkerForm(path, rules.replacementPath);
    if (stored.count(path) || stored.count(name)) {
      ++outcome.duplicates;
      continue;
    }
    TFavoriteItem& favorite = favorites.Add();
    favorite.FileType(FileTypeOf(name, rules.extensions));
    favorite.FileName(name);
    stored.insert(std::move(name));
    ++outcome.added;
  }
  return outcome;
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

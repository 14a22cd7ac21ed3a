#include "favorite_files.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

#include "ascii_case.h"
#include "file_path.h"
#include "folder_listing.h"
#include "text_codec.h"
#include "text_order.h"

namespace favfiles {

const char* const kObjectTypes[10] = {
    "FUNCTION", "PROCEDURE", "TRIGGER", "PACKAGE", "PACKAGE BODY", "PACKAGE SPEC AND BODY",
    "TYPE", "TYPE BODY", "TYPE SPEC AND BODY", "JAVA SOURCE"};

namespace {

bool isAbsolute(const std::wstring& path) {
  return (path.size() >= 2 && path[1] == L':') || path.starts_with(L"\\\\");
}

// The locale's sort key of a name, ignoring case, appended to keys: keys
// compared byte by byte order names as the locale's comparison does, so a
// folder of thousands of files asks the locale once per name instead of
// once per comparison. False when the locale gives no key.
bool appendSortKey(const wchar_t* name, int length, std::string& keys) {
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  // Most keys fit here, and one call makes them; a longer one asks its size.
  char buffer[512];
  int size = ::LCMapStringW(LOCALE_USER_DEFAULT, flags, name, length,
                            reinterpret_cast<wchar_t*>(buffer), sizeof buffer);
  if (size > 0) {
    keys.append(buffer, static_cast<size_t>(size));
    return true;
  }
  size = ::LCMapStringW(LOCALE_USER_DEFAULT, flags, name, length, nullptr, 0);
  if (size <= 0) return false;
  const size_t at = keys.size();
  keys.resize(at + static_cast<size_t>(size));
  return ::LCMapStringW(LOCALE_USER_DEFAULT, flags, name, length,
                        reinterpret_cast<wchar_t*>(keys.data() + at), size) > 0;
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
  constexpr DWORD kLeftOut =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  // The names and their keys each in one block of text, found by offset: a
  // folder of thousands of files costs a few allocations, not three a file.
  struct Found {
    size_t name, nameLength, key, keyLength;
  };
  std::vector<Found> found;
  std::wstring text;
  std::string keys;
  bool keyed = true;
  fav::listFolder(folder, [&](const fav::FolderEntry& entry) {
    if (entry.attributes & kLeftOut) return true;
    const size_t key = keys.size();
    keyed = keyed && appendSortKey(entry.name.data(), static_cast<int>(entry.name.size()), keys);
    found.push_back({text.size(), entry.name.size(), key, keys.size() - key});
    text.append(entry.name);
    return true;
  });
  const auto nameOf = [&](const Found& f) {
    return std::wstring_view(text).substr(f.name, f.nameLength);
  };
  // Equal names keep the listing's order. Should the locale refuse a key,
  // every name is compared as before.
  if (keyed) {
    const auto keyOf = [&](const Found& f) {
      return std::string_view(keys).substr(f.key, f.keyLength);
    };
    std::stable_sort(found.begin(), found.end(),
                     [&](const Found& a, const Found& b) { return keyOf(a) < keyOf(b); });
  } else {
    std::stable_sort(found.begin(), found.end(), [&](const Found& a, const Found& b) {
      return compareTextLocale(std::wstring(nameOf(a)), std::wstring(nameOf(b))) < 0;
    });
  }
  const std::wstring prefix = fav::joinPath(folder, L"");
  names.reserve(found.size());
  for (const Found& f : found) {
    std::wstring& path = names.emplace_back();
    path.reserve(prefix.size() + f.nameLength);
    path.append(prefix).append(nameOf(f));
  }
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

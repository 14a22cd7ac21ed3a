#include "favorite_add.h"

#include <algorithm>
#include <memory_resource>
#include <string_view>
#include <unordered_set>

#include "ascii_case.h"
#include "file_path.h"

namespace favfiles {

namespace {

std::wstring_view extensionIn(std::wstring_view fileName) {
  const size_t dot = fileName.find_last_of(L".\\/:");
  if (dot == std::wstring_view::npos || fileName[dot] != L'.') return {};
  return fileName.substr(dot + 1);
}

}  // namespace

std::wstring extensionOf(const std::wstring& fileName) {
  return std::wstring(extensionIn(fileName));
}

int FileTypeOf(const std::wstring& fileName, const std::vector<std::wstring>& extensions) {
  // A view: a Load asks this for every file of the folder.
  const std::wstring_view extension = extensionIn(fileName);
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

AddOutcome addFavoriteFiles(TFavoriteItems& favorites, std::vector<std::wstring> paths,
                            const AddRules& rules) {
  AddOutcome outcome;
  // The names stored so far, as FavoriteExists compares them (a folder of a
  // thousand files would otherwise compare each with every other). Views of
  // the items' own names: the collection keeps each item in one place, and
  // a name is never changed while the batch is added. Its nodes come from
  // one arena: an allocation per file costs more than the rest of the work.
  std::pmr::monotonic_buffer_resource arena;
  std::pmr::unordered_set<std::wstring_view> stored(&arena);
  stored.reserve(static_cast<size_t>(favorites.Count()) + paths.size());
  for (int i = 0; i < favorites.Count(); ++i) stored.insert(favorites.Items(i).FileName());
  for (std::wstring& path : paths) {
    if (path.empty()) continue;
    if (rules.fitsCodePage && !rules.fitsCodePage(path)) {
      outcome.unstorable.push_back(std::move(path));
      continue;
    }
    if (stored.count(path)) {
      ++outcome.duplicates;
      continue;
    }
    // The path itself becomes the name when it holds no replacement path.
    std::wstring name = fav::toPathMarkerForm(std::move(path), rules.replacementPath);
    if (stored.count(name)) {
      ++outcome.duplicates;
      continue;
    }
    TFavoriteItem& favorite = favorites.Add();
    favorite.FileType(FileTypeOf(name, rules.extensions));
    favorite.FileName(std::move(name));
    stored.insert(favorite.FileName());
    ++outcome.added;
  }
  return outcome;
}

}  // namespace favfiles

// Relinking favorites whose files are missing, without a window: which
// files a folder search looks for, which file each missing favorite takes,
// and the texts the dialog shows. The search itself (the file walk on a
// worker thread) is in relink_search.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace relink {

// The most files one search looks at, so a search started at a drive's top
// ends in a time a user waits for.
inline constexpr size_t kFileLimit = 50000;

// A favorite whose file is missing: its index in the list and the path a
// click would open ("%path%" resolved).
struct Missing {
  int index = -1;
  std::wstring path;
};

// What a search found for the missing favorites.
struct Outcome {
  int missing = 0;
  // Index in the list and the full path of the file it takes, in list order.
  std::vector<std::pair<int, std::wstring>> relinked;
  // The file names of the favorites that stay missing, in list order.
  std::vector<std::wstring> notFound;
};

// The last part of a path, after its last "\" or "/".
std::wstring_view fileNameOf(std::wstring_view path);

// How many folders the two paths share at the end of their folder parts,
// letters compared without case: "a\x\y\f.sql" and "b\x\y\f.sql" share 2.
int sharedFolderTail(std::wstring_view oldPath, std::wstring_view candidate);

// Collects the files of a search whose name equals a missing favorite's
// file name, ignoring case, in the order the search meets them.
class Matcher {
 public:
  explicit Matcher(std::vector<Missing> missing);
  bool empty() const { return wanted_.empty(); }
  // A file of the search: true when its name is wanted (it is then kept).
  bool offer(std::wstring_view folder, std::wstring_view name);
  // One match: the favorite takes it. Several: the one whose folders share
  // the longest tail with the old path, the first met on a tie. None: the
  // favorite stays missing.
  Outcome outcome() const;

 private:
  std::vector<Missing> missing_;
  // Folded file name -> the files found with it, in the order met.
  std::unordered_map<std::wstring, std::vector<std::wstring>> wanted_;
};

// "Relinked 7 of 9 missing favorites.", then, when the search stopped at
// kFileLimit, a line that says so, then the names not found.
std::wstring summaryText(const Outcome& outcome, bool reachedLimit);
// The hint line while a search runs: "Searching... 1,234 files (Esc to stop)".
std::wstring progressText(size_t files);
// The hint line after Esc.
inline constexpr wchar_t kStoppedText[] = L"Relink stopped: no favorite was changed.";

}  // namespace relink

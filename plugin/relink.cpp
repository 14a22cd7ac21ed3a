#include "relink.h"

#include <algorithm>

#include "file_path.h"
#include "text_order.h"

namespace relink {
namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// The folder names of a path's folder part, last first.
std::vector<std::wstring_view> foldersLastFirst(std::wstring_view folder) {
  std::vector<std::wstring_view> parts;
  size_t end = folder.size();
  while (end > 0) {
    while (end > 0 && isSeparator(folder[end - 1])) --end;
    size_t start = end;
    while (start > 0 && !isSeparator(folder[start - 1])) --start;
    if (start < end) parts.push_back(folder.substr(start, end - start));
    end = start;
  }
  return parts;
}

std::wstring_view folderOf(std::wstring_view path) {
  const size_t sep = path.find_last_of(L"\\/");
  return sep == std::wstring_view::npos ? std::wstring_view() : path.substr(0, sep);
}

// Summaries stay readable with hundreds of misses.
constexpr size_t kNamesShown = 20;

std::wstring withThousands(size_t n) {
  std::wstring digits = std::to_wstring(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), L",");
  return digits;
}

}  // namespace

std::wstring_view fileNameOf(std::wstring_view path) {
  const size_t sep = path.find_last_of(L"\\/");
  return sep == std::wstring_view::npos ? path : path.substr(sep + 1);
}

int sharedFolderTail(std::wstring_view oldPath, std::wstring_view candidate) {
  const auto a = foldersLastFirst(folderOf(oldPath));
  const auto b = foldersLastFirst(folderOf(candidate));
  int shared = 0;
  while (static_cast<size_t>(shared) < a.size() && static_cast<size_t>(shared) < b.size() &&
         foldedForMatch(std::wstring(a[shared])) == foldedForMatch(std::wstring(b[shared])))
    ++shared;
  return shared;
}

Matcher::Matcher(std::vector<Missing> missing) : missing_(std::move(missing)) {
  for (const Missing& m : missing_) {
    const std::wstring_view name = fileNameOf(m.path);
    if (!name.empty()) wanted_.try_emplace(foldedForMatch(std::wstring(name)));
  }
}

bool Matcher::offer(std::wstring_view folder, std::wstring_view name) {
  auto it = wanted_.find(foldedForMatch(std::wstring(name)));
  if (it == wanted_.end()) return false;
  it->second.push_back(fav::joinPath(folder, name));
  return true;
}

Outcome Matcher::outcome() const {
  Outcome outcome;
  outcome.missing = static_cast<int>(missing_.size());
  for (const Missing& m : missing_) {
    const std::wstring_view name = fileNameOf(m.path);
    const auto it = name.empty() ? wanted_.end() : wanted_.find(foldedForMatch(std::wstring(name)));
    if (it == wanted_.end() || it->second.empty()) {
      outcome.notFound.emplace_back(name.empty() ? std::wstring_view(m.path) : name);
      continue;
    }
    const std::vector<std::wstring>& found = it->second;
    size_t best = 0;
    int bestTail = -1;
    for (size_t i = 0; i < found.size(); ++i) {
      const int tail = sharedFolderTail(m.path, found[i]);
      if (tail > bestTail) {  // strictly longer: a tie keeps the first met
        best = i;
        bestTail = tail;
      }
    }
    outcome.relinked.emplace_back(m.index, found[best]);
  }
  return outcome;
}

std::wstring summaryText(const Outcome& outcome, bool reachedLimit) {
  std::wstring text = L"Relinked " + std::to_wstring(outcome.relinked.size()) + L" of " +
                      std::to_wstring(outcome.missing) + L" missing favorites.";
  if (reachedLimit)
    text += L"\n\nThe search stopped after " + withThousands(kFileLimit) +
            L" files; choose a folder closer to the files to search the rest.";
  if (!outcome.notFound.empty()) {
    text += L"\n\nNot found:";
    const size_t shown = std::min(outcome.notFound.size(), kNamesShown);
    for (size_t i = 0; i < shown; ++i) text += L"\n" + outcome.notFound[i];
    if (outcome.notFound.size() > shown)
      text += L"\n... and " + std::to_wstring(outcome.notFound.size() - shown) + L" more";
  }
  return text;
}

std::wstring progressText(size_t files) {
  return L"Searching... " + withThousands(files) + (files == 1 ? L" file" : L" files") +
         L" (Esc to stop)";
}

}  // namespace relink

// The folder search behind Relink Missing: every file under a folder,
// listed with the system's fastest listing, at most relink::kFileLimit,
// on a worker thread the dialog can stop.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "relink.h"

namespace relink {

enum class WalkEnd { Finished, Stopped, Limit };

// Calls onFile(folder, name) for every file under root, a folder's files
// before its subfolders, counting them in files; ends early when stop is
// set or after limit files. Folders that are links or junctions are not
// entered (they can lead back up), nor those the system will not list.
WalkEnd walkFiles(const std::wstring& root,
                  const std::function<void(const std::wstring& folder, const std::wstring& name)>& onFile,
                  const std::atomic<bool>& stop, std::atomic<size_t>& files,
                  size_t limit = kFileLimit);

// One search for the missing favorites, running from start() until done()
// is signalled.
class Search {
 public:
  Search(std::wstring root, Matcher matcher);
  ~Search();  // stops the worker; it ends on its own
  Search(const Search&) = delete;
  Search& operator=(const Search&) = delete;

  // False when no worker could start.
  bool start();
  void stop();
  // Signalled once the walk has ended.
  HANDLE done() const;
  bool finished() const;
  size_t files() const;
  // Both only once finished.
  WalkEnd end() const;
  Outcome outcome() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace relink

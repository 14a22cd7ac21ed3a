#include "relink_search.h"

#include <vector>

#include "file_check.h"
#include "file_path.h"
#include "folder_listing.h"
#include "unique_handles.h"

namespace relink {

WalkEnd walkFiles(const std::wstring& root,
                  const std::function<void(const std::wstring& folder, const std::wstring& name)>& onFile,
                  const std::atomic<bool>& stop, std::atomic<size_t>& files, size_t limit) {
  // A drive without its medium must not bring up the system's error box.
  DWORD previousMode = 0;
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
  WalkEnd end = WalkEnd::Finished;
  std::vector<std::wstring> pending{root};  // folders still to list, next one last
  std::vector<std::wstring> subfolders;
  while (!pending.empty() && end == WalkEnd::Finished) {
    const std::wstring folder = std::move(pending.back());
    pending.pop_back();
    subfolders.clear();
    // A folder gone or not ours to list is passed over: the rest is searched.
    fav::listFolder(folder, [&](const fav::FolderEntry& entry) {
      if (stop) {
        end = WalkEnd::Stopped;
        return false;
      }
      if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
          subfolders.push_back(fav::joinPath(folder, entry.name));
        return true;
      }
      if (files >= limit) {
        end = WalkEnd::Limit;
        return false;
      }
      ++files;
      onFile(folder, std::wstring(entry.name));
      return true;
    });
    pending.insert(pending.end(), subfolders.rbegin(), subfolders.rend());
  }
  ::SetThreadErrorMode(previousMode, nullptr);
  return end;
}

struct Search::State {
  State(std::wstring r, Matcher m) : root(std::move(r)), matcher(std::move(m)) {}
  std::wstring root;
  Matcher matcher;
  std::atomic<bool> stop{false};
  std::atomic<size_t> files{0};
  std::atomic<bool> finished{false};
  WalkEnd end = WalkEnd::Finished;  // written before finished is set
  fav::unique_kernel_handle done;
};

Search::Search(std::wstring root, Matcher matcher)
    : state_(std::make_shared<State>(std::move(root), std::move(matcher))) {
  state_->done.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

Search::~Search() { stop(); }

bool Search::start() {
  if (!state_->done) return false;
  std::shared_ptr<State> state = state_;
  return filecheck::runOnWorker([state] {
    try {
      state->end = walkFiles(
          state->root,
          [&](const std::wstring& folder, const std::wstring& name) {
            state->matcher.offer(folder, name);
          },
          state->stop, state->files);
    } catch (...) {
      state->end = WalkEnd::Stopped;  // out of memory: nothing is applied
    }
    state->finished = true;
    ::SetEvent(state->done.get());
  });
}

void Search::stop() { state_->stop = true; }
HANDLE Search::done() const { return state_->done.get(); }
bool Search::finished() const { return state_->finished; }
size_t Search::files() const { return state_->files; }
WalkEnd Search::end() const { return state_->end; }
Outcome Search::outcome() const { return state_->matcher.outcome(); }

}  // namespace relink

#include "presence_check.h"

#include <algorithm>
#include <atomic>
#include <mutex>

namespace filecheck {

// What the dialog and the worker share; whichever lets go last frees it.
struct BackgroundCheck::Run {
  HWND window = nullptr;
  UINT message = 0;
  unsigned generation = 0;
  std::vector<std::wstring> paths;
  std::atomic<bool> stopped{false};
  std::mutex lock;
  std::vector<Answer> answers;  // guarded by lock
};

BackgroundCheck::~BackgroundCheck() { stop(); }

void BackgroundCheck::stop() {
  if (run_) run_->stopped = true;
  run_.reset();
}

unsigned BackgroundCheck::start(HWND window, UINT message, std::vector<std::wstring> paths) {
  stop();
  std::sort(paths.begin(), paths.end());
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  auto run = std::make_shared<Run>();
  run->window = window;
  run->message = message;
  run->generation = ++generation_;
  run->paths = std::move(paths);
  const bool started = runOnWorker([run] {
    for (const std::wstring& path : run->paths) {
      if (run->stopped) return;
      const Presence presence = checkPresence(path);
      if (run->stopped) return;
      {
        std::lock_guard<std::mutex> hold(run->lock);
        run->answers.push_back(Answer{path, presence});
      }
      ::PostMessageW(run->window, run->message, run->generation, 0);
    }
  });
  if (!started) return 0;
  run_ = std::move(run);
  return generation_;
}

std::vector<BackgroundCheck::Answer> BackgroundCheck::take(unsigned generation) {
  std::vector<Answer> answers;
  if (!run_ || generation != run_->generation) return answers;
  std::lock_guard<std::mutex> hold(run_->lock);
  answers.swap(run_->answers);
  return answers;
}

}  // namespace filecheck

#include "presence_check.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <mutex>

#include "ui_seam.h"
#include "unique_handles.h"

namespace filecheck {

namespace {

constexpr size_t kAbandoned = std::numeric_limits<size_t>::max();

}  // namespace

// What the dialog and the workers share; whichever lets go last frees it.
struct BackgroundCheck::Run {
  HWND window = nullptr;
  UINT message = 0;
  unsigned generation = 0;
  std::wstring text;                     // the names, one after another
  std::vector<std::wstring_view> names;  // into text, sorted, each once
  BackgroundCheck::PathOf pathOf;
  int (*seamExists)(const wchar_t*) = nullptr;
  std::atomic<bool> stopped{false};
  fav::unique_kernel_handle wake;  // set on a stop, and when an asker is done
  std::mutex lock;
  std::vector<Answer> answers;  // guarded by lock
  bool posted = false;          // guarded by lock: a nudge is on its way

  // One nudge for however many answers arrive before the dialog takes them.
  void deliver(Answer answer) {
    bool nudge = false;
    {
      std::lock_guard<std::mutex> hold(lock);
      answers.push_back(std::move(answer));
      nudge = !posted;
      posted = true;
    }
    if (nudge) ::PostMessageW(window, message, generation, 0);
  }
};

namespace {

// One thread's walk through the names, from a given one to the end. The
// watcher takes a name away from it (current becomes kAbandoned) once its
// file has been asked for too long; whichever of the two moves current on
// first gives that name its answer.
struct Asker {
  std::atomic<size_t> current{0};
  std::atomic<ULONGLONG> startedAt{0};
};

void askFrom(const std::shared_ptr<BackgroundCheck::Run>& run, const std::shared_ptr<Asker>& asker,
             size_t first) {
  const size_t n = run->names.size();
  for (size_t i = first; i < n; ++i) {
    if (run->stopped) return;
    std::wstring path = run->pathOf(run->names[i]);
    const Presence presence = askPresence(path, run->seamExists);
    // The next path's clock starts before it becomes the current one, so
    // the watcher never reads a current path with an older start.
    asker->startedAt = ::GetTickCount64();
    size_t expected = i;
    if (!asker->current.compare_exchange_strong(expected, i + 1)) return;  // abandoned
    if (run->stopped) return;
    run->deliver(BackgroundCheck::Answer{std::wstring(run->names[i]), std::move(path), presence});
  }
  ::SetEvent(run->wake.get());
}

// Hands the names to one asker after another: a file that keeps its asker
// past the limit (on an unreachable share) counts as Unknown, and a new
// asker goes on with the rest while the old one waits out the system alone.
void watch(const std::shared_ptr<BackgroundCheck::Run>& run) {
  std::sort(run->names.begin(), run->names.end());
  run->names.erase(std::unique(run->names.begin(), run->names.end()), run->names.end());
  const size_t n = run->names.size();
  size_t next = 0;
  while (next < n && !run->stopped) {
    auto asker = std::make_shared<Asker>();
    asker->current = next;
    asker->startedAt = ::GetTickCount64();
    if (!runOnWorker([run, asker, next] { askFrom(run, asker, next); })) return;
    for (;;) {
      if (run->stopped) return;
      size_t at = asker->current;
      if (at >= n) return;  // every file answered
      // The start first: one stored after the clock was read is not yet late.
      const ULONGLONG started = asker->startedAt;
      const ULONGLONG now = ::GetTickCount64();
      const ULONGLONG elapsed = now > started ? now - started : 0;
      if (elapsed >= kClickLimitMs) {
        if (!asker->current.compare_exchange_strong(at, kAbandoned)) continue;  // it just answered
        const std::wstring_view name = run->names[at];
        run->deliver(BackgroundCheck::Answer{std::wstring(name), run->pathOf(name), Presence::Unknown});
        next = at + 1;
        break;
      }
      ::WaitForSingleObject(run->wake.get(), static_cast<DWORD>(kClickLimitMs - elapsed));
    }
  }
}

}  // namespace

BackgroundCheck::~BackgroundCheck() { stop(); }

void BackgroundCheck::stop() {
  if (run_) {
    run_->stopped = true;
    ::SetEvent(run_->wake.get());
  }
  run_.reset();
}

unsigned BackgroundCheck::start(HWND window, UINT message,
                                const std::vector<std::wstring_view>& names, PathOf pathOf) {
  stop();
  auto run = std::make_shared<Run>();
  run->window = window;
  run->message = message;
  run->generation = ++generation_;
  // One block for all the names: a list of thousands costs the window two
  // allocations, not one a name.
  size_t chars = 0;
  for (std::wstring_view name : names) chars += name.size();
  run->text.reserve(chars);
  for (std::wstring_view name : names) run->text.append(name);
  run->names.reserve(names.size());
  size_t at = 0;
  for (std::wstring_view name : names) {
    run->names.push_back(std::wstring_view(run->text).substr(at, name.size()));
    at += name.size();
  }
  run->pathOf = std::move(pathOf);
  if (FavoritesUiSeam* seam = uiSeam()) run->seamExists = seam->fileExists;
  run->wake.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!run->wake || !runOnWorker([run] { watch(run); })) return 0;
  run_ = std::move(run);
  return generation_;
}

std::vector<BackgroundCheck::Answer> BackgroundCheck::take(unsigned generation) {
  std::vector<Answer> answers;
  if (!run_ || generation != run_->generation) return answers;
  std::lock_guard<std::mutex> hold(run_->lock);
  answers.swap(run_->answers);
  run_->posted = false;
  return answers;
}

}  // namespace filecheck

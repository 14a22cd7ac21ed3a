// Whether the files of a list are there, asked in the background for a
// dialog that must never wait: one worker checks the files one after
// another, each as a click checks it (at most kClickLimitMs, then Unknown;
// a new worker goes on past a file that keeps the old one), and nudges the
// window with a posted message when answers arrive: one nudge for all that
// come before the window takes them. A newer check makes the answers of an
// older one stale; they are dropped.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "file_check.h"

namespace filecheck {

class BackgroundCheck {
 public:
  BackgroundCheck() = default;
  // The running check stops; answers still on their way go nowhere.
  ~BackgroundCheck();
  BackgroundCheck(const BackgroundCheck&) = delete;
  BackgroundCheck& operator=(const BackgroundCheck&) = delete;

  // The path a stored name opens; called on the worker.
  using PathOf = std::function<std::wstring(std::wstring_view name)>;
  // Starts checking the file of each name (each name once) and stops the
  // check before it. The names are copied in one block; turning them into
  // paths, sorting and asking all happen on the worker. New answers post
  // message to window with the check's generation as wParam. The
  // generation, or 0 when no worker could start.
  unsigned start(HWND window, UINT message, const std::vector<std::wstring_view>& names,
                 PathOf pathOf);
  void stop();
  unsigned generation() const { return generation_; }

  struct Answer {
    std::wstring name;  // as given
    std::wstring path;  // as asked
    Presence presence;
  };
  // The answers that arrived since the last call, when generation is the
  // newest check's; none for an older one.
  std::vector<Answer> take(unsigned generation);

  struct Run;  // what the window and the workers share

 private:
  std::shared_ptr<Run> run_;
  unsigned generation_ = 0;
};

}  // namespace filecheck

// A dialog's icons read on a worker thread, so the dialog opens at once and
// its icons follow a moment later. The worker never outlives its loader: a
// stop, or the loader's end, tells it to finish and waits for it.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "grid_view.h"
#include "unique_handles.h"

namespace dialogs {

class IconLoader {
 public:
  IconLoader();
  ~IconLoader();
  IconLoader(const IconLoader&) = delete;
  IconLoader& operator=(const IconLoader&) = delete;

  // Starts reading what loadIconImages reads (a read under way is stopped
  // first); posts message to window once the icons are ready. False when no
  // worker could start: the caller then reads them itself.
  bool start(HWND window, UINT message, std::wstring pluginFolder, std::wstring folder,
             std::wstring prefix, int px);
  // The icons, once their message came; nothing when the read was stopped
  // or is not finished (a message left over from an earlier read).
  std::optional<IconImages> take();
  // Stops a read under way and waits for its worker; what it read is freed.
  void stop();
  // A read started and not yet taken or stopped.
  bool busy() const { return job_ != nullptr; }

 private:
  struct Job;
  static DWORD WINAPI run(void* job);

  std::unique_ptr<Job> job_;
  fav::unique_kernel_handle thread_;
};

}  // namespace dialogs

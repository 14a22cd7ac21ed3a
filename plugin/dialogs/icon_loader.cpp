#include "icon_loader.h"

#include <atomic>

namespace dialogs {

struct IconLoader::Job {
  HWND window = nullptr;
  UINT message = 0;
  std::wstring pluginFolder, folder, prefix;
  int px = 0;
  std::atomic<bool> stop{false};
  std::atomic<bool> done{false};
  IconImages icons;  // the worker's until done
};

IconLoader::IconLoader() = default;

IconLoader::~IconLoader() {
  try {
    stop();
  } catch (...) {
  }
}

DWORD WINAPI IconLoader::run(void* parameter) {
  auto* job = static_cast<Job*>(parameter);
  try {
    job->icons = loadIconImages(job->pluginFolder, job->folder, job->prefix, job->px, &job->stop);
  } catch (...) {
    // Whatever was read is kept; a failed read shows no icons.
  }
  job->done = true;
  // A window already gone drops the message; a stopped read sends none.
  if (!job->stop) ::PostMessageW(job->window, job->message, 0, 0);
  return 0;
}

bool IconLoader::start(HWND window, UINT message, std::wstring pluginFolder, std::wstring folder,
                       std::wstring prefix, int px) {
  stop();
  auto job = std::make_unique<Job>();
  job->window = window;
  job->message = message;
  job->pluginFolder = std::move(pluginFolder);
  job->folder = std::move(folder);
  job->prefix = std::move(prefix);
  job->px = px;
  fav::unique_kernel_handle thread(
      ::CreateThread(nullptr, 0, &IconLoader::run, job.get(), 0, nullptr));
  if (!thread) return false;
  job_ = std::move(job);
  thread_ = std::move(thread);
  return true;
}

std::optional<IconImages> IconLoader::take() {
  if (!job_ || !job_->done) return std::nullopt;
  // The worker has only its return left to run.
  ::WaitForSingleObject(thread_.get(), INFINITE);
  std::optional<IconImages> icons(std::move(job_->icons));
  thread_.reset();
  job_.reset();
  return icons;
}

void IconLoader::stop() {
  if (!job_) return;
  job_->stop = true;
  if (thread_) ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
  job_.reset();
}

}  // namespace dialogs

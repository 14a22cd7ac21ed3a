#include "file_check.h"

#include <atomic>
#include <memory>

#include "ui_seam.h"
#include "un_plugincommon.h"
#include "unique_handles.h"

namespace filecheck {
namespace {

// What the worker and the waiting click share; whichever lets go last frees it.
struct Check {
  std::wstring path;
  int (*seamExists)(const wchar_t*) = nullptr;
  std::atomic<Presence> answer{Presence::Unknown};
  fav::unique_kernel_handle done;
};

struct WorkerStart {
  std::function<void()> work;
  HMODULE module = nullptr;  // a reference of its own on this library
};

Presence askTheDisk(const std::wstring& path) {
  // A drive without its medium must not bring up the system's error box.
  DWORD previousMode = 0;
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previousMode);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  const DWORD error = ::GetLastError();
  ::SetThreadErrorMode(previousMode, nullptr);
  if (attributes != INVALID_FILE_ATTRIBUTES) return Presence::Exists;
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Presence::Missing
                                                                        : Presence::Unknown;
}

DWORD WINAPI worker(void* parameter) {
  HMODULE module = nullptr;
  {
    std::unique_ptr<WorkerStart> start(static_cast<WorkerStart*>(parameter));
    module = start->module;
    try {
      start->work();
    } catch (...) {
    }
  }  // the work and what it holds go before the library may
  ::FreeLibraryAndExitThread(module, 0);
  return 0;
}

}  // namespace

Presence askPresence(const std::wstring& path, int (*seamExists)(const wchar_t*)) {
  if (seamExists) {
    switch (seamExists(path.c_str())) {
      case 1: return Presence::Exists;
      case 0: return Presence::Missing;
      case kSeamShowReal: break;
      default: return Presence::Unknown;
    }
  }
  return askTheDisk(path);
}

bool runOnWorker(std::function<void()> work) {
  try {
    auto start = std::make_unique<WorkerStart>();
    start->work = std::move(work);
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(&worker), &start->module))
      return false;
    HMODULE module = start->module;
    fav::unique_kernel_handle thread(::CreateThread(nullptr, 0, &worker, start.get(), 0, nullptr));
    if (!thread) {
      ::FreeLibrary(module);
      return false;
    }
    start.release();  // the worker's now
    return true;
  } catch (...) {
    return false;
  }
}

Presence checkPresence(const std::wstring& path, DWORD limitMs) {
  try {
    auto check = std::make_shared<Check>();
    check->path = path;
    if (FavoritesUiSeam* seam = uiSeam()) check->seamExists = seam->fileExists;
    check->done.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!check->done) return Presence::Unknown;
    // The worker may outlive the click and even the host's FreeLibrary.
    if (!runOnWorker([check] {
          check->answer = askPresence(check->path, check->seamExists);
          ::SetEvent(check->done.get());
        }))
      return Presence::Unknown;
    if (::WaitForSingleObject(check->done.get(), limitMs) != WAIT_OBJECT_0) return Presence::Unknown;
    return check->answer.load();
  } catch (...) {
    return Presence::Unknown;
  }
}

}  // namespace filecheck

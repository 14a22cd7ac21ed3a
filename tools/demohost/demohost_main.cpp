// demohost: favorites.dll at work in a window, without the host IDE.
//   demohost [--package dir] [--sample dir] [--scratch dir] [--host-version N]
//            [--tour outdir]
// --package: the plug-in package (favorites.dll and bitmaps), default
//   .\dist\Favorites; --sample: the sample favorites, default the "sample"
//   folder beside the program; --scratch: where the copy is made, default
//   %TEMP%\FavoritesDemo (emptied at each start). --tour runs the scripted
//   tour, saves its screenshots (BMP) and a list of them in outdir, and exits
//   with 1 when a step failed.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <filesystem>
#include <string>

#include "demo_window.h"
#include "tour.h"

namespace fs = std::filesystem;

namespace {

fs::path programFolder() {
  wchar_t path[MAX_PATH * 2];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  return fs::path(std::wstring(path, n)).parent_path();
}

int usage() {
  ::MessageBoxW(nullptr,
                L"demohost [--package dir] [--sample dir] [--scratch dir] [--host-version N] [--tour outdir]",
                L"Favorites demo host", MB_OK | MB_ICONINFORMATION);
  return 2;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  demohost::DemoOptions options;
  options.packageDir = fs::current_path() / L"dist" / L"Favorites";
  options.sampleDir = programFolder() / L"sample";
  fs::path tourDir;
  bool tour = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    const bool hasValue = i + 1 < argc;
    if (a == L"--package" && hasValue) options.packageDir = argv[++i];
    else if (a == L"--sample" && hasValue) options.sampleDir = argv[++i];
    else if (a == L"--scratch" && hasValue) options.scratchRoot = argv[++i];
    else if (a == L"--host-version" && hasValue) options.hostVersion = _wtoi(argv[++i]);
    else if (a == L"--tour" && hasValue) {
      tour = true;
      tourDir = argv[++i];
    } else {
      return usage();
    }
  }
  ::LocalFree(argv);

  demohost::DemoWindow demo(options);
  if (!demo.create(show == SW_HIDE ? SW_SHOWNORMAL : show)) return 1;
  if (!tour) return demo.run();

  demohost::Tour::Options tourOptions;
  tourOptions.outDir = tourDir;
  demohost::Tour scripted(demo, tourOptions);
  scripted.onFinished = [&] { ::PostMessageW(demo.hwnd(), WM_CLOSE, 0, 0); };
  scripted.start();
  demo.run();
  return scripted.failures().empty() ? 0 : 1;
}

// Load of a folder through the real DLL, from the Load command until the
// Configure dialog's grid is painted with every file: 1,000 files against an
// empty folder, and 10,000 files against the 1,000, all in one run as medians
// of interleaved trials; beside them the grid refill alone (a Separator added
// to the 1,000 rows just loaded), and the system's own listing of the same
// folders with nothing else done per file: the floor under the Load's cost
// per file.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "folder_listing.h"
#include "frm_ConfigureFavorites_res.h"
#include "host_simulator.h"

namespace {

constexpr int kFiles = 1000;
constexpr int kManyFiles = 10000;

struct Run {
  double ms = -1;
  int rows = 0;
  double refillMs = 0;
  double listingMs = 0;
};

double since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Runs the dialog's messages until the pickers made after its first paint
// are there (at most 10 s).
void waitUntilSettled(HWND dialog) {
  const auto start = std::chrono::steady_clock::now();
  while (!::GetDlgItem(dialog, IDC_CBE_ICON) && since(start) < 10000) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// One Configure session: the folder loaded into an empty list, then a
// Separator added to the rows just loaded.
Run loadOnce(hostsim::HostSimulator& host, const std::wstring& folder) {
  Run run;
  host.ui.onDialog = [&](HWND dialog, const std::wstring&) {
    // As a user would, Load once the dialog has settled: its pickers made
    // and its background work started, the file check among it.
    waitUntilSettled(dialog);
    host.ui.folders = {folder};
    HWND grid = ::GetDlgItem(dialog, IDC_SG_FAVORITES);
    auto start = std::chrono::steady_clock::now();
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ACT_LOAD, BN_CLICKED), 0);
    ::RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    run.ms = since(start);
    run.rows = ListView_GetItemCount(grid);
    start = std::chrono::steady_clock::now();
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ACT_ADD_SEPARATOR, BN_CLICKED), 0);
    ::RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    run.refillMs = since(start);
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  host.configure();
  return run;
}

// The folder listed as Load lists it, and nothing else.
double bareListing(const std::wstring& folder) {
  const auto start = std::chrono::steady_clock::now();
  fav::listFolder(folder, [](const fav::FolderEntry&) { return true; });
  return since(start);
}

void makeFiles(const std::filesystem::path& folder, int count) {
  std::filesystem::create_directories(folder);
  const wchar_t* extensions[] = {L"sql", L"pck", L"fnc", L"txt"};
  for (int i = 0; i < count; ++i) {
    wchar_t name[64];
    // Names out of order, so the listing's sort has work to do.
    std::swprintf(name, 64, L"script_%05d.%ls", static_cast<int>((i * 7919LL) % count),
                  extensions[i % 4]);
    std::ofstream(folder / name) << "x";
  }
}

double median(const std::vector<Run>& runs, double Run::*figure) {
  std::vector<double> values;
  for (const Run& r : runs) values.push_back(r.*figure);
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    const std::filesystem::path package = argc > 1 ? argv[1] : L".";
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / L"favorites_load_bench";
    std::filesystem::remove_all(root);
    const std::filesystem::path plugin = root / L"plugin", empty = root / L"empty";
    for (const auto& dir : {plugin, empty}) std::filesystem::create_directories(dir);
    std::filesystem::copy_file(package / L"favorites.dll", plugin / L"favorites.dll");
    const int sizes[] = {kFiles, 0, kManyFiles};
    std::wstring folders[3] = {(root / L"files1000").wstring(), empty.wstring(),
                               (root / L"files10000").wstring()};
    makeFiles(folders[0], kFiles);
    makeFiles(folders[2], kManyFiles);

    hostsim::HostSimulator host;
    const std::wstring w = plugin.wstring();
    host.hostRootFolder = std::string(w.begin(), w.end()) + "\\";
    host.extensionsForType = {{"PACKAGE", "pck,spc"}, {"FUNCTION", "fnc"}};
    if (!host.load((plugin / L"favorites.dll").wstring())) {
      std::fprintf(stderr, "load_bench: cannot load the plug-in\n");
      return 1;
    }
    host.identify();
    host.registerServices();
    // A first session of each size warms the caches; left out.
    for (const std::wstring& folder : folders) loadOnce(host, folder);

    // Interleaved, each trial in a new order.
    const int trials = 7;
    std::vector<Run> runs[3];
    for (int t = 0; t < trials; ++t)
      for (int k = 0; k < 3; ++k) {
        const int which = (t + k) % 3;
        runs[which].push_back(loadOnce(host, folders[which]));
        runs[which].back().listingMs = bareListing(folders[which]);
      }
    host.unload();
    std::filesystem::remove_all(root);

    bool complete = true;
    for (int k = 0; k < 3; ++k)
      for (const Run& r : runs[k]) complete = complete && r.ms >= 0 && r.rows == sizes[k];
    const double one = median(runs[0], &Run::ms), none = median(runs[1], &Run::ms),
                 many = median(runs[2], &Run::ms);
    std::printf("Load of a folder until the grid is painted, median of %d interleaved trials\n",
                trials);
    std::printf("  %5d files:            %8.1f ms  %.2fx the empty folder (goal <= 3x)\n", kFiles,
                one, one / none);
    std::printf("  empty folder (baseline): %7.1f ms\n", none);
    std::printf("  %5d files:            %8.1f ms  %.2fx the %d-file Load (goal <= 2x)\n",
                kManyFiles, many, many / one, kFiles);
    std::printf("  grid refill of %d rows alone: %.1f ms\n", kFiles,
                median(runs[0], &Run::refillMs));
    const double listOne = median(runs[0], &Run::listingMs),
                 listMany = median(runs[2], &Run::listingMs);
    std::printf("  the system's listing alone: %d names %.1f ms, %d names %.1f ms; with nothing"
                " else done per file, %d files would still take %.2fx the %d-file Load\n",
                kFiles, listOne, kManyFiles, listMany, kManyFiles,
                (one + listMany - listOne) / one, kFiles);
    if (!complete) std::printf("  not every file reached the grid\n");
    return complete ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "load_bench: %s\n", e.what());
    return 1;
  }
}

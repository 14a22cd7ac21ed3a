// Load of a 1,000-file folder through the real DLL: from the Load command
// until the Configure dialog's grid is painted with every file, against two
// baselines of the same run: Load of an empty folder, and the grid refill
// alone (a Separator added to the 1,000 rows just loaded).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frm_ConfigureFavorites_res.h"
#include "host_simulator.h"

namespace {

constexpr int kFiles = 1000;

struct Run {
  double ms = 0;
  int rows = 0;
  double refillMs = 0;
};

double since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// One Configure session per run; the folder is loaded into an empty list.
std::vector<Run> loadTimes(const std::filesystem::path& package, const std::wstring& folder,
                           int runs) {
  std::vector<Run> out;
  hostsim::HostSimulator host;
  const std::wstring w = package.wstring();
  host.hostRootFolder = std::string(w.begin(), w.end()) + "\\";
  host.extensionsForType = {{"PACKAGE", "pck,spc"}, {"FUNCTION", "fnc"}};
  if (!host.load((package / L"favorites.dll").wstring())) return out;
  host.identify();
  host.registerServices();
  host.ui.onDialog = [&](HWND dialog, const std::wstring&) {
    host.ui.folders = {folder};
    HWND grid = ::GetDlgItem(dialog, IDC_SG_FAVORITES);
    auto start = std::chrono::steady_clock::now();
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ACT_LOAD, BN_CLICKED), 0);
    ::RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Run run{since(start), ListView_GetItemCount(grid), 0};
    start = std::chrono::steady_clock::now();
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ACT_ADD_SEPARATOR, BN_CLICKED), 0);
    ::RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    run.refillMs = since(start);
    out.push_back(run);
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  for (int i = 0; i < runs; ++i) host.configure();
  return out;
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
    const std::filesystem::path plugin = root / L"plugin", full = root / L"full",
                                empty = root / L"empty";
    for (const auto& dir : {plugin, full, empty}) std::filesystem::create_directories(dir);
    std::filesystem::copy_file(package / L"favorites.dll", plugin / L"favorites.dll");
    const wchar_t* extensions[] = {L"sql", L"pck", L"fnc", L"txt"};
    for (int i = 0; i < kFiles; ++i) {
      wchar_t name[64];
      std::swprintf(name, 64, L"script_%04d.%ls", (i * 7919) % kFiles, extensions[i % 4]);
      std::ofstream(full / name) << "x";
    }

    const int runs = 7;
    const std::vector<Run> loaded = loadTimes(plugin, full.wstring(), runs);
    const std::vector<Run> baseline = loadTimes(plugin, empty.wstring(), runs);
    std::filesystem::remove_all(root);
    if (loaded.empty() || baseline.empty()) {
      std::fprintf(stderr, "load_bench: the Configure dialog did not open\n");
      return 1;
    }
    const bool complete = std::all_of(loaded.begin(), loaded.end(),
                                      [](const Run& r) { return r.rows == kFiles; });
    std::printf("Load of a folder until the grid is painted, median of %d runs\n", runs);
    std::printf("  %d files:                       %8.1f ms%s\n", kFiles, median(loaded, &Run::ms),
                complete ? "" : "  (not every file reached the grid)");
    std::printf("  empty folder (baseline):         %8.1f ms\n", median(baseline, &Run::ms));
    std::printf("  grid refill of %d rows alone:   %8.1f ms\n", kFiles,
                median(loaded, &Run::refillMs));
    std::printf("  goal: at most 300 ms\n");
    return complete ? 0 : 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "load_bench: %s\n", e.what());
    return 1;
  }
}

// Opening the Configure Favorites dialog through the real DLL: from the
// Configure export until the dialog is up and painted, for 94 favorites and
// 200 icon files, against the same dialog over an empty settings file and an
// empty icon folder in the same run.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host_simulator.h"

namespace {

std::string iconBytes(int seed) {
  const int size = 20, stride = ((size * 3) + 3) & ~3;
  std::string bytes(54 + static_cast<size_t>(stride) * size, '\0');
  auto put32 = [&](size_t at, unsigned v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<unsigned>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, size);
  put32(22, size);
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const size_t at = 54 + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
      const bool ink = (x + y + seed) % 5 != 0;
      bytes[at] = static_cast<char>(ink ? seed * 37 : 255);
      bytes[at + 1] = static_cast<char>(ink ? seed * 11 : 255);
      bytes[at + 2] = static_cast<char>(ink ? 255 - seed : 255);
    }
  return bytes;
}

std::string fixture() {
  std::string files = "[Files]\r\n", types = "[Types]\r\n", subs = "[SubMenus]\r\n",
              buttons = "[Buttons]\r\n", users = "[Usernames]\r\n", dbs = "[Databases]\r\n";
  for (int k = 1; k <= 94; ++k) {
    const std::string n = std::to_string(k);
    const int g = k % 4;
    files += "File" + n + "=c:\\work\\project" + std::to_string(g) + "\\script_" + n + ".sql\r\n";
    types += "Type" + n + "=" + std::to_string(k % 2 ? 3 : 0) + "\r\n";
    subs += "SubMenu" + n + "=" + (g ? "Group " + std::to_string(g) : std::string()) + "\r\n";
    char icon[32];
    std::snprintf(icon, sizeof icon, "fav_%03d.bmp", k);
    buttons += "Button" + n + "=" + icon + "\r\n";
    users += "Username" + n + "=" + (k % 2 ? "scott" : "") + "\r\n";
    dbs += "Database" + n + "=orcl\r\n";
  }
  return "[Settings]\r\nAllowDuplicateImages=0\r\n" + files + types + subs + buttons + users + dbs +
         "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Group 1\r\nSubMenuItem2=Group 2\r\n"
         "SubMenuItem3=Group 3\r\n[SubMenuButtons]\r\nSubMenuButton1=fav_001.bmp\r\n";
}

// Milliseconds from Configure until the dialog is up and painted, per run.
std::vector<double> openTimes(const std::filesystem::path& folder, int runs) {
  std::vector<double> times;
  hostsim::HostSimulator host;
  const std::wstring w = folder.wstring();
  host.hostRootFolder = std::string(w.begin(), w.end()) + "\\";
  if (!host.load((folder / L"favorites.dll").wstring())) return times;
  host.identify();
  host.registerServices();
  std::chrono::steady_clock::time_point start;
  host.ui.onDialog = [&](HWND dialog, const std::wstring&) {
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    times.push_back(spent.count());
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  for (int i = 0; i < runs; ++i) {
    start = std::chrono::steady_clock::now();
    host.configure();
  }
  return times;
}

void print(const char* what, std::vector<double> times) {
  if (times.empty()) {
    std::printf("  %-44s no dialog\n", what);
    return;
  }
  // The first open also loads the common controls; report it apart.
  const double first = times.front();
  times.erase(times.begin());
  std::sort(times.begin(), times.end());
  std::printf("  %-44s median %7.1f ms, best %7.1f ms, first %7.1f ms\n", what,
              times[times.size() / 2], times.front(), first);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::filesystem::path package = argc > 1 ? argv[1] : L".";
  const std::filesystem::path root = std::filesystem::temp_directory_path() / L"favorites_configure_bench";
  std::filesystem::remove_all(root);
  const std::filesystem::path full = root / L"full", empty = root / L"empty";
  for (const auto& dir : {full, empty}) {
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(package / L"favorites.dll", dir / L"favorites.dll");
    std::ofstream(dir / L"[fav]_empty.bmp", std::ios::binary) << iconBytes(0);
  }
  { std::ofstream(full / L"Favorites.ini", std::ios::binary) << fixture(); }
  for (int i = 1; i <= 200; ++i) {
    wchar_t name[32];
    std::swprintf(name, 32, L"fav_%03d.bmp", i);
    std::ofstream(full / name, std::ios::binary) << iconBytes(i);
  }

  const int runs = 11;
  std::printf("Configure dialog open (export call to painted dialog), %d runs\n", runs - 1);
  const std::vector<double> times = openTimes(full, runs);
  print("94 favorites, 200 icons:", times);
  print("empty settings file, no icons (baseline):", openTimes(empty, runs));
  std::printf("  goal: at most 150 ms\n");
  std::filesystem::remove_all(root);
  return times.empty() ? 1 : 0;
}

// Opening the Configure Favorites dialog through the real DLL, from the
// export call until the dialog is up and painted: with 94 favorites and 200
// icon files against the same dialog over an empty settings file and no
// icons, and that empty dialog against the About dialog's open, all in one
// run as medians of interleaved trials. The icons are read after the first
// paint; a fourth figure shows how long until the rows have them too. Last,
// the Submenus dialog opened from Configure (Ctrl with Add Submenu) over
// 200 icon files against the same dialog over an icon folder with none.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "frm_ConfigureFavorites_res.h"
#include "frm_SubMenus_ids.h"
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

std::string fixture(const std::string& iconFolder) {
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
  return "[Settings]\r\nAllowDuplicateImages=0\r\nImagePath=" + iconFolder + "\r\n" + files +
         types + subs + buttons + users + dbs +
         "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Group 1\r\nSubMenuItem2=Group 2\r\n"
         "SubMenuItem3=Group 3\r\n[SubMenuButtons]\r\nSubMenuButton1=fav_001.bmp\r\n";
}

std::uint64_t tenMinutesAgo() {
  FILETIME t{};
  ::GetSystemTimeAsFileTime(&t);
  const std::uint64_t now = (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  return now - 600ull * 10'000'000;
}

// The settings file as a user's is: written a while ago.
void writeDated(const std::filesystem::path& path, const std::string& text) {
  { std::ofstream(path, std::ios::binary | std::ios::trunc) << text; }
  const HANDLE h = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
  const std::uint64_t ticks = tenMinutesAgo();
  const FILETIME t{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  ::SetFileTime(h, nullptr, nullptr, &t);
  ::CloseHandle(h);
}

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs this thread's messages until the Configure dialog's icon pickers
// hold the icons its worker read; false after 10 s.
bool waitForIcons(HWND dialog) {
  const Clock::time_point start = Clock::now();
  HWND picker = ::GetDlgItem(dialog, IDC_CBE_MENU_ITEM);
  while (!::SendMessageW(picker, CBEM_GETIMAGELIST, 0, 0)) {
    if (msSince(start) > 10000) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return true;
}

// Milliseconds from the export call until the dialog is up and painted (or,
// withIcons, until its rows are painted again with the icons read after).
double openTime(hostsim::HostSimulator& host, bool about, bool withIcons = false) {
  double spent = -1;
  const Clock::time_point start = Clock::now();
  host.ui.onDialog = [&](HWND dialog, const std::wstring&) {
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!withIcons || waitForIcons(dialog)) {
      if (withIcons)
        ::RedrawWindow(::GetDlgItem(dialog, IDC_SG_FAVORITES), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      spent = msSince(start);
    }
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  if (about)
    host.about();
  else
    host.configure();
  return spent;
}

// Milliseconds from Ctrl with Add Submenu in a Configure dialog (its own
// icons read first) until the Submenus dialog is up and painted.
double submenusOpenTime(hostsim::HostSimulator& host) {
  double spent = -1;
  Clock::time_point start;
  host.ui.onDialog = [&](HWND dialog, const std::wstring& name) {
    if (name == L"TfrmSubMenus") {
      ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      spent = msSince(start);
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    if (waitForIcons(dialog)) {
      BYTE keys[256] = {};
      ::GetKeyboardState(keys);
      keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
      ::SetKeyboardState(keys);
      start = Clock::now();
      ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SB_ADD_SUBMENU, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_SB_ADD_SUBMENU)));
      keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
      ::SetKeyboardState(keys);
    }
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  host.configure();
  return spent;
}

struct Figures {
  std::vector<double> full, empty, about, icons, submenus, submenusBare;
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::filesystem::path package = argc > 1 ? argv[1] : L".";
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / L"favorites_configure_bench";
  std::filesystem::remove_all(root);
  const std::filesystem::path plugin = root / L"plugin", icons = root / L"icons",
                              noIcons = root / L"no_icons";
  for (const auto& dir : {plugin, icons, noIcons}) std::filesystem::create_directories(dir);
  std::filesystem::copy_file(package / L"favorites.dll", plugin / L"favorites.dll");
  std::ofstream(plugin / L"[fav]_empty.bmp", std::ios::binary) << iconBytes(0);
  for (int i = 1; i <= 200; ++i) {
    wchar_t name[32];
    std::swprintf(name, 32, L"fav_%03d.bmp", i);
    std::ofstream(icons / name, std::ios::binary) << iconBytes(i);
  }
  const std::wstring iconFolder = icons.wstring();
  const std::string full = fixture(std::string(iconFolder.begin(), iconFolder.end()));
  const std::wstring bareFolder = noIcons.wstring();
  const std::string bare = fixture(std::string(bareFolder.begin(), bareFolder.end()));
  const std::filesystem::path settings = plugin / L"Favorites.ini";

  hostsim::HostSimulator host;
  const std::wstring w = plugin.wstring();
  host.hostRootFolder = std::string(w.begin(), w.end()) + "\\";
  if (!host.load((plugin / L"favorites.dll").wstring())) {
    std::printf("cannot load %ls\n", (plugin / L"favorites.dll").c_str());
    return 1;
  }
  host.identify();
  host.registerServices();

  // The first opens load the common controls and warm the caches; left out.
  writeDated(settings, full);
  openTime(host, false);
  writeDated(settings, "");
  openTime(host, false);
  openTime(host, true);
  submenusOpenTime(host);

  // Interleaved, each trial in a new order, so drift and order weigh on
  // every figure alike.
  const int trials = 11;
  Figures f;
  for (int t = 0; t < trials; ++t) {
    for (int k = 0; k < 6; ++k) {
      switch ((t + k) % 6) {
        case 0:
          writeDated(settings, full);
          f.full.push_back(openTime(host, false));
          break;
        case 1:
          writeDated(settings, "");
          f.empty.push_back(openTime(host, false));
          break;
        case 2:
          writeDated(settings, full);
          f.icons.push_back(openTime(host, false, true));
          break;
        case 3:
          f.about.push_back(openTime(host, true));
          break;
        case 4:
          writeDated(settings, full);
          f.submenus.push_back(submenusOpenTime(host));
          break;
        default:
          writeDated(settings, bare);
          f.submenusBare.push_back(submenusOpenTime(host));
          break;
      }
    }
  }
  host.unload();
  std::filesystem::remove_all(root);
  const auto shown = [](const std::vector<double>& v) {
    return std::all_of(v.begin(), v.end(), [](double ms) { return ms >= 0; });
  };
  if (!shown(f.full) || !shown(f.empty) || !shown(f.about) || !shown(f.icons) ||
      !shown(f.submenus) || !shown(f.submenusBare)) {
    std::printf("configure_bench: a dialog did not show\n");
    return 1;
  }
  const double fullMs = median(f.full), emptyMs = median(f.empty), aboutMs = median(f.about);
  std::printf("Configure dialog open (export call to painted dialog), median of %d interleaved"
              " trials\n", trials);
  std::printf("  94 favorites, 200 icons:        %7.1f ms  %.2fx the empty dialog (goal <= 1.3x)\n",
              fullMs, fullMs / emptyMs);
  std::printf("  empty settings file, no icons:  %7.1f ms  %.2fx the About dialog (goal <= 2x)\n",
              emptyMs, emptyMs / aboutMs);
  std::printf("  About dialog (baseline):        %7.1f ms\n", aboutMs);
  std::printf("  94 favorites until their 200 icons are drawn too (read after the first paint):"
              " %.1f ms\n", median(f.icons));
  const double submenusMs = median(f.submenus), bareMs = median(f.submenusBare);
  std::printf("Submenus dialog open (Ctrl with Add Submenu to painted dialog)\n");
  std::printf("  200 icons:                      %7.1f ms  %.2fx the dialog without icons\n",
              submenusMs, submenusMs / bareMs);
  std::printf("  no icon files (baseline):       %7.1f ms\n", bareMs);
  return 0;
}

// The About dialog through the real DLL: the time from the About export until
// the dialog is up and painted, against a bare window shown and painted in
// the same run; and the measured speed of the information text over 2
// seconds, against the tick rate of a plain 25 ms timer on this system.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "frm_about_res.h"
#include "host_simulator.h"
#include "window_search.h"

namespace {

using hostsim::findDescendant;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs this thread's messages (the dialog's timer among them) for a while.
void runMessagesFor(double ms) {
  const Clock::time_point start = Clock::now();
  for (double left = ms; left > 0; left = ms - msSince(start)) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
}

// How far the text has risen: the top of mmAbout above the top of sbAbout.
int risen(HWND dialog) {
  RECT box{}, memo{};
  ::GetWindowRect(findDescendant(dialog, IDC_SBABOUT), &box);
  ::GetWindowRect(findDescendant(dialog, IDC_MMABOUT), &memo);
  return box.top - memo.top;
}

double bareWindowTime() {
  const Clock::time_point start = Clock::now();
  HWND w = ::CreateWindowExW(0, L"Static", L"baseline", WS_OVERLAPPEDWINDOW, 0, 0, 440, 180,
                             nullptr, nullptr, nullptr, nullptr);
  ::ShowWindow(w, SW_SHOW);
  ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const double spent = msSince(start);
  ::DestroyWindow(w);
  return spent;
}

double timerTicksPerSecond(double ms) {
  int ticks = 0;
  const UINT_PTR id = ::SetTimer(nullptr, 0, 25, [](HWND, UINT, UINT_PTR, DWORD) {});
  const Clock::time_point start = Clock::now();
  for (double left = ms; left > 0; left = ms - msSince(start)) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ticks += msg.message == WM_TIMER;
  }
  ::KillTimer(nullptr, id);
  return ticks * 1000.0 / msSince(start);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::filesystem::path package = argc > 1 ? argv[1] : L".";
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / L"favorites_about_bench";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::filesystem::copy_file(package / L"favorites.dll", dir / L"favorites.dll");

  hostsim::HostSimulator host;
  const std::wstring w = dir.wstring();
  host.hostRootFolder = std::string(w.begin(), w.end()) + "\\";
  if (!host.load((dir / L"favorites.dll").wstring())) {
    std::printf("cannot load %ls\n", (dir / L"favorites.dll").c_str());
    return 1;
  }
  host.identify();
  host.registerServices();

  const int runs = 11;
  std::vector<double> opens, bare;
  Clock::time_point start;
  host.ui.onDialog = [&](HWND dialog, const std::wstring&) {
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    opens.push_back(msSince(start));
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  for (int i = 0; i < runs; ++i) {
    start = Clock::now();
    host.about();
    bare.push_back(bareWindowTime());
  }
  if (opens.size() != static_cast<size_t>(runs)) {
    std::printf("the About dialog did not show\n");
    return 1;
  }
  const double first = opens.front();
  opens.erase(opens.begin());
  bare.erase(bare.begin());
  std::printf("About dialog open (export call to painted dialog), %d runs\n", runs - 1);
  std::printf("  About dialog:                 median %6.1f ms, best %6.1f ms, first %6.1f ms\n",
              median(opens), *std::min_element(opens.begin(), opens.end()), first);
  std::printf("  bare window shown (baseline): median %6.1f ms\n", median(bare));
  std::printf("  goal: at most 100 ms\n");

  const double window = 2000;
  double speed = 0, designSpeed = 0;
  UINT dpi = 96;
  host.ui.onDialog = [&](HWND dialog, const std::wstring&) {
    HWND info = findDescendant(dialog, IDC_BBTNINFO);
    ::SendMessageW(::GetParent(info), WM_COMMAND, MAKEWPARAM(IDC_BBTNINFO, BN_CLICKED),
                   reinterpret_cast<LPARAM>(info));
    HDC dc = ::GetDC(dialog);
    dpi = static_cast<UINT>(::GetDeviceCaps(dc, LOGPIXELSY));
    ::ReleaseDC(dialog, dc);
    runMessagesFor(200);  // past the start
    const int from = risen(dialog);
    const Clock::time_point t0 = Clock::now();
    runMessagesFor(window);
    const int to = risen(dialog);
    speed = (to - from) * 1000.0 / msSince(t0);
    designSpeed = speed * 96.0 / dpi;
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  host.about();
  const double raw = timerTicksPerSecond(window);
  std::printf("Information text scrolling, measured over %.0f s at %u DPI\n", window / 1000, dpi);
  std::printf("  text speed:                   %6.1f px/s (%.1f px/s at 96 DPI)\n", speed,
              designSpeed);
  std::printf("  plain 25 ms timer (baseline): %6.1f ticks/s\n", raw);
  std::printf("  goal: 40 +- 5 px/s at 96 DPI\n");

  host.unload();
  std::filesystem::remove_all(dir);
  return 0;
}

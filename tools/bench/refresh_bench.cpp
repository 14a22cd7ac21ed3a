// Menu refreshes (CreateMenuItem 1..99, then OnActivate) through the real DLL,
// each figure against its baseline measured in the same run, as medians of
// interleaved trials (Wine's timings drift from run to run):
// - a 94-favorite file against the same texts and buttons computed key by key
//   through the platform's private-profile reader, both schemes;
// - an 8 MB file, just changed, against one parse of that file;
// - the same refresh while the file is inside the racy window (each call
//   reads it again), against the refresh of an unchanged file;
// - the host text store's peak over 10,000 refreshes with changing captions,
//   against what a store that only interns would hold.
// The fixtures are dated ten minutes back, as a user's file is.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "host_simulator.h"
#include "ini_file.h"
#include "menu_texts.h"
#include "platform_profile.h"
#include "text_codec.h"
#include "text_store.h"

namespace {

constexpr std::uint64_t kSecond = 10'000'000;

// The platform reader, key by key: every key opens and parses the file again.
using PlatformIni = platform::Reader;

std::string fixture() {
  std::string files = "[Files]\n", types = "[Types]\n", subs = "[SubMenus]\n", buttons = "[Buttons]\n",
              users = "[Usernames]\n", dbs = "[Databases]\n", aliases = "[Aliases]\n";
  int k = 0;
  for (int g = 0; g < 4; ++g) {
    for (int i = 0; i < 23 + (g < 2 ? 1 : 0); ++i) {
      const std::string n = std::to_string(++k);
      files += "File" + n + "=c:\\work\\project" + std::to_string(g) + "\\script_" + n + ".sql\n";
      types += "Type" + n + "=" + std::to_string(k % 4) + "\n";
      subs += "SubMenu" + n + "=" + (g ? "Group " + std::to_string(g) : std::string()) + "\n";
      buttons += "Button" + n + "=" + (k % 3 ? "fav_script.bmp" : "") + "\n";
      users += "Username" + n + "=" + (k % 2 ? "scott" : "") + "\n";
      dbs += "Database" + n + "=orcl\n";
      aliases += "Alias" + n + "=" + (k % 5 ? "" : "Report " + n) + "\n";
    }
  }
  return "[Settings]\nShowFullPath=0\nShowConnectionInfo=1\nImagePath=c:\\icons\n" + files + types +
         subs + buttons + users + dbs + aliases +
         "[SubMenuItems]\nSubMenuItem0=\nSubMenuItem1=Group 1\nSubMenuItem2=Group 2\nSubMenuItem3=Group 3\n";
}

// The 94 favorites followed by a section of the user's own up to 8 MB.
std::string bigFixture(char mark) {
  std::string text = fixture() + "[Notes]\n";
  for (int n = 0; text.size() < (8u << 20); ++n)
    text += "Note" + std::to_string(n) + "=kept by hand, line " + std::to_string(n) +
            " of the user's own notes " + mark + "\n";
  return text;
}

std::uint64_t ticksNow() {
  FILETIME t{};
  ::GetSystemTimeAsFileTime(&t);
  return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void writeDated(const std::filesystem::path& path, const std::string& text, std::uint64_t ticks) {
  { std::ofstream(path, std::ios::binary | std::ios::trunc) << text; }
  const HANDLE h = ::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
  const FILETIME t{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  ::SetFileTime(h, nullptr, nullptr, &t);
  ::CloseHandle(h);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <typename Fn>
double millisecondsPerRun(int runs, Fn&& fn) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) fn();
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / runs;
}

constexpr int kTrials = 9;

struct Plugin {
  hostsim::HostSimulator host;
  bool start(const std::filesystem::path& folder, int version) {
    host.hostVersion = version;
    const std::wstring w = folder.wstring();
    host.hostRootFolder = std::string(w.begin(), w.end()) + "\\";
    if (!host.load((folder / L"favorites.dll").wstring())) return false;
    host.identify();
    host.registerServices();
    return true;
  }
  size_t refresh() {
    host.menuTexts();
    host.clearRecords();
    host.onActivate();
    size_t shown = host.toolButtons.size();
    for (const auto& m : host.menu) shown += !m.empty();
    return shown;
  }
};

int keyByKey(const std::filesystem::path& work, int versionIndex) {
  const int version = versionIndex ? 1200 : 1199;
  Plugin plugin;
  if (!plugin.start(work, version)) return 1;
  PlatformIni platform{(work / L"Favorites.ini").wstring()};
  const std::wstring folder = work.wstring();
  size_t dllItems = 0, baselineItems = 0;
  auto baseline = [&] {
    baselineItems = 0;
    for (int i = 1; i <= 99; ++i) baselineItems += !menus::menuItemText(platform, i, version).empty();
    std::wstring images;
    baselineItems += menus::toolButtons(platform, version, folder, images).size();
  };
  dllItems = plugin.refresh();  // the one read; later refreshes only ask
  std::vector<double> ours, theirs;
  for (int trial = 0; trial < kTrials; ++trial) {
    ours.push_back(millisecondsPerRun(20, [&] { plugin.refresh(); }));
    theirs.push_back(millisecondsPerRun(1, baseline));
  }
  const double o = median(ours), t = median(theirs);
  std::printf("refresh, host version %d, 94 favorites (%zu items and buttons; key by key %zu)\n",
              version, dllItems, baselineItems);
  std::printf("  through favorites.dll, file unchanged:   %9.3f ms\n", o);
  std::printf("  key by key through the platform reader: %9.3f ms\n", t);
  std::printf("  ratio: %.0fx faster (goal: at least 100x); medians of %d trials\n", t / o, kTrials);
  return dllItems == baselineItems ? 0 : 1;
}

int bigFile(const std::filesystem::path& work) {
  const auto ini = work / L"Favorites.ini";
  const std::uint64_t aged = ticksNow() - 600 * kSecond;
  Plugin plugin;
  writeDated(ini, bigFixture('a'), aged);
  if (!plugin.start(work, 1200)) return 1;
  plugin.refresh();
  std::vector<double> changed, unchanged, parse;
  for (int trial = 0; trial < kTrials; ++trial) {
    // A hand edit between refreshes (not timed): new bytes, another time.
    const std::string text = bigFixture(static_cast<char>('b' + trial));
    writeDated(ini, text, aged + (trial + 1) * kSecond);
    changed.push_back(millisecondsPerRun(1, [&] { plugin.refresh(); }));
    unchanged.push_back(millisecondsPerRun(3, [&] { plugin.refresh(); }));
    parse.push_back(millisecondsPerRun(1, [&] { IniFile::fromBytes(text); }));
  }
  const double c = median(changed), u = median(unchanged), p = median(parse);
  std::printf("refresh, host version 1200, 8 MB settings file\n");
  std::printf("  after the file changed (one read):    %9.2f ms\n", c);
  std::printf("  file unchanged:                        %9.2f ms\n", u);
  std::printf("  one parse of the file (baseline):      %9.2f ms\n", p);
  std::printf("  ratio: %.2fx one parse after a change (goal: at most 1.5x); medians of %d trials\n",
              c / p, kTrials);
  return 0;
}

int racyWindow(const std::filesystem::path& work) {
  const auto ini = work / L"Favorites.ini";
  Plugin plugin;
  writeDated(ini, fixture(), ticksNow() - 600 * kSecond);
  if (!plugin.start(work, 1200)) return 1;
  plugin.refresh();
  std::vector<double> racy, settled;
  for (int trial = 0; trial < kTrials; ++trial) {
    settled.push_back(millisecondsPerRun(3, [&] { plugin.refresh(); }));
    // Written this moment, as right after a save: every call reads it again.
    writeDated(ini, fixture(), ticksNow());
    racy.push_back(millisecondsPerRun(1, [&] { plugin.refresh(); }));
    writeDated(ini, fixture(), ticksNow() - 600 * kSecond);
    plugin.refresh();
  }
  const double r = median(racy), s = median(settled);
  std::printf("refresh, host version 1200, 94 favorites, the file written less than 2 s ago\n");
  std::printf("  inside the racy window (a read per call): %9.2f ms\n", r);
  std::printf("  file unchanged (baseline):                %9.3f ms\n", s);
  std::printf("  ratio: %.0fx the cost of a settled refresh; medians of %d trials\n", r / s, kTrials);
  return 0;
}

// The store inside favorites.dll is this one, linked in: the same code, fed
// the captions a day of refreshes hands the host.
int textStore() {
  IniFile ini = IniFile::fromBytes(fixture());
  std::vector<std::string> base;
  for (int i = 1; i <= 99; ++i) base.push_back(fav::toNarrow(menus::menuItemText(ini, i, 1199)));
  plugin::releaseHostTexts();
  std::unordered_set<std::string> distinct;
  size_t internedBytes = 0;
  for (int refresh = 1; refresh <= 10'000; ++refresh) {
    for (int i = 0; i < 99; ++i) {
      // Entries whose alias or connection changed since the last refresh.
      const std::string text = i >= 5 && !base[i].empty() ? base[i] + " #" + std::to_string(refresh) : base[i];
      plugin::hostText(text);
      if (distinct.insert(text).second) internedBytes += text.size() + 1;
    }
  }
  const plugin::HostTextUse use = plugin::hostTextUse();
  std::printf("host text store, 10,000 refreshes of 99 texts with changing captions\n");
  std::printf("  peak: %zu texts, %zu KB\n", use.peakTexts, use.peakBytes / 1024);
  std::printf("  interning alone (baseline): %zu texts, %zu KB\n", distinct.size(), internedBytes / 1024);
  plugin::releaseHostTexts();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::filesystem::path package = argc > 1 ? argv[1] : L".";
  const std::filesystem::path work = std::filesystem::temp_directory_path() / L"favorites_refresh_bench";
  std::filesystem::remove_all(work);
  std::filesystem::create_directories(work);
  std::filesystem::copy_file(package / L"favorites.dll", work / L"favorites.dll");
  writeDated(work / L"Favorites.ini", fixture(), ticksNow() - 600 * kSecond);

  int failed = 0;
  for (int scheme : {0, 1}) failed |= keyByKey(work, scheme);
  failed |= bigFile(work);
  failed |= racyWindow(work);
  failed |= textStore();
  std::filesystem::remove_all(work);
  if (failed) std::fprintf(stderr, "refresh_bench: a refresh did not answer as the baseline did\n");
  return failed;
}

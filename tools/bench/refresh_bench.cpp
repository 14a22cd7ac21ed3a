// A full menu refresh (CreateMenuItem 1..99, then OnActivate) of a 94-favorite
// settings file through the real DLL, against the same texts and buttons
// computed key by key through the platform's private-profile reader.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host_simulator.h"
#include "menu_texts.h"

namespace {

// The platform reader: every key opens and parses the file again.
struct PlatformIni {
  std::wstring path;
  std::wstring readText(const std::wstring& section, const std::wstring& key,
                        const std::wstring& def) const {
    wchar_t buf[2048];
    ::GetPrivateProfileStringW(section.c_str(), key.c_str(), def.c_str(), buf, 2048, path.c_str());
    return buf;
  }
  bool readFlag(const std::wstring& section, const std::wstring& key, bool def) const {
    const std::wstring v = readText(section, key, def ? L"1" : L"0");
    wchar_t* end = nullptr;
    const long n = std::wcstol(v.c_str(), &end, 10);
    return end && *end == 0 && !v.empty() ? n != 0 : def;
  }
};

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

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <typename Fn>
double millisecondsPerRun(int runs, Fn&& fn) {
  fn();  // warm-up: first-touch costs are not what a refresh costs
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) fn();
  const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / runs;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::filesystem::path package = argc > 1 ? argv[1] : L".";
  const std::filesystem::path work = std::filesystem::temp_directory_path() / L"favorites_refresh_bench";
  std::filesystem::remove_all(work);
  std::filesystem::create_directories(work);
  std::filesystem::copy_file(package / L"favorites.dll", work / L"favorites.dll");
  { std::ofstream(work / L"Favorites.ini", std::ios::binary) << fixture(); }

  for (int version : {1199, 1200}) {
    hostsim::HostSimulator host;
    host.hostVersion = version;
    const std::wstring w = work.wstring();
    host.hostRootFolder = std::string(w.begin(), w.end()) + "\\";
    if (!host.load((work / L"favorites.dll").wstring())) {
      std::fprintf(stderr, "cannot load the DLL from %ls\n", package.c_str());
      return 1;
    }
    host.identify();
    host.registerServices();
    PlatformIni platform{(work / L"Favorites.ini").wstring()};

    auto refreshTexts = [&] { host.menuTexts(); };
    auto refreshButtons = [&] {
      host.clearRecords();
      host.onActivate();
    };
    size_t baselineItems = 0;
    auto keyByKey = [&] {
      baselineItems = 0;
      for (int i = 1; i <= 99; ++i) baselineItems += !menus::menuItemText(platform, i, version).empty();
      std::wstring folder;
      baselineItems += menus::toolButtons(platform, version, w, folder).size();
    };
    // Interleaved trials, medians reported: Wine's timings drift from run to run.
    std::vector<double> texts, buttons, baseline;
    for (int trial = 0; trial < 9; ++trial) {
      texts.push_back(millisecondsPerRun(3, refreshTexts));
      buttons.push_back(millisecondsPerRun(3, refreshButtons));
      baseline.push_back(millisecondsPerRun(3, keyByKey));
    }
    const double t = median(texts), b = median(buttons), k = median(baseline);
    size_t dllItems = host.toolButtons.size();
    for (const auto& m : host.menu) dllItems += !m.empty();

    std::printf("refresh, host version %d, 94 favorites (%zu items and buttons; key by key %zu)\n",
                version, dllItems, baselineItems);
    std::printf("  through favorites.dll (one read per call): %8.2f ms (99 texts %.2f, buttons %.2f)\n",
                t + b, t, b);
    std::printf("  key by key through the platform reader:    %8.2f ms\n", k);
    std::printf("  ratio: %.1fx faster (goal: at least 20x); medians of 9 trials\n", k / (t + b));
  }
  std::filesystem::remove_all(work);
  return 0;
}

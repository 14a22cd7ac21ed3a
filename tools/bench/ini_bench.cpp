// Whole-file save of a 94-favorite settings file against the same keys
// written one by one through the platform's private-profile writes.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform_profile.h"
#include "settings_file.h"

namespace {

constexpr int kFavorites = 94;

void buildLists(TSubMenuItems& submenus, TFavoriteItems& favorites) {
  submenus.Add();
  const wchar_t* names[] = {L"Scripts", L"Packages", L"Reports", L"Admin"};
  for (const wchar_t* name : names) {
    TSubMenuItem& s = submenus.Add();
    s.fSubMenu = name;
    s.fImage = std::wstring(L"fav_") + name + L".bmp";
  }
  for (int i = 1; i <= kFavorites; ++i) {
    TFavoriteItem& f = favorites.Add();
    f.fSubMenu = i % 5 == 0 ? L"" : names[i % 4];
    f.fFileName = L"%path%\\project\\module" + std::to_wstring(i) + L"\\source_" +
                  std::to_wstring(i) + L".pkb";
    f.fFileType = i % 4;
    f.fImage = i % 3 == 0 ? L"fav_" + std::to_wstring(i) + L".bmp" : L"";
    if (i % 2 == 0) {
      f.fUsername = L"scott";
      f.fPassword = L"tiger" + std::to_wstring(i);
      f.fDatabase = L"orcl.example.com";
      f.fConnectAs = L"Normal";
    }
    f.fAlias = i % 7 == 0 ? L"Alias " + std::to_wstring(i) : L"";
  }
  favorites.SortBySubmenu();
}

template <typename F>
double medianMs(int runs, F&& f) {
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    const auto start = std::chrono::steady_clock::now();
    f();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  try {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::filesystem::path dir =
        std::filesystem::path(temp) / (L"fav_ini_bench_" + std::to_wstring(::GetCurrentProcessId()));
    std::filesystem::create_directories(dir);
    const std::wstring ours = (dir / L"Favorites.ini").wstring();
    const std::wstring keyByKey = (dir / L"KeyByKey.ini").wstring();

    TSubMenuItems submenus;
    TFavoriteItems favorites;
    buildLists(submenus, favorites);
    FavoritesSettings settings;
    settings.SavePassword = true;
    settings.ImagePath = argc > 1 ? std::filesystem::path(argv[1]).wstring() : std::wstring(L"C:\\");
    constexpr int kHostVersion = 1200;

    std::wstring error;
    if (!saveAll(ours, settings, submenus, favorites, kHostVersion, &error)) {
      std::fprintf(stderr, "first save failed: %ls\n", error.c_str());
      return 1;
    }
    std::filesystem::copy_file(ours, keyByKey, std::filesystem::copy_options::overwrite_existing);
    const auto bytes = std::filesystem::file_size(ours);

    bool ok = true;
    const double whole = medianMs(15, [&] {
      ok = saveAll(ours, settings, submenus, favorites, kHostVersion, &error) && ok;
    });
    const double platformMs = medianMs(5, [&] {
      platform::saveKeyByKey(keyByKey, settings, submenus, favorites, kHostVersion);
    });
    std::filesystem::remove_all(dir);
    if (!ok) {
      std::fprintf(stderr, "save failed: %ls\n", error.c_str());
      return 1;
    }
    std::printf("settings file: %d favorites, %llu bytes\n", kFavorites,
                static_cast<unsigned long long>(bytes));
    std::printf("save, whole file (saveAll):          %8.2f ms\n", whole);
    std::printf("save, key by key (platform writes):  %8.2f ms\n", platformMs);
    std::printf("save ratio: %.1fx faster (goal >= 10x)\n", platformMs / std::max(whole, 1e-3));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "ini_bench: %s\n", e.what());
    return 1;
  }
}

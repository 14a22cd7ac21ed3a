// Relink Missing's search: 10,000 files in nested folders searched for the
// files of 50 missing favorites (names met once, several times or never),
// against listing the same folder alone, with the same listing calls, in the
// same run. Medians of interleaved trials.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "relink_search.h"

namespace {

constexpr int kFiles = 10000;
constexpr int kMissing = 50;
constexpr int kTrials = 9;

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double millisecondsOf(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// 10 projects x 10 modules x 100 files; every fifth missing name is in
// two modules, every tenth in none.
void makeTree(const std::filesystem::path& root) {
  int made = 0;
  for (int p = 0; p < 10; ++p)
    for (int m = 0; m < 10; ++m) {
      const auto folder = root / ("project" + std::to_string(p)) / ("module" + std::to_string(m));
      std::filesystem::create_directories(folder);
      for (int f = 0; f < kFiles / 100; ++f, ++made) {
        std::string name = "unit_" + std::to_string(made) + ".sql";
        if (made % 200 == 7 && made / 200 < kMissing) name = "wanted_" + std::to_string(made / 200) + ".pkb";
        if (made % 1000 == 513) name = "wanted_" + std::to_string((made / 1000) * 5) + ".pkb";
        std::ofstream(folder / name) << "--\n";
      }
    }
}

std::vector<relink::Missing> missingFavorites() {
  std::vector<relink::Missing> missing;
  for (int i = 0; i < kMissing; ++i)
    missing.push_back({i, L"c:\\old\\project" + std::to_wstring(i % 10) + L"\\module" +
                              std::to_wstring(i % 7) + L"\\wanted_" +
                              std::to_wstring(i % 10 == 9 ? 1000 + i : i) + L".pkb"});
  return missing;
}

}  // namespace

int wmain() {
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path root =
      std::filesystem::path(temp) / ("relink_bench_" + std::to_string(::GetCurrentProcessId()));
  makeTree(root);

  std::vector<double> search, listing;
  relink::Outcome outcome;
  size_t listed = 0;
  for (int t = 0; t < kTrials; ++t) {
    listing.push_back(millisecondsOf([&] {
      std::atomic<bool> stop{false};
      std::atomic<size_t> files{0};
      relink::walkFiles(root.wstring(), [](const std::wstring&, const std::wstring&) {}, stop, files);
      listed = files;
    }));
    search.push_back(millisecondsOf([&] {
      relink::Matcher matcher(missingFavorites());
      std::atomic<bool> stop{false};
      std::atomic<size_t> files{0};
      relink::walkFiles(
          root.wstring(),
          [&](const std::wstring& folder, const std::wstring& name) { matcher.offer(folder, name); },
          stop, files);
      outcome = matcher.outcome();
    }));
  }
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);

  const double s = median(search), l = median(listing);
  std::printf("relink, %zu files in 100 folders, %d missing favorites (%zu relinked)\n", listed,
              kMissing, outcome.relinked.size());
  std::printf("  search and match:               %9.2f ms\n", s);
  std::printf("  listing the same folder alone:  %9.2f ms\n", l);
  std::printf("  ratio: %.2fx the listing alone; medians of %d trials\n", s / l, kTrials);
  return 0;
}

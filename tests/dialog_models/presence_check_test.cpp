// The Configure dialog's background file check, answered through the host
// simulator's existence seam: one worker for the whole list, one nudge for
// the answers the window has not taken yet, and a path that keeps its worker
// past the limit counted unknown while the others go on.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "host_simulator.h"
#include "presence_check.h"
#include "unique_handles.h"

namespace {

using filecheck::BackgroundCheck;
using filecheck::Presence;

constexpr UINT kChecked = WM_APP + 7;

bool waitUntil(const std::function<bool()>& done, DWORD limitMs = 20000) {
  const ULONGLONG end = ::GetTickCount64() + limitMs;
  while (!done()) {
    if (::GetTickCount64() > end) return false;
    ::Sleep(1);
  }
  return true;
}

class PresenceCheckTest : public ::testing::Test {
 protected:
  // The nudges waiting in the queue, taken out.
  int nudges(unsigned generation) {
    int count = 0;
    MSG msg;
    while (::PeekMessageW(&msg, window.get(), kChecked, kChecked, PM_REMOVE)) {
      EXPECT_EQ(msg.wParam, generation);
      ++count;
    }
    return count;
  }
  // Takes answers as the window would, each after its nudge, until n are in.
  std::map<std::wstring, Presence> answers(unsigned generation, size_t n) {
    std::map<std::wstring, Presence> all;
    waitUntil([&] {
      if (nudges(generation) > 0) {
        for (const BackgroundCheck::Answer& a : check.take(generation))
          EXPECT_TRUE(all.emplace(a.path, a.presence).second) << "answered twice";
      }
      return all.size() >= n;
    });
    return all;
  }

  hostsim::HostSimulator host;
  fav::unique_hwnd window{::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                            nullptr, nullptr, nullptr)};
  BackgroundCheck check;
};

TEST_F(PresenceCheckTest, OneWorkerAsksEachPathOnceAndOneNudgeWaitsForTheWindow) {
  std::mutex lock;
  std::set<DWORD> threads;
  std::atomic<int> asked{0};
  host.ui.fileExists = [&](const std::wstring& path) {
    {
      std::lock_guard<std::mutex> hold(lock);
      threads.insert(::GetCurrentThreadId());
    }
    ++asked;
    return path.rfind(L"c:\\gone\\", 0) == 0 ? 0 : 1;
  };
  std::vector<std::wstring> paths;
  for (int i = 0; i < 150; ++i) {
    paths.push_back(L"c:\\gone\\" + std::to_wstring(i) + L".sql");
    paths.push_back(L"c:\\here\\" + std::to_wstring(i) + L".sql");
  }
  paths.push_back(paths.front());  // the same path twice is asked once
  const unsigned generation = check.start(window.get(), kChecked, paths);
  ASSERT_NE(generation, 0u);

  ASSERT_TRUE(waitUntil([&] { return asked == 300; }));
  EXPECT_EQ(nudges(generation), 1) << "the answers not yet taken share one nudge";
  std::map<std::wstring, Presence> all;
  for (const BackgroundCheck::Answer& a : check.take(generation)) all.emplace(a.path, a.presence);
  for (const auto& [path, presence] : answers(generation, 300 - all.size()))
    all.emplace(path, presence);
  ASSERT_EQ(all.size(), 300u);
  for (const auto& [path, presence] : all)
    EXPECT_EQ(presence, path.rfind(L"c:\\gone\\", 0) == 0 ? Presence::Missing : Presence::Exists)
        << std::string(path.begin(), path.end());
  EXPECT_EQ(asked, 300);
  EXPECT_EQ(threads.size(), 1u) << "one worker, not one thread per file";
}

TEST_F(PresenceCheckTest, APathThatKeepsItsWorkerPastTheLimitIsUnknownAndTheRestGoOn) {
  fav::unique_kernel_handle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> slowReturned{false};
  const std::wstring slow = L"\\\\slow\\share\\a.sql";  // sorted first
  host.ui.fileExists = [&](const std::wstring& path) {
    if (path != slow) return 1;
    ::WaitForSingleObject(release.get(), 30000);
    slowReturned = true;
    return 0;  // "missing", heard too late
  };
  const unsigned generation =
      check.start(window.get(), kChecked, {slow, L"c:\\here\\b.sql", L"c:\\here\\c.sql"});
  ASSERT_NE(generation, 0u);
  const auto all = answers(generation, 3);
  EXPECT_FALSE(slowReturned);
  const std::map<std::wstring, Presence> expected = {
      {slow, Presence::Unknown},
      {L"c:\\here\\b.sql", Presence::Exists},
      {L"c:\\here\\c.sql", Presence::Exists}};
  EXPECT_EQ(all, expected);
  // The held worker lets go of the seam before the test's state goes.
  ::SetEvent(release.get());
  EXPECT_TRUE(waitUntil([&] { return slowReturned.load(); }));
}

}  // namespace

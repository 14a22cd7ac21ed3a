// The Configure dialog's background file check, answered through the host
// simulator's existence seam: one worker for the whole list, each name once
// and asked by the path it opens, one nudge for the answers the window has
// not taken yet, and a file that keeps its worker past the limit counted
// unknown while the others go on.
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
  // Takes answers as the window would, each after its nudge, until n names
  // are in: name -> (path asked, presence).
  using Answers = std::map<std::wstring, std::pair<std::wstring, Presence>>;
  void take(unsigned generation, Answers& all) {
    for (BackgroundCheck::Answer& a : check.take(generation))
      EXPECT_TRUE(all.emplace(a.name, std::make_pair(a.path, a.presence)).second)
          << "answered twice";
  }
  Answers answers(unsigned generation, size_t n, Answers all = {}) {
    waitUntil([&] {
      if (nudges(generation) > 0) take(generation, all);
      return all.size() >= n;
    });
    return all;
  }
  static std::wstring pathOf(std::wstring_view name) {
    return name.starts_with(L"%path%") ? L"c:\\here" + std::wstring(name.substr(6))
                                       : std::wstring(name);
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
  std::vector<std::wstring> names;
  for (int i = 0; i < 150; ++i) {
    names.push_back(L"c:\\gone\\" + std::to_wstring(i) + L".sql");
    names.push_back(L"%path%\\" + std::to_wstring(i) + L".sql");
  }
  names.push_back(names.front());  // the same name twice is asked once
  const unsigned generation =
      check.start(window.get(), kChecked, {names.begin(), names.end()}, pathOf);
  ASSERT_NE(generation, 0u);
  names.clear();  // the check keeps its own copy

  ASSERT_TRUE(waitUntil([&] { return asked == 300; }));
  EXPECT_EQ(nudges(generation), 1) << "the answers not yet taken share one nudge";
  Answers all;
  take(generation, all);
  all = answers(generation, 300, all);
  ASSERT_EQ(all.size(), 300u);
  for (const auto& [name, answer] : all) {
    EXPECT_EQ(answer.first, pathOf(name));
    EXPECT_EQ(answer.second, name.starts_with(L"c:\\gone\\") ? Presence::Missing : Presence::Exists)
        << std::string(name.begin(), name.end());
  }
  EXPECT_EQ(asked, 300);
  EXPECT_EQ(threads.size(), 1u) << "one worker, not one thread per file";
}

TEST_F(PresenceCheckTest, APathThatKeepsItsWorkerPastTheLimitIsUnknownAndTheRestGoOn) {
  fav::unique_kernel_handle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::atomic<bool> slowReturned{false};
  const std::wstring slow = L"\\\\slow\\share\\a.sql";  // asked first: names go in order
  host.ui.fileExists = [&](const std::wstring& path) {
    if (path != slow) return 1;
    ::WaitForSingleObject(release.get(), 30000);
    slowReturned = true;
    return 0;  // "missing", heard too late
  };
  const unsigned generation =
      check.start(window.get(), kChecked, {L"c:\\here\\c.sql", slow, L"c:\\here\\b.sql"}, pathOf);
  ASSERT_NE(generation, 0u);
  const Answers all = answers(generation, 3);
  EXPECT_FALSE(slowReturned);
  const Answers expected = {
      {slow, {slow, Presence::Unknown}},
      {L"c:\\here\\b.sql", {L"c:\\here\\b.sql", Presence::Exists}},
      {L"c:\\here\\c.sql", {L"c:\\here\\c.sql", Presence::Exists}}};
  EXPECT_EQ(all, expected);
  // The held worker lets go of the seam before the test's state goes.
  ::SetEvent(release.get());
  EXPECT_TRUE(waitUntil([&] { return slowReturned.load(); }));
}

}  // namespace

// The scripted tour over the real favorites.dll, checked where it stops:
// the menus built from the plug-in's texts, a favorite opened and logged on,
// Add Current written and shown after the refresh, both dialogs up as modal
// windows of the host, and the ribbon scheme.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "demohost_support.h"
#include "tour.h"

namespace {

using demohost::DemoWindow;
using demotest::captions;
using demotest::submenu;

bool contains(const std::vector<std::wstring>& list, const std::wstring& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

std::wstring iniValue(const std::filesystem::path& ini, const wchar_t* section, const wchar_t* key) {
  wchar_t buf[1024] = L"";
  ::GetPrivateProfileStringW(section, key, L"<missing>", buf, 1024, ini.c_str());
  return buf;
}

TEST(DemoHostTour, ShowsWhatThePluginDoes) {
  testsupport::TempDir dir;
  auto options = demotest::demoOptions(dir, demotest::envPath(L"FAV_BUILD_DIR") / L"plugin" / L"favorites.dll");
  options.slowCallMs = 1e9;  // speed is the benchmarks' business, not this test's
  DemoWindow demo(options);
  ASSERT_TRUE(demo.create(SW_SHOWNORMAL));
  demohost::Tour tour(demo, demohost::Tour::Options{});
  std::vector<std::string> reached;

  tour.onCheckpoint = [&](const std::string& name) {
    reached.push_back(name);
    HMENU bar = ::GetMenu(demo.hwnd());
    const std::filesystem::path scripts = demo.scratch().scripts();
    if (name == "older menus") {
      // " >> " puts the favorites right after File > Reopen.
      const auto file = captions(submenu(bar, {L"File"}));
      const auto reopen = std::find(file.begin(), file.end(), L"Reopen");
      ASSERT_NE(reopen, file.end());
      ASSERT_NE(reopen + 1, file.end());
      EXPECT_EQ(*(reopen + 1), L"Favorite Files");
      EXPECT_EQ(captions(submenu(bar, {L"File", L"Favorite Files"})),
                (std::vector<std::wstring>{L"[Favorites] Add Current", L"[Favorites] Configure...",
                                           L"[Favorites] About", L"", L"Who is connected [system@ORCL as SysDBA]",
                                           L"tablespace_usage.sql", L"", L"Reports", L"Payroll"}));
      EXPECT_EQ(captions(submenu(bar, {L"File", L"Favorite Files", L"Payroll"})),
                (std::vector<std::wstring>{L"pkg_payroll.pck [scott@ORCL as Normal]", L"test_payroll.tst"}));
      // Three fixed buttons and one per favorite with a bitmap.
      EXPECT_EQ(::SendMessageW(demo.toolbar(), TB_BUTTONCOUNT, 0, 0), 7);
    } else if (name == "favorite opened") {
      ASSERT_EQ(demo.host().windows.size(), 1u);
      EXPECT_EQ(demo.host().windows[0].fileName, demohost::narrowHost((scripts / L"pkg_payroll.pck").wstring()));
      EXPECT_NE(demo.editorText(0).find(L"create or replace package pkg_payroll"), std::wstring::npos);
      EXPECT_EQ(demo.statusText(1), L"Program Window");
      EXPECT_EQ(demo.statusText(2), L"scott@ORCL as Normal");
    } else if (name == "current added") {
      const auto ini = demo.scratch().settingsFile();
      EXPECT_EQ(iniValue(ini, L"Files", L"File8"), L"%path%\\Scripts\\invoices_due.sql");
      EXPECT_EQ(iniValue(ini, L"Usernames", L"Username8"), L"hr");
      EXPECT_EQ(iniValue(ini, L"ConnectsAs", L"ConnectAs8"), L"SysDBA");
      EXPECT_TRUE(contains(captions(submenu(bar, {L"File", L"Favorite Files"})),
                           L"invoices_due.sql [hr@XEPDB1 as SysDBA]"));
    } else if (name == "configure shown" || name == "about shown") {
      HWND dialog = tour.dialog();
      ASSERT_TRUE(::IsWindow(dialog));
      EXPECT_EQ(::GetWindow(dialog, GW_OWNER), demo.hwnd());
      EXPECT_FALSE(::IsWindowEnabled(demo.hwnd()));  // modal over the host
    } else if (name == "ribbon") {
      EXPECT_EQ(submenu(bar, {L"File", L"Favorite Files"}), nullptr);
      const auto& groups = demo.ribbon().groups();
      ASSERT_EQ(groups.size(), 1u);
      EXPECT_EQ(groups[0].caption, L"Favorites");
      std::vector<std::wstring> buttons;
      for (const auto& b : groups[0].buttons) buttons.push_back(b.caption + (b.dropDown ? L" v" : L""));
      EXPECT_EQ(buttons, (std::vector<std::wstring>{L"[Favorites] Add Current", L"[Favorites] Configure...",
                                                    L"[Favorites] About", L"Favorite Files v", L"Reports v",
                                                    L"Payroll v"}));
      ASSERT_EQ(groups[0].buttons.size(), 6u);
      std::vector<std::wstring> payroll;
      for (const auto& e : groups[0].buttons[5].items) payroll.push_back(e.caption);
      EXPECT_EQ(payroll, (std::vector<std::wstring>{L"pkg_payroll.pck [scott@ORCL as Normal]", L"test_payroll.tst"}));
    }
  };
  tour.start();
  MSG msg;
  while (!tour.finished() && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (demo.preTranslate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }

  EXPECT_EQ(tour.failures(), std::vector<std::wstring>{});
  EXPECT_EQ(reached, (std::vector<std::string>{"older menus", "favorite opened", "current added", "configure shown",
                                               "about shown", "ribbon"}));
  std::vector<std::wstring> faults;
  for (const std::wstring& line : demo.log().lines())
    if (line.rfind(L"!! ", 0) == 0) faults.push_back(line);
  EXPECT_EQ(faults, std::vector<std::wstring>{});
}

// Tools switches the menu layout over the settings as they are, not over a
// fresh copy of the sample.
TEST(DemoHostTools, SwitchingTheMenuLayoutKeepsTheUsersSettings) {
  testsupport::TempDir dir;
  auto options = demotest::demoOptions(dir, demotest::envPath(L"FAV_BUILD_DIR") / L"plugin" / L"favorites.dll");
  options.slowCallMs = 1e9;
  DemoWindow demo(options);
  ASSERT_TRUE(demo.create(SW_SHOWNORMAL));
  const auto ini = demo.scratch().settingsFile();
  ASSERT_TRUE(::WritePrivateProfileStringW(L"Settings", L"MenuItemName", L"My Week", ini.c_str()));
  auto readAll = [&] {
    std::ifstream in(ini, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string edited = readAll();
  auto choose = [&](const std::wstring& caption) {
    // The menu bar is made again at each switch.
    HMENU tools = submenu(::GetMenu(demo.hwnd()), {L"Tools"});
    ASSERT_TRUE(tools);
    const auto names = captions(tools);
    const auto at = std::find(names.begin(), names.end(), caption);
    ASSERT_NE(at, names.end()) << testing::PrintToString(caption);
    ::SendMessageW(demo.hwnd(), WM_COMMAND,
                   MAKEWPARAM(::GetMenuItemID(tools, static_cast<int>(at - names.begin())), 0), 0);
    demotest::pump();
  };
  choose(L"Ribbon (host version 1200)");
  EXPECT_TRUE(demo.ribbonScheme());
  EXPECT_EQ(readAll(), edited);
  EXPECT_EQ(iniValue(ini, L"Settings", L"MenuItemName"), L"My Week");
  choose(L"Older menus (host version 1199)");
  EXPECT_FALSE(demo.ribbonScheme());
  EXPECT_EQ(iniValue(ini, L"Settings", L"MenuItemName"), L"My Week");
  EXPECT_NE(submenu(::GetMenu(demo.hwnd()), {L"File", L"My Week"}), nullptr);
}

}  // namespace

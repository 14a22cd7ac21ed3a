// A plug-in that throws, crashes, returns null texts, is slow and lacks an
// export: the host reports each in its log pane and stays usable.
#include <gtest/gtest.h>

#include "demohost_support.h"

namespace {

using demohost::DemoWindow;

class DemoHostFaults : public ::testing::Test {
 protected:
  void SetUp() override {
    demo = std::make_unique<DemoWindow>(
        demotest::demoOptions(dir, demotest::envPath(L"FAV_BUILD_DIR") / L"tests" / L"demohost" / L"bad_plugin.dll"));
    ASSERT_TRUE(demo->create(SW_SHOWNORMAL));
  }
  // The log lines written since mark.
  std::wstring logSince(size_t mark) const {
    std::wstring text;
    const auto& lines = demo->log().lines();
    for (size_t i = mark; i < lines.size(); ++i) text += lines[i] + L"\n";
    return text;
  }

  testsupport::TempDir dir;
  std::unique_ptr<DemoWindow> demo;
};

TEST_F(DemoHostFaults, MenuTextsThatAreNullSlowOrMalformedAreReported) {
  const std::wstring log = logSince(0);
  EXPECT_NE(log.find(L"!! CreateMenuItem(4) returned a null text"), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"!! CreateMenuItem(5) took"), std::wstring::npos) << log;
  EXPECT_NE(log.find(L"!! menu item 6 \"File /  / nameless\": an empty part in the path"), std::wstring::npos) << log;
  // The good texts still make their items.
  EXPECT_EQ(demotest::captions(demotest::submenu(::GetMenu(demo->hwnd()), {L"File", L"Bad"})),
            (std::vector<std::wstring>{L"throws", L"crashes", L"slow"}));
}

TEST_F(DemoHostFaults, ExceptionsCrashesAndMissingExportsLeaveTheHostRunning) {
  struct Case {
    const char* what;
    std::function<void(DemoWindow&)> act;
    const wchar_t* expected;
  } cases[] = {
      {"throws", [](DemoWindow& d) { d.clickPluginItem(2); }, L"!! OnMenuClick(2) threw std::runtime_error: boom"},
      {"crashes", [](DemoWindow& d) { d.clickPluginItem(3); }, L"!! OnMenuClick(3) access violation"},
      {"no export", [](DemoWindow& d) { d.configurePlugin(); }, L"!! Configure() threw std::runtime_error: the plug-in has no export Configure"},
      {"null text", [](DemoWindow& d) { d.aboutPlugin(); }, L"!! About() threw std::runtime_error: About returned a null text"},
      // After a crash the guard still works for the next call.
      {"throws again", [](DemoWindow& d) { d.clickPluginItem(2); }, L"!! OnMenuClick(2) threw std::runtime_error: boom"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const size_t mark = demo->log().lines().size();
    c.act(*demo);
    demotest::pump();
    const std::wstring log = logSince(mark);
    EXPECT_NE(log.find(c.expected), std::wstring::npos) << log;
    EXPECT_TRUE(::IsWindowEnabled(demo->hwnd()));
  }
  // Still a working host: a file opens and the status bar follows it.
  demo->openFile(demo->scratch().scripts() / L"emp_report.sql");
  EXPECT_EQ(demo->editors().size(), 1u);
  EXPECT_EQ(demo->statusText(1), L"SQL Window");
}

}  // namespace

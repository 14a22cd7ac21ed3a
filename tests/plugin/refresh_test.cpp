// Menu refreshes through the real DLL while the settings file changes under
// it: a hand edit shows at the next refresh, whatever stamps it leaves; a
// save of ours shows at once; a file held by another program is never taken
// for an empty list.
#include <windows.h>

#include <functional>

#include "plugin_fixture.h"

namespace {

using testsupport::PluginTest;

constexpr std::uint64_t kSecond = 10'000'000;

class RefreshTest : public PluginTest {
 protected:
  static std::string list(const std::string& a, const std::string& b = "b") {
    return "[Files]\r\nFile1=c:\\" + a + ".sql\r\nFile2=c:\\" + b + ".sql\r\n";
  }
  static std::string shown(const std::string& name) { return "File / Favorite Files / c:\\" + name + ".sql"; }
  // A user's file: last written a while ago, outside the racy window.
  void writeAged(const std::string& text, std::uint64_t ticks) {
    writeIni(text);
    ASSERT_TRUE(testsupport::setWriteTime(iniPath(), ticks));
  }
  // What the host shows for entries 1 and 2 after a full refresh.
  std::pair<std::string, std::string> refresh() {
    const auto texts = host.menuTexts();
    host.clearRecords();
    host.onActivate();
    return {texts[5], texts[6]};
  }
};

TEST_F(RefreshTest, AHandEditShowsAtTheNextRefresh) {
  struct Row {
    const char* edit;
    std::function<void(std::uint64_t written)> make;
    const char* first;  // entry 1 afterwards
  };
  const Row rows[] = {
      {"another text, another time",
       [this](std::uint64_t written) { writeAged(list("edited"), written + kSecond); },
       "edited"},
      {"same size and write time",
       [this](std::uint64_t written) { writeAged(list("e"), written); }, "e"},
      {"another file renamed into place with the same size and time",
       [this](std::uint64_t written) {
         const auto other = dir / L"copy.ini";
         testsupport::writeFile(other, list("e"));
         ASSERT_TRUE(testsupport::setWriteTime(other, written));
         ASSERT_TRUE(::MoveFileExW(other.c_str(), iniPath().c_str(), MOVEFILE_REPLACE_EXISTING));
       },
       "e"},
      {"rewritten in the racy window, the time put back",
       [this](std::uint64_t) {
         // The file was written just now, a moment before the refresh read it.
         writeIni(list("a"));
         const auto written = testsupport::systemTicksNow();
         ASSERT_TRUE(testsupport::setWriteTime(iniPath(), written));
         ASSERT_EQ(refresh().first, shown("a"));
         writeIni(list("e"));
         ASSERT_TRUE(testsupport::setWriteTime(iniPath(), written));
       },
       "e"},
  };
  loadPlugin(1199);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.edit);
    const std::uint64_t written = testsupport::systemTicksNow() - 600 * kSecond;
    writeAged(list("a"), written);
    ASSERT_EQ(refresh().first, shown("a"));
    ASSERT_EQ(refresh().first, shown("a"));
    row.make(written);
    const auto after = refresh();
    EXPECT_EQ(after.first, shown(row.first));
    EXPECT_EQ(after.second, shown("b"));
  }
}

TEST_F(RefreshTest, OurOwnSaveShowsAtOnceAndAfter) {
  writeAged(list("a"), testsupport::systemTicksNow() - 600 * kSecond);
  loadPlugin(1199);
  ASSERT_EQ(refresh().first, shown("a"));
  host.windows = {{"c:\\w\\new.sql", 1, 0}};
  host.currentWindow = 0;
  host.onMenuClick(2);
  EXPECT_EQ(host.menu[7], "File / Favorite Files / c:\\w\\new.sql");
  for (int i = 0; i < 3; ++i) EXPECT_EQ(host.menuTexts()[7], "File / Favorite Files / c:\\w\\new.sql");
}

TEST_F(RefreshTest, AFileHeldByAnotherProgramIsNeverTakenForAnEmptyList) {
  const std::uint64_t written = testsupport::systemTicksNow() - 600 * kSecond;
  writeAged(list("a"), written);
  loadPlugin(1199);
  ASSERT_EQ(refresh().first, shown("a"));
  {
    // Held, unchanged: the list read before still stands, and Add Current,
    // which must read the file itself, writes nothing.
    testsupport::FileLock lock(iniPath(), 0);
    ASSERT_TRUE(lock.held());
    EXPECT_EQ(refresh(), std::make_pair(shown("a"), shown("b")));
    EXPECT_EQ(host.toolButtons.size(), 3u);
    host.windows = {{"c:\\w\\new.sql", 1, 0}};
    host.currentWindow = 0;
    host.onMenuClick(2);
    EXPECT_EQ(host.refreshRequests, 0);
  }
  EXPECT_EQ(readIni(), list("a"));

  // Changed and then held: nothing stale is shown, nothing is kept, and the
  // edit shows once the file can be read.
  writeAged(list("e"), written + kSecond);
  {
    testsupport::FileLock lock(iniPath(), 0);
    ASSERT_TRUE(lock.held());
    EXPECT_NE(refresh().first, shown("a"));
  }
  EXPECT_EQ(refresh(), std::make_pair(shown("e"), shown("b")));
  EXPECT_EQ(readIni(), list("e"));
}

}  // namespace

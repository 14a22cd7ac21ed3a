#include "un_logger.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "temp_dir.h"

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

constexpr LogClockTime kStamp{2024, 3, 7, 14, 5, 9};
constexpr char kPrefix[] = "[2024-03-07 14:05:09] :";

// Runs before the fixture tests below, and nothing else here logs, so it sees
// the logger as a program finds it at start.
TEST(LoggerAtStart, IsOffWithLevelOneAndNoFileName) {
  EXPECT_FALSE(isLogging());
  EXPECT_EQ(logLevel(), 1);
  EXPECT_EQ(getLogFileName(), L"");
  EXPECT_NO_THROW(dolog(L"nothing", 0, 5));
}

class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setLogClockForTesting([] { return kStamp; });
    setLogLevel(1);
    setLogFileName(file().wstring());
    turnLoggingOn();
  }
  void TearDown() override {
    turnLoggingOff();
    setLogFileName(L"");
    setLogLevel(1);
    setLogClockForTesting({});
  }
  std::filesystem::path file() const { return dir / L"trace.log"; }
  std::string written() const { return readFile(file()); }
  static std::string line(const std::string& text) { return kPrefix + text + "\r\n"; }

  TempDir dir;
};

TEST_F(LoggerTest, LineFormatToTheCharacter) {
  struct Row {
    LogClockTime clock;
    const wchar_t* message;
    int indent;
    const char* expected;
  } rows[] = {
      {kStamp, L"message text", 0, "[2024-03-07 14:05:09] :message text\r\n"},
      {kStamp, L"two", 2, "[2024-03-07 14:05:09] :  two\r\n"},
      {kStamp, L"negative", -4, "[2024-03-07 14:05:09] :negative\r\n"},
      {kStamp, L"", 0, "[2024-03-07 14:05:09] :\r\n"},
      {{987, 1, 2, 0, 0, 0}, L"pad", 1, "[0987-01-02 00:00:00] : pad\r\n"},
      {{2025, 12, 31, 23, 59, 58}, L"late", 0, "[2025-12-31 23:59:58] :late\r\n"},
  };
  for (const Row& row : rows) {
    std::filesystem::remove(file());
    setLogClockForTesting([&] { return row.clock; });
    dolog(row.message, row.indent, 1);
    EXPECT_EQ(written(), row.expected) << "indent " << row.indent;
  }
}

TEST_F(LoggerTest, WritesInTheSystemCodePage) {
  if (::GetACP() != 1252) GTEST_SKIP() << "needs code page 1252, have " << ::GetACP();
  dolog(L"caf\u00e9 \u4e2d", 0, 1);
  EXPECT_EQ(written(), line("caf\xe9 ?"));
}

TEST_F(LoggerTest, LevelsFilterBelowTheStoredLevel) {
  struct Row {
    int stored, level;
    bool written;
  } rows[] = {
      {1, 1, true}, {1, 5, true}, {3, 2, false}, {3, 3, true},
      {3, 5, true}, {5, 4, false}, {5, 5, true}, {1, 0, false},
  };
  for (const Row& row : rows) {
    std::filesystem::remove(file());
    setLogLevel(row.stored);
    dolog(L"m", 0, row.level);
    EXPECT_EQ(std::filesystem::exists(file()), row.written)
        << "stored " << row.stored << " level " << row.level;
  }
}

TEST_F(LoggerTest, SetLogLevelStoresOnlyOneToFive) {
  const int rows[][2] = {{0, 1}, {6, 1}, {-1, 1}, {1, 1}, {3, 3}, {5, 5}, {100, 1}};
  for (const auto& row : rows) {
    setLogLevel(row[0]);
    EXPECT_EQ(logLevel(), row[1]) << "set " << row[0];
  }
}

TEST_F(LoggerTest, TheThreeLogForms) {
  log(L"a", L"b", 0, 1);
  log(L"count", 42, 0, 1);
  log(L"minus", -7, 3, 1);
  log(L"key", L"", 1, 1);
  log(L"alone");
  EXPECT_EQ(written(), line("a b") + line("count 42") + line("   minus -7") + line(" key ") +
                           line("alone"));
}

TEST_F(LoggerTest, MessageOnlyFormIsLevelOne) {
  setLogLevel(2);
  log(L"dropped");
  log(L"kept", L"x", 0, 2);
  EXPECT_EQ(written(), line("kept x"));
}

TEST_F(LoggerTest, AppendsAndNeverRewrites) {
  writeFile(file(), "earlier\r\n");
  dolog(L"one", 0, 1);
  dolog(L"two", 1, 1);
  EXPECT_EQ(written(), "earlier\r\n" + line("one") + line(" two"));
}

TEST_F(LoggerTest, MissingFileIsCreatedByTheFirstLine) {
  ASSERT_FALSE(std::filesystem::exists(file()));
  dolog(L"first", 0, 1);
  EXPECT_EQ(written(), line("first"));
}

TEST_F(LoggerTest, FileThatCannotBeCreatedRaisesLogFileError) {
  setLogFileName((dir / L"no such folder" / L"trace.log").wstring());
  EXPECT_THROW(dolog(L"m", 0, 1), LogFileError);
  EXPECT_THROW(log(L"m", L"x", 0, 1), LogFileError);
  EXPECT_THROW(log(L"m", 1, 0, 1), LogFileError);
  EXPECT_THROW(log(L"m"), LogFileError);
}

TEST_F(LoggerTest, FileHeldByAnotherProgramRaisesAndKeepsItsContent) {
  writeFile(file(), "kept\r\n");
  {
    testsupport::FileLock lock(file());
    ASSERT_TRUE(lock.held());
    EXPECT_THROW(dolog(L"m", 0, 1), LogFileError);
  }
  EXPECT_EQ(written(), "kept\r\n");
}

TEST_F(LoggerTest, OverlongFileNameRaises) {
  setLogFileName(dir.str() + L"\\" + std::wstring(260, L'x'));
  EXPECT_THROW(dolog(L"m", 0, 1), LogFileError);
}

TEST_F(LoggerTest, FilteredMessagesNeverTouchTheFile) {
  setLogFileName((dir / L"no such folder" / L"trace.log").wstring());
  setLogLevel(5);
  EXPECT_NO_THROW(dolog(L"m", 0, 4));
  EXPECT_NO_THROW(log(L"m", L"x", 0, 1));
  turnLoggingOff();
  EXPECT_NO_THROW(dolog(L"m", 0, 5));
  EXPECT_NO_THROW(log(L"m"));
}

TEST_F(LoggerTest, EmptyFileNameWritesNothingAndRaisesNothing) {
  setLogFileName(L"");
  EXPECT_NO_THROW(dolog(L"m", 0, 1));
  EXPECT_NO_THROW(log(L"m", 3, 0, 5));
}

TEST_F(LoggerTest, SwitchesOfTheFlag) {
  turnLoggingOff();
  EXPECT_FALSE(isLogging());
  toggleLogging();
  EXPECT_TRUE(isLogging());
  toggleLogging();
  EXPECT_FALSE(isLogging());
  turnLogging(true);
  EXPECT_TRUE(isLogging());
  turnLogging(false);
  EXPECT_FALSE(isLogging());
  setLogFileName(L"x.log");
  EXPECT_EQ(getLogFileName(), L"x.log");
}

}  // namespace

// Which databases ask before a logon: the patterns of "Ask before logon to"
// as a table, and the guard mark in the menu captions.
#include <gtest/gtest.h>

#include "ini_text.h"
#include "logon_guard.h"
#include "menu_texts.h"

namespace {

TEST(LogonGuard, DatabasePatterns) {
  const struct {
    const wchar_t* database;
    const wchar_t* patterns;
    bool matches;
  } rows[] = {
      {L"PROD", L"PROD", true},
      {L"prod", L"PROD", true},  // letter case ignored, both ways
      {L"PROD", L"prod", true},
      {L"PRODUCTION", L"PROD", false},  // the whole name, not a prefix
      {L"PRODUCTION", L"PROD*", true},
      {L"PROD", L"PROD*", true},  // * matches no text too
      {L"XPROD", L"PROD*", false},
      {L"SALES_P", L"*_P", true},
      {L"SALES_PX", L"*_P", false},
      {L"PROD1", L"PROD?", true},
      {L"PROD", L"PROD?", false},  // ? wants one character
      {L"PROD12", L"PROD?", false},
      {L"A_B_C", L"*_*_*", true},
      {L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", L"*a*a*a*a*a*a*a*a*c", false},
      {L"TEST", L"PROD*;*_P", false},
      {L"HR_P", L"PROD*;*_P", true},  // the second of several
      {L"PRODX", L"DEV; PROD* ;QA", true},  // blanks around a pattern
      {L"QA", L"DEV;;QA;", true},           // empty patterns skipped
      {L"", L"", false},
      {L"PROD", L"", false},
      {L"PROD", L";; ;", false},
      {L"", L"*", true},
      {L"ANY", L"*", true},
      {L"P;Q", L"P;Q", false},  // ";" always separates
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "'" << std::string(r.database, r.database + wcslen(r.database))
                                    << "' in '"
                                    << std::string(r.patterns, r.patterns + wcslen(r.patterns)) << "'");
    EXPECT_EQ(logon::matchesAnyPattern(r.database, r.patterns), r.matches);
  }
}

TEST(LogonGuard, Question) {
  EXPECT_EQ(logon::question(L"scott", L"PROD", L"SysDBA"), L"Log on to scott@PROD as SysDBA?");
  EXPECT_EQ(logon::question(L"scott", L"PROD", L""), L"Log on to scott@PROD?");
}

// A guarded favorite carries " !" after its connection; without the
// connection shown (or without a user, so without a logon) nothing marks it.
TEST(LogonGuard, MenuCaptionsMarkGuardedFavorites) {
  const ByteCodePage codePage;
  const std::string lists =
      "[Files]\r\nFile1=C:\\a.sql\r\nFile2=C:\\b.sql\r\nFile3=C:\\c.sql\r\nFile4=C:\\d.sql\r\n"
      "[Usernames]\r\nUsername1=scott\r\nUsername2=scott\r\nUsername3=scott\r\n"
      "[Databases]\r\nDatabase1=PROD1\r\nDatabase2=test\r\nDatabase3=test\r\nDatabase4=PROD1\r\n"
      "[ConnectsAs]\r\nConnectAs1=SysDBA\r\n[AskLogon]\r\nAskLogon3=1\r\nAskLogon4=1\r\n";
  const struct {
    const char* settings;
    int index;
    int hostVersion;
    const wchar_t* expected;
  } rows[] = {
      {"ShowConnectionInfo=1\r\nAskLogonDatabases=prod*", 6, 1100,
       L"File / Favorite Files / C:\\a.sql [scott@PROD1 as SysDBA] !"},
      {"ShowConnectionInfo=1\r\nAskLogonDatabases=prod*", 7, 1100,
       L"File / Favorite Files / C:\\b.sql [scott@test]"},
      {"ShowConnectionInfo=1", 8, 1100, L"File / Favorite Files / C:\\c.sql [scott@test] !"},
      {"ShowConnectionInfo=1", 8, 1200, L"SUBITEM=C:\\c.sql [scott@test] !"},
      {"ShowConnectionInfo=1\r\nShowFullPath=0", 8, 1100, L"File / Favorite Files / c.sql [scott@test] !"},
      {"ShowConnectionInfo=1\r\nAskLogonDatabases=*", 9, 1100, L"File / Favorite Files / C:\\d.sql"},
      {"ShowConnectionInfo=0\r\nAskLogonDatabases=*", 6, 1100, L"File / Favorite Files / C:\\a.sql"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.settings << " #" << r.index << " @" << r.hostVersion);
    const IniText ini =
        IniText::fromBytes(std::string("[Settings]\r\n") + r.settings + "\r\n" + lists, codePage);
    EXPECT_EQ(menus::menuItemText(ini, r.index, r.hostVersion), r.expected);
  }
}

}  // namespace

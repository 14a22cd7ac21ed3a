// A click on a favorite (probe, activation, open, logon, suppression) and Add
// Current, through the export boundary.
#include <windows.h>

#include <algorithm>
#include <climits>

#include "plugin_fixture.h"
#include "string_cipher.h"
#include "text_codec.h"

namespace {

using testsupport::PluginTest;

class OpenFavoriteTest : public PluginTest {
 protected:
  void TearDown() override { hostsim::HostSimulator::setModifiers(false, false, false); }

  std::vector<std::string> clickCalls(int index) {
    host.clearRecords();
    host.onMenuClick(index);
    std::vector<std::string> out;
    for (const auto& c : host.calls)
      if (c.name != "HostVersion" && c.name != "HostRootFolder") out.push_back(c.text());
    return out;
  }

  static std::string cipher(const std::string& plain) {
    const std::wstring w =
        encipherText(bytesAsCodes(plain), kPasswordKey, kPasswordMinFill, kPasswordMaxFill);
    return std::string(w.begin(), w.end());  // the alphabet is plain ASCII
  }
};

TEST_F(OpenFavoriteTest, OpensAFileThatIsNotOpenWithItsType) {
  writeIni("[Files]\nFile1=c:\\w\\a.sql\n[Types]\nType1=3\n");
  loadPlugin();
  EXPECT_EQ(clickCalls(6), (std::vector<std::string>{
                               "WindowCount()", "SelectWindow(0)", "CurrentWindowFileName()",
                               "OpenFileInWindow(3, c:\\w\\a.sql)"}));
}

TEST_F(OpenFavoriteTest, AnOpenFileIsActivatedWithoutLogon) {
  writeIni("[Files]\nFile1=c:\\w\\a.sql\n[Usernames]\nUsername1=scott\n");
  loadPlugin();
  host.windows = {{"c:\\w\\other.sql", 1, 0}, {"c:\\w\\a.sql", 1, 0}, {"c:\\w\\x.sql", 1, 0}};
  EXPECT_EQ(clickCalls(6), (std::vector<std::string>{
                               "WindowCount()", "SelectWindow(0)", "CurrentWindowFileName()",
                               "SelectWindow(1)", "CurrentWindowFileName()", "ActivateWindow(1)"}));
}

TEST_F(OpenFavoriteTest, TheProbeCoversEveryWindowNumberAndMatchesCaseExactly) {
  writeIni("[Files]\nFile1=c:\\w\\a.sql\n");
  loadPlugin();
  host.windows = {{"C:\\W\\A.SQL", 1, 0}, {"c:\\w\\b.sql", 1, 0}};
  const auto calls = clickCalls(6);
  EXPECT_EQ(calls, (std::vector<std::string>{
                       "WindowCount()", "SelectWindow(0)", "CurrentWindowFileName()",
                       "SelectWindow(1)", "CurrentWindowFileName()", "SelectWindow(2)",
                       "CurrentWindowFileName()", "OpenFileInWindow(0, c:\\w\\a.sql)"}));
}

TEST_F(OpenFavoriteTest, AGarbageWindowCountEndsTheProbe) {
  writeIni("[Files]\nFile1=c:\\w\\a.sql\n");
  loadPlugin();
  host.windows = {{"c:\\w\\b.sql", 1, 0}};
  struct Case {
    int count;
    size_t probes;
  } cases[] = {{-1, 0}, {INT_MIN, 0}, {0, 1}, {9999, 10000}, {10000, 10000}, {INT_MAX, 10000}};
  for (const auto& c : cases) {
    host.windowCountAnswer = c.count;
    host.windows.resize(1);
    host.clearRecords();
    host.onMenuClick(6);
    EXPECT_EQ(host.callsNamed("SelectWindow").size(), c.probes) << c.count;
    EXPECT_EQ(host.callsNamed("OpenFileInWindow").size(), 1u) << c.count;
  }
}

TEST_F(OpenFavoriteTest, NullTextsFromTheHostReadAsEmpty) {
  writeIni("[Settings]\nSavePassword=1\n[Files]\nFile1=c:\\w\\a.sql\n");
  loadPlugin();
  host.windows = {{"c:\\w\\b.sql", 1, 0}};
  host.currentWindow = 0;
  host.connections = {{"scott", "tiger", "orcl", "Normal"}};
  host.windows[0].connection = 1;
  EXPECT_EQ(host.createMenuItem(6), "File / Favorite Files / c:\\w\\a.sql");
  host.nullTexts = true;
  host.onMenuClick(6);  // the probe reads no file name: the favorite opens
  EXPECT_EQ(host.callsNamed("OpenFileInWindow").size(), 1u);
  const std::string before = readIni();
  host.currentWindow = 0;
  host.onMenuClick(2);  // Add Current of an empty name adds nothing
  EXPECT_EQ(readIni(), before);
  EXPECT_EQ(host.createMenuItem(2), "File / Favorite Files / [Favorites] Add Current");
}

TEST_F(OpenFavoriteTest, PathMarkerIsReplacedExactly) {
  struct Case {
    const char* settings;
    const char* file;
    const char* opened;
  } cases[] = {
      {"ReplacementPath=d:\\src", "%path%\\x.sql", "d:\\src\\x.sql"},
      {"", "%path%\\x.sql", "c:\\\\x.sql"},
      {"ReplacementPath=d:\\src", "%PATH%\\x.sql", "%PATH%\\x.sql"},
      {"ReplacementPath=", "%path%\\x.sql", "\\x.sql"},
      {"ReplacementPath=e:", "%path%\\a\\%path%.sql", "e:\\a\\e:.sql"},
  };
  for (const auto& c : cases) {
    writeIni(std::string("[Settings]\n") + c.settings + "\n[Files]\nFile1=" + c.file + "\n");
    loadPlugin();
    host.clearRecords();
    host.onMenuClick(6);
    const auto opened = host.callsNamed("OpenFileInWindow");
    ASSERT_EQ(opened.size(), 1u) << c.file;
    EXPECT_EQ(opened[0].args[1], c.opened) << c.settings;
  }
}

TEST_F(OpenFavoriteTest, LogsOnWithTheStoredConnection) {
  writeIni("[Files]\nFile1=c:\\a.sql\nFile2=c:\\b.sql\nFile3=c:\\c.sql\n"
           "[Usernames]\nUsername1=scott\nUsername2=hr\nUsername3=sys\n"
           "[Passwords]\nPassword1=" + cipher("tiger") + "\n"
           "[Databases]\nDatabase1=orcl\nDatabase2=xe\n"
           "[ConnectsAs]\nConnectAs1=SysDBA\nConnectAs3=\n");
  loadPlugin();
  struct Case {
    int index;
    const char* logon;
  } cases[] = {
      {6, "ConnectionForLogon(scott, tiger, orcl, SysDBA)"},
      {7, "ConnectionForLogon(hr, , xe, normal)"},  // ConnectAs missing
      {8, "ConnectionForLogon(sys, , , )"},         // ConnectAs present but empty
  };
  for (const auto& c : cases) {
    const auto calls = clickCalls(c.index);
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[calls.size() - 3], c.logon);
    EXPECT_EQ(calls[calls.size() - 1], "WindowConnectionState(1)");
    EXPECT_EQ(host.windows.back().connection, static_cast<int>(host.connections.size()));
  }
}

TEST_F(OpenFavoriteTest, HeldModifiersSuppressTheLogonOnlyWhenTheyMatchTheFlags) {
  struct Case {
    const char* flags;
    bool shift, ctrl, alt;
    bool logon;
  } cases[] = {
      {"ShiftState=1", true, false, false, false},
      {"ShiftState=1", true, true, false, true},
      {"ShiftState=1", false, false, false, true},
      {"", true, false, false, true},
      {"", false, false, false, true},
      {"", true, true, true, true},
      {"ShiftState=1\nCtrlState=1", true, true, false, false},
      {"ShiftState=1\nCtrlState=1", true, false, false, true},
      {"Altstate=1", false, false, true, false},
      {"CtrlState=1\nAltstate=1\nShiftState=1", true, true, true, false},
  };
  for (const auto& c : cases) {
    writeIni(std::string("[Settings]\n") + c.flags +
             "\n[Files]\nFile1=c:\\a.sql\n[Usernames]\nUsername1=scott\n");
    loadPlugin();
    host.windows.clear();
    hostsim::HostSimulator::setModifiers(c.shift, c.ctrl, c.alt);
    host.clearRecords();
    host.onMenuClick(6);
    EXPECT_EQ(host.callsNamed("ConnectionForLogon").size(), c.logon ? 1u : 0u)
        << c.flags << " shift=" << c.shift << " ctrl=" << c.ctrl << " alt=" << c.alt;
    EXPECT_EQ(host.callsNamed("OpenFileInWindow").size(), 1u);
  }
}

// A guarded logon (the favorite's own flag, or its database among the
// patterns of AskLogonDatabases, letter case aside) asks first; Yes logs on,
// No leaves the file open without a connection. A held suppression skips
// both the question and the logon.
TEST_F(OpenFavoriteTest, AGuardedLogonAsksFirst) {
  struct Case {
    const char* settings;
    const char* flag;      // AskLogon1's line, or ""
    const char* database;
    const char* connectAs;  // ConnectAs1's line, or ""
    bool shift;
    int answer;             // what the question is answered, 0: none is expected
    bool logon;
    const wchar_t* question;
  } cases[] = {
      {"", "", "PROD", "", false, 0, true, nullptr},
      {"", "AskLogon1=0", "PROD", "", false, 0, true, nullptr},
      {"", "AskLogon1=1", "orcl", "ConnectAs1=SysDBA", false, IDYES, true,
       L"Log on to scott@orcl as SysDBA?"},
      {"", "AskLogon1=1", "orcl", "ConnectAs1=SysDBA", false, IDNO, false,
       L"Log on to scott@orcl as SysDBA?"},
      {"", "AskLogon1=1", "orcl", "", false, IDYES, true, L"Log on to scott@orcl as normal?"},
      {"AskLogonDatabases=PROD*", "", "prod_eu", "ConnectAs1=Normal", false, IDYES, true,
       L"Log on to scott@prod_eu as Normal?"},
      {"AskLogonDatabases=PROD*", "", "XPROD", "", false, 0, true, nullptr},
      {"AskLogonDatabases=*_P", "", "hr_p", "", false, IDNO, false, L"Log on to scott@hr_p as normal?"},
      {"AskLogonDatabases=PROD?", "", "PROD1", "", false, IDYES, true, L"Log on to scott@PROD1 as normal?"},
      {"AskLogonDatabases=PROD?", "", "PROD12", "", false, 0, true, nullptr},
      {"AskLogonDatabases=DEV; QA ;*_P", "", "qa", "", false, IDNO, false, L"Log on to scott@qa as normal?"},
      {"AskLogonDatabases=DEV;QA;*_P", "", "test", "", false, 0, true, nullptr},
      {"AskLogonDatabases=", "", "PROD", "", false, 0, true, nullptr},
      {"ShiftState=1", "AskLogon1=1", "orcl", "", true, 0, false, nullptr},
      {"ShiftState=1\nAskLogonDatabases=*", "", "orcl", "", true, 0, false, nullptr},
      {"ShiftState=1", "AskLogon1=1", "orcl", "", false, IDYES, true, L"Log on to scott@orcl as normal?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.settings << " | " << c.flag << " | " << c.database
                                    << " | shift " << c.shift << " | answer " << c.answer);
    writeIni(std::string("[Settings]\n") + c.settings + "\n[Files]\nFile1=c:\\a.sql\n[Usernames]\n" +
             "Username1=scott\n[Databases]\nDatabase1=" + c.database + "\n[ConnectsAs]\n" +
             c.connectAs + "\n[AskLogon]\n" + c.flag + "\n");
    loadPlugin();
    host.windows.clear();
    host.ui.messageBoxTexts.clear();
    host.ui.messageBoxes.clear();
    if (c.answer) host.ui.messageBoxes.push_back(c.answer);
    hostsim::HostSimulator::setModifiers(c.shift, false, false);
    host.clearRecords();
    host.onMenuClick(6);
    hostsim::HostSimulator::setModifiers(false, false, false);
    if (c.question) {
      ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
      EXPECT_EQ(host.ui.messageBoxTexts[0], std::wstring(L"Favorites|") + c.question);
    } else {
      EXPECT_TRUE(host.ui.messageBoxTexts.empty());
    }
    EXPECT_EQ(host.callsNamed("OpenFileInWindow").size(), 1u);
    EXPECT_EQ(host.callsNamed("ConnectionForLogon").size(), c.logon ? 1u : 0u);
    EXPECT_EQ(host.windows.back().connection != 0, c.logon);
  }
}

TEST_F(OpenFavoriteTest, AGuardedFavoriteThatIsOpenIsBroughtForwardWithoutAQuestion) {
  writeIni("[Settings]\nAskLogonDatabases=*\n[Files]\nFile1=c:\\a.sql\n[Usernames]\nUsername1=scott\n"
           "[AskLogon]\nAskLogon1=1\n");
  loadPlugin();
  host.windows = {{"c:\\w\\b.sql", 1, 0}, {"c:\\a.sql", 1, 0}};
  host.clearRecords();
  host.onMenuClick(6);
  EXPECT_EQ(host.callsNamed("ActivateWindow").size(), 1u);
  EXPECT_TRUE(host.ui.messageBoxTexts.empty());
  EXPECT_TRUE(host.callsNamed("OpenFileInWindow").empty());
}

TEST_F(OpenFavoriteTest, MarkersAndMissingEntriesOpenNothing) {
  writeIni("[Files]\nFile1=[PL/SQL Developer 12 separator]\nFile2=c:\\a.sql\n");
  loadPlugin(1200);
  EXPECT_TRUE(clickCalls(6).empty());
  EXPECT_TRUE(clickCalls(8).empty());
  EXPECT_FALSE(clickCalls(7).empty());
}

class AddCurrentTest : public PluginTest {
 protected:
  std::wstring key(const wchar_t* section, const std::wstring& name, const wchar_t* def = L"<none>") {
    wchar_t buf[2048];
    ::GetPrivateProfileStringW(section, name.c_str(), def, buf, 2048, iniPath().c_str());
    return buf;
  }
  void currentWindow(const std::string& file, int type, int connection) {
    host.windows = {{file, type, connection}};
    host.currentWindow = 0;
  }
};

TEST_F(AddCurrentTest, AddsTheCurrentFileWithItsConnectionThenRefreshes) {
  writeIni("[Settings]\nSavePassword=1\n[Files]\nFile1=c:\\a.sql\nFile2=c:\\b.sql\n");
  loadPlugin();
  host.connections = {{"scott", "tiger", "orcl", "Normal"}};
  currentWindow("c:\\w\\new.sql", 2, 1);
  host.clearRecords();
  host.onMenuClick(2);

  EXPECT_EQ(key(L"Files", L"File3"), L"c:\\w\\new.sql");
  EXPECT_EQ(key(L"Types", L"Type3"), L"2");
  EXPECT_EQ(key(L"SubMenus", L"SubMenu3"), L"");
  EXPECT_EQ(key(L"Usernames", L"Username3"), L"scott");
  EXPECT_EQ(decipherText(key(L"Passwords", L"Password3"), kPasswordKey), L"tiger");
  EXPECT_EQ(key(L"Databases", L"Database3"), L"orcl");
  EXPECT_EQ(key(L"ConnectsAs", L"ConnectAs3"), L"Normal");
  EXPECT_EQ(key(L"Aliases", L"Alias3"), L"");
  EXPECT_EQ(key(L"Buttons", L"Button3"), L"<none>");
  EXPECT_EQ(key(L"Files", L"File1"), L"c:\\a.sql");

  const auto refresh = host.callsNamed("RefreshPluginMenus");
  ASSERT_EQ(refresh.size(), 1u);
  EXPECT_EQ(refresh[0].args[0], "7");
  EXPECT_EQ(host.toolButtons.size(), 3u);
  EXPECT_EQ(host.menu[7], "File / Favorite Files / c:\\w\\new.sql");
}

TEST_F(AddCurrentTest, PasswordIsEmptyUnlessStoringPasswordsIsOn) {
  loadPlugin();
  host.connections = {{"scott", "tiger", "orcl", "Normal"}};
  currentWindow("c:\\w\\new.sql", 2, 1);
  host.onMenuClick(2);
  EXPECT_EQ(key(L"Usernames", L"Username1"), L"scott");
  EXPECT_EQ(key(L"Passwords", L"Password1"), L"");
}

TEST_F(AddCurrentTest, EveryPasswordByteRoundTripsToTheLogon) {
  // In slices, so that a failing byte is easy to find in the output.
  for (int first = 1; first < 256; first += 64) {
    writeIni("[Settings]\nSavePassword=1\n");
    loadPlugin();
    std::string password;
    for (int c = first; c < first + 64 && c < 256; ++c) password += static_cast<char>(c);
    host.connections = {{"u", password, "db", "Normal"}};
    currentWindow("c:\\w\\new.sql", 0, 1);
    host.onMenuClick(2);
    host.windows.clear();
    host.clearRecords();
    host.onMenuClick(6);
    const auto logon = host.callsNamed("ConnectionForLogon");
    ASSERT_EQ(logon.size(), 1u);
    EXPECT_EQ(logon[0].args[1], password) << first;
  }
}

TEST_F(AddCurrentTest, LongPasswordsRoundTripUpToTheLimitAndALongerOneIsRefused) {
  // Bytes 128-255 are in every long row: each enciphers to many characters.
  for (const size_t length : {1u, 112u, 116u, 300u, 1024u, 1025u}) {
    writeIni("[Settings]\nSavePassword=1\n");
    loadPlugin();
    std::string password;
    for (size_t i = 0; i < length; ++i) password += static_cast<char>(i % 2 ? 128 + i % 128 : 33 + i % 90);
    host.connections = {{"u", password, "db", "Normal"}};
    currentWindow("c:\\w\\new.sql", 0, 1);
    host.ui.messageBoxTexts.clear();
    host.onMenuClick(2);
    host.windows.clear();
    host.clearRecords();
    host.onMenuClick(6);
    const auto logon = host.callsNamed("ConnectionForLogon");
    if (length <= 1024) {
      ASSERT_EQ(logon.size(), 1u) << length;
      EXPECT_TRUE(logon[0].args[1] == password) << length << " bytes sent, "
                                                 << logon[0].args[1].size() << " came back";
      EXPECT_TRUE(host.ui.messageBoxTexts.empty()) << length;
    } else {
      EXPECT_TRUE(logon.empty());
      EXPECT_EQ(key(L"Files", L"File1"), L"<none>");
      ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
      EXPECT_EQ(host.ui.messageBoxTexts[0],
                L"Favorites|The password is 1025 bytes long, and Favorites stores passwords of up "
                L"to 1024 bytes.\n\nThe current file was not added to the favorites.");
    }
  }
}

TEST_F(AddCurrentTest, NothingChangesForADuplicateOrAnEmptyName) {
  const std::string ini = "[Files]\nFile1=c:\\w\\a.sql\n";
  struct Case {
    const char* current;
  } cases[] = {{"c:\\w\\a.sql"}, {""}};
  for (const auto& c : cases) {
    writeIni(ini);
    loadPlugin();
    currentWindow(c.current, 1, 0);
    host.clearRecords();
    host.onMenuClick(2);
    EXPECT_EQ(readIni(), ini) << c.current;
    EXPECT_EQ(host.refreshRequests, 0);
    EXPECT_TRUE(host.toolButtons.empty());
  }
}

// The file as stored (with "%path%" put back, letter case aside) decides, not
// the menu's text: an alias or the connection shown must not hide it.
TEST_F(AddCurrentTest, AStoredFileIsNotAddedAgainAndTheUserIsTold) {
  struct Case {
    const char* ini;
    const char* current;
  } cases[] = {
      {"[Files]\nFile1=c:\\w\\a.sql\n", "C:\\W\\A.SQL"},
      {"[Settings]\nReplacementPath=d:\\src\n[Files]\nFile1=%path%\\pkg.sql\n",
       "d:\\src\\pkg.sql"},
      {"[Files]\nFile1=c:\\b.sql\nFile2=c:\\w\\a.sql\n[Aliases]\nAlias2=Daily report\n",
       "c:\\w\\a.sql"},
      {"[Settings]\nShowConnectionInfo=1\n[Files]\nFile1=c:\\w\\a.sql\n[Usernames]\n"
       "Username1=scott\n[Databases]\nDatabase1=orcl\n",
       "c:\\w\\a.sql"},
  };
  for (const auto& c : cases) {
    writeIni(c.ini);
    loadPlugin();
    currentWindow(c.current, 1, 0);
    host.clearRecords();
    host.ui.messageBoxTexts.clear();
    host.onMenuClick(2);
    EXPECT_EQ(readIni(), c.ini) << c.current;
    EXPECT_EQ(host.refreshRequests, 0) << c.current;
    ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u) << c.current;
    EXPECT_EQ(host.ui.messageBoxTexts[0],
              L"Favorites|" + fav::toWide(c.current) + L" is already a favorite.");
  }
}

TEST_F(AddCurrentTest, ReplacementPathBecomesTheMarkerIgnoringCase) {
  struct Case {
    const char* replacement;
    const char* current;
    const wchar_t* stored;
  } cases[] = {
      {"ReplacementPath=D:\\Src", "d:\\src\\pkg.sql", L"%path%\\pkg.sql"},
      {"", "c:\\src\\pkg.sql", L"c:\\src\\pkg.sql"},            // default: no replacement
      {"ReplacementPath=C:\\", "c:\\src\\pkg.sql", L"%path%src\\pkg.sql"},  // not exactly "c:\"
      {"ReplacementPath=", "d:\\src\\pkg.sql", L"d:\\src\\pkg.sql"},       // empty: none
  };
  for (const auto& c : cases) {
    writeIni(std::string("[Settings]\n") + c.replacement + "\n");
    loadPlugin();
    currentWindow(c.current, 0, 0);
    host.onMenuClick(2);
    EXPECT_EQ(key(L"Files", L"File1"), c.stored) << c.replacement;
  }
}

TEST_F(AddCurrentTest, NoConnectionKeysWhenTheWindowHasNoReadableConnection) {
  loadPlugin();
  host.windowConnectionStateAnswer = 0;
  host.connections = {{"scott", "tiger", "orcl", "Normal"}};
  currentWindow("c:\\w\\new.sql", 2, 1);
  host.onMenuClick(2);
  EXPECT_EQ(key(L"Files", L"File1"), L"c:\\w\\new.sql");
  EXPECT_EQ(key(L"Usernames", L"Username1"), L"<none>");
  EXPECT_EQ(key(L"ConnectsAs", L"ConnectAs1"), L"<none>");
  EXPECT_TRUE(host.callsNamed("ConnectionDetails").empty());
}

TEST_F(AddCurrentTest, A95thEntryIsWrittenButNotShown) {
  std::string ini = "[Files]\n";
  for (int i = 1; i <= 94; ++i) ini += "File" + std::to_string(i) + "=c:\\f" + std::to_string(i) + ".sql\n";
  writeIni(ini);
  loadPlugin();
  currentWindow("c:\\w\\new.sql", 0, 0);
  host.onMenuClick(2);
  EXPECT_EQ(key(L"Files", L"File95"), L"c:\\w\\new.sql");
  EXPECT_EQ(host.refreshRequests, 1);
  for (const auto& text : host.menu) EXPECT_EQ(text.find("new.sql"), std::string::npos);
}

TEST_F(AddCurrentTest, ARefusedWriteLeavesTheFileAndRefreshesNothing) {
  const std::string ini = "[Files]\nFile1=c:\\a.sql\n";
  writeIni(ini);
  loadPlugin();
  currentWindow("c:\\w\\new.sql", 0, 0);
  {
    testsupport::FileLock lock(iniPath());
    ASSERT_TRUE(lock.held());
    host.clearRecords();
    host.ui.messageBoxTexts.clear();
    host.onMenuClick(2);
  }
  EXPECT_EQ(readIni(), ini);
  EXPECT_EQ(host.refreshRequests, 0);
  // The user is told, with the file and the system's reason.
  ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
  const std::wstring& told = host.ui.messageBoxTexts[0];
  EXPECT_NE(told.find(L"Could not save "), std::wstring::npos) << told;
  EXPECT_NE(told.find(L"Favorites.ini: "), std::wstring::npos) << told;
  EXPECT_NE(told.find(L"\n\nThe current file was not added to the favorites."), std::wstring::npos);
  EXPECT_TRUE(host.toolButtons.empty());
  // No temporary file is left behind.
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    names.push_back(entry.path().filename().wstring());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Favorites.ini", L"favorites.dll"}));
}

}  // namespace

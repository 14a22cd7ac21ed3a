// "Ask before logging on" in Connection Info and "Ask before logon to" in the
// options: what Ok stores, the flag following its favorite through Remove and
// moves, and the question a click then asks.
#include "commands_fixture.h"

#include "frm_ConnectionInfo_ids.h"
#include "window_text.h"

namespace commandstest {
namespace {

using Strings = std::vector<std::wstring>;

class AskLogonTest : public CommandsTest {
 protected:
  // The AskLogon keys the file holds, as "AskLogon<n>=<value>".
  Strings askKeys() const {
    Strings out;
    for (int n = 1; n <= 6; ++n) {
      const std::wstring v = entry(L"AskLogon", L"AskLogon", n);
      if (v != L"<none>") out.push_back(L"AskLogon" + std::to_wstring(n) + L"=" + v);
    }
    return out;
  }
};

TEST_F(AskLogonTest, ConnectionInfoShowsAndStoresTheFlag) {
  const struct {
    const char* stored;
    bool shownChecked;
    bool check;
    int close;
    Strings keys;
  } cases[] = {
      {"", false, true, IDOK, {L"AskLogon1=1"}},
      {"", false, true, IDCANCEL, {}},
      {"[AskLogon]\r\nAskLogon1=1\r\n", true, false, IDOK, {}},
      {"[AskLogon]\r\nAskLogon1=1\r\n", true, true, IDOK, {L"AskLogon1=1"}},
  };
  for (const auto& c : cases) {
    writeIni(std::string("[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\n[Usernames]\r\n"
                         "Username1=scott\r\n[Databases]\r\nDatabase1=PROD\r\n") +
             c.stored);
    loadPlugin();
    run(
        [](Dialog& d) {
          d.clickCell(0, 2);
          d.command(IDC_ACT_CONNECTION_INFO);
          d.ok();
        },
        {{L"TfrmConnectionInfo", [&](Dialog& ci) {
            EXPECT_EQ(ci.checked(IDC_CI_ASK_LOGON), c.shownChecked) << c.stored;
            EXPECT_EQ(fav::windowText(ci.item(IDC_CI_ASK_LOGON)), L"Ask &before logging on");
            if (ci.checked(IDC_CI_ASK_LOGON) != c.check) ci.click(IDC_CI_ASK_LOGON);
            if (c.check && c.close == IDOK) ci.screenshot(L"connection_info_ask_logon");
            ci.command(c.close);
          }}});
    EXPECT_EQ(askKeys(), c.keys) << c.stored << " close " << c.close;
    host.unload();
  }
}

// The flag belongs to its favorite: Ok renumbers it with the favorite's other
// keys, as it does after a Remove or a move; group-start entries count too.
TEST_F(AskLogonTest, TheFlagIsRenumberedWithItsFavorite) {
  const std::string lists =
      "[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\nFile3=c:\\c.sql\r\n"
      "[AskLogon]\r\nAskLogon2=1\r\nAskLogon9=1\r\n";
  const struct {
    const char* what;
    int hostVersion;
    std::function<void(Dialog&)> edit;
    Strings files;
    Strings keys;
  } cases[] = {
      {"unchanged", 1199, [](Dialog&) {}, {L"c:\\a.sql", L"c:\\b.sql", L"c:\\c.sql"},
       {L"AskLogon2=1"}},
      {"first removed", 1199,
       [](Dialog& d) {
         d.clickCell(0, 2);
         d.command(IDC_ACT_REMOVE);
       },
       {L"c:\\b.sql", L"c:\\c.sql"}, {L"AskLogon1=1"}},
      {"flagged removed", 1199,
       [](Dialog& d) {
         d.clickCell(1, 2);
         d.command(IDC_ACT_REMOVE);
       },
       {L"c:\\a.sql", L"c:\\c.sql"}, {}},
      {"flagged moved down", 1199,
       [](Dialog& d) {
         d.clickCell(1, 2);
         d.command(IDC_ACT_DOWN);
       },
       {L"c:\\a.sql", L"c:\\c.sql", L"c:\\b.sql"}, {L"AskLogon3=1"}},
      {"first moved down, ribbon", 1200,
       [](Dialog& d) {
         d.clickCell(0, 2);
         d.command(IDC_ACT_DOWN);
       },
       {L"c:\\b.sql", L"c:\\a.sql", L"c:\\c.sql"}, {L"AskLogon1=1"}},
  };
  for (const auto& c : cases) {
    writeIni(lists);
    loadPlugin(c.hostVersion);
    run([&](Dialog& d) {
      c.edit(d);
      d.ok();
    });
    EXPECT_EQ(files(), c.files) << c.what;
    EXPECT_EQ(askKeys(), c.keys) << c.what;
    host.unload();
  }
}

TEST_F(AskLogonTest, TheOptionIsStoredAndAClickOnAMatchingDatabaseAsks) {
  writeIni(
      "[Settings]\r\nShowConnectionInfo=1\r\n[Files]\r\nFile1=c:\\a.sql\r\n[Usernames]\r\n"
      "Username1=scott\r\n[Databases]\r\nDatabase1=prod_eu\r\n[ConnectsAs]\r\nConnectAs1=SysDBA\r\n");
  loadPlugin();
  run([](Dialog& d) {
    EXPECT_EQ(fav::windowText(d.item(IDC_LBL_ASK_LOGON_DATABASES)), L"As&k before logon to");
    EXPECT_EQ(d.text(IDC_EDT_ASK_LOGON_DATABASES), L"");
    d.setText(IDC_EDT_ASK_LOGON_DATABASES, L"PROD*;*_P");
    d.hover(d.item(IDC_EDT_ASK_LOGON_DATABASES));
    EXPECT_EQ(d.hint(),
              L"Database names separated by ';'; * and ? match any text and any one character "
              L"(e.g. PROD*;*_P)");
    d.screenshot(L"configure_ask_logon_option");
    d.ok();
  });
  EXPECT_EQ(ini(L"Settings", L"AskLogonDatabases"), L"PROD*;*_P");
  EXPECT_EQ(host.menu[5], "File / Favorite Files / c:\\a.sql [scott@prod_eu as SysDBA] !");

  host.ui.messageBoxes = {IDNO};
  host.ui.onShow = [](const std::wstring& what) {
    if (what == L"messagebox")
      Dialog(nullptr).screenshotQuestion(L"Log on to scott@prod_eu as SysDBA?", L"ask_logon_question",
                                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  };
  host.clearRecords();
  host.onMenuClick(6);
  host.ui.onShow = nullptr;
  EXPECT_EQ(host.ui.messageBoxTexts.back(), L"Favorites|Log on to scott@prod_eu as SysDBA?");
  EXPECT_EQ(host.callsNamed("OpenFileInWindow").size(), 1u);
  EXPECT_TRUE(host.callsNamed("ConnectionForLogon").empty());
}

}  // namespace
}  // namespace commandstest

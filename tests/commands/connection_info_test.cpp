// Connection Info: the dialog filled from the selected favorite, copied back
// only on Ok, its mask toggle, Enter as Ok, and the password's fate in the file.
#include "commands_fixture.h"

#include <commctrl.h>
#include "frm_ConnectionInfo_ids.h"
#include "text_codec.h"

namespace commandstest {
namespace {

constexpr char kTwoFavorites[] =
    "[Files]\r\nFile1=c:\\src\\a.sql\r\nFile2=-\r\n"
    "[Types]\r\nType1=0\r\nType2=0\r\n"
    "[Usernames]\r\nUsername1=scott\r\n"
    "[Databases]\r\nDatabase1=orcl\r\n"
    "[ConnectsAs]\r\nConnectAs1=SysDBA\r\n"
    "[Aliases]\r\nAlias1=Old alias\r\n";

class ConnectionInfoTest : public CommandsTest {
 protected:
  void start(bool storePassword) {
    writeIni(std::string("[Settings]\r\nSavePassword=") + (storePassword ? "1" : "0") + "\r\n" +
             kTwoFavorites);
    loadPlugin();
  }

  // Connection Info on the first favorite; close is how the child closes.
  void editFirst(const std::function<void(Dialog&)>& child) {
    run(
        [](Dialog& d) {
          d.clickCell(0, 2);
          d.command(IDC_ACT_CONNECTION_INFO);
          d.ok();
        },
        {{L"TfrmConnectionInfo", child}});
  }

  static HWND comboEdit(HWND combo) {
    COMBOBOXINFO info{sizeof(info)};
    ::GetComboBoxInfo(combo, &info);
    return info.hwndItem;
  }

  static void fill(Dialog& ci) {
    ci.setText(IDC_CI_USERNAME, L"hr");
    ci.setText(IDC_CI_PASSWORD, L"s3cret");
    ci.setText(IDC_CI_DATABASE, L"xe");
    ci.setText(IDC_CI_CONNECT_AS, L"SYSASM");  // typed, not one of the three
    ci.setText(IDC_CI_ALIAS, L"Report");
  }
};

TEST_F(ConnectionInfoTest, OkCopiesTheFieldsBackAndCancelLeavesTheFavorite) {
  const struct {
    int close;
    const wchar_t *username, *database, *connectAs, *alias;
  } cases[] = {
      {IDCANCEL, L"scott", L"orcl", L"SysDBA", L"Old alias"},
      {IDOK, L"hr", L"xe", L"SYSASM", L"Report"},
  };
  for (const auto& c : cases) {
    start(true);
    editFirst([&](Dialog& ci) {
      fill(ci);
      ci.command(c.close);
    });
    EXPECT_EQ(shown[L"TfrmConnectionInfo"], 1);
    EXPECT_EQ(entry(L"Usernames", L"Username", 1), c.username);
    EXPECT_EQ(entry(L"Databases", L"Database", 1), c.database);
    EXPECT_EQ(entry(L"ConnectsAs", L"ConnectAs", 1), c.connectAs);
    EXPECT_EQ(entry(L"Aliases", L"Alias", 1), c.alias);
    shown.clear();
    host.unload();
  }
}

TEST_F(ConnectionInfoTest, ShowsTheFavoriteMaskedWithItsModesAndTogglesThePlainText) {
  start(true);
  editFirst([&](Dialog& ci) {
    EXPECT_EQ(fav::windowText(ci.hwnd()), L"Connection Info");
    EXPECT_EQ(ci.text(IDC_CI_USERNAME), L"scott");
    EXPECT_EQ(ci.text(IDC_CI_DATABASE), L"orcl");
    EXPECT_EQ(ci.text(IDC_CI_CONNECT_AS), L"SysDBA");
    EXPECT_EQ(ci.text(IDC_CI_ALIAS), L"Old alias");
    EXPECT_EQ(comboEntries(ci.item(IDC_CI_CONNECT_AS)),
              (std::vector<std::wstring>{L"Normal", L"SysDBA", L"SysOper"}));
    EXPECT_FALSE(ci.visible(IDC_CI_PASSWORD_NOTE));  // passwords are stored
    ci.setText(IDC_CI_PASSWORD, L"tiger");
    HWND password = ci.item(IDC_CI_PASSWORD);
    const auto maskOf = [&] { return ::SendMessageW(password, EM_GETPASSWORDCHAR, 0, 0); };
    EXPECT_EQ(maskOf(), 0xA4);
    ci.screenshot(L"connection_info_masked");
    ci.click(IDC_CI_SHOW_PASSWORD);
    EXPECT_EQ(maskOf(), 0);
    ci.screenshot(L"connection_info_plain");
    ci.click(IDC_CI_SHOW_PASSWORD);
    EXPECT_EQ(maskOf(), 0xA4);
    EXPECT_EQ(ci.text(IDC_CI_PASSWORD), L"tiger");

    // Caps Lock is pointed out while the password box has the focus.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CAPITAL] = 0x01;
    ::SetKeyboardState(keys);
    ::SetFocus(password);
    Dialog::pump();
    EXPECT_TRUE(ci.visible(IDC_CI_CAPS_LOCK));
    ::SetFocus(ci.item(IDC_CI_USERNAME));
    Dialog::pump();
    EXPECT_FALSE(ci.visible(IDC_CI_CAPS_LOCK));
    keys[VK_CAPITAL] = 0;
    ::SetKeyboardState(keys);
    ci.command(IDCANCEL);
  });
}

TEST_F(ConnectionInfoTest, EnterInAnyFieldActsAsOk) {
  for (int field : {IDC_CI_USERNAME, IDC_CI_PASSWORD, IDC_CI_DATABASE, IDC_CI_CONNECT_AS,
                    IDC_CI_ALIAS}) {
    start(true);
    editFirst([&](Dialog& ci) {
      fill(ci);
      HWND target = field == IDC_CI_CONNECT_AS ? comboEdit(ci.item(field)) : ci.item(field);
      ::SetFocus(target);
      // The dialog's own loop must see the key (as IsDialogMessage does), so
      // it is posted and left to that loop.
      ::PostMessageW(target, WM_KEYDOWN, VK_RETURN, 1);
    });
    EXPECT_EQ(entry(L"Aliases", L"Alias", 1), L"Report") << field;
    EXPECT_EQ(entry(L"ConnectsAs", L"ConnectAs", 1), L"SYSASM") << field;
    host.unload();
  }
}

TEST_F(ConnectionInfoTest, ThePasswordIsStoredEncipheredOnlyWithStorePassword) {
  for (const bool store : {true, false}) {
    start(store);
    bool noteShown = false;
    editFirst([&](Dialog& ci) {
      noteShown = ci.visible(IDC_CI_PASSWORD_NOTE);
      fill(ci);
      if (!store) ci.screenshot(L"connection_info_password_note");
      ci.command(IDOK);
    });
    EXPECT_EQ(noteShown, !store);
    const std::wstring stored = entry(L"Passwords", L"Password", 1);
    if (store) {
      EXPECT_FALSE(stored.empty());
      EXPECT_EQ(stored.find(L"s3cret"), std::wstring::npos);
    } else {
      EXPECT_EQ(stored, L"");
    }
    host.unload();
  }
}

TEST_F(ConnectionInfoTest, TextTheHostCouldNotTakeIsRefusedAtOkAndTheDialogStays) {
  // Cyrillic and an emoji are outside the code page the tests run in; a
  // password one byte over the limit is refused too, never stored cut.
  const std::wstring tooLong(1025, L'p');
  const struct {
    int field;
    std::wstring typed;
    const wchar_t* says;
  } cases[] = {
      {IDC_CI_USERNAME, L"\x0416ora", L"user name holds characters"},
      {IDC_CI_PASSWORD, L"pw\xD83D\xDE00", L"\"\xD83D\xDE00\" (U+1F600)"},
      {IDC_CI_DATABASE, L"x\x0416e\x0416", L"\"\x0416\" (U+0416)."},
      {IDC_CI_CONNECT_AS, L"\x0416", L"connect-as mode"},
      {IDC_CI_ALIAS, L"\x0416", L"alias"},
      {IDC_CI_PASSWORD, tooLong, L"1025 bytes long"},
  };
  for (const auto& c : cases) {
    start(true);
    editFirst([&](Dialog& ci) {
      fill(ci);
      ci.setText(c.field, c.typed);
      ci.command(IDOK);
      EXPECT_TRUE(::IsWindowVisible(ci.hwnd())) << c.says;
      EXPECT_EQ(::GetFocus(), c.field == IDC_CI_CONNECT_AS ? comboEdit(ci.item(c.field))
                                                          : ci.item(c.field));
      ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
      EXPECT_NE(host.ui.messageBoxTexts[0].find(c.says), std::wstring::npos)
          << testing::PrintToString(host.ui.messageBoxTexts[0]);
      if (c.field == IDC_CI_USERNAME)
        ci.screenshotQuestion(host.ui.messageBoxTexts[0].substr(10), L"connection_info_refusal",
                              MB_OK | MB_ICONWARNING);
      ci.command(IDCANCEL);
    });
    EXPECT_EQ(entry(L"Usernames", L"Username", 1), L"scott");
    host.ui.messageBoxTexts.clear();
    host.unload();
  }
}

TEST_F(ConnectionInfoTest, LongPasswordsRoundTripThroughOkToTheLogon) {
  // 1,025 bytes is refused at Ok: TextTheHostCouldNotTakeIsRefusedAtOkAndTheDialogStays.
  for (const size_t length : {1u, 112u, 116u, 300u, 1024u}) {
    std::string password;
    for (size_t i = 0; i < length; ++i)
      password += static_cast<char>(i % 2 ? 0xA0 + i % 96 : 33 + i % 90);
    start(true);
    editFirst([&](Dialog& ci) {
      ci.setText(IDC_CI_PASSWORD, fav::toWide(password));
      ci.command(IDOK);
    });
    host.windows.clear();
    host.clearRecords();
    host.onMenuClick(6);
    const auto logon = host.callsNamed("ConnectionForLogon");
    ASSERT_EQ(logon.size(), 1u) << length;
    EXPECT_TRUE(logon[0].args[1] == password) << length << " bytes sent, "
                                               << logon[0].args[1].size() << " came back";
    host.unload();
  }
}

TEST_F(ConnectionInfoTest, NothingOpensOnASeparatorOrAnEmptyList) {
  start(true);
  run([](Dialog& d) {
    d.clickCell(1, 2);  // the separator
    EXPECT_FALSE(d.enabled(IDC_BBTN_CONNECTION_INFO));
    d.command(IDC_ACT_CONNECTION_INFO);  // as a shortcut or the popup would send it
    d.ok();
  });
  EXPECT_EQ(shown[L"TfrmConnectionInfo"], 0);
  EXPECT_EQ(entry(L"Aliases", L"Alias", 2), L"");  // still a separator

  writeIni("");
  run([](Dialog& d) {
    d.command(IDC_ACT_CONNECTION_INFO);
    d.ok();
  });
  EXPECT_EQ(shown[L"TfrmConnectionInfo"], 0);
}

}  // namespace
}  // namespace commandstest

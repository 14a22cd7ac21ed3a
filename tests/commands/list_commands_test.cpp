// Add, Load, Separator, Remove, Up and Down through the Configure dialog;
// every check ends in the file Ok wrote.
#include "commands_fixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include "string_cipher.h"

namespace commandstest {
namespace {

using Strings = std::vector<std::wstring>;

class ListCommandsTest : public CommandsTest {
 protected:
  void start(const std::string& ini) {
    writeIni(ini);
    host.extensionsForType = {{"PACKAGE", "pck,spc"}, {"PACKAGE BODY", "pck,bdy"},
                              {"FUNCTION", "fnc"}};
    loadPlugin();
  }
  // The Type of each favorite in file order.
  Strings types() const {
    Strings out;
    for (size_t n = 1; n <= files().size(); ++n)
      out.push_back(entry(L"Types", L"Type", static_cast<int>(n)));
    return out;
  }
};

TEST_F(ListCommandsTest, AddTypesSubstitutesAndSkipsDuplicatesCancelsAndUnstorableNames) {
  start(
      "[Settings]\r\nReplacementPath=D:\\Work\r\n"
      "[Files]\r\nFile1=%path%\\old.sql\r\nFile2=e:\\y\\c.sql\r\n");
  const std::wstring outside = L"e:\\y\\\u65E5\u672C.sql";
  host.ui.openFiles = {
      {},  // cancelled
      {L"d:\\work\\old.sql", L"e:\\y\\c.sql", L"D:\\WORK\\src\\New.PCK", L"e:\\y\\b.txt",
       L"e:\\y\\b.txt", outside, L"e:\\y\\noext"}};
  run([](Dialog& d) {
    d.command(IDC_ACT_ADD);
    EXPECT_EQ(d.rows(), 2);
    // Only the saved replacement path counts, not what the box holds now.
    d.setText(IDC_EDT_REPLACE_PATH, L"e:\\y");
    d.command(IDC_ACT_ADD);
    EXPECT_EQ(d.rows(), 5);
    d.setText(IDC_EDT_REPLACE_PATH, L"D:\\Work");
    d.ok();
  });
  EXPECT_EQ(files(), (Strings{L"%path%\\old.sql", L"e:\\y\\c.sql", L"%path%\\src\\New.PCK",
                              L"e:\\y\\b.txt", L"e:\\y\\noext"}));
  EXPECT_EQ(types(), (Strings{L"0", L"0", L"3", L"0", L"0"}));
  ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
  EXPECT_NE(host.ui.messageBoxTexts[0].find(outside), std::wstring::npos);
  EXPECT_EQ(host.ui.messageBoxTexts[0].rfind(L"Favorites|", 0), 0u);
  // Every other field of a new favorite is empty.
  EXPECT_EQ(entry(L"SubMenus", L"SubMenu", 3), L"");
  EXPECT_EQ(entry(L"Buttons", L"Button", 3), L"");
  EXPECT_EQ(entry(L"Usernames", L"Username", 3), L"");
  EXPECT_EQ(entry(L"Aliases", L"Alias", 3), L"");
}

TEST_F(ListCommandsTest, LoadAddsPlainFilesInNameOrderSkippingDuplicates) {
  const std::filesystem::path src = dir / L"src";
  for (const wchar_t* name : {L"b.sql", L"A.pck", L"c.txt", L"hidden.sql", L"system.sql"})
    testsupport::writeFile(src / name, "x");
  testsupport::writeFile(src / L"sub" / L"inner.sql", "x");
  ::SetFileAttributesW((src / L"hidden.sql").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((src / L"system.sql").c_str(), FILE_ATTRIBUTE_SYSTEM);
  const std::wstring folder = src.wstring();
  start("[Files]\r\nFile1=" + narrowPath(src / L"c.txt") + "\r\n");
  host.ui.folders = {folder, L""};  // a choice, then a cancel
  run([](Dialog& d) {
    d.command(IDC_ACT_LOAD);
    d.command(IDC_ACT_LOAD);
    d.screenshot(L"configure_after_load");
    d.ok();
  });
  EXPECT_EQ(files(), (Strings{folder + L"\\c.txt", folder + L"\\A.pck", folder + L"\\b.sql"}));
  EXPECT_EQ(types(), (Strings{L"0", L"3", L"0"}));
  EXPECT_EQ(host.ui.folderTitles, (Strings{L"", L""}));
  ::SetFileAttributesW((src / L"hidden.sql").c_str(), FILE_ATTRIBUTE_NORMAL);
  ::SetFileAttributesW((src / L"system.sql").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The first fill of an empty grid with more rows than it shows: every row is
// there, the scroll bar with them, the File column narrowed beside it, and
// the first rows drawn from the top.
TEST_F(ListCommandsTest, ALoadThatOverflowsTheGridShowsItsScrollBarAndFirstRows) {
  const std::filesystem::path src = dir / L"many";
  for (int i = 0; i < 60; ++i)
    testsupport::writeFile(src / (L"script_" + std::to_wstring(100 + i) + L".sql"), "x");
  start("");
  host.ui.folders = {src.wstring()};
  run([&](Dialog& d) {
    d.command(IDC_ACT_LOAD);
    ASSERT_EQ(d.rows(), 60);
    HWND grid = d.grid();
    EXPECT_EQ(ListView_GetTopIndex(grid), 0);
    EXPECT_EQ(d.cell(0, 2), (src / L"script_100.sql").wstring());
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(::GetScrollBarInfo(grid, OBJID_VSCROLL, &bar));
    EXPECT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the scroll bar shows";
    RECT client{};
    ::GetClientRect(grid, &client);
    int columns = 0;
    for (int c = 0; c < 4; ++c) columns += ListView_GetColumnWidth(grid, c);
    EXPECT_EQ(columns, client.right) << "the columns fill the width beside the scroll bar";
    d.screenshot(L"configure_after_large_load");
    d.cancel();
  });
}

// A folder chosen with its separator at the end (as a drive root always is)
// gives names with one separator, from the test's own scratch folder.
TEST_F(ListCommandsTest, LoadOfAFolderEndingInASeparatorGivesSingleSeparators) {
  const std::filesystem::path src = dir / L"root";
  testsupport::writeFile(src / L"a.sql", "x");
  testsupport::writeFile(src / L"b.sql", "x");
  start("");
  host.ui.folders = {src.wstring() + L"\\"};
  run([](Dialog& d) {
    d.command(IDC_ACT_LOAD);
    d.ok();
  });
  EXPECT_EQ(files(), (Strings{(src / L"a.sql").wstring(), (src / L"b.sql").wstring()}));
}

TEST_F(ListCommandsTest, FilesDroppedOnTheGridAreAddedAsAddAddsThem) {
  const std::filesystem::path src = dir / L"drop";
  testsupport::writeFile(src / L"a.pck", "x");
  testsupport::writeFile(src / L"b.sql", "x");
  std::filesystem::create_directories(src / L"folder");
  start("[Files]\r\nFile1=" + narrowPath(src / L"b.sql") + "\r\n");
  // What Explorer hands over: a DROPFILES block with the wide names.
  std::wstring names;
  for (const wchar_t* n : {L"a.pck", L"folder", L"b.sql"}) names += (src / n).wstring() + L'\0';
  names += L'\0';
  run([&](Dialog& d) {
    HGLOBAL drop = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(drop));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(header + 1, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(drop);
    ::PostMessageW(d.grid(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    Dialog::pump();
    d.ok();
  });
  EXPECT_EQ(files(), (Strings{(src / L"b.sql").wstring(), (src / L"a.pck").wstring()}));
  EXPECT_EQ(types(), (Strings{L"0", L"3"}));
}

TEST_F(ListCommandsTest, SeparatorsHaveOnlyTheirMark) {
  start("[Files]\r\nFile1=a.sql\r\n");
  run([](Dialog& d) {
    d.command(IDC_ACT_ADD_SEPARATOR);
    d.ok();
  });
  EXPECT_EQ(files(), (Strings{L"a.sql", L"-"}));
  EXPECT_EQ(entry(L"Types", L"Type", 2), L"0");
  for (const auto& [section, prefix] :
       std::vector<std::pair<std::wstring, std::wstring>>{{L"SubMenus", L"SubMenu"},
                                                          {L"Buttons", L"Button"},
                                                          {L"Usernames", L"Username"},
                                                          {L"Passwords", L"Password"},
                                                          {L"Databases", L"Database"},
                                                          {L"ConnectsAs", L"ConnectAs"},
                                                          {L"Aliases", L"Alias"}})
    EXPECT_EQ(entry(section, prefix, 2), L"") << section;
}

TEST_F(ListCommandsTest, RemoveOfTheLastRowSelectsTheNewLastAndTheOnlyRowLeavesNothing) {
  start("[Files]\r\nFile1=a.sql\r\nFile2=b.sql\r\nFile3=c.sql\r\n");
  run([](Dialog& d) {
    d.clickCell(2, 2);
    d.command(IDC_ACT_REMOVE);
    EXPECT_EQ(d.selectedRow(), 1);
    d.command(IDC_ACT_REMOVE);  // b.sql, the new last row
    EXPECT_EQ(d.selectedRow(), 0);
    d.command(IDC_ACT_REMOVE);  // a.sql, the only row
    EXPECT_EQ(d.rows(), 0);
    EXPECT_FALSE(d.enabled(IDC_BBTN_REMOVE));
    d.command(IDC_ACT_REMOVE);  // nothing left: nothing happens
    d.ok();
  });
  EXPECT_TRUE(files().empty());
}

TEST_F(ListCommandsTest, DeleteRemovesAndCtrlZBringsItBackAtItsPlaceWithAllFieldsButNotInTextBoxes) {
  std::string password;
  for (wchar_t c : encipherText(L"tiger", kPasswordKey, kPasswordMinFill, kPasswordMaxFill))
    password += static_cast<char>(c);  // the cipher alphabet is ASCII
  start(
      "[Settings]\r\nSavePassword=1\r\n[SubMenuItems]\r\nSubMenuItem1=Reports\r\n"
      "[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.pck\r\nFile3=c:\\c.sql\r\n"
      "[Types]\r\nType1=0\r\nType2=3\r\nType3=0\r\n"
      "[SubMenus]\r\nSubMenu1=Reports\r\nSubMenu2=Reports\r\nSubMenu3=Reports\r\n"
      "[Buttons]\r\nButton2=fav_b.bmp\r\n[Usernames]\r\nUsername2=scott\r\n"
      "[Passwords]\r\nPassword2=" + password + "\r\n[Databases]\r\nDatabase2=orcl\r\n"
      "[ConnectsAs]\r\nConnectAs2=SysDBA\r\n[Aliases]\r\nAlias2=Daily orders\r\n");
  run([](Dialog& d) {
    d.steps({
        [](Dialog& d) {
          d.clickCell(1, 2);
          d.key(VK_DELETE, d.grid());
          EXPECT_EQ(d.rows(), 2);
          EXPECT_EQ(d.cell(1, 2), L"c:\\c.sql");
          EXPECT_EQ(d.selectedRow(), 1);
          EXPECT_EQ(d.hint(), L"Removed Daily orders (Ctrl+Z to undo)");  // the alias
          // The refill leaves the hidden in-place pickers hidden.
          EXPECT_FALSE(d.visible(IDC_CB_SUBMENU_EDIT));
          EXPECT_FALSE(d.visible(IDC_CBE_ICON));
          // In a text box both keys edit the text.
          d.type(IDC_ED_SUBMENU, L"xy");
          ::SendMessageW(d.item(IDC_ED_SUBMENU), EM_SETSEL, 0, 0);
          d.key(VK_DELETE, d.item(IDC_ED_SUBMENU));
          EXPECT_EQ(d.text(IDC_ED_SUBMENU), L"y");
          d.postCtrlKey('Z', d.item(IDC_ED_SUBMENU));
        },
        [](Dialog& d) {
          EXPECT_EQ(d.text(IDC_ED_SUBMENU), L"xy");
          EXPECT_EQ(d.rows(), 2) << "Ctrl+Z in a text box is the box's own";
          ::SetFocus(d.grid());
          d.postCtrlKey('Z');
        },
        [](Dialog& d) {
          Dialog::releaseCtrl();
          ASSERT_EQ(d.rows(), 3);
          EXPECT_EQ(d.cell(1, 2), L"c:\\b.pck");
          EXPECT_EQ(d.selectedRow(), 1);
          EXPECT_EQ(d.hint(), L"");
          d.ok();
        },
    });
  });
  EXPECT_EQ(files(), (Strings{L"c:\\a.sql", L"c:\\b.pck", L"c:\\c.sql"}));
  EXPECT_EQ(entry(L"Types", L"Type", 2), L"3");
  EXPECT_EQ(entry(L"SubMenus", L"SubMenu", 2), L"Reports");
  EXPECT_EQ(entry(L"Buttons", L"Button", 2), L"fav_b.bmp");
  EXPECT_EQ(entry(L"Usernames", L"Username", 2), L"scott");
  EXPECT_EQ(decipherText(entry(L"Passwords", L"Password", 2), kPasswordKey), L"tiger");
  EXPECT_EQ(entry(L"Databases", L"Database", 2), L"orcl");
  EXPECT_EQ(entry(L"ConnectsAs", L"ConnectAs", 2), L"SysDBA");
  EXPECT_EQ(entry(L"Aliases", L"Alias", 2), L"Daily orders");
  EXPECT_EQ(entry(L"Aliases", L"Alias", 3), L"");
}

TEST_F(ListCommandsTest, CtrlZUndoesTheLastRemoveOfTheLastOrTheOnlyRow) {
  const struct {
    const char* ini;
    int select;
    int removes;  // Remove button presses, each on the (new) last row
    const wchar_t* hint;
    Strings saved;
    int selectedAfterUndo;
  } cases[] = {
      // Two removes, two undos: b comes back, then c.
      {"[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\nFile3=c:\\c.sql\r\n", 2, 2,
       L"Removed c:\\b.sql (Ctrl+Z to undo)", {L"c:\\a.sql", L"c:\\b.sql", L"c:\\c.sql"}, 1},
      {"[Files]\r\nFile1=c:\\a.sql\r\n", 0, 1, L"Removed c:\\a.sql (Ctrl+Z to undo)",
       {L"c:\\a.sql"}, 0},
  };
  for (const auto& c : cases) {
    start(c.ini);
    run([&](Dialog& d) {
      d.steps({
          [&](Dialog& d) {
            d.clickCell(c.select, 2);
            for (int i = 0; i < c.removes; ++i) d.click(IDC_BBTN_REMOVE);
            EXPECT_EQ(d.hint(), c.hint);
            EXPECT_EQ(d.enabled(IDC_BBTN_REMOVE), d.rows() > 0);
            d.postCtrlKey('Z');  // wherever the focus is now
          },
          [&](Dialog& d) {
            EXPECT_EQ(d.rows(), static_cast<int>(c.saved.size()) - (c.removes - 1));
            EXPECT_EQ(d.selectedRow(), c.selectedAfterUndo);
            EXPECT_TRUE(d.enabled(IDC_BBTN_REMOVE));
            for (int i = 1; i < c.removes; ++i) d.command(IDC_ACT_UNDO);
            d.postCtrlKey('Z');  // nothing left to undo
          },
          [&](Dialog& d) {
            Dialog::releaseCtrl();
            EXPECT_EQ(d.rows(), static_cast<int>(c.saved.size()));
            d.ok();
          },
      });
    });
    EXPECT_EQ(files(), c.saved) << c.ini;
    host.unload();
  }
}

TEST_F(ListCommandsTest, UpAndDownStopAtTheEdgesAndMoveNothingWithoutASelection) {
  const struct {
    int select;  // -1: no click
    int command;
    Strings expected;
  } cases[] = {
      {-1, IDC_ACT_DOWN, {L"a.sql", L"b.sql", L"c.sql"}},
      {-1, IDC_ACT_UP, {L"a.sql", L"b.sql", L"c.sql"}},
      {0, IDC_ACT_UP, {L"a.sql", L"b.sql", L"c.sql"}},
      {2, IDC_ACT_DOWN, {L"a.sql", L"b.sql", L"c.sql"}},
      {1, IDC_ACT_UP, {L"b.sql", L"a.sql", L"c.sql"}},
      {1, IDC_ACT_DOWN, {L"a.sql", L"c.sql", L"b.sql"}},
  };
  for (const auto& c : cases) {
    start("[Files]\r\nFile1=a.sql\r\nFile2=b.sql\r\nFile3=c.sql\r\n");
    run([&](Dialog& d) {
      if (c.select >= 0) d.clickCell(c.select, 2);
      d.command(c.command);
      d.ok();
    });
    EXPECT_EQ(files(), c.expected) << c.select << " " << c.command;
    host.unload();
  }
}

}  // namespace
}  // namespace commandstest

// Export... and Import... in the grid's popup menu, through the real dialog:
// what an export file holds and that it gives the same menus as the list,
// what an import appends, skips and adds, its summary, and that only Ok
// writes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "../data/platform_profile.h"
#include "configure_fixture.h"
#include "menu_texts.h"
#include "screenshot.h"

namespace {

using configuretest::ConfigureTest;
using configuretest::Dialog;

// Favorites with every kind of field: a submenu with its icon, a connection
// with a stored password, a flag that asks before the logon, files under
// the replacement path, a separator.
const char kList[] =
    "[Settings]\r\nReplacementPath=c:\\team\\\r\nSavePassword=1\r\n"
    "[Files]\r\nFile1=%path%daily.sql\r\nFile2=-\r\nFile3=c:\\other\\pkg_orders.pkb\r\n"
    "File4=%path%audit.trg\r\n"
    "[Types]\r\nType1=0\r\nType3=3\r\nType4=0\r\n"
    "[SubMenus]\r\nSubMenu3=Packages\r\nSubMenu4=Packages\r\n"
    "[Buttons]\r\nButton3=fav_b.bmp\r\n"
    "[Usernames]\r\nUsername3=scott\r\n[Databases]\r\nDatabase3=ORCL\r\n"
    "[Passwords]\r\nPassword3=7B3F6A2C5D1E4B\r\n[AskLogon]\r\nAskLogon3=1\r\n"
    "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Packages\r\nSubMenuItem2=Spare\r\n"
    "[SubMenuButtons]\r\nSubMenuButton0=\r\nSubMenuButton1=fav_a.bmp\r\nSubMenuButton2=\r\n";

class ShareTest : public ConfigureTest {
 protected:
  void SetUp() override {
    ConfigureTest::SetUp();
    writeSampleIcons(2);
  }
  std::wstring path(const wchar_t* name) const { return (dir / name).wstring(); }
  static std::wstring value(const std::wstring& file, const wchar_t* section,
                            const std::wstring& key) {
    return platform::readText(file, section, key, L"<missing>");
  }
  std::vector<std::wstring> gridFiles(const Dialog& d) const {
    std::vector<std::wstring> files;
    for (int row = 0; row < d.rows(); ++row) files.push_back(d.cell(row, 2));
    return files;
  }
};

TEST_F(ShareTest, ExportWritesTheWholeListWithoutPasswordsAndGivesItsMenus) {
  for (const int hostVersion : {1199, 1200}) {
    SCOPED_TRACE(hostVersion);
    writeIni(kList);
    loadPlugin(hostVersion);
    const std::wstring exported = path(L"shared.ini");
    std::error_code ec;
    std::filesystem::remove(exported, ec);
    host.ui.saveFile = {exported};
    host.ui.saveFileAsked.clear();
    configure([&](Dialog& d) {
      d.clickCell(2, 2);  // one row selected: still the whole list
      d.command(IDC_ACT_EXPORT);
      d.ok();
    });
    ASSERT_EQ(host.ui.saveFileAsked.size(), 1u);
    EXPECT_EQ(host.ui.saveFileAsked[0].name, L"Favorites-export.ini");
    EXPECT_EQ(host.ui.saveFileAsked[0].filter[1], L"*.ini");
    const std::string bytes = testsupport::readFile(exported);
    EXPECT_EQ(bytes.rfind("; Favorites export: a list of favorite files to import, written ", 0),
              0u);
    EXPECT_EQ(platform::keyNames(exported, ini::kPasswords), std::vector<std::wstring>{});
    EXPECT_EQ(bytes.find("7B3F6A2C5D1E4B"), std::string::npos);
    EXPECT_EQ(value(exported, ini::kFiles, L"File1"), L"%path%daily.sql");
    EXPECT_EQ(value(exported, ini::kSubMenuItems, L"SubMenuItem1"), L"Packages");
    EXPECT_EQ(value(exported, ini::kSubMenuButtons, L"SubMenuButton1"), L"fav_a.bmp");
    EXPECT_EQ(value(exported, ini::kSubMenuItems, L"SubMenuItem2"), L"<missing>")
        << "a submenu no exported favorite uses stays home";

    // The export read key by key, as an older version of the plug-in reads
    // (without the AskLogon section), gives the menus of the list Ok saved.
    const platform::Reader shared{exported, {ini::kAskLogon}, {}};
    const platform::Reader saved{iniPath().wstring(), {ini::kAskLogon}, {}};
    int items = 0;
    for (int index = menus::kFirstFavoriteIndex; index <= menus::kLastMenuIndex; ++index) {
      const std::wstring text = menus::menuItemText(saved, index, hostVersion);
      EXPECT_EQ(menus::menuItemText(shared, index, hostVersion), text) << index;
      items += !text.empty();
    }
    EXPECT_EQ(items, hostVersion >= 1200 ? 5 : 4) << "with one group entry before Packages";
    host.unload();
  }
}

TEST_F(ShareTest, ExportOfTwoSelectedRowsWritesThoseAndTheirSubmenuOnly) {
  writeIni(kList);
  loadPlugin();
  const std::wstring exported = path(L"two.ini");
  host.ui.saveFile = {exported};
  configure([&](Dialog& d) {
    d.clickCell(0, 2);
    d.ctrlClickCell(3, 2);
    ASSERT_EQ(ListView_GetSelectedCount(d.grid()), 2u);
    d.command(IDC_ACT_EXPORT);
    d.cancel();
  });
  EXPECT_EQ(platform::keyNames(exported, ini::kFiles),
            (std::vector<std::wstring>{L"File1", L"File2"}));
  EXPECT_EQ(value(exported, ini::kFiles, L"File1"), L"%path%daily.sql");
  EXPECT_EQ(value(exported, ini::kFiles, L"File2"), L"%path%audit.trg");
  EXPECT_EQ(value(exported, ini::kSubMenus, L"SubMenu2"), L"Packages");
  EXPECT_EQ(platform::keyNames(exported, ini::kSubMenuItems),
            std::vector<std::wstring>{L"SubMenuItem1"});
}

TEST_F(ShareTest, ImportAppendsSkipsWhatIsThereAddsSubmenusAndOkWritesIt) {
  writeIni(kList);
  const std::wstring shared = path(L"from_a_colleague.ini");
  testsupport::writeFile(
      shared,
      "; Favorites export: a list of favorite files to import, written 2026-12-10 21:04\r\n"
      "[SubMenuItems]\r\nSubMenuItem1=Reports\r\nSubMenuItem2=Packages\r\n"
      "[SubMenuButtons]\r\nSubMenuButton1=fav_b.bmp\r\nSubMenuButton2=fav_b.bmp\r\n"
      "[Files]\r\nFile1=c:\\team\\daily.sql\r\nFile2=C:\\OTHER\\PKG_ORDERS.PKB\r\n"
      "File3=c:\\team\\monthly.sql\r\nFile4=\\\\server\\share\\totals.sql\r\n"
      "[SubMenus]\r\nSubMenu3=Reports\r\nSubMenu4=Reports\r\n"
      "[Usernames]\r\nUsername4=report\r\n[Databases]\r\nDatabase4=DWH\r\n"
      "[Passwords]\r\nPassword4=0A1B2C3D4E5F\r\n");
  loadPlugin();
  host.ui.openFile = {shared};
  const std::string before = readIni();
  configure([&](Dialog& d) {
    d.command(IDC_ACT_IMPORT);
    ASSERT_EQ(host.ui.openFileAsked.size(), 1u);
    EXPECT_EQ(host.ui.openFileAsked[0].title, L"Import Favorites");
    ASSERT_FALSE(host.ui.messageBoxTexts.empty());
    EXPECT_EQ(host.ui.messageBoxTexts.back(),
              L"Favorites|Imported 2 favorites; 2 were already in the list.");
    EXPECT_EQ(gridFiles(d),
              (std::vector<std::wstring>{L"%path%daily.sql", L"-", L"c:\\other\\pkg_orders.pkb",
                                         L"%path%audit.trg", L"%path%monthly.sql",
                                         L"\\\\server\\share\\totals.sql"}));
    EXPECT_EQ(readIni(), before) << "an import takes effect at Ok";
    d.ok();
  });
  const std::wstring ini = iniPath().wstring();
  EXPECT_EQ(value(ini, ini::kFiles, L"File5"), L"%path%monthly.sql");
  EXPECT_EQ(value(ini, ini::kSubMenus, L"SubMenu6"), L"Reports");
  EXPECT_EQ(value(ini, ini::kUsernames, L"Username6"), L"report");
  EXPECT_EQ(decipherText(value(ini, ini::kPasswords, L"Password6"), kPasswordKey), L"")
      << "passwords are never imported";
  // The missing submenu came with its icon; the one we had kept ours.
  std::map<std::wstring, std::wstring> icons;
  for (int j = 1; j <= 3; ++j)
    icons[value(ini, ini::kSubMenuItems, L"SubMenuItem" + std::to_wstring(j))] =
        value(ini, ini::kSubMenuButtons, L"SubMenuButton" + std::to_wstring(j));
  EXPECT_EQ(icons, (std::map<std::wstring, std::wstring>{
                       {L"Packages", L"fav_a.bmp"}, {L"Reports", L"fav_b.bmp"}, {L"Spare", L""}}));
}

TEST_F(ShareTest, AFileThatIsNotAListChangesNothingAndCancelAfterAnImportKeepsTheFile) {
  writeIni(kList);
  const std::wstring garbage = path(L"notes.ini");
  testsupport::writeFile(garbage, "Dear team,\r\nthe scripts are on the share.\r\n");
  const std::wstring settingsFile = path(L"Colleague.ini");
  testsupport::writeFile(settingsFile,
                         "[Settings]\r\nSavePassword=1\r\n[Files]\r\nFile1=c:\\x.sql\r\n"
                         "[Usernames]\r\nUsername1=sys\r\n[Passwords]\r\nPassword1=0A1B2C3D\r\n");
  loadPlugin();
  host.ui.openFile = {garbage, settingsFile};
  const std::string before = readIni();
  configure([&](Dialog& d) {
    d.command(IDC_ACT_IMPORT);
    EXPECT_EQ(host.ui.messageBoxTexts.back(),
              L"Favorites|" + garbage + L" is not a favorites list: it names no favorite files");
    EXPECT_EQ(d.rows(), 4);
    d.command(IDC_ACT_IMPORT);
    EXPECT_EQ(host.ui.messageBoxTexts.back(),
              L"Favorites|Imported 1 favorite; 0 were already in the list.");
    EXPECT_EQ(d.rows(), 5);
    d.command(IDC_ACT_UNDO);
    EXPECT_EQ(d.rows(), 4) << "an import is one step for Ctrl+Z";
    d.command(IDC_ACT_REDO);
    EXPECT_EQ(d.rows(), 5);
    d.cancel();
  });
  EXPECT_EQ(readIni(), before);
}

// Pictures for people to look at (only when FAV_SHOT_DIR is set): the popup
// menu with Export... and Import..., and the summary after an import.
TEST_F(ShareTest, Screenshots) {
  writeIni(kList);
  const std::wstring shared = path(L"shared.ini");
  testsupport::writeFile(shared,
                         "[Files]\r\nFile1=%path%daily.sql\r\nFile2=%path%monthly.sql\r\n"
                         "File3=%path%weekly.sql\r\n[SubMenus]\r\nSubMenu2=Reports\r\n");
  loadPlugin();
  host.ui.openFile = {shared};
  static std::wstring shotFolder;
  shotFolder = testsupport::screenshotFolder(L"FAV_SHOT_DIR");
  configure([&](Dialog& d) {
    d.clickCell(2, 2);
    static HWND dialog;
    static bool shown;
    dialog = d.hwnd();
    shown = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
      HWND popup = ::FindWindowW(L"#32768", nullptr);
      if (!popup || !::IsWindowVisible(popup)) return;
      ::KillTimer(nullptr, id);
      if (!shotFolder.empty()) {
        RECT r{}, menu{};
        ::GetWindowRect(dialog, &r);
        ::GetWindowRect(popup, &menu);
        ::UnionRect(&r, &r, &menu);
        testsupport::captureScreenRect(r, std::filesystem::path(shotFolder) / L"share_popup_menu.bmp");
      }
      shown = true;
      ::EndMenu();
    });
    d.rightClickCell(2, 2);
    EXPECT_TRUE(Dialog::waitFor([] { return shown; }));
    ::KillTimer(nullptr, timer);
    d.command(IDC_ACT_IMPORT);
    EXPECT_EQ(host.ui.messageBoxTexts.back(),
              L"Favorites|Imported 2 favorites; 1 was already in the list.");
    d.screenshotQuestion(host.ui.messageBoxTexts.back().substr(10), L"share_import_summary",
                         MB_OK | MB_ICONINFORMATION);
    d.cancel();
  });
}

}  // namespace

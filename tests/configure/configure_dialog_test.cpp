// The Configure command and the dialog's shell: loading, options, saving,
// the menu list, the host version, hints and geometry.
#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "configure_controls.h"
#include "configure_fixture.h"

namespace {

using configuretest::ConfigureTest;
using configuretest::Dialog;

class ConfigureDialogTest : public ConfigureTest {
 protected:
  std::wstring iniValue(const wchar_t* section, const wchar_t* key) const {
    wchar_t buf[2048] = {};
    ::GetPrivateProfileStringW(section, key, L"<missing>", buf, 2048, iniPath().wstring().c_str());
    return buf;
  }
  std::wstring setting(const wchar_t* key) const { return iniValue(L"Settings", key); }
};

const char kFixture[] =
    "[Settings]\r\n"
    "Left=120\r\nTop=90\r\nHeight=640\r\nWidth=820\r\n"
    "ShowFullPath=0\r\nFavoritesOnMainmenu=1\r\nAllowDuplicateImages=1\r\n"
    "MenuItemName=My Files\r\nNextToMenu=edit\r\nImagePrefix=ico_\r\n"
    "ReplacementPath=d:\\work\r\nSavePassword=1\r\nShowConnectionInfo=1\r\n"
    "ImagePath=c:\\icons\r\nShiftState=1\r\nCtrlState=0\r\nAltstate=1\r\n"
    "[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\nFile3=c:\\c.sql\r\n"
    "[Types]\r\nType1=3\r\nType2=0\r\nType3=3\r\n"
    "[SubMenus]\r\nSubMenu1=Test\r\nSubMenu3=Dev\r\n"
    "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Test\r\nSubMenuItem2=Dev\r\n"
    "[SubMenuButtons]\r\nSubMenuButton0=\r\nSubMenuButton1=\r\nSubMenuButton2=\r\n";

struct Check {
  int id;
  bool checked;
};

TEST_F(ConfigureDialogTest, AFixtureFillsEveryControlAndTheRowsComeGrouped) {
  writeIni(kFixture);
  loadPlugin(1199);
  configure([&](Dialog& d) {
    wchar_t caption[64] = {};
    ::GetWindowTextW(d.hwnd(), caption, 64);
    EXPECT_STREQ(caption, L"Configure Favorites...");
    for (Check c : {Check{IDC_CB_SHOW_FULL_PATH, false}, Check{IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU, true},
                    Check{IDC_CB_ALLOW_DUPLICATE_IMAGES, true}, Check{IDC_CB_STORE_PASSWORD, true},
                    Check{IDC_CB_SHOW_CONNECTION_INFO, true}, Check{IDC_CB_SHIFT_DOWN, true},
                    Check{IDC_CB_CTRL_DOWN, false}, Check{IDC_CB_ALT_DOWN, true}})
      EXPECT_EQ(d.checked(c.id), c.checked) << c.id;
    EXPECT_EQ(d.text(IDC_EDT_MENU_ITEM_NAME), L"My Files");
    EXPECT_EQ(d.text(IDC_EDT_IMAGE_PATH), L"c:\\icons");
    EXPECT_EQ(d.text(IDC_EDT_IMAGE_PREFIX), L"ico_");
    EXPECT_EQ(d.text(IDC_EDT_REPLACE_PATH), L"d:\\work");
    EXPECT_EQ(d.text(IDC_CBX_MAIN_MENU_ITEMS), L"Edit") << "matched ignoring case";
    EXPECT_TRUE(d.enabled(IDC_CBX_MAIN_MENU_ITEMS));
    ASSERT_EQ(d.rows(), 3);
    // Grouped: no submenu first, then Dev, then Test.
    EXPECT_EQ(d.cell(0, 2), L"c:\\b.sql");
    EXPECT_EQ(d.cell(1, 1), L"Dev");
    EXPECT_EQ(d.cell(1, 2), L"c:\\c.sql");
    EXPECT_EQ(d.cell(2, 1), L"Test");
    RECT r{};
    ::GetWindowRect(d.hwnd(), &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(r.right - r.left, 820);
    EXPECT_EQ(r.bottom - r.top, 640);
    EXPECT_EQ(::GetFocus(), d.grid());
    d.cancel();
  });
}

TEST_F(ConfigureDialogTest, AMissingFileGivesTheDefaults) {
  loadPlugin();
  configure([&](Dialog& d) {
    EXPECT_TRUE(d.checked(IDC_CB_SHOW_FULL_PATH));
    for (int id : {IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU, IDC_CB_ALLOW_DUPLICATE_IMAGES,
                   IDC_CB_STORE_PASSWORD, IDC_CB_SHOW_CONNECTION_INFO, IDC_CB_SHIFT_DOWN,
                   IDC_CB_CTRL_DOWN, IDC_CB_ALT_DOWN})
      EXPECT_FALSE(d.checked(id)) << id;
    EXPECT_EQ(d.text(IDC_EDT_MENU_ITEM_NAME), L"Favorite Files");
    EXPECT_EQ(d.text(IDC_EDT_IMAGE_PATH), dir.str());
    EXPECT_EQ(d.text(IDC_EDT_IMAGE_PREFIX), L"fav_");
    EXPECT_EQ(d.text(IDC_EDT_REPLACE_PATH), L"c:\\");
    EXPECT_EQ(d.text(IDC_CBX_MAIN_MENU_ITEMS), L"File");
    EXPECT_FALSE(d.enabled(IDC_CBX_MAIN_MENU_ITEMS)) << "follows Show favorites on mainmenu";
    EXPECT_EQ(d.rows(), 0);
    RECT r{};
    ::GetWindowRect(d.hwnd(), &r);
    // No stored place: centred over the IDE (here, with no IDE window, the
    // screen), not at a fixed spot.
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 600);
    d.cancel();
  });
  EXPECT_FALSE(std::filesystem::exists(iniPath()));
}

TEST_F(ConfigureDialogTest, CancelLeavesTheFileByteForByteAndRefreshesNothing) {
  writeIni(kFixture);
  loadPlugin();
  configure([&](Dialog& d) {
    d.click(IDC_CB_SHOW_FULL_PATH);
    d.setText(IDC_EDT_MENU_ITEM_NAME, L"Changed");
    d.click(IDC_ACT_ADD_SEPARATOR);
    d.cancel();
  });
  EXPECT_EQ(readIni(), kFixture);
  EXPECT_EQ(host.refreshRequests, 0);
  EXPECT_TRUE(host.callsNamed("AddToolButton").empty());
}

TEST_F(ConfigureDialogTest, OkWritesTheEditedOptionsThenRefreshesOnceThenRebuildsTheButtons) {
  writeIni(kFixture);
  loadPlugin();
  host.clearRecords();
  configure([&](Dialog& d) {
    d.click(IDC_CB_SHOW_FULL_PATH);
    d.click(IDC_CB_STORE_PASSWORD);
    d.click(IDC_CB_CTRL_DOWN);
    d.click(IDC_CB_ALT_DOWN);
    d.setText(IDC_EDT_MENU_ITEM_NAME, L"Scripts");
    d.setText(IDC_EDT_IMAGE_PREFIX, L"fav_");
    d.setText(IDC_EDT_REPLACE_PATH, L"e:\\src");
    ::SendMessageW(d.item(IDC_CBX_MAIN_MENU_ITEMS), CB_SETCURSEL, 3, 0);  // Tools
    d.ok();
  });
  EXPECT_EQ(setting(L"ShowFullPath"), L"1");
  EXPECT_EQ(setting(L"SavePassword"), L"0");
  EXPECT_EQ(setting(L"CtrlState"), L"1");
  EXPECT_EQ(setting(L"Altstate"), L"0");
  EXPECT_EQ(setting(L"ShiftState"), L"1");
  EXPECT_EQ(setting(L"MenuItemName"), L"Scripts");
  EXPECT_EQ(setting(L"ImagePrefix"), L"fav_");
  EXPECT_EQ(setting(L"ReplacementPath"), L"e:\\src");
  EXPECT_EQ(setting(L"NextToMenu"), L"Tools");
  EXPECT_EQ(setting(L"ImagePath"), L"c:\\icons");
  EXPECT_EQ(setting(L"Left"), L"120");
  EXPECT_EQ(setting(L"Width"), L"820");
  EXPECT_EQ(host.refreshRequests, 1);
  const auto calls = host.callTexts();
  const auto refresh = std::find(calls.begin(), calls.end(), "RefreshPluginMenus(7)");
  ASSERT_NE(refresh, calls.end());
  const auto button = std::find_if(calls.begin(), calls.end(), [](const std::string& c) {
    return c.rfind("AddToolButton", 0) == 0;
  });
  ASSERT_NE(button, calls.end());
  EXPECT_LT(refresh - calls.begin(), button - calls.begin()) << "refresh first, then buttons";
}

TEST_F(ConfigureDialogTest, OkOnAnUnchangedDialogStillRefreshes) {
  loadPlugin();
  configure([&](Dialog& d) { d.ok(); });
  EXPECT_EQ(host.refreshRequests, 1);
  EXPECT_EQ(setting(L"MenuItemName"), L"Favorite Files");
  EXPECT_EQ(setting(L"ImagePath"), dir.str());
}

// The controls are made in code where the layout puts them: a resize and back
// finds every one where it was made, the tab order is the table's with the
// grid after the rename box, the row commands start in their state, and
// Enter in a text box presses Ok.
TEST_F(ConfigureDialogTest, ControlsAreMadeWhereTheLayoutPutsThemInTabOrderAndEnterPressesOk) {
  writeIni(kFixture);
  loadPlugin();
  configure([&](Dialog& d) {
    auto places = [&] {
      std::map<int, RECT> at;
      for (HWND c = ::GetWindow(d.hwnd(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(c)) continue;
        RECT r{};
        ::GetWindowRect(c, &r);
        ::MapWindowPoints(nullptr, d.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        at[::GetDlgCtrlID(c)] = r;
      }
      return at;
    };
    const std::map<int, RECT> made = places();
    // The table's controls but the hidden rename box, and the grid.
    EXPECT_EQ(made.size(), std::size(configure::kDialogControls))
        << "every control of the table is there";
    RECT frame{};
    ::GetWindowRect(d.hwnd(), &frame);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    ::SetWindowPos(d.hwnd(), nullptr, 0, 0, w + 97, h + 53, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_NE(places()[IDOK].left, made.at(IDOK).left) << "the resize moved the controls";
    ::SetWindowPos(d.hwnd(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
    const std::map<int, RECT> again = places();
    for (const auto& [id, r] : made)
      EXPECT_TRUE(::EqualRect(&r, &again.at(id))) << "control " << id << " moved";

    std::vector<int> expected;
    for (const configure::ControlSpec& c : configure::kDialogControls) {
      if (c.id == IDC_EDT_ITEM) expected.push_back(IDC_SG_FAVORITES);
      HWND control = d.item(c.id);
      if ((c.style & WS_TABSTOP) && ::IsWindowVisible(control) && ::IsWindowEnabled(control))
        expected.push_back(c.id);
    }
    std::vector<int> tabs;
    HWND first = ::GetNextDlgTabItem(d.hwnd(), nullptr, FALSE);
    for (HWND c = first; c && tabs.size() < 100;) {
      tabs.push_back(::GetDlgCtrlID(c));
      c = ::GetNextDlgTabItem(d.hwnd(), c, FALSE);
      if (c == first) break;
    }
    EXPECT_EQ(tabs, expected);
    // No row is chosen yet: the commands that need one start disabled.
    for (int id : configure::kRowCommands) EXPECT_FALSE(d.enabled(id)) << id;
    EXPECT_EQ(::SendMessageW(d.hwnd(), DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    d.setText(IDC_EDT_MENU_ITEM_NAME, L"By Enter");
    // Left to the dialog's own loop, which gives Enter to the default button.
    HWND edit = d.item(IDC_EDT_MENU_ITEM_NAME);
    ::SetFocus(edit);
    ::PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
  });
  EXPECT_EQ(setting(L"MenuItemName"), L"By Enter");
  EXPECT_EQ(host.refreshRequests, 1);
}

struct VersionCase {
  int version;
  bool mainMenuOptionEnabled;
  std::vector<std::wstring> files;
};

class HostVersionTest : public ConfigureDialogTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(HostVersionTest, CouplingAndGroupEntries) {
  const VersionCase& c = GetParam();
  writeIni(kFixture);
  loadPlugin(c.version);
  configure([&](Dialog& d) {
    EXPECT_EQ(d.enabled(IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU), c.mainMenuOptionEnabled);
    EXPECT_TRUE(d.checked(IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU));
    d.ok();
  });
  EXPECT_EQ(setting(L"FavoritesOnMainmenu"), L"1") << "saved back unchanged";
  std::vector<std::wstring> files;
  for (int n = 1; n <= 6; ++n)
    files.push_back(iniValue(L"Files", (L"File" + std::to_wstring(n)).c_str()));
  EXPECT_EQ(files, c.files);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, HostVersionTest,
    ::testing::Values(
        VersionCase{1199, true, {L"c:\\b.sql", L"c:\\c.sql", L"c:\\a.sql", L"<missing>", L"<missing>", L"<missing>"}},
        VersionCase{1200, false,
                    {L"c:\\b.sql", L"[PL/SQL Developer 12 separator]", L"c:\\c.sql",
                     L"[PL/SQL Developer 12 separator]", L"c:\\a.sql", L"<missing>"}}));

struct MenuCase {
  const char* name;
  std::string menuNames;
  std::string stored;
  std::vector<std::wstring> entries;
  std::wstring selected;  // text shown
  std::wstring saved;
};

class MainMenuNamesTest : public ConfigureDialogTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MainMenuNamesTest, ListAndSelection) {
  const MenuCase& c = GetParam();
  writeIni("[Settings]\r\nNextToMenu=" + c.stored + "\r\n");
  loadPlugin();
  host.mainMenuNames = c.menuNames;
  configure([&](Dialog& d) {
    HWND combo = d.item(IDC_CBX_MAIN_MENU_ITEMS);
    std::vector<std::wstring> entries;
    for (int i = 0; i < ComboBox_GetCount(combo); ++i) {
      wchar_t buf[128] = {};
      ComboBox_GetLBText(combo, i, buf);
      entries.push_back(buf);
    }
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(d.text(IDC_CBX_MAIN_MENU_ITEMS), c.selected);
    d.ok();
  });
  EXPECT_EQ(setting(L"NextToMenu"), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainMenuNamesTest,
    ::testing::Values(
        MenuCase{"BlanksSkipped", "File\r\n Edit\r\nTools \r\n\r\nHelp", "help",
                 {L"File", L"", L"Help"}, L"Help", L"Help"},
        MenuCase{"CaseIgnored", "File\r\nSESSION\r\n", "session", {L"File", L"SESSION"}, L"SESSION", L"SESSION"},
        MenuCase{"NotOfferedIsKept", "File\r\nEdit\r\n", "Reports", {L"File", L"Edit"}, L"", L"Reports"},
        MenuCase{"TabAtEndSkipped", "File\t\r\nEdit\r\n", "File", {L"Edit"}, L"", L"File"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigureDialogTest, HintsFollowTheMouse) {
  loadPlugin();
  configure([&](Dialog& d) {
    // Every button of a list command shows the hint of its command, every
    // other control its own; the tables are the ones the dialog uses.
    for (const configure::ActionControl& c : configure::kActionControls) {
      if (!c.glyph) continue;  // keys only, no button to hover
      d.hover(d.item(c.id));
      EXPECT_EQ(d.hint(), favlist::hintOf(c.action)) << c.id;
    }
    for (const configure::ControlHint& c : configure::kControlHints) {
      if (!c.hint[0]) continue;  // labels and panels: checked below
      d.hover(d.item(c.id));
      EXPECT_EQ(d.hint(), c.hint) << c.id;
    }
    d.hover(d.item(IDC_ACT_SORT_BY_SUBMENU));
    EXPECT_EQ(d.hint(), L"") << "Sort By Submenu has no hint";
    d.hover(d.item(IDC_CBX_MAIN_MENU_ITEMS));
    EXPECT_EQ(d.hint(), L"Choose menu");
    d.hover(d.item(IDC_BBTN_IMAGE_PATH));
    EXPECT_EQ(d.hint(), L"") << "leaving the menu list clears the panel";
    d.hover(d.item(IDOK));
    d.hover(d.item(IDC_BBTN_IMAGE_PATH));
    EXPECT_EQ(d.hint(), L"Save changes") << "the browse button takes no part";
    d.hover(d.hwnd());
    EXPECT_EQ(d.hint(), L"") << "the panels and labels clear it";
    d.cancel();
  });
}

TEST_F(ConfigureDialogTest, ImagePathBrowseIsTitledAndACancelKeepsTheBox) {
  loadPlugin();
  host.ui.folders = {L"", L"c:\\chosen"};
  configure([&](Dialog& d) {
    d.click(IDC_BBTN_IMAGE_PATH);
    EXPECT_EQ(d.text(IDC_EDT_IMAGE_PATH), dir.str());
    d.click(IDC_BBTN_IMAGE_PATH);
    EXPECT_EQ(d.text(IDC_EDT_IMAGE_PATH), L"c:\\chosen");
    d.ok();
  });
  EXPECT_EQ(host.ui.folderTitles, (std::vector<std::wstring>{L"Select Imagepath Folder", L"Select Imagepath Folder"}));
  EXPECT_EQ(setting(L"ImagePath"), L"c:\\chosen");
}

TEST_F(ConfigureDialogTest, AFailedSaveKeepsTheDialogOpenAndTheFileAndSaysWhy) {
  writeIni(kFixture);
  loadPlugin();
  {
    testsupport::FileLock lock(iniPath());
    ASSERT_TRUE(lock.held());
    configure([&](Dialog& d) {
      d.setText(IDC_EDT_MENU_ITEM_NAME, L"Lost?");
      d.ok();
      ASSERT_TRUE(::IsWindow(d.hwnd()));
      EXPECT_TRUE(::IsWindowVisible(d.hwnd()));
      ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
      EXPECT_NE(host.ui.messageBoxTexts[0].find(iniPath().wstring()), std::wstring::npos)
          << "names the file: " << testing::PrintToString(host.ui.messageBoxTexts[0]);
      EXPECT_EQ(d.text(IDC_EDT_MENU_ITEM_NAME), L"Lost?");
      d.cancel();
    });
  }
  EXPECT_EQ(readIni(), kFixture);
  EXPECT_EQ(host.refreshRequests, 0);
}

TEST_F(ConfigureDialogTest, FavoritesAfterAGapLoadAndAMissingTypeReadsAsZero) {
  writeIni("[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\nFile4=c:\\d.sql\r\n"
           "[Types]\r\nType1=3\r\nType4=3\r\n");
  loadPlugin();
  configure([&](Dialog& d) {
    EXPECT_EQ(d.rows(), 3);
    d.ok();
  });
  EXPECT_EQ(iniValue(L"Files", L"File3"), L"c:\\d.sql");
  EXPECT_EQ(iniValue(L"Types", L"Type2"), L"0");
  EXPECT_EQ(iniValue(L"Types", L"Type3"), L"3");
  EXPECT_EQ(iniValue(L"Files", L"File4"), L"<missing>");
}

struct GeometryCase {
  const char* name;
  int left, top, width, height;
  bool onScreen;  // kept as stored
};

class GeometryTest : public ConfigureDialogTest, public ::testing::WithParamInterface<GeometryCase> {};

TEST_P(GeometryTest, StoredRectangle) {
  const GeometryCase& c = GetParam();
  writeIni("[Settings]\r\nLeft=" + std::to_string(c.left) + "\r\nTop=" + std::to_string(c.top) +
           "\r\nWidth=" + std::to_string(c.width) + "\r\nHeight=" + std::to_string(c.height) + "\r\n");
  loadPlugin();
  configure([&](Dialog& d) {
    RECT r{};
    ::GetWindowRect(d.hwnd(), &r);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (c.onScreen) {
      EXPECT_EQ(r.left, c.left);
      EXPECT_EQ(r.top, c.top);
    } else {
      EXPECT_GE(r.left, work.left);
      EXPECT_GE(r.top, work.top);
      EXPECT_LE(r.right, work.right);
      EXPECT_LE(r.bottom, work.bottom);
    }
    EXPECT_GE(r.right - r.left, 612) << "minimum width";
    EXPECT_GE(r.bottom - r.top, 459) << "minimum height";
    ::ShowWindow(d.hwnd(), SW_MAXIMIZE);
    Dialog::pump();
    d.ok();
  });
  // The restored rectangle is saved, not the maximized one.
  RECT saved{std::stoi(setting(L"Left")), std::stoi(setting(L"Top")), 0, 0};
  saved.right = saved.left + std::stoi(setting(L"Width"));
  saved.bottom = saved.top + std::stoi(setting(L"Height"));
  if (c.onScreen) {
    EXPECT_EQ(saved.left, c.left);
    EXPECT_EQ(saved.top, c.top);
    EXPECT_EQ(saved.right - saved.left, std::max(c.width, 612));
    EXPECT_EQ(saved.bottom - saved.top, std::max(c.height, 459));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GeometryTest,
                         ::testing::Values(GeometryCase{"Kept", 50, 60, 700, 500, true},
                                           GeometryCase{"TooSmallGrows", 10, 10, 100, 80, true},
                                           GeometryCase{"OffScreenComesBack", 9000, -5000, 800, 600, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigureDialogTest, AddSubmenuAppendsANewNameWithThePickedIconOnce) {
  writeIcon(dir.path(), L"fav_a.bmp");
  writeIcon(dir.path(), L"fav_b.bmp");
  writeIni("[Files]\r\nFile1=c:\\a.sql\r\n");
  loadPlugin();
  configure([&](Dialog& d) {
    d.setText(IDC_ED_SUBMENU, L"Reports");
    ::SendMessageW(d.item(IDC_CBE_MENU_ITEM), CB_SETCURSEL, 1, 0);
    d.click(IDC_ACT_ADD_SUBMENU);
    d.click(IDC_ACT_ADD_SUBMENU);  // already there
    d.setText(IDC_ED_SUBMENU, L"");
    d.click(IDC_ACT_ADD_SUBMENU);  // the blank entry exists
    EXPECT_EQ(d.text(IDC_ED_SUBMENU), L"");
    EXPECT_EQ(d.pickerEntries(IDC_CB_SUBMENU_EDIT), (std::vector<std::wstring>{L"", L"Reports"}));
    d.ok();
  });
  EXPECT_EQ(iniValue(L"SubMenuItems", L"SubMenuItem1"), L"Reports");
  EXPECT_EQ(iniValue(L"SubMenuButtons", L"SubMenuButton1"), L"fav_b.bmp");
  EXPECT_EQ(iniValue(L"SubMenuItems", L"SubMenuItem2"), L"<missing>");
}

// Section -> key -> value of an INI text, for key-for-key comparisons.
std::map<std::string, std::map<std::string, std::string>> iniKeys(const std::string& text) {
  std::map<std::string, std::map<std::string, std::string>> out;
  std::string section, line;
  std::istringstream in(text);
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 1 && line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      out[section];
    } else if (const auto eq = line.find('='); eq != std::string::npos) {
      out[section][line.substr(0, eq)] = line.substr(eq + 1);
    }
  }
  return out;
}

// 94 favorites grouped by submenu as the dialog writes them, every key of
// every entry present.
std::string groupedFixture(bool groupStarts) {
  std::string files, types, subs, buttons, users, passwords, dbs, connects, aliases;
  int k = 0;
  for (int g = 0; g < 4; ++g) {
    const std::string submenu = g ? "Group " + std::to_string(g) : "";
    if (groupStarts && g) files += "File" + std::to_string(++k) + "=[PL/SQL Developer 12 separator]\r\n";
    for (int i = 0; i < 23 + (g < 2 ? 1 : 0); ++i) {
      const std::string n = std::to_string(++k);
      files += "File" + n + "=c:\\work\\p" + std::to_string(g) + "\\s" + n + ".sql\r\n";
      types += "Type" + n + "=" + std::to_string(k % 2 ? 3 : 0) + "\r\n";
      subs += "SubMenu" + n + "=" + submenu + "\r\n";
      buttons += "Button" + n + "=" + (k % 3 ? "" : "fav_" + n + ".bmp") + "\r\n";
      users += "Username" + n + "=" + (k % 2 ? "scott" : "") + "\r\n";
      passwords += "Password" + n + "=\r\n";
      dbs += "Database" + n + "=" + (k % 2 ? "orcl" : "") + "\r\n";
      connects += "ConnectAs" + n + "=" + (k % 4 == 1 ? "SysDBA" : "") + "\r\n";
      aliases += "Alias" + n + "=" + (k % 5 ? "" : "Report " + n) + "\r\n";
    }
  }
  return "[Settings]\r\nLeft=200\r\nTop=150\r\nHeight=620\r\nWidth=810\r\nShowFullPath=1\r\n"
         "FavoritesOnMainmenu=0\r\nAllowDuplicateImages=0\r\nMenuItemName=Favorite Files\r\n"
         "NextToMenu=Tools\r\nImagePrefix=fav_\r\nReplacementPath=c:\\\r\nSavePassword=0\r\n"
         "ShowConnectionInfo=1\r\nImagePath=c:\\icons\r\nShiftState=0\r\nCtrlState=1\r\n"
         "Altstate=0\r\nAskLogonDatabases=\r\n"
         "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Group 1\r\nSubMenuItem2=Group 2\r\n"
         "SubMenuItem3=Group 3\r\n"
         "[SubMenuButtons]\r\nSubMenuButton0=\r\nSubMenuButton1=\r\nSubMenuButton2=fav_g.bmp\r\n"
         "SubMenuButton3=\r\n"
         "[Files]\r\n" + files + "[Types]\r\n" + types + "[SubMenus]\r\n" + subs + "[Buttons]\r\n" +
         buttons + "[Usernames]\r\n" + users + "[Passwords]\r\n" + passwords + "[Databases]\r\n" +
         dbs + "[ConnectsAs]\r\n" + connects + "[Aliases]\r\n" + aliases;
}

TEST_F(ConfigureDialogTest, OkOnA94FavoriteFileRewritesItKeyForKey) {
  for (const int version : {1199, 1200}) {
    const std::string fixture = groupedFixture(version >= 1200);
    writeIni(fixture);
    loadPlugin(version);
    configure([&](Dialog& d) {
      EXPECT_EQ(d.rows(), 94);
      d.ok();
    });
    EXPECT_EQ(iniKeys(readIni()), iniKeys(fixture)) << "host version " << version;
    host.unload();
  }
}

TEST_F(ConfigureDialogTest, TheConfigureMenuItemOpensTheDialogToo) {
  loadPlugin();
  configure([&](Dialog& d) { d.cancel(); });
  host.ui.onDialog = [](HWND hwnd, const std::wstring&) { ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0); };
  host.onMenuClick(3);
  EXPECT_EQ(host.ui.dialogsShown.size(), 2u);
  EXPECT_EQ(host.refreshRequests, 1);
}

}  // namespace

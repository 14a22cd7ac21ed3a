// The favorites grid: icons, pickers, rename, selection and action states.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>

#include "configure_fixture.h"
#include "grid_view.h"
#include "unique_handles.h"

namespace {

using configuretest::ConfigureTest;
using configuretest::Dialog;

std::string favoritesIni(const std::vector<std::string>& files,
                         const std::vector<std::string>& buttons = {},
                         const std::string& settings = "") {
  std::string ini = "[Settings]\r\n" + settings + "[Files]\r\n";
  for (size_t i = 0; i < files.size(); ++i)
    ini += "File" + std::to_string(i + 1) + "=" + files[i] + "\r\n";
  ini += "[Buttons]\r\n";
  for (size_t i = 0; i < buttons.size(); ++i)
    ini += "Button" + std::to_string(i + 1) + "=" + buttons[i] + "\r\n";
  return ini;
}

class GridTest : public ConfigureTest {
 protected:
  void SetUp() override {
    ConfigureTest::SetUp();
    writeSampleIcons(3);
  }
  std::wstring iniValue(const wchar_t* section, const std::wstring& key) const {
    wchar_t buf[2048] = {};
    ::GetPrivateProfileStringW(section, key.c_str(), L"<missing>", buf, 2048,
                               iniPath().wstring().c_str());
    return buf;
  }
  std::wstring button(int n) const { return iniValue(L"Buttons", L"Button" + std::to_wstring(n)); }
  std::wstring file(int n) const { return iniValue(L"Files", L"File" + std::to_wstring(n)); }
};

// --- icons ---------------------------------------------------------------------------------

TEST_F(GridTest, IconPickerListsTheBlankEntryAndThePrefixedIconsAndPreselectsTheRowIcon) {
  writeIcon(dir.path(), L"other.bmp");
  writeIcon(dir.path(), L"fav_notabitmap.txt");
  writeIcon(dir.path(), L"FAV_D.BMP");
  writeIni(favoritesIni({"c:\\a.sql", "c:\\b.sql"}, {"fav_b.bmp", ""}));
  loadPlugin();
  configure([&](Dialog& d) {
    d.clickCell(0, 0);
    ASSERT_TRUE(d.visible(IDC_CBE_ICON));
    EXPECT_TRUE(d.pickerDropped(IDC_CBE_ICON));
    EXPECT_FALSE(d.enabled(IDC_SG_FAVORITES)) << "the grid is off while a list is open";
    EXPECT_EQ(d.pickerEntries(IDC_CBE_ICON),
              (std::vector<std::wstring>{L"", L"fav_a.bmp", L"fav_b.bmp", L"fav_c.bmp", L"FAV_D.BMP"}));
    EXPECT_EQ(d.pickerEntries(IDC_CBE_MENU_ITEM),
              (std::vector<std::wstring>{L"fav_a.bmp", L"fav_b.bmp", L"fav_c.bmp", L"FAV_D.BMP"}));
    EXPECT_EQ(d.pickerSelection(IDC_CBE_ICON), 2);
    EXPECT_EQ(d.hint(), L"Choose icon");
    d.cancelPicker(IDC_CBE_ICON);
    EXPECT_FALSE(d.visible(IDC_CBE_ICON));
    EXPECT_TRUE(d.enabled(IDC_SG_FAVORITES));
    d.clickCell(1, 0);
    EXPECT_EQ(d.pickerSelection(IDC_CBE_ICON), 0) << "no icon preselects the blank entry";
    d.cancelPicker(IDC_CBE_ICON);
    d.ok();
  });
  EXPECT_EQ(button(1), L"fav_b.bmp") << "Escape applies nothing";
  EXPECT_EQ(button(2), L"");
}

struct IconCase {
  const char* name;
  std::vector<std::string> buttons;  // of three favorites
  int row;                           // the row whose icon is picked
  int entry;                         // picker entry (0 blank, 1 fav_a, 2 fav_b, 3 fav_c)
  bool allowDuplicates;
  std::vector<int> answers;          // message box answers given
  std::vector<std::wstring> expected;
  bool asked;
};

class IconRuleTest : public GridTest, public ::testing::WithParamInterface<IconCase> {};

TEST_P(IconRuleTest, PickingAnIcon) {
  const IconCase& c = GetParam();
  writeIni(favoritesIni({"c:\\a.sql", "c:\\b.sql", "c:\\c.sql"}, c.buttons,
                        c.allowDuplicates ? "AllowDuplicateImages=1\r\n" : ""));
  loadPlugin();
  for (int a : c.answers) host.ui.messageBoxes.push_back(a);
  configure([&](Dialog& d) {
    d.clickCell(c.row, 0);
    d.pickEntry(IDC_CBE_ICON, c.entry);
    EXPECT_FALSE(d.visible(IDC_CBE_ICON));
    d.ok();
  });
  EXPECT_EQ((std::vector<std::wstring>{button(1), button(2), button(3)}), c.expected);
  if (c.asked) {
    ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
    EXPECT_EQ(host.ui.messageBoxTexts[0], L"Favorites|Icon already used for c:\\c.sql. Clear existing?");
  } else {
    EXPECT_TRUE(host.ui.messageBoxTexts.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IconRuleTest,
    ::testing::Values(
        IconCase{"BlankRemovesTheIcon", {"fav_a.bmp", "", ""}, 0, 0, false, {}, {L"", L"", L""}, false},
        IconCase{"OwnIconChangesNothing", {"fav_a.bmp", "", ""}, 0, 1, false, {}, {L"fav_a.bmp", L"", L""}, false},
        IconCase{"UnusedIcon", {"", "", ""}, 1, 2, false, {}, {L"", L"fav_b.bmp", L""}, false},
        IconCase{"DuplicateYesMovesIt", {"", "", "fav_c.bmp"}, 0, 3, false, {IDYES}, {L"fav_c.bmp", L"", L""}, true},
        IconCase{"DuplicateNoChangesNothing", {"", "", "fav_c.bmp"}, 0, 3, false, {IDNO}, {L"", L"", L"fav_c.bmp"}, true},
        IconCase{"DuplicatesAllowedAsksNothing", {"", "", "fav_c.bmp"}, 0, 3, true, {}, {L"fav_c.bmp", L"", L"fav_c.bmp"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridTest, UncheckingAllowDuplicatesLeavesEachIconOnItsFirstUserOnly) {
  writeIni(favoritesIni({"c:\\a.sql", "c:\\b.sql", "c:\\c.sql", "c:\\d.sql"},
                        {"fav_a.bmp", "fav_a.bmp", "fav_b.bmp", "fav_a.bmp"},
                        "AllowDuplicateImages=1\r\n"));
  loadPlugin();
  configure([&](Dialog& d) {
    d.click(IDC_CB_ALLOW_DUPLICATE_IMAGES);
    EXPECT_FALSE(d.checked(IDC_CB_ALLOW_DUPLICATE_IMAGES));
    d.ok();
  });
  EXPECT_EQ((std::vector<std::wstring>{button(1), button(2), button(3), button(4)}),
            (std::vector<std::wstring>{L"fav_a.bmp", L"", L"fav_b.bmp", L""}));
  EXPECT_TRUE(host.ui.messageBoxTexts.empty());
}

TEST_F(GridTest, IconLoadingSkipsABadFileSurvivesAMissingBlankIconAndReloadsOnAPrefixChange) {
  testsupport::writeFile(dir / L"fav_bad.bmp", "not a bitmap");
  std::filesystem::remove(dir / L"[fav]_empty.bmp");
  writeIcon(dir.path(), L"ico_x.bmp");
  writeIni(favoritesIni({"c:\\a.sql"}));
  loadPlugin();
  configure([&](Dialog& d) {
    EXPECT_EQ(d.pickerEntries(IDC_CBE_ICON),
              (std::vector<std::wstring>{L"", L"fav_a.bmp", L"fav_b.bmp", L"fav_c.bmp"}));
    d.type(IDC_EDT_IMAGE_PREFIX, L"x");  // "fav_x": no file
    EXPECT_EQ(d.pickerEntries(IDC_CBE_ICON), (std::vector<std::wstring>{L""}));
    d.setText(IDC_EDT_IMAGE_PREFIX, L"ico_");
    EXPECT_EQ(d.pickerEntries(IDC_CBE_ICON), (std::vector<std::wstring>{L"", L"ico_x.bmp"}));
    d.cancel();
  });
}

// Threads of this process now.
int threadCount() {
  fav::unique_file snapshot{::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0)};
  THREADENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = ::Thread32First(snapshot.get(), &entry); more;
       more = ::Thread32Next(snapshot.get(), &entry))
    count += entry.th32OwnerProcessID == ::GetCurrentProcessId();
  return count;
}

// The icons are read on a worker after the dialog opens. A dialog closed
// while they are still being read stops the worker and waits for it: no
// thread outlives the dialog, and the next open reads them all again.
TEST_F(GridTest, ADialogClosedWhileItsIconsAreReadLeavesNoWorkerBehind) {
  for (int i = 0; i < 300; ++i) {
    wchar_t name[32];
    std::swprintf(name, 32, L"fav_many%03d.bmp", i);
    writeIcon(dir.path(), name, RGB(i % 256, 80, 160));
  }
  writeIni(favoritesIni({"c:\\a.sql"}, {"fav_many299.bmp"}));
  loadPlugin();
  configure([&](Dialog& d) { d.cancel(); });  // the system's own threads start
  const int before = threadCount();
  int shown = 0;
  host.ui.onDialog = [&](HWND hwnd, const std::wstring&) {
    ++shown;
    ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);  // before the icons can come
  };
  for (int i = 0; i < 5; ++i) host.configure();
  host.ui.onDialog = nullptr;
  EXPECT_EQ(shown, 5);
  EXPECT_EQ(threadCount(), before);
  configure([&](Dialog& d) {
    EXPECT_EQ(d.pickerEntries(IDC_CBE_MENU_ITEM).size(), 303u);
    d.clickCell(0, 0);
    EXPECT_EQ(d.pickerSelection(IDC_CBE_ICON), 303) << "the row's icon, the last one";
    d.cancelPicker(IDC_CBE_ICON);
    d.cancel();
  });
}

// A picker opened before the worker has read the icons holds them all the
// same: the dialog is usable at once.
TEST_F(GridTest, PickersOpenedBeforeTheIconsAreReadHoldEveryEntry) {
  writeIni(favoritesIni({"c:\\a.sql"}, {"fav_b.bmp"}) +
           "[SubMenus]\r\nSubMenu1=Dev\r\n[SubMenuItems]\r\nSubMenuItem1=Dev\r\n");
  loadPlugin();
  bool shown = false;
  host.ui.onDialog = [&](HWND hwnd, const std::wstring&) {
    shown = true;
    Dialog d(hwnd);  // no waiting: the icons are read after this returns
    ::SendMessageW(d.item(IDC_CBE_MENU_ITEM), CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(d.pickerEntries(IDC_CBE_MENU_ITEM),
              (std::vector<std::wstring>{L"fav_a.bmp", L"fav_b.bmp", L"fav_c.bmp"}));
    ::SendMessageW(d.item(IDC_CBE_MENU_ITEM), CB_SHOWDROPDOWN, FALSE, 0);
    d.clickCell(0, 0);
    EXPECT_EQ(d.pickerEntries(IDC_CBE_ICON),
              (std::vector<std::wstring>{L"", L"fav_a.bmp", L"fav_b.bmp", L"fav_c.bmp"}));
    EXPECT_EQ(d.pickerSelection(IDC_CBE_ICON), 2);
    d.cancelPicker(IDC_CBE_ICON);
    d.clickCell(0, 1);
    EXPECT_EQ(d.pickerEntries(IDC_CB_SUBMENU_EDIT), (std::vector<std::wstring>{L"", L"Dev"}));
    d.cancelPicker(IDC_CB_SUBMENU_EDIT);
    d.cancel();
  };
  host.configure();
  host.ui.onDialog = nullptr;
  EXPECT_TRUE(shown);
}

TEST_F(GridTest, AnEmptyImagePathMeansThePluginFolderAndIsSavedAsTyped) {
  const std::filesystem::path other = dir / L"icons";
  writeIcon(other, L"fav_big.bmp", RGB(10, 10, 10), 40);  // scaled to fit
  writeIni(favoritesIni({"c:\\a.sql"}, {}, "ImagePath=" + narrowPath(other) + "\r\n"));
  loadPlugin();
  configure([&](Dialog& d) {
    EXPECT_EQ(d.pickerEntries(IDC_CBE_ICON), (std::vector<std::wstring>{L"", L"fav_big.bmp"}));
    d.setText(IDC_EDT_IMAGE_PATH, L"");
    EXPECT_EQ(d.pickerEntries(IDC_CBE_ICON),
              (std::vector<std::wstring>{L"", L"fav_a.bmp", L"fav_b.bmp", L"fav_c.bmp"}));
    d.ok();
  });
  EXPECT_EQ(iniValue(L"Settings", L"ImagePath"), L"");
}

// --- submenus ---------------------------------------------------------------------------------

TEST_F(GridTest, SubmenuPickerPreselectsTheRowSubmenuWithOneFavoriteAndAppliesAPick) {
  writeIni("[Files]\r\nFile1=c:\\a.sql\r\n[SubMenus]\r\nSubMenu1=Dev\r\n"
           "[SubMenuItems]\r\nSubMenuItem1=Dev\r\nSubMenuItem2=Test\r\n");
  loadPlugin();
  configure([&](Dialog& d) {
    d.clickCell(0, 1);
    ASSERT_TRUE(d.pickerDropped(IDC_CB_SUBMENU_EDIT));
    EXPECT_EQ(d.pickerEntries(IDC_CB_SUBMENU_EDIT), (std::vector<std::wstring>{L"", L"Dev", L"Test"}));
    EXPECT_EQ(d.pickerSelection(IDC_CB_SUBMENU_EDIT), 1);
    EXPECT_EQ(d.hint(), L"Choose submenu");
    d.pickEntry(IDC_CB_SUBMENU_EDIT, 2);
    EXPECT_FALSE(d.visible(IDC_CB_SUBMENU_EDIT));
    EXPECT_EQ(d.cell(0, 1), L"Test");
    d.ok();
  });
  EXPECT_EQ(iniValue(L"SubMenus", L"SubMenu1"), L"Test");
}

// --- rename ---------------------------------------------------------------------------------

enum class Finish { Enter, Tab, FocusLoss, Escape };

struct RenameCase {
  const char* name;
  std::vector<int> clickRows;  // file cells clicked in turn
  std::wstring typed;
  Finish finish;
  bool opens;
  std::wstring expectedFile1;
};

class RenameTest : public GridTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(RenameTest, SlowDoubleClickRename) {
  const RenameCase& c = GetParam();
  writeIni(favoritesIni({"c:\\a.sql", "c:\\b.sql"}));
  loadPlugin();
  configure([&](Dialog& d) {
    for (int row : c.clickRows) d.clickCell(row, 2);
    ASSERT_EQ(d.visible(IDC_EDT_ITEM), c.opens);
    if (!c.opens) {
      d.ok();
      return;
    }
    EXPECT_EQ(d.text(IDC_EDT_ITEM), L"c:\\a.sql");
    EXPECT_EQ(::GetFocus(), d.item(IDC_EDT_ITEM));
    ::SetWindowTextW(d.item(IDC_EDT_ITEM), c.typed.c_str());
    switch (c.finish) {
      case Finish::Enter: d.key(VK_RETURN); break;
      case Finish::Tab: d.key(VK_TAB); break;
      case Finish::Escape: d.key(VK_ESCAPE); break;
      case Finish::FocusLoss: ::SetFocus(d.item(IDC_EDT_MENU_ITEM_NAME)); Dialog::pump(); break;
    }
    EXPECT_FALSE(d.visible(IDC_EDT_ITEM));
    ASSERT_TRUE(::IsWindow(d.hwnd())) << "the key closed the dialog";
    d.ok();
  });
  EXPECT_EQ(file(1), c.expectedFile1);
  EXPECT_EQ(host.refreshRequests, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RenameTest,
    ::testing::Values(
        RenameCase{"SameRowTwiceEnter", {0, 0}, L"d:\\new.sql", Finish::Enter, true, L"d:\\new.sql"},
        RenameCase{"Tab", {0, 0}, L"d:\\tab.sql", Finish::Tab, true, L"d:\\tab.sql"},
        RenameCase{"FocusLoss", {0, 0}, L"d:\\left.sql", Finish::FocusLoss, true, L"d:\\left.sql"},
        RenameCase{"EscapeCancels", {0, 0}, L"d:\\no.sql", Finish::Escape, true, L"c:\\a.sql"},
        RenameCase{"EmptyTextRefused", {0, 0}, L"  ", Finish::Enter, true, L"c:\\a.sql"},
        RenameCase{"TwoRowsDoNotOpen", {1, 0}, L"", Finish::Enter, false, L"c:\\a.sql"},
        RenameCase{"OneClickDoesNotOpen", {0}, L"", Finish::Enter, false, L"c:\\a.sql"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- selection and actions ------------------------------------------------------------------

using MenuStates = std::vector<std::pair<std::wstring, bool>>;

// The grid's popup menu as open() makes it appear: each item's text and
// whether it is enabled, read while it shows; then it closes.
MenuStates popupStates(const std::function<void()>& open) {
  static MenuStates* seen;
  MenuStates items;
  seen = &items;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (!popup) return;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
      wchar_t text[64] = {};
      ::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
      // The item's caption without its access key mark.
      std::wstring caption = text;
      caption.erase(std::remove(caption.begin(), caption.end(), L'&'), caption.end());
      ::lstrcpynW(text, caption.c_str(), 64);
      const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
      seen->push_back({text, !(state & (MF_GRAYED | MF_DISABLED))});
    }
    ::KillTimer(nullptr, id);
    ::EndMenu();
  });
  open();
  Dialog::waitFor([&] { return !items.empty(); });
  ::KillTimer(nullptr, timer);
  return items;
}

bool popupEnabled(const MenuStates& items, const std::wstring& text) {
  for (const auto& [caption, on] : items)
    if (caption == text) return on;
  ADD_FAILURE() << "no popup item " << testing::PrintToString(text);
  return false;
}

struct StateCase {
  int favorites;
  int selectRow;  // -1: none
  bool up, down, remove, connectionInfo;
  bool separatorSelected = false;  // the selected row is a separator
};

class ActionStateTest : public GridTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(ActionStateTest, EnabledStates) {
  const StateCase& c = GetParam();
  std::vector<std::string> files;
  for (int i = 0; i < c.favorites; ++i)
    files.push_back(c.separatorSelected && i == c.selectRow ? "-" : "c:\\f" + std::to_string(i) + ".sql");
  writeIni(favoritesIni(files));
  loadPlugin();
  configure([&](Dialog& d) {
    if (c.selectRow >= 0) d.clickCell(c.selectRow, 2);
    EXPECT_EQ(d.enabled(IDC_ACT_UP), c.up);
    EXPECT_EQ(d.enabled(IDC_ACT_DOWN), c.down);
    EXPECT_EQ(d.enabled(IDC_ACT_REMOVE), c.remove);
    EXPECT_EQ(d.enabled(IDC_ACT_CONNECTION_INFO), c.connectionInfo);
    EXPECT_TRUE(d.enabled(IDC_ACT_ADD));
    EXPECT_TRUE(d.enabled(IDC_ACT_SORT_BY_SUBMENU));
    // The popup menu (opened from the keyboard) follows the same rule.
    const MenuStates popup = popupStates([&] {
      ::PostMessageW(d.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(d.grid()), MAKELPARAM(-1, -1));
    });
    EXPECT_EQ(popupEnabled(popup, L"Up"), c.up);
    EXPECT_EQ(popupEnabled(popup, L"Down"), c.down);
    EXPECT_EQ(popupEnabled(popup, L"Remove"), c.remove);
    EXPECT_EQ(popupEnabled(popup, L"Connection Info"), c.connectionInfo);
    EXPECT_EQ(popupEnabled(popup, L"Export..."), c.favorites > 0);
    EXPECT_TRUE(popupEnabled(popup, L"Import..."));
    d.cancel();
  });
}

INSTANTIATE_TEST_SUITE_P(Cases, ActionStateTest,
                         ::testing::Values(StateCase{0, -1, false, false, false, false},
                                           StateCase{1, -1, false, false, false, false},
                                           StateCase{1, 0, false, false, true, true},
                                           StateCase{3, -1, false, false, false, false},
                                           StateCase{3, 0, false, true, true, true},
                                           StateCase{3, 1, true, true, true, true},
                                           StateCase{3, 2, true, false, true, true},
                                           StateCase{3, 1, true, true, true, false, true}));

TEST_F(GridTest, UpDownSeparatorRemoveAndTheShortcutsObeyTheRule) {
  writeIni(favoritesIni({"c:\\a.sql", "c:\\b.sql", "c:\\c.sql"}));
  loadPlugin();
  configure([&](Dialog& d) {
    d.clickCell(1, 2);
    d.click(IDC_ACT_UP);
    EXPECT_EQ(d.cell(0, 2), L"c:\\b.sql");
    EXPECT_EQ(d.selectedRow(), 0) << "the moved row stays selected";
    ::SetFocus(d.grid());
    d.steps({
        [](Dialog& d) { d.postAltKey(VK_UP); },  // first row: Up is off, nothing moves
        [](Dialog& d) {
          EXPECT_EQ(d.cell(0, 2), L"c:\\b.sql");
          d.postAltKey(VK_DOWN);
        },
        [](Dialog& d) { d.postAltKey(VK_DOWN); },
        [](Dialog& d) {
          Dialog::releaseAlt();
          EXPECT_EQ(d.cell(2, 2), L"c:\\b.sql");
          EXPECT_FALSE(d.enabled(IDC_ACT_DOWN));
          d.click(IDC_ACT_ADD_SEPARATOR);
          EXPECT_EQ(d.cell(3, 2), L"-");
          d.click(IDC_ACT_REMOVE);  // b, the last-but-one row
          EXPECT_EQ(d.rows(), 3);
          EXPECT_EQ(d.selectedRow(), 2);
          d.click(IDC_ACT_REMOVE);  // the separator, the last row
          EXPECT_EQ(d.rows(), 2);
          EXPECT_EQ(d.selectedRow(), 1) << "the new last row";
          d.click(IDC_ACT_ADD_SEPARATOR);
          d.ok();
        },
    });
  });
  EXPECT_EQ(file(1), L"c:\\a.sql");
  EXPECT_EQ(file(2), L"c:\\c.sql");
  EXPECT_EQ(file(3), L"-");
  EXPECT_EQ(file(4), L"<missing>");
}

TEST_F(GridTest, RightClickSelectsTheRowAndArmsRenameWithoutAPicker) {
  writeIni(favoritesIni({"c:\\a.sql", "c:\\b.sql"}));
  loadPlugin();
  configure([&](Dialog& d) {
    // The popup menu appears on the right click; its state is read, then it closes.
    const MenuStates items = popupStates([&] { d.rightClickCell(1, 0); });
    EXPECT_FALSE(d.visible(IDC_CBE_ICON));
    EXPECT_EQ(d.selectedRow(), 1);
    EXPECT_TRUE(d.enabled(IDC_ACT_UP));
    EXPECT_EQ(items, (MenuStates{{L"Up", true},
                                 {L"Down", false},
                                 {L"", false},
                                 {L"Rename", true},
                                 {L"Remove", true},
                                 {L"", false},
                                 {L"Connection Info", true},
                                 {L"", false},
                                 {L"Relink Missing...\tCtrl+R", false},
                                 {L"", false},
                                 {L"Export...", true},
                                 {L"Import...", true}}))
        << "no file is missing: nothing to relink";
    d.command(IDC_ACT_RENAME);
    ASSERT_TRUE(d.visible(IDC_EDT_ITEM));
    EXPECT_EQ(d.text(IDC_EDT_ITEM), L"c:\\b.sql");
    d.key(VK_ESCAPE);
    d.cancel();
  });
}

TEST_F(GridTest, TheMouseOverARowShowsItsConnection) {
  writeIni(
      "[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\nFile3=c:\\c.sql\r\n"
      "[Usernames]\r\nUsername1=scott\r\nUsername2=sys\r\n"
      "[Databases]\r\nDatabase1=orcl\r\nDatabase2=prod\r\n"
      "[ConnectsAs]\r\nConnectAs2=SysDBA\r\n");
  loadPlugin();
  configure([&](Dialog& d) {
    d.moveOver(0);
    EXPECT_EQ(d.hint(), L"scott@orcl");
    d.moveOver(1);
    EXPECT_EQ(d.hint(), L"sys@prod as SysDBA");
    d.moveOver(2);
    EXPECT_EQ(d.hint(), L"");
    d.cancel();
  });
}

// Pictures of the dialog for people to look at (written only when
// FAV_SHOT_DIR is set): the dialog, the icon list open, the duplicate question,
// the hint after a Remove.
TEST_F(GridTest, Screenshots) {
  // The icons the package ships, when the sources are at hand.
  wchar_t source[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"FAV_SOURCE_DIR", source, MAX_PATH)) {
    std::error_code ec;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(source) / L"resources" / L"package", ec))
      if (entry.path().extension() == L".bmp")
        std::filesystem::copy_file(entry.path(), dir / entry.path().filename().wstring(),
                                   std::filesystem::copy_options::overwrite_existing, ec);
  }
  writeIni(
      "[Settings]\r\nShowConnectionInfo=1\r\n"
      "[Files]\r\nFile1=c:\\scripts\\daily_report.sql\r\nFile2=-\r\nFile3=%path%\\pkg_orders.pkb\r\n"
      "File4=c:\\scripts\\cleanup.sql\r\nFile5=c:\\scripts\\audit_trigger.trg\r\n"
      "File6=%path%\\pkg_customers.pkb\r\n"
      "[SubMenus]\r\nSubMenu3=Packages\r\nSubMenu5=Triggers\r\nSubMenu6=Packages\r\n"
      "[Buttons]\r\nButton1=fav_report.bmp\r\nButton3=fav_package.bmp\r\nButton4=fav_script.bmp\r\n"
      "Button5=fav_trigger.bmp\r\n"
      "[Usernames]\r\nUsername3=scott\r\n[Databases]\r\nDatabase3=orcl\r\n"
      "[SubMenuItems]\r\nSubMenuItem1=Packages\r\nSubMenuItem2=Triggers\r\n");
  loadPlugin();
  host.ui.messageBoxes = {IDNO};
  host.ui.onShow = [&](const std::wstring& what) {
    if (what != L"messagebox") return;
    if (HWND dialog = ::FindWindowW(nullptr, L"Configure Favorites..."))
      Dialog(dialog).screenshotQuestion(host.ui.messageBoxTexts.back().substr(10),
                                        L"duplicate_question");
  };
  configure([&](Dialog& d) {
    d.clickCell(3, 2);
    d.moveOver(3);
    d.screenshot(L"configure");
    d.clickCell(0, 0);
    ASSERT_TRUE(d.pickerDropped(IDC_CBE_ICON));
    d.screenshot(L"icon_list_open");
    const auto entries = d.pickerEntries(IDC_CBE_ICON);
    const auto used = std::find(entries.begin(), entries.end(), d.cell(2, 0));  // cleanup.sql's
    ASSERT_NE(used, entries.end());
    d.pickEntry(IDC_CBE_ICON, static_cast<int>(used - entries.begin()));
    EXPECT_EQ(host.ui.messageBoxTexts.size(), 1u);
    d.clickCell(3, 2);
    d.click(IDC_BBTN_REMOVE);
    EXPECT_EQ(d.hint(), L"Removed %path%\\pkg_orders.pkb (Ctrl+Z to undo)");
    d.screenshot(L"configure_after_remove");
    d.cancel();
  });
}

}  // namespace

namespace {

// --- keyboard, filter and drag ------------------------------------------------------------------

TEST_F(GridTest, LeftAndRightPickTheCellAndF2OpensItsEditor) {
  writeIni(favoritesIni({"c:\\a.sql", "c:\\b.sql"}));
  loadPlugin();
  configure([&](Dialog& d) {
    d.clickCell(1, 2);  // arms the rename only
    ASSERT_EQ(::GetFocus(), d.grid());
    d.key(VK_F2);
    ASSERT_TRUE(d.visible(IDC_EDT_ITEM));
    EXPECT_EQ(d.text(IDC_EDT_ITEM), L"c:\\b.sql");
    d.key(VK_ESCAPE);
    d.key(VK_LEFT, d.grid());
    d.key(VK_F2, d.grid());
    EXPECT_TRUE(d.pickerDropped(IDC_CB_SUBMENU_EDIT));
    d.cancelPicker(IDC_CB_SUBMENU_EDIT);
    d.key(VK_LEFT, d.grid());
    d.key(VK_LEFT, d.grid());  // stays on the icon cell
    d.key(VK_F2, d.grid());
    EXPECT_TRUE(d.pickerDropped(IDC_CBE_ICON));
    d.pickEntry(IDC_CBE_ICON, 1);
    EXPECT_EQ(d.cell(1, 0), L"fav_a.bmp");
    d.cancel();
  });
}

TEST_F(GridTest, TheFilterMatchesFileAliasOrSubmenuAndTurnsOffMoves) {
  writeIni("[Files]\r\nFile1=c:\\Orders.sql\r\nFile2=c:\\b.sql\r\nFile3=c:\\c.sql\r\nFile4=c:\\d.sql\r\n"
           "[Aliases]\r\nAlias2=Daily ORDERS\r\n[SubMenus]\r\nSubMenu3=orders\r\n"
           "[SubMenuItems]\r\nSubMenuItem1=orders\r\n");
  loadPlugin();
  configure([&](Dialog& d) {
    ::SetFocus(d.grid());
    d.steps({
        [](Dialog& d) {
          BYTE keys[256] = {};
          ::GetKeyboardState(keys);
          keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
          ::SetKeyboardState(keys);
          ::PostMessageW(d.grid(), WM_KEYDOWN, 'F', 1);
        },
        [](Dialog& d) {
          BYTE keys[256] = {};
          ::GetKeyboardState(keys);
          keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
          ::SetKeyboardState(keys);
          EXPECT_EQ(::GetFocus(), d.item(IDC_EDT_FILTER));
          d.type(IDC_EDT_FILTER, L"orders");
          ASSERT_EQ(d.rows(), 3);
          EXPECT_EQ(d.cell(0, 2), L"c:\\Orders.sql");
          EXPECT_EQ(d.cell(1, 2), L"c:\\b.sql");
          EXPECT_EQ(d.cell(2, 1), L"orders");
          d.clickCell(1, 2);
          EXPECT_FALSE(d.enabled(IDC_ACT_UP));
          EXPECT_FALSE(d.enabled(IDC_ACT_DOWN));
          EXPECT_TRUE(d.enabled(IDC_ACT_REMOVE));
          ::SetFocus(d.item(IDC_EDT_FILTER));
          ::PostMessageW(d.item(IDC_EDT_FILTER), WM_KEYDOWN, VK_ESCAPE, 1);
        },
        [](Dialog& d) {
          ASSERT_TRUE(::IsWindowVisible(d.hwnd())) << "Escape in the filter only clears it";
          EXPECT_EQ(d.text(IDC_EDT_FILTER), L"");
          EXPECT_EQ(d.rows(), 4);
          EXPECT_EQ(d.selectedRow(), 1) << "the selection stays on its favorite";
          d.ok();
        },
    });
  });
  EXPECT_EQ(readIni().find("File4=c:\\c.sql") != std::string::npos, true) << readIni();
}

// The list view keeps no rows: it asks the list for each cell, so a long list
// is one count and a cell reads what the list holds now.
TEST_F(GridTest, TheGridAsksTheListForEveryCellOfALongList) {
  std::vector<std::string> files;
  for (int i = 0; i < 1000; ++i) files.push_back("c:\\scripts\\s" + std::to_string(i) + ".sql");
  files[999] = "c:\\" + std::string(3000, 'x') + ".sql";  // longer than a reader's buffer
  writeIni(favoritesIni(files, {"fav_c.bmp"}));
  loadPlugin();
  configure([&](Dialog& d) {
    EXPECT_TRUE(::GetWindowLongW(d.grid(), GWL_STYLE) & LVS_OWNERDATA);
    ASSERT_EQ(d.rows(), 1000);
    EXPECT_EQ(d.cell(0, 0), L"fav_c.bmp");
    EXPECT_EQ(d.cell(500, 2), L"c:\\scripts\\s500.sql");
    const std::wstring cut = d.cell(999, 2);
    EXPECT_FALSE(cut.empty());
    EXPECT_EQ(cut, std::wstring(L"c:\\") + std::wstring(cut.size() - 3, L'x'))
        << "a text longer than the reader's buffer is cut, not overrun";
    d.clickCell(1, 2);
    d.command(IDC_ACT_REMOVE);
    EXPECT_EQ(d.rows(), 999);
    EXPECT_EQ(d.cell(1, 2), L"c:\\scripts\\s2.sql");
    EXPECT_EQ(d.selectedRow(), 1) << "the row below takes the selection";
    d.screenshot(L"configure_long_list");
    d.cancel();
  });
}

// Typing in the grid goes to the next row whose icon starts with the letters,
// as it did when the list view held its rows.
TEST_F(GridTest, TypingALetterGoesToTheNextRowWhoseIconStartsWithIt) {
  writeIni(favoritesIni({"c:\\a.sql", "c:\\b.sql", "c:\\c.sql", "c:\\d.sql"},
                        {"fav_a.bmp", "", "fav_b.bmp", "other.bmp"}));
  loadPlugin();
  configure([&](Dialog& d) {
    d.clickCell(0, 2);
    ASSERT_EQ(d.selectedRow(), 0);
    ::SendMessageW(d.grid(), WM_CHAR, L'F', 1);
    Dialog::pump();
    EXPECT_EQ(d.selectedRow(), 2) << "the next row whose icon starts with F";
    ::SendMessageW(d.grid(), WM_CHAR, L'x', 1);
    Dialog::pump();
    EXPECT_EQ(d.selectedRow(), 2) << "no row starts with \"Fx\": the selection stays";
    d.cancel();
  });
}

// One rule for both grids: a second click on the same row's name arms a
// rename; a click elsewhere moves the arming, and a picker or the popup menu
// remembers the row without arming it.
TEST(SlowClickTest, TheSecondClickOnTheSameRowArmsARename) {
  struct Step {
    const char* what;
    int row;        // -1: hold(2) as a picker or the popup menu does
    bool renames;
  };
  const struct {
    const char* name;
    std::vector<Step> steps;
  } cases[] = {
      {"second click on the row", {{"click", 3, false}, {"click", 3, true}}},
      {"another row in between", {{"click", 3, false}, {"click", 4, false}, {"click", 3, false}}},
      {"a picker in between", {{"click", 2, false}, {"hold", -1, false}, {"click", 2, false},
                                {"click", 2, true}}},
  };
  for (const auto& c : cases) {
    dialogs::SlowClick click;
    for (const Step& step : c.steps) {
      if (step.row < 0) {
        click.hold(2);
        EXPECT_FALSE(click.armed()) << c.name;
        EXPECT_EQ(click.row(), 2) << c.name;
        continue;
      }
      EXPECT_EQ(click.click(step.row), step.renames)
          << c.name << ": " << step.what << " " << step.row;
    }
  }
  dialogs::SlowClick click;
  click.click(1);
  click.forget();
  EXPECT_FALSE(click.click(1)) << "after forget() a click only arms";
  EXPECT_EQ(click.row(), 1);
}

TEST_F(GridTest, DraggingARowMovesIt) {
  writeIni(favoritesIni({"c:\\a.sql", "c:\\b.sql", "c:\\c.sql"}));
  loadPlugin();
  configure([&](Dialog& d) {
    const POINT from = d.cellCenter(0, 2), to = d.cellCenter(2, 2);
    ::PostMessageW(d.grid(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    for (int y = from.y; y <= to.y; y += 4)
      ::PostMessageW(d.grid(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(from.x + 2, y));
    ::PostMessageW(d.grid(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_TRUE(Dialog::waitFor([&] { return d.cell(2, 2) == L"c:\\a.sql"; }));
    EXPECT_EQ(d.cell(0, 2), L"c:\\b.sql");
    EXPECT_EQ(d.cell(2, 2), L"c:\\a.sql");
    EXPECT_EQ(d.selectedRow(), 2);
    d.ok();
  });
  EXPECT_EQ(file(3), L"c:\\a.sql");
}

TEST_F(GridTest, TheHintPanelFollowsTheFocus) {
  loadPlugin();
  configure([&](Dialog& d) {
    ::SetFocus(d.item(IDC_EDT_IMAGE_PREFIX));
    Dialog::pump();
    EXPECT_EQ(d.hint(), L"Prefix of the images to be used");
    ::SetFocus(d.item(IDC_ACT_ADD));
    Dialog::pump();
    EXPECT_EQ(d.hint(), L"Add a favorite file");
    d.cancel();
  });
}

}  // namespace

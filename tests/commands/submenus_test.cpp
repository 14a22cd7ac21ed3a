// The Submenus dialog, opened by Ctrl + Add Submenu in the Configure dialog,
// and Add Submenu without Ctrl. Every check ends in the file Ok wrote.
#include "commands_fixture.h"

#include <commctrl.h>

#include "frm_SubMenus_ids.h"

namespace commandstest {
namespace {

using Strings = std::vector<std::wstring>;

class SubmenusTest : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    writeIcon(dir / L"icons", L"fav_a.bmp", RGB(200, 30, 30));
    writeIcon(dir / L"icons", L"fav_b.bmp", RGB(30, 120, 200));
    writeIni(
        "[Settings]\r\nImagePath=" + folder() + "\\icons\r\nImagePrefix=fav_\r\n"
        "AllowDuplicateImages=0\r\n"
        "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Alpha\r\nSubMenuItem2=Beta\r\n"
        "SubMenuItem3=Gamma\r\n"
        "[SubMenuButtons]\r\nSubMenuButton0=\r\nSubMenuButton1=fav_a.bmp\r\n"
        "[Files]\r\nFile1=a.sql\r\nFile2=b.sql\r\nFile3=c.sql\r\nFile4=d.sql\r\n"
        "[SubMenus]\r\nSubMenu1=Alpha\r\nSubMenu2=Beta\r\nSubMenu3=Gamma\r\n");
    loadPlugin();
  }

  // Ctrl + Add Submenu opens the Submenus dialog, child drives it; then Ok.
  void editSubmenus(const Drive& child, const std::wstring& boxText = L"") {
    run(
        [&](Dialog& d) {
          d.setText(IDC_ED_SUBMENU, boxText);
          withCtrl([&] { d.click(IDC_SB_ADD_SUBMENU); });
          d.ok();
        },
        {{L"TfrmSubMenus", child}});
  }

  // The submenu each favorite ended in, by file name.
  std::map<std::wstring, std::wstring> submenuOfFile() const {
    std::map<std::wstring, std::wstring> out;
    const Strings names = files();
    for (size_t i = 0; i < names.size(); ++i)
      out[names[i]] = entry(L"SubMenus", L"SubMenu", static_cast<int>(i) + 1);
    return out;
  }

  static HWND grid(Dialog& sm) { return sm.item(IDC_SM_GRID); }
  static void clickName(Dialog& sm, int row) { clickIn(sm, row, 1); }
  static void clickIn(Dialog& sm, int row, int col) {
    RECT r{};
    ListView_GetItemRect(grid(sm), row, &r, LVIR_BOUNDS);
    const int iconWidth = ListView_GetColumnWidth(grid(sm), 0);
    const int x = col == 0 ? r.left + iconWidth / 2 : r.left + iconWidth + 20;
    const LPARAM at = MAKELPARAM(x, (r.top + r.bottom) / 2);
    ::PostMessageW(grid(sm), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(grid(sm), WM_LBUTTONUP, 0, at);
    Dialog::pump();
  }
  static void gridKey(Dialog& sm, UINT vk) { sm.key(vk, grid(sm)); }
};

TEST_F(SubmenusTest, TheBlankFirstRowTakesNoRemovalRenameOrIcon) {
  editSubmenus([](Dialog& sm) {
    EXPECT_EQ(fav::windowText(sm.hwnd()), L"Configure Submenus...");
    EXPECT_EQ(gridNames(grid(sm)), (Strings{L"", L"Alpha", L"Beta", L"Gamma"}));
    EXPECT_TRUE(::GetWindowLongW(grid(sm), GWL_STYLE) & LVS_OWNERDATA)
        << "the rows are read from the list, not copied into the view";
    sm.screenshot(L"submenus");
    const struct {
      int id;
      const wchar_t* hint;
    } hints[] = {{IDC_SM_ED_SUBMENU, L"Submenu name"},
                 {IDC_SM_ACT_ADD_SUBMENU, L"Add submenu to the list"},
                 {IDOK, L"Save changes"},
                 {IDCANCEL, L"Discard changes"},
                 {IDC_SM_LBL_ADD_SUBMENU, L""}};
    for (const auto& h : hints) {
      sm.hover(sm.item(h.id));
      EXPECT_EQ(sm.text(IDC_SM_PNL_HINT), h.hint) << h.id;
    }
    clickIn(sm, 0, 0);
    EXPECT_FALSE(sm.visible(IDC_SM_CBE_ICON));
    clickName(sm, 0);
    clickName(sm, 0);
    EXPECT_FALSE(sm.visible(IDC_SM_EDT_ITEM));
    gridKey(sm, VK_DELETE);
    gridKey(sm, VK_F2);
    sm.command(IDC_SM_ACT_REMOVE);
    sm.command(IDC_SM_ACT_RENAME);
    EXPECT_FALSE(sm.visible(IDC_SM_EDT_ITEM));
    EXPECT_EQ(gridNames(grid(sm)).size(), 4u);
    sm.command(IDOK);
  });
  EXPECT_EQ(submenuNames(), (Strings{L"Alpha", L"Beta", L"Gamma"}));
  EXPECT_EQ(entry(L"SubMenuItems", L"SubMenuItem", 0), L"");
  EXPECT_EQ(entry(L"SubMenuButtons", L"SubMenuButton", 1), L"fav_a.bmp");
}

TEST_F(SubmenusTest, RenamedSubmenusKeepTheirFavoritesAndRemovedOnesLetThemGo) {
  const Drive editor = [](Dialog& sm) {
    // Remove Beta, take it back, remove it again.
    clickName(sm, 2);
    gridKey(sm, VK_DELETE);
    EXPECT_EQ(gridNames(grid(sm)), (Strings{L"", L"Alpha", L"Gamma"}));
    EXPECT_EQ(sm.text(IDC_SM_PNL_HINT), L"Removed Beta (Ctrl+Z to undo)");
    withCtrl([&] { gridKey(sm, 'Z'); });
    EXPECT_EQ(gridNames(grid(sm)), (Strings{L"", L"Alpha", L"Beta", L"Gamma"}));
    clickName(sm, 2);
    sm.command(IDC_SM_ACT_REMOVE);

    // A slow double click on Alpha's name opens the rename; Enter commits.
    clickName(sm, 1);
    clickName(sm, 1);
    ASSERT_TRUE(sm.visible(IDC_SM_EDT_ITEM));
    EXPECT_EQ(sm.text(IDC_SM_EDT_ITEM), L"Alpha");
    sm.setText(IDC_SM_EDT_ITEM, L" Alpha2 ");
    sm.key(VK_RETURN, sm.item(IDC_SM_EDT_ITEM));
    EXPECT_FALSE(sm.visible(IDC_SM_EDT_ITEM));

    // A blank name is refused; the old one stays.
    clickName(sm, 2);
    gridKey(sm, VK_F2);
    ASSERT_TRUE(sm.visible(IDC_SM_EDT_ITEM));
    sm.setText(IDC_SM_EDT_ITEM, L"   ");
    sm.key(VK_RETURN, sm.item(IDC_SM_EDT_ITEM));
    EXPECT_EQ(gridNames(grid(sm)), (Strings{L"", L"Alpha2", L"Gamma"}));
    sm.command(IDOK);
  };
  run(
      [](Dialog& d) {
        ASSERT_EQ(d.cell(1, 2), L"a.sql");
        withCtrl([&] { d.click(IDC_SB_ADD_SUBMENU); });
        EXPECT_EQ(d.cell(1, 1), L"Alpha2");
        // The whole edit is one step of undo: the list and the favorites go
        // back together, and come again.
        d.command(IDC_ACT_UNDO);
        EXPECT_EQ(d.cell(1, 1), L"Alpha");
        EXPECT_EQ(d.pickerEntries(IDC_CB_SUBMENU_EDIT), (Strings{L"", L"Alpha", L"Beta", L"Gamma"}));
        d.command(IDC_ACT_REDO);
        EXPECT_EQ(d.cell(1, 1), L"Alpha2");
        d.ok();
      },
      {{L"TfrmSubMenus", editor}});
  EXPECT_EQ(submenuNames(), (Strings{L"Alpha2", L"Gamma"}));
  EXPECT_EQ(entry(L"SubMenuButtons", L"SubMenuButton", 1), L"fav_a.bmp");
  const std::map<std::wstring, std::wstring> expected = {
      {L"a.sql", L"Alpha2"}, {L"b.sql", L""}, {L"c.sql", L"Gamma"}, {L"d.sql", L""}};
  EXPECT_EQ(submenuOfFile(), expected);
}

TEST_F(SubmenusTest, ARenameCommitsOnEnterTabOrLeavingAndEscapeCancelsIt) {
  enum Leave { kEnter, kTab, kClickElsewhere, kEscape };
  const struct {
    Leave leave;
    Strings names;
  } cases[] = {{kEnter, {L"Alpha", L"Beta", L"Renamed"}},
               {kTab, {L"Alpha", L"Beta", L"Renamed"}},
               {kClickElsewhere, {L"Alpha", L"Beta", L"Renamed"}},
               {kEscape, {L"Alpha", L"Beta", L"Gamma"}}};
  for (const auto& c : cases) {
    if (&c != cases) SetUp();
    editSubmenus([&](Dialog& sm) {
      clickName(sm, 3);
      gridKey(sm, VK_F2);
      ASSERT_TRUE(sm.visible(IDC_SM_EDT_ITEM));
      sm.setText(IDC_SM_EDT_ITEM, L"Renamed");
      HWND editor = sm.item(IDC_SM_EDT_ITEM);
      switch (c.leave) {
        case kEnter: sm.key(VK_RETURN, editor); break;
        case kTab: sm.key(VK_TAB, editor); break;
        case kEscape: sm.key(VK_ESCAPE, editor); break;
        case kClickElsewhere: clickName(sm, 1); break;
      }
      EXPECT_FALSE(sm.visible(IDC_SM_EDT_ITEM)) << c.leave;
      EXPECT_TRUE(::IsWindowVisible(sm.hwnd())) << c.leave;  // Enter and Escape stay in the rename
      sm.command(IDOK);
    });
    EXPECT_EQ(submenuNames(), c.names) << c.leave;
    host.unload();
  }
}

TEST_F(SubmenusTest, AnIconInUseAsksAndMovesOnlyOnYes) {
  const struct {
    int answer;
    const wchar_t *alpha, *beta;
  } cases[] = {{IDNO, L"fav_a.bmp", L""}, {IDYES, L"", L"fav_a.bmp"}};
  for (const auto& c : cases) {
    if (&c != cases) SetUp();  // a fresh file and plug-in copy per case
    host.ui.messageBoxes = {c.answer};
    editSubmenus([](Dialog& sm) {
      clickIn(sm, 2, 0);  // Beta's icon cell
      HWND picker = sm.item(IDC_SM_CBE_ICON);
      ASSERT_TRUE(sm.visible(IDC_SM_CBE_ICON));
      EXPECT_EQ(comboEntries(picker), (Strings{L"", L"fav_a.bmp", L"fav_b.bmp"}));
      EXPECT_EQ(sm.text(IDC_SM_PNL_HINT), L"Choose icon");
      sm.screenshot(L"submenus_icon_list");
      ::SendMessageW(picker, CB_SETCURSEL, 1, 0);
      ::SendMessageW(picker, WM_KEYDOWN, VK_RETURN, 1);
      Dialog::pump();
      EXPECT_FALSE(sm.visible(IDC_SM_CBE_ICON));
      sm.command(IDOK);
    });
    EXPECT_EQ(host.ui.messageBoxTexts,
              Strings{L"Favorites|Icon already used for Alpha. Clear existing?"});
    EXPECT_EQ(entry(L"SubMenuButtons", L"SubMenuButton", 1), c.alpha);
    EXPECT_EQ(entry(L"SubMenuButtons", L"SubMenuButton", 2), c.beta);
    host.unload();
    host.ui.messageBoxTexts.clear();
  }
}

// The icons come after the dialog is drawn; a picker dropped before that has
// them at once.
TEST_F(SubmenusTest, IconsFollowTheFirstPaintAndAPickerDroppedBeforeHasThemAtOnce) {
  bool early = false;
  host.ui.onDialog = [&](HWND hwnd, const std::wstring& name) {
    Dialog d(hwnd);
    if (name != L"TfrmSubMenus") {
      EXPECT_TRUE(d.waitForIcons());
      withCtrl([&] { d.click(IDC_SB_ADD_SUBMENU); });
      d.cancel();
      return;
    }
    // No pumping yet: the timer that starts the read has not run.
    early = !submenuIconsRead(d);
    HWND picker = d.item(IDC_SM_CBE_MENU_ITEM);
    ::SendMessageW(picker, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_EQ(comboEntries(picker), (Strings{L"fav_a.bmp", L"fav_b.bmp"}));
    ::SendMessageW(picker, CB_SHOWDROPDOWN, FALSE, 0);
    d.command(IDCANCEL);
  };
  host.configure();
  host.ui.onDialog = nullptr;
  EXPECT_TRUE(early) << "the icons were read before the dialog was drawn";

  // Left alone, the worker fills both pickers.
  editSubmenus([](Dialog& sm) {
    EXPECT_EQ(comboEntries(sm.item(IDC_SM_CBE_ICON)), (Strings{L"", L"fav_a.bmp", L"fav_b.bmp"}));
    EXPECT_EQ(comboEntries(sm.item(IDC_SM_CBE_MENU_ITEM)), (Strings{L"fav_a.bmp", L"fav_b.bmp"}));
    sm.command(IDCANCEL);
  });
}

TEST_F(SubmenusTest, CancelLeavesTheListAndTheFavoritesAsTheyWere) {
  const std::string before = readIni();
  run(
      [&](Dialog& d) {
        withCtrl([&] { d.click(IDC_SB_ADD_SUBMENU); });
        d.cancel();  // the Configure dialog too: nothing may be written
      },
      {{L"TfrmSubMenus", [](Dialog& sm) {
          clickName(sm, 1);
          gridKey(sm, VK_DELETE);
          sm.setText(IDC_SM_ED_SUBMENU, L"Delta");
          sm.click(IDC_SM_ACT_ADD_SUBMENU);
          EXPECT_EQ(gridNames(grid(sm)), (Strings{L"", L"Beta", L"Delta", L"Gamma"}));
          sm.command(IDCANCEL);
        }}});
  EXPECT_EQ(shown[L"TfrmSubMenus"], 1);
  EXPECT_EQ(readIni(), before);

  editSubmenus([](Dialog& sm) {
    clickName(sm, 1);
    gridKey(sm, VK_DELETE);
    sm.command(IDCANCEL);
  });
  EXPECT_EQ(submenuNames(), (Strings{L"Alpha", L"Beta", L"Gamma"}));
  EXPECT_EQ(submenuOfFile()[L"a.sql"], L"Alpha");
}

TEST_F(SubmenusTest, TheAddStripAddsTrimmedNewNamesInSortedPlaceAndEnterAddsInsteadOfOk) {
  editSubmenus([](Dialog& sm) {
    for (const wchar_t* name : {L"", L"   ", L"Beta", L"  Delta "}) {
      sm.setText(IDC_SM_ED_SUBMENU, name);
      sm.click(IDC_SM_ACT_ADD_SUBMENU);
    }
    // Enter in the name box: the dialog's Ok arrives with the focus there.
    ::SendMessageW(sm.item(IDC_SM_CBE_MENU_ITEM), CB_SETCURSEL, 1, 0);  // fav_b.bmp
    sm.setText(IDC_SM_ED_SUBMENU, L"Aardvark");
    ::SetFocus(sm.item(IDC_SM_ED_SUBMENU));
    sm.command(IDOK);
    EXPECT_TRUE(::IsWindowVisible(sm.hwnd()));
    EXPECT_EQ(sm.text(IDC_SM_ED_SUBMENU), L"Aardvark");  // the box keeps its text
    EXPECT_EQ(gridNames(grid(sm)),
              (Strings{L"", L"Aardvark", L"Alpha", L"Beta", L"Delta", L"Gamma"}));
    ::SetFocus(grid(sm));
    sm.command(IDOK);
  }, L"Zeta");  // the Configure dialog's box is ignored with Ctrl
  EXPECT_EQ(shown[L"TfrmSubMenus"], 1);
  EXPECT_EQ(submenuNames(), (Strings{L"Aardvark", L"Alpha", L"Beta", L"Delta", L"Gamma"}));
  EXPECT_EQ(entry(L"SubMenuButtons", L"SubMenuButton", 1), L"fav_b.bmp");
}

TEST_F(SubmenusTest, AddSubmenuWithoutCtrlAndEnterInTheBoxAddOnlyNewTrimmedNames) {
  run([](Dialog& d) {
    d.steps({
        [](Dialog& d) {
          ::SendMessageW(d.item(IDC_CBE_MENU_ITEM), CB_SETCURSEL, 1, 0);  // fav_b.bmp
          for (const wchar_t* name : {L"", L"  ", L"Alpha", L" Aardvark "}) {
            d.setText(IDC_ED_SUBMENU, name);
            d.click(IDC_SB_ADD_SUBMENU);
          }
          EXPECT_EQ(d.text(IDC_ED_SUBMENU), L" Aardvark ");  // not cleared
          // Enter in the box, through the dialog's own loop, Ctrl held: it
          // adds as the button without Ctrl does, and presses no Ok.
          d.setText(IDC_ED_SUBMENU, L" Delta ");
          ::SetFocus(d.item(IDC_ED_SUBMENU));
          d.postCtrlKey(VK_RETURN);
        },
        [](Dialog& d) {
          Dialog::releaseCtrl();
          ASSERT_TRUE(::IsWindowVisible(d.hwnd())) << "Enter pressed Ok";
          EXPECT_EQ(d.text(IDC_ED_SUBMENU), L" Delta ");
          EXPECT_EQ(d.pickerEntries(IDC_CB_SUBMENU_EDIT),
                    (Strings{L"", L"Aardvark", L"Alpha", L"Beta", L"Delta", L"Gamma"}));
          d.ok();
        },
    });
  });
  EXPECT_EQ(shown[L"TfrmSubMenus"], 0);
  EXPECT_EQ(submenuNames(), (Strings{L"Aardvark", L"Alpha", L"Beta", L"Delta", L"Gamma"}));
  EXPECT_EQ(entry(L"SubMenuButtons", L"SubMenuButton", 1), L"fav_b.bmp");
}

// A "/" (the older layout's path separator) or ">>" would make the IDE split
// the name into nested menus: refused where it is typed, with the reason.
TEST_F(SubmenusTest, NamesTheMenusWouldSplitAreRefusedWhereTheyAreTyped) {
  enum Where { kAddBox, kSubmenusAdd, kSubmenusRename };
  const struct {
    Where where;
    const wchar_t* name;
    const wchar_t* part;
  } cases[] = {{kAddBox, L"Reports/Daily", L"/"},
               {kAddBox, L"Reports >> Daily", L">>"},
               {kSubmenusAdd, L"a/b", L"/"},
               {kSubmenusAdd, L"x>>y", L">>"},
               {kSubmenusRename, L"Gamma/2", L"/"},
               {kSubmenusRename, L">>Gamma", L">>"}};
  for (const auto& c : cases) {
    if (&c != cases) SetUp();
    host.ui.messageBoxTexts.clear();
    switch (c.where) {
      case kAddBox:
        run([&](Dialog& d) {
          d.setText(IDC_ED_SUBMENU, c.name);
          d.click(IDC_SB_ADD_SUBMENU);
          d.ok();
        });
        break;
      case kSubmenusAdd:
        editSubmenus([&](Dialog& sm) {
          sm.setText(IDC_SM_ED_SUBMENU, c.name);
          sm.click(IDC_SM_ACT_ADD_SUBMENU);
          EXPECT_EQ(gridNames(grid(sm)), (Strings{L"", L"Alpha", L"Beta", L"Gamma"}));
          sm.command(IDOK);
        });
        break;
      case kSubmenusRename:
        editSubmenus([&](Dialog& sm) {
          clickName(sm, 3);
          gridKey(sm, VK_F2);
          sm.setText(IDC_SM_EDT_ITEM, c.name);
          sm.key(VK_RETURN, sm.item(IDC_SM_EDT_ITEM));
          EXPECT_FALSE(sm.visible(IDC_SM_EDT_ITEM));
          sm.command(IDOK);
        });
        break;
    }
    ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u) << c.where << " " << testing::PrintToString(c.name);
    EXPECT_EQ(host.ui.messageBoxTexts[0], std::wstring(L"Favorites|A submenu name cannot contain \"") +
                                              c.part +
                                              L"\": the IDE would split the name there into nested menus.");
    EXPECT_EQ(submenuNames(), (Strings{L"Alpha", L"Beta", L"Gamma"})) << c.where;
    EXPECT_EQ(submenuOfFile()[L"c.sql"], L"Gamma") << c.where;
    host.unload();
  }
}

}  // namespace
}  // namespace commandstest

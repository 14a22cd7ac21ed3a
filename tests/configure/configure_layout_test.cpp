// How the Configure dialog looks: where it opens, its layout at any size,
// the grid's columns, tooltip and pictures for "no icon", and what a filter
// does to the selection and the commands.
#include <gtest/gtest.h>

#include <algorithm>

#include "configure_fixture.h"

namespace {

using configuretest::ConfigureTest;
using configuretest::Dialog;

class LayoutTest : public ConfigureTest {
 protected:
  void SetUp() override {
    ConfigureTest::SetUp();
    writeSampleIcons(1);
  }
};

// --- where it opens ----------------------------------------------------------------------

TEST_F(LayoutTest, WithoutAStoredPlaceItOpensCentredOnTheIdeWindow) {
  writeIni("[Settings]\r\nWidth=700\r\nHeight=500\r\n");
  loadPlugin();
  // The IDE's main window, active when the command runs.
  HWND ide = ::CreateWindowExW(0, L"STATIC", L"IDE", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 380, 300,
                               800, 600, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(ide);
  ::SetForegroundWindow(ide);
  ::SetActiveWindow(ide);
  EXPECT_TRUE(Dialog::waitFor([&] { return ::GetActiveWindow() == ide; }));
  RECT placedIde{};
  ::GetWindowRect(ide, &placedIde);
  RECT dialog{}, owner{};
  configure([&](Dialog& d) {
    ::GetWindowRect(d.hwnd(), &dialog);
    // The window the dialog is owned by is the IDE's main window.
    HWND ownerWindow = ::GetWindow(d.hwnd(), GW_OWNER);
    ASSERT_TRUE(ownerWindow);
    ::GetWindowRect(ownerWindow, &owner);
    EXPECT_EQ(owner.left, placedIde.left) << "the IDE window moved";
    d.cancel();
  });
  ::DestroyWindow(ide);
  EXPECT_NEAR((dialog.left + dialog.right) / 2, (owner.left + owner.right) / 2, 1);
  EXPECT_NEAR((dialog.top + dialog.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
  EXPECT_EQ(dialog.right - dialog.left, 700);
}

// --- layout at any size ---------------------------------------------------------------------

bool overlaps(const RECT& a, const RECT& b) {
  RECT both{};
  return ::IntersectRect(&both, &a, &b) != FALSE;
}

// Every visible control lies whole inside the client area with a size, and
// no two overlap (but for the group box and the boxes it holds).
void expectWholeLayout(HWND dialog, const std::string& size) {
  RECT client{};
  ::GetClientRect(dialog, &client);
  struct Placed {
    int id;
    RECT r;
  };
  std::vector<Placed> placed;
  for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(c)) continue;
    RECT r{};
    ::GetWindowRect(c, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    const int id = ::GetDlgCtrlID(c);
    // A combo box's window includes its closed list.
    wchar_t cls[32] = {};
    ::GetClassNameW(c, cls, 32);
    if (::lstrcmpiW(cls, L"ComboBox") == 0 || ::lstrcmpiW(cls, WC_COMBOBOXEXW) == 0) {
      COMBOBOXINFO info{sizeof(info)};
      HWND combo = ::lstrcmpiW(cls, L"ComboBox") == 0
                       ? c
                       : reinterpret_cast<HWND>(::SendMessageW(c, CBEM_GETCOMBOCONTROL, 0, 0));
      RECT shown{};
      ::GetWindowRect(combo, &shown);
      r.bottom = r.top + (shown.bottom - shown.top);
      if (::GetComboBoxInfo(combo, &info)) r.bottom = r.top + info.rcItem.bottom + 2;
    }
    EXPECT_GT(r.right - r.left, 0) << size << " control " << id;
    EXPECT_GT(r.bottom - r.top, 0) << size << " control " << id;
    EXPECT_GE(r.left, client.left) << size << " control " << id;
    EXPECT_GE(r.top, client.top) << size << " control " << id;
    EXPECT_LE(r.right, client.right) << size << " control " << id;
    EXPECT_LE(r.bottom, client.bottom) << size << " control " << id;
    placed.push_back({id, r});
  }
  const int inGroup[] = {IDC_GB_SUPPRESS_LOGON, IDC_CB_SHIFT_DOWN, IDC_CB_CTRL_DOWN, IDC_CB_ALT_DOWN};
  auto grouped = [&](int id) { return std::find(std::begin(inGroup), std::end(inGroup), id) != std::end(inGroup); };
  for (size_t i = 0; i < placed.size(); ++i)
    for (size_t j = i + 1; j < placed.size(); ++j) {
      if (grouped(placed[i].id) && grouped(placed[j].id) &&
          (placed[i].id == IDC_GB_SUPPRESS_LOGON || placed[j].id == IDC_GB_SUPPRESS_LOGON))
        continue;
      EXPECT_FALSE(overlaps(placed[i].r, placed[j].r))
          << size << ": controls " << placed[i].id << " and " << placed[j].id << " overlap";
    }
}

TEST_F(LayoutTest, EveryControlStaysWholeAtTheMinimumAtOneAndAHalfTimesAndMaximised) {
  writeIni("[Settings]\r\nLeft=10\r\nTop=10\r\nWidth=100\r\nHeight=100\r\n"
           "[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\n");
  loadPlugin();
  configure([&](Dialog& d) {
    RECT r{};
    ::GetWindowRect(d.hwnd(), &r);
    const int minW = r.right - r.left, minH = r.bottom - r.top;
    expectWholeLayout(d.hwnd(), "minimum");
    d.screenshot(L"configure_minimum");
    ::SetWindowPos(d.hwnd(), nullptr, 0, 0, minW * 3 / 2, minH * 3 / 2, SWP_NOMOVE | SWP_NOZORDER);
    Dialog::pump();
    expectWholeLayout(d.hwnd(), "1.5x");
    d.screenshot(L"configure_one_and_a_half");
    ::ShowWindow(d.hwnd(), SW_MAXIMIZE);
    Dialog::pump();
    expectWholeLayout(d.hwnd(), "maximised");
    // One redraw after the batch: nothing is left waiting to be painted.
    for (HWND c = ::GetWindow(d.hwnd(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
      if (::IsWindowVisible(c)) {
        EXPECT_FALSE(::GetUpdateRect(c, nullptr, FALSE)) << ::GetDlgCtrlID(c);
      }
    }
    d.screenshot(L"configure_maximised");
    ::ShowWindow(d.hwnd(), SW_RESTORE);
    Dialog::pump();
    d.cancel();
  });
}

// --- the grid's columns and tooltip -----------------------------------------------------------

TEST_F(LayoutTest, TheGridHasHeadersAConnectionColumnAndTheResolvedPathAsTooltip) {
  writeIni(
      "[Settings]\r\nReplacementPath=d:\\src\r\n"
      "[Files]\r\nFile1=%path%\\pkg.sql\r\nFile2=c:\\b.sql\r\nFile3=c:\\c.sql\r\nFile4=c:\\d.sql\r\n"
      "[Aliases]\r\nAlias2=Daily\r\nAlias3=Night\r\n"
      "[Usernames]\r\nUsername3=scott\r\nUsername4=hr\r\n"
      "[Databases]\r\nDatabase3=orcl\r\nDatabase4=test\r\n[ConnectsAs]\r\nConnectAs4=SYSDBA\r\n");
  loadPlugin();
  configure([&](Dialog& d) {
    HWND header = ListView_GetHeader(d.grid());
    ASSERT_TRUE(header && ::IsWindowVisible(header));
    std::vector<std::wstring> titles;
    for (int i = 0; i < Header_GetItemCount(header); ++i) {
      wchar_t text[64] = {};
      HDITEMW item{};
      item.mask = HDI_TEXT;
      item.pszText = text;
      item.cchTextMax = 64;
      Header_GetItem(header, i, &item);
      titles.push_back(text);
    }
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"Icon", L"Submenu", L"File", L"Connection"}));
    EXPECT_EQ(d.cell(0, 3), L"");
    EXPECT_EQ(d.cell(1, 3), L"Daily");
    EXPECT_EQ(d.cell(2, 3), L"Night (scott@orcl)");
    EXPECT_EQ(d.cell(3, 3), L"hr@test as SYSDBA");

    auto tooltipText = [&]() {
      std::wstring found;
      struct Search {
        HWND dialog;
        HWND grid;
        std::wstring* out;
      } search{d.hwnd(), d.grid(), &found};
      ::EnumThreadWindows(
          ::GetCurrentThreadId(),
          [](HWND w, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            wchar_t cls[32] = {};
            ::GetClassNameW(w, cls, 32);
            if (::lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) return TRUE;
            wchar_t text[512] = {};
            TOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.hwnd = s->dialog;
            tool.uId = reinterpret_cast<UINT_PTR>(s->grid);
            tool.lpszText = text;
            ::SendMessageW(w, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
            if (text[0]) *s->out = text;
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&search));
      return found;
    };
    d.moveOver(0);
    EXPECT_EQ(tooltipText(), L"d:\\src\\pkg.sql");
    d.moveOver(1);
    EXPECT_EQ(tooltipText(), L"c:\\b.sql");
    d.cancel();
  });
}

// --- "no icon" -----------------------------------------------------------------------------

// True when image index of list draws nothing over a coloured background.
bool drawsAsBackground(HIMAGELIST list, int index) {
  int w = 0, h = 0;
  if (!list || !ImageList_GetIconSize(list, &w, &h)) return false;
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  const COLORREF back = RGB(10, 200, 90);
  HBRUSH brush = ::CreateSolidBrush(back);
  RECT all{0, 0, w, h};
  ::FillRect(dc, &all, brush);
  ::DeleteObject(brush);
  ::ImageList_Draw(list, index, dc, 0, 0, ILD_TRANSPARENT);
  bool plain = true;
  for (int y = 0; y < h && plain; ++y)
    for (int x = 0; x < w && plain; ++x) plain = ::GetPixel(dc, x, y) == back;
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return plain;
}

TEST_F(LayoutTest, NoIconDrawsAsTheBackgroundNotAsABlackSquare) {
  // No blank icon file either: the pickers' "none" entry is made in code.
  std::filesystem::remove(dir.path() / L"[fav]_empty.bmp");
  writeIni("[Files]\r\nFile1=c:\\a.sql\r\n[SubMenus]\r\nSubMenu1=Plain\r\n"
           "[SubMenuItems]\r\nSubMenuItem1=Plain\r\nSubMenuItem2=Iconed\r\n"
           "[SubMenuButtons]\r\nSubMenuButton2=fav_a.bmp\r\n");
  loadPlugin();
  configure([&](Dialog& d) {
    auto images = [&](int id) {
      return reinterpret_cast<HIMAGELIST>(::SendMessageW(d.item(id), CBEM_GETIMAGELIST, 0, 0));
    };
    const auto submenus = d.pickerEntries(IDC_CB_SUBMENU_EDIT);
    ASSERT_EQ(submenus, (std::vector<std::wstring>{L"", L"Plain", L"Iconed"}));
    EXPECT_TRUE(drawsAsBackground(images(IDC_CB_SUBMENU_EDIT), 0)) << "the blank submenu";
    EXPECT_TRUE(drawsAsBackground(images(IDC_CB_SUBMENU_EDIT), 1)) << "a submenu without an icon";
    EXPECT_FALSE(drawsAsBackground(images(IDC_CB_SUBMENU_EDIT), 2)) << "a submenu with its icon";
    EXPECT_TRUE(drawsAsBackground(images(IDC_CBE_ICON), 0)) << "the icon picker's none entry";
    d.clickCell(0, 1);
    d.screenshot(L"submenu_list_open");
    d.cancelPicker(IDC_CB_SUBMENU_EDIT);
    d.cancel();
  });
}

// --- the filter and the selection -------------------------------------------------------------

TEST_F(LayoutTest, AFilterThatHidesTheSelectedRowClearsItAndNothingActsOnHiddenRows) {
  const char ini[] = "[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\nFile3=c:\\c.sql\r\n";
  writeIni(ini);
  loadPlugin();
  configure([&](Dialog& d) {
    EXPECT_FALSE(d.enabled(IDC_ACT_DOWN)) << "nothing selected: nothing to move";
    d.clickCell(1, 2);  // b.sql
    EXPECT_TRUE(d.enabled(IDC_ACT_REMOVE));
    d.type(IDC_EDT_FILTER, L"c.sql");
    ASSERT_EQ(d.rows(), 1);
    EXPECT_EQ(d.selectedRow(), -1);
    for (int id : {IDC_ACT_REMOVE, IDC_ACT_UP, IDC_ACT_DOWN, IDC_ACT_CONNECTION_INFO})
      EXPECT_FALSE(d.enabled(id)) << id;
    d.command(IDC_ACT_REMOVE);
    d.command(IDC_ACT_CONNECTION_INFO);
    d.key(VK_DELETE, d.grid());
    d.key(VK_F2, d.grid());
    EXPECT_FALSE(d.visible(IDC_EDT_ITEM));
    // A visible row can be selected and removed, but never moved.
    d.clickCell(0, 2);
    EXPECT_TRUE(d.enabled(IDC_ACT_REMOVE));
    EXPECT_FALSE(d.enabled(IDC_ACT_UP));
    EXPECT_FALSE(d.enabled(IDC_ACT_DOWN));
    d.setText(IDC_EDT_FILTER, L"");
    EXPECT_EQ(d.rows(), 3);
    EXPECT_EQ(d.selectedRow(), 2) << "c.sql stays selected";
    d.ok();
  });
  EXPECT_EQ(readIni().find("c:\\b.sql") != std::string::npos, true) << "the hidden row was removed";
  EXPECT_EQ(readIni().find("c:\\a.sql") != std::string::npos, true);
}

}  // namespace

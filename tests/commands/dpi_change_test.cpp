// A dialog moved to a monitor of another DPI (WM_DPICHANGED sent to the real
// window): the grid rows, the buttons and the fields take the new size, and
// the grid keeps the dialog's font. Configure, Submenus and Connection Info.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "commands_fixture.h"
#include "frm_ConnectionInfo_ids.h"
#include "frm_SubMenus_ids.h"

namespace {

using commandstest::CommandsTest;
using configuretest::Dialog;

constexpr int kNewDpi = 144;

struct DpiCase {
  const char* name;
  const wchar_t* window;  // the dialog's class name in the tests
  int grid;               // 0: no grid
  std::vector<int> fixedSize;  // controls whose height (and width) are design sizes
  std::vector<int> fixedHeight;  // controls that stretch across but keep their height
};

class DpiChangeTest : public CommandsTest, public ::testing::WithParamInterface<DpiCase> {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    writeIni(
        "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Alpha\r\nSubMenuItem2=Beta\r\n"
        "[Files]\r\nFile1=a.sql\r\nFile2=b.sql\r\n"
        "[SubMenus]\r\nSubMenu1=Alpha\r\nSubMenu2=Beta\r\n"
        "[Usernames]\r\nUsername1=scott\r\n[Databases]\r\nDatabase1=orcl\r\n");
    loadPlugin();
  }

  static SIZE sizeOf(HWND control) {
    RECT r{};
    ::GetWindowRect(control, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }

  static int rowHeight(HWND grid) {
    RECT r{};
    if (!ListView_GetItemRect(grid, 0, &r, LVIR_BOUNDS)) return -1;
    return r.bottom - r.top;
  }

  // Sends the change as the system does, with the window's rectangle grown
  // by the same factor, and checks what the dialog made of it.
  static void changeDpiAndCheck(Dialog& w, const DpiCase& c) {
    const UINT before = ::GetDpiForWindow(w.hwnd()) ? ::GetDpiForWindow(w.hwnd()) : 96;
    auto scaled = [&](int pixels) { return ::MulDiv(pixels, kNewDpi, static_cast<int>(before)); };
    std::vector<SIZE> fixed, stretched;
    for (int id : c.fixedSize) ASSERT_TRUE(::IsWindowVisible(w.item(id))) << id;
    for (int id : c.fixedHeight) ASSERT_TRUE(::IsWindowVisible(w.item(id))) << id;
    for (int id : c.fixedSize) fixed.push_back(sizeOf(w.item(id)));
    for (int id : c.fixedHeight) stretched.push_back(sizeOf(w.item(id)));
    HWND grid = c.grid ? w.item(c.grid) : nullptr;
    const int rowBefore = grid ? rowHeight(grid) : 0;

    RECT window{};
    ::GetWindowRect(w.hwnd(), &window);
    RECT suggested{window.left, window.top, window.left + scaled(window.right - window.left),
                   window.top + scaled(window.bottom - window.top)};
    ::SendMessageW(w.hwnd(), WM_DPICHANGED, MAKEWPARAM(kNewDpi, kNewDpi),
                   reinterpret_cast<LPARAM>(&suggested));
    // The dialogs lay themselves out again from a posted message.
    const int firstId = c.fixedSize.front();
    Dialog::waitFor([&] { return sizeOf(w.item(firstId)).cy != fixed.front().cy; }, 3000);
    Dialog::pump();

    // Rounding of each design figure on its own: a pixel or two either way.
    for (size_t i = 0; i < fixed.size(); ++i) {
      const SIZE now = sizeOf(w.item(c.fixedSize[i]));
      EXPECT_NEAR(now.cx, scaled(fixed[i].cx), 2) << "width of " << c.fixedSize[i];
      EXPECT_NEAR(now.cy, scaled(fixed[i].cy), 2) << "height of " << c.fixedSize[i];
    }
    for (size_t i = 0; i < stretched.size(); ++i)
      EXPECT_NEAR(sizeOf(w.item(c.fixedHeight[i])).cy, scaled(stretched[i].cy), 2)
          << "height of " << c.fixedHeight[i];
    if (grid) {
      ASSERT_GT(rowBefore, 0);
      EXPECT_NEAR(rowHeight(grid), scaled(rowBefore), 1) << "row height";
      EXPECT_EQ(::SendMessageW(grid, WM_GETFONT, 0, 0), ::SendMessageW(w.hwnd(), WM_GETFONT, 0, 0))
          << "the grid keeps the dialog's font";
    }
  }
};

TEST_P(DpiChangeTest, RowsButtonsAndFieldsTakeTheNewSize) {
  const DpiCase& c = GetParam();
  auto check = [&](Dialog& w) { changeDpiAndCheck(w, c); };
  if (std::wstring(c.window) == L"TfrmConfigureFavorites") {
    run([&](Dialog& d) {
      check(d);
      d.cancel();
    });
    return;
  }
  run(
      [&](Dialog& d) {
        if (std::wstring(c.window) == L"TfrmSubMenus") {
          withCtrl([&] { d.click(IDC_SB_ADD_SUBMENU); });
        } else {
          d.clickCell(0, 2);
          d.command(IDC_ACT_CONNECTION_INFO);
        }
        d.cancel();
      },
      {{c.window, [&](Dialog& w) {
          check(w);
          w.cancel();
        }}});
  EXPECT_EQ(shown[c.window], 1);
}

INSTANTIATE_TEST_SUITE_P(
    Dialogs, DpiChangeTest,
    ::testing::Values(
        DpiCase{"Configure", L"TfrmConfigureFavorites", IDC_SG_FAVORITES,
                {IDC_ACT_UP, IDC_ACT_REMOVE, IDC_SB_ADD_SUBMENU},
                {IDOK, IDC_ED_SUBMENU, IDC_EDT_IMAGE_PATH, IDC_CB_SHOW_FULL_PATH}},
        DpiCase{"Submenus", L"TfrmSubMenus", IDC_SM_GRID, {IDC_SM_ACT_ADD_SUBMENU},
                {IDOK, IDCANCEL, IDC_SM_ED_SUBMENU}},
        DpiCase{"ConnectionInfo", L"TfrmConnectionInfo", 0, {IDC_CI_SHOW_PASSWORD},
                {IDOK, IDCANCEL, IDC_CI_USERNAME, IDC_CI_ALIAS}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

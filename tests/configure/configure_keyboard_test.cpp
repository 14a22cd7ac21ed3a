// The Configure dialog from the keyboard: what Esc closes, the close box and
// Cancel, access keys of the dialog and its children, undo and redo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>

#include "configure_fixture.h"
#include "frm_ConnectionInfo_ids.h"
#include "frm_SubMenus_ids.h"

namespace {

using configuretest::ConfigureTest;
using configuretest::Dialog;

constexpr wchar_t kDiscard[] = L"Favorites|Discard your changes to the favorites?";

const char kThree[] =
    "[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\nFile3=c:\\c.sql\r\n"
    "[SubMenuItems]\r\nSubMenuItem1=Tools\r\n";

class KeyboardTest : public ConfigureTest {
 protected:
  void SetUp() override {
    ConfigureTest::SetUp();
    writeSampleIcons(1);
  }
};

// Esc posted to the focused window, so it goes through the dialog's own loop
// as a real key press does.
void postEscape(Dialog& d) {
  HWND to = ::GetFocus();
  ::PostMessageW(to ? to : d.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
  ::PostMessageW(to ? to : d.hwnd(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

struct EscapeCase {
  const char* name;
  std::function<void(Dialog&)> open;       // opens the innermost thing
  std::function<bool(Dialog&)> isClosed;   // that thing is closed again
};

class EscapeTest : public KeyboardTest, public ::testing::WithParamInterface<EscapeCase> {};

// One Esc closes only the innermost open thing; the dialog stays, with no
// question and no edit applied. A second Esc (nothing open, nothing changed)
// closes the dialog at once.
TEST_P(EscapeTest, OneEscClosesOnlyTheInnermostThing) {
  const EscapeCase& c = GetParam();
  writeIni(kThree);
  const std::string before = readIni();
  loadPlugin();
  bool openAfterSecondEscape = false;
  configure([&](Dialog& d) {
    d.steps({
        [&](Dialog& d) {
          c.open(d);
          ASSERT_FALSE(c.isClosed(d)) << "the thing did not open";
          postEscape(d);
        },
        [&](Dialog& d) {
          ASSERT_TRUE(::IsWindowVisible(d.hwnd())) << "one Esc closed the dialog";
          EXPECT_TRUE(c.isClosed(d));
        },
        [&](Dialog& d) {
          ASSERT_TRUE(::IsWindowVisible(d.hwnd())) << "the dialog closed a moment later";
          EXPECT_TRUE(host.ui.messageBoxTexts.empty());
          ::SetFocus(d.grid());
          postEscape(d);
        },
        // Runs only while the dialog is still open.
        [&](Dialog& d) {
          openAfterSecondEscape = true;
          d.cancel();
        },
    });
  });
  EXPECT_FALSE(openAfterSecondEscape) << "Esc with nothing open and nothing changed closes";
  EXPECT_TRUE(host.ui.messageBoxTexts.empty());
  EXPECT_EQ(readIni(), before);
  EXPECT_EQ(host.refreshRequests, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EscapeTest,
    ::testing::Values(
        EscapeCase{"SubmenuPicker", [](Dialog& d) { d.clickCell(0, 1); },
                   [](Dialog& d) { return !d.visible(IDC_CB_SUBMENU_EDIT); }},
        EscapeCase{"IconPicker", [](Dialog& d) { d.clickCell(1, 0); },
                   [](Dialog& d) { return !d.visible(IDC_CBE_ICON); }},
        EscapeCase{"RenameEditor",
                   [](Dialog& d) {
                     d.clickCell(2, 2);
                     d.clickCell(2, 2);
                     ::SetWindowTextW(d.item(IDC_EDT_ITEM), L"d:\\typed.sql");
                   },
                   [](Dialog& d) { return !d.visible(IDC_EDT_ITEM) && d.cell(2, 2) == L"c:\\c.sql"; }},
        EscapeCase{"IconDropDownOfTheAddStrip",
                   [](Dialog& d) {
                     ::SetFocus(d.item(IDC_CBE_MENU_ITEM));
                     ::SendMessageW(d.item(IDC_CBE_MENU_ITEM), CB_SHOWDROPDOWN, TRUE, 0);
                   },
                   [](Dialog& d) {
                     return !::SendMessageW(d.item(IDC_CBE_MENU_ITEM), CB_GETDROPPEDSTATE, 0, 0);
                   }},
        EscapeCase{"FilterText", [](Dialog& d) { d.type(IDC_EDT_FILTER, L"b.sql"); },
                   [](Dialog& d) { return d.text(IDC_EDT_FILTER).empty() && d.rows() == 3; }}),
    [](const auto& info) { return std::string(info.param.name); });

// With unsaved changes Esc and the close box ask; No keeps the dialog and
// the edits, Yes closes without writing. Cancel never asks.
TEST_F(KeyboardTest, ClosingWithUnsavedChangesAsksAndCancelDoesNot) {
  enum class Close { Escape, CloseBox, CancelButton };
  const struct {
    const char* name;
    Close how;
    bool asks;
  } cases[] = {{"Esc", Close::Escape, true},
               {"close box", Close::CloseBox, true},
               {"Cancel", Close::CancelButton, false}};
  for (const auto& c : cases) {
    writeIni(kThree);
    const std::string before = readIni();
    loadPlugin();
    host.ui.messageBoxTexts.clear();
    host.ui.messageBoxes = {IDNO, IDYES};
    auto close = [&](Dialog& d) {
      switch (c.how) {
        case Close::Escape: ::SetFocus(d.grid()); postEscape(d); break;
        case Close::CloseBox: ::PostMessageW(d.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
        case Close::CancelButton: ::PostMessageW(d.item(IDCANCEL), BM_CLICK, 0, 0); break;
      }
    };
    bool openAfterNo = false;
    configure([&](Dialog& d) {
      d.steps({
          [&](Dialog& d) {
            d.clickCell(0, 2);
            d.click(IDC_BBTN_REMOVE);
            ASSERT_EQ(d.rows(), 2);
            close(d);
          },
          [&](Dialog& d) {
            openAfterNo = ::IsWindow(d.hwnd()) && ::IsWindowVisible(d.hwnd());
            if (openAfterNo) {
              EXPECT_EQ(d.rows(), 2) << c.name << ": the edits stay after No";
              close(d);
            }
          },
          [](Dialog&) {},
      });
    });
    EXPECT_EQ(openAfterNo, c.asks) << c.name;
    if (c.asks) {
      EXPECT_EQ(host.ui.messageBoxTexts, (std::vector<std::wstring>{kDiscard, kDiscard})) << c.name;
    } else {
      EXPECT_TRUE(host.ui.messageBoxTexts.empty()) << c.name;
    }
    EXPECT_EQ(readIni(), before) << c.name << ": nothing is written";
    host.unload();
  }
}

TEST_F(KeyboardTest, TheCloseBoxWithoutChangesClosesAtOnce) {
  writeIni(kThree);
  loadPlugin();
  configure([&](Dialog& d) {
    // Opening, sorting on load and moving the window are no edits.
    ::SetWindowPos(d.hwnd(), nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SendMessageW(d.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Dialog::pump();
  });
  EXPECT_TRUE(host.ui.messageBoxTexts.empty());
}

// --- access keys ------------------------------------------------------------------------

// The access key of a control's text ("&x" -> 'X'), or 0.
wchar_t accessKey(const std::wstring& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] == L'&') {
      ++i;
      continue;
    }
    return static_cast<wchar_t>(std::towupper(text[i + 1]));
  }
  return 0;
}

struct KeyReport {
  std::map<wchar_t, std::vector<std::wstring>> owners;  // key -> texts using it
  std::map<int, std::wstring> textById;
};

KeyReport readAccessKeys(HWND dialog) {
  KeyReport report;
  ::EnumChildWindows(
      dialog,
      [](HWND child, LPARAM lp) -> BOOL {
        auto* r = reinterpret_cast<KeyReport*>(lp);
        wchar_t text[256] = {};
        ::GetWindowTextW(child, text, 256);
        r->textById[::GetDlgCtrlID(child)] = text;
        if (const wchar_t key = accessKey(text)) r->owners[key].push_back(text);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&report));
  return report;
}

void expectKeys(const std::wstring& dialog, const KeyReport& report, const std::vector<int>& ids) {
  for (const auto& [key, texts] : report.owners)
    EXPECT_EQ(texts.size(), 1u) << "access key " << static_cast<char>(key) << " clashes in "
                                << testing::PrintToString(dialog) << ": "
                                << testing::PrintToString(texts);
  for (int id : ids) {
    auto it = report.textById.find(id);
    ASSERT_NE(it, report.textById.end()) << "no control " << id;
    EXPECT_NE(accessKey(it->second), 0) << testing::PrintToString(it->second) << " in "
                                        << testing::PrintToString(dialog);
  }
}

TEST_F(KeyboardTest, EveryDialogHasAccessKeysThatNeverClash) {
  writeIni(kThree);
  loadPlugin();
  std::map<std::wstring, KeyReport> reports;
  host.ui.onDialog = [&](HWND hwnd, const std::wstring& name) {
    Dialog::pump();
    reports[name] = readAccessKeys(hwnd);
    if (name != L"TfrmConfigureFavorites") {
      ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    Dialog d(hwnd);
    d.clickCell(0, 2);
    d.command(IDC_ACT_CONNECTION_INFO);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    ::SetKeyboardState(keys);
    d.command(IDC_ACT_ADD_SUBMENU);  // Ctrl + Add Submenu: the Submenus dialog
    Dialog::releaseCtrl();
    d.cancel();
  };
  host.configure();
  ASSERT_EQ(reports.size(), 3u);
  // "Ok" is pressed by Enter and "Replace path" is one Tab after Alt+X: the
  // captions hold 22 different letters for 24 controls.
  expectKeys(L"Configure", reports[L"TfrmConfigureFavorites"],
             {IDC_ACT_UP, IDC_ACT_DOWN, IDC_ACT_ADD, IDC_ACT_ADD_SEPARATOR, IDC_ACT_REMOVE,
              IDC_ACT_CONNECTION_INFO, IDC_ACT_SORT_BY_SUBMENU, IDC_ACT_LOAD, IDCANCEL,
              IDC_CB_SHOW_FULL_PATH, IDC_CB_ALLOW_DUPLICATE_IMAGES, IDC_CB_SHOW_CONNECTION_INFO,
              IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU, IDC_CB_STORE_PASSWORD, IDC_CB_SHIFT_DOWN,
              IDC_CB_CTRL_DOWN, IDC_CB_ALT_DOWN, IDC_LBL_ADD_SUBMENU, IDC_LBL_MAIN_MENU_ITEMS,
              IDC_LBL_MENU_ITEM_NAME, IDC_LBL_IMAGE_PATH, IDC_LBL_IMAGE_PREFIX});
  expectKeys(L"Connection Info", reports[L"TfrmConnectionInfo"],
             {IDC_CI_LBL_USERNAME, IDC_CI_LBL_PASSWORD, IDC_CI_LBL_DATABASE, IDC_CI_LBL_CONNECT_AS,
              IDC_CI_LBL_ALIAS, IDOK, IDCANCEL});
  expectKeys(L"Submenus", reports[L"TfrmSubMenus"], {IDC_SM_LBL_ADD_SUBMENU, IDOK, IDCANCEL});
  // Only the "&" was added: the captions read as before.
  EXPECT_EQ(reports[L"TfrmConfigureFavorites"].textById[IDC_ACT_SORT_BY_SUBMENU], L"Sort B&y Submenu");
  EXPECT_EQ(reports[L"TfrmConfigureFavorites"].textById[IDOK], L"Ok");
}

TEST_F(KeyboardTest, ALabelsAccessKeyFocusesItsField) {
  writeIni(kThree);
  loadPlugin();
  configure([&](Dialog& d) {
    d.steps({
        [](Dialog& d) {
          ::SetFocus(d.grid());
          d.postAltKey('X');  // "Image prefi&x"
        },
        [](Dialog& d) {
          Dialog::releaseAlt();
          EXPECT_EQ(::GetFocus(), d.item(IDC_EDT_IMAGE_PREFIX));
          d.postAltKey('Y');  // "Sort B&y Submenu"
        },
        [](Dialog& d) {
          Dialog::releaseAlt();
          EXPECT_TRUE(::IsWindowVisible(d.hwnd()));
          d.cancel();
        },
    });
  });
}

// --- undo and redo ----------------------------------------------------------------------

using Rows = std::vector<std::vector<std::wstring>>;

Rows gridRows(const Dialog& d) {
  Rows rows;
  for (int r = 0; r < d.rows(); ++r)
    rows.push_back({d.cell(r, 0), d.cell(r, 1), d.cell(r, 2), d.cell(r, 3)});
  return rows;
}

struct UndoCase {
  const char* name;
  std::function<void(Dialog&)> edit;
  std::function<void(Dialog&)> setup = nullptr;  // before the edit, not looked at
};

class UndoTest : public KeyboardTest, public ::testing::WithParamInterface<UndoCase> {};

// Every grid edit goes back with Ctrl+Z and comes again with Ctrl+Y.
TEST_P(UndoTest, CtrlZUndoesAndCtrlYRedoes) {
  const UndoCase& c = GetParam();
  writeIni(kThree);
  loadPlugin();
  host.ui.openFiles = {{L"c:\\new.sql"}};
  Rows before, after, undone, redone;
  configure([&](Dialog& d) {
    d.steps({
        [&](Dialog& d) {
          if (c.setup) c.setup(d);
          before = gridRows(d);
          c.edit(d);
          after = gridRows(d);
          ::SetFocus(d.grid());
          d.postCtrlKey('Z', d.grid());
        },
        [&](Dialog& d) {
          Dialog::releaseCtrl();
          undone = gridRows(d);
          d.postCtrlKey('Y', d.grid());
        },
        [&](Dialog& d) {
          Dialog::releaseCtrl();
          redone = gridRows(d);
          d.ok();
        },
    });
  });
  ASSERT_NE(after, before) << "the edit changed nothing";
  EXPECT_EQ(undone, before);
  EXPECT_EQ(redone, after);
}

void pickSubmenu(Dialog& d, int row, const std::wstring& name) {
  d.clickCell(row, 1);
  const auto entries = d.pickerEntries(IDC_CB_SUBMENU_EDIT);
  const auto at = std::find(entries.begin(), entries.end(), name);
  ASSERT_NE(at, entries.end());
  d.pickEntry(IDC_CB_SUBMENU_EDIT, static_cast<int>(at - entries.begin()));
}

INSTANTIATE_TEST_SUITE_P(
    Edits, UndoTest,
    ::testing::Values(
        UndoCase{"Add", [](Dialog& d) { d.command(IDC_ACT_ADD); }},
        UndoCase{"Separator", [](Dialog& d) { d.command(IDC_ACT_ADD_SEPARATOR); }},
        UndoCase{"Remove", [](Dialog& d) { d.clickCell(1, 2); d.command(IDC_ACT_REMOVE); }},
        UndoCase{"Move", [](Dialog& d) { d.clickCell(1, 2); d.command(IDC_ACT_UP); }},
        UndoCase{"Rename",
                 [](Dialog& d) {
                   d.clickCell(0, 2);
                   d.clickCell(0, 2);
                   ::SetWindowTextW(d.item(IDC_EDT_ITEM), L"d:\\renamed.sql");
                   d.key(VK_RETURN);
                 }},
        UndoCase{"Submenu", [](Dialog& d) { pickSubmenu(d, 0, L"Tools"); }},
        UndoCase{"Icon", [](Dialog& d) { d.clickCell(2, 0); d.pickEntry(IDC_CBE_ICON, 1); }},
        UndoCase{"SortBySubmenu", [](Dialog& d) { d.command(IDC_ACT_SORT_BY_SUBMENU); },
                 [](Dialog& d) { pickSubmenu(d, 0, L"Tools"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyboardTest, UndoGoesBackOneEditAtATimeAndANewEditEndsRedo) {
  writeIni(kThree);
  loadPlugin();
  configure([&](Dialog& d) {
    d.command(IDC_ACT_ADD_SEPARATOR);
    d.clickCell(0, 2);
    d.command(IDC_ACT_REMOVE);
    ASSERT_EQ(d.rows(), 3);
    d.command(IDC_ACT_UNDO);
    EXPECT_EQ(d.rows(), 4);
    EXPECT_EQ(d.cell(0, 2), L"c:\\a.sql");
    EXPECT_EQ(d.selectedRow(), 0) << "the favorite brought back is selected";
    d.command(IDC_ACT_UNDO);
    EXPECT_EQ(d.rows(), 3);
    d.command(IDC_ACT_REDO);
    EXPECT_EQ(d.rows(), 4);
    d.clickCell(1, 2);
    d.command(IDC_ACT_UP);  // a new edit: nothing left to redo
    d.command(IDC_ACT_REDO);
    EXPECT_EQ(d.rows(), 4);
    EXPECT_EQ(d.cell(0, 2), L"c:\\b.sql");
    d.cancel();
  });
}

}  // namespace

// Files that moved, in the Configure grid: the grey text, the warning mark
// and the hint of a missing file (the check answered through the seam, in
// the background, a slow answer counting as unknown), and Relink Missing...
// over a real folder: one match, several, none, a stop part way, Ctrl+R's
// enabled rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <mutex>
#include <set>

#include "configure_fixture.h"

namespace {

using configuretest::ConfigureTest;
using configuretest::Dialog;

constexpr int kFileColumn = 2;
constexpr wchar_t kFolderTitle[] = L"Choose the folder to search for the missing files";

std::string favoritesIni(const std::vector<std::string>& files, const std::string& settings = "") {
  std::string ini = "[Settings]\r\n" + settings + "[Files]\r\n";
  for (size_t i = 0; i < files.size(); ++i)
    ini += "File" + std::to_string(i + 1) + "=" + files[i] + "\r\n";
  return ini;
}

// What a cell shows, read back from the screen.
struct CellLook {
  int warningPixels = 0;  // strong colour: the warning mark (text and background have none)
  int grayTextPixels = 0;
  int windowTextPixels = 0;
};

CellLook lookOf(Dialog& d, int row, int column) {
  ::RedrawWindow(d.grid(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Dialog::pump();
  RECT cell{};
  ListView_GetSubItemRect(d.grid(), row, column, LVIR_BOUNDS, &cell);
  const int w = cell.right - cell.left, h = cell.bottom - cell.top;
  HDC grid = ::GetDC(d.grid());
  HDC memory = ::CreateCompatibleDC(grid);
  HBITMAP bitmap = ::CreateCompatibleBitmap(grid, w, h);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, w, h, grid, cell.left, cell.top, SRCCOPY);
  const COLORREF gray = ::GetSysColor(COLOR_GRAYTEXT), text = ::GetSysColor(COLOR_WINDOWTEXT);
  CellLook look;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = ::GetPixel(memory, x, y);
      const int high = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
      const int low = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
      if (high - low > 100) ++look.warningPixels;
      if (c == gray) ++look.grayTextPixels;
      if (c == text) ++look.windowTextPixels;
    }
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(d.grid(), grid);
  return look;
}

std::wstring hintOver(Dialog& d, int row) {
  d.moveOver(row);
  return d.hint();
}

class RelinkTest : public ConfigureTest {
 protected:
  void SetUp() override {
    ConfigureTest::SetUp();
    writeSampleIcons(0);
  }
  // Every path the seam was asked about.
  std::set<std::wstring> asked() {
    std::lock_guard<std::mutex> hold(lock_);
    return asked_;
  }
  // The seam answers missing for paths under c:\gone, else exists.
  void goneIsMissing() {
    host.ui.fileExists = [this](const std::wstring& path) {
      {
        std::lock_guard<std::mutex> hold(lock_);
        asked_.insert(path);
      }
      return path.rfind(L"c:\\gone\\", 0) == 0 ? 0 : 1;
    };
  }
  void makeFile(const std::wstring& relative) {
    const std::filesystem::path p = dir.path() / relative;
    std::filesystem::create_directories(p.parent_path());
    testsupport::writeFile(p, "-- script\r\n");
  }
  std::wstring under(const std::wstring& relative) const { return (dir.path() / relative).wstring(); }
  std::wstring file(int n) const {
    wchar_t buf[1024] = {};
    ::GetPrivateProfileStringW(L"Files", (L"File" + std::to_wstring(n)).c_str(), L"<none>", buf,
                               1024, iniPath().wstring().c_str());
    return buf;
  }

  std::mutex lock_;
  std::set<std::wstring> asked_;
};

// --- the marks --------------------------------------------------------------------------

TEST_F(RelinkTest, MissingPresentAndUnknownFilesAreMarkedAndHintedOnlyWhenMissing) {
  // Paths are checked in order, so the slow one (first) holds back the last.
  std::atomic<bool> slowAnswered{false};
  host.ui.fileExists = [&](const std::wstring& path) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      asked_.insert(path);
    }
    if (path == L"\\\\slow\\share\\d.sql") {
      ::Sleep(2500);  // the network path that answers too late: "missing", unheard
      slowAnswered = true;
      return 0;
    }
    if (path == L"\\\\locked\\share\\c.sql") return -1;  // the system cannot tell
    return path.rfind(L"c:\\gone\\", 0) == 0 || path.rfind(L"z:\\", 0) == 0 ? 0 : 1;
  };
  writeIni(favoritesIni({"c:\\here\\a.sql", "%path%\\b.sql", "\\\\locked\\share\\c.sql", "-",
                         "\\\\slow\\share\\d.sql", "z:\\after\\e.sql"},
                        "ReplacementPath=c:\\gone\r\n"));
  loadPlugin();
  configure([&](Dialog& d) {
    ASSERT_EQ(d.rows(), 6);
    // The dialog is up before any answer: it never waits for the check.
    EXPECT_TRUE(d.waitFor([&] { return hintOver(d, 1) == L"File not found: c:\\gone\\b.sql"; }))
        << "\"%path%\" is resolved before the check";
    EXPECT_TRUE(d.waitFor([&] { return hintOver(d, 5) == L"File not found: z:\\after\\e.sql"; }))
        << "the check went on after the slow path";
    EXPECT_FALSE(slowAnswered) << "the slow path was waited for";
    EXPECT_EQ(hintOver(d, 0), L"") << "present";
    EXPECT_EQ(hintOver(d, 2), L"") << "unknown is not missing";
    EXPECT_EQ(hintOver(d, 4), L"") << "too slow: unknown";

    const CellLook present = lookOf(d, 0, kFileColumn), missing = lookOf(d, 1, kFileColumn),
                   unknown = lookOf(d, 2, kFileColumn);
    EXPECT_GT(missing.warningPixels, 10) << "the warning mark";
    EXPECT_GT(missing.grayTextPixels, 5);
    EXPECT_EQ(missing.windowTextPixels, 0) << "a missing file's name is grey";
    for (const CellLook& plain : {present, unknown}) {
      EXPECT_EQ(plain.warningPixels, 0);
      EXPECT_GT(plain.windowTextPixels, 5);
    }
    d.screenshot(L"configure_missing_files");

    // The late answer, when it comes, changes nothing.
    ASSERT_TRUE(d.waitFor([&] { return slowAnswered.load(); }, 5000));
    Dialog::pump();
    EXPECT_EQ(hintOver(d, 4), L"");
    d.cancel();
  });
  EXPECT_EQ(asked().count(L"-"), 0u) << "separators are never checked";
  EXPECT_EQ(asked().size(), 5u);
}

TEST_F(RelinkTest, ARenamedFileIsCheckedAgain) {
  goneIsMissing();
  writeIni(favoritesIni({"c:\\here\\a.sql"}));
  loadPlugin();
  configure([&](Dialog& d) {
    ASSERT_TRUE(d.waitFor([&] { return asked().count(L"c:\\here\\a.sql") == 1; }));
    d.clickCell(0, kFileColumn);
    d.clickCell(0, kFileColumn);  // the slow second click: rename
    ASSERT_TRUE(d.visible(IDC_EDT_ITEM));
    d.setText(IDC_EDT_ITEM, L"c:\\gone\\a.sql");
    d.key(VK_RETURN, d.item(IDC_EDT_ITEM));
    EXPECT_TRUE(d.waitFor([&] { return hintOver(d, 0) == L"File not found: c:\\gone\\a.sql"; }));
    d.cancel();
    Dialog::pump();
  });
}

// --- Relink Missing... -----------------------------------------------------------------

TEST_F(RelinkTest, RelinkTakesOneMatchTheLongestSharedTailOfSeveralAndLeavesNoneMissing) {
  goneIsMissing();
  makeFile(L"moved\\x\\a.sql");                   // a.sql: one match
  makeFile(L"moved\\p\\b.sql");                   // b.sql: several; its old folder is "old"
  makeFile(L"moved\\q\\old\\B.SQL");
  makeFile(L"moved\\z\\b.sql");
  makeFile(L"moved\\unrelated.sql");              // c.sql: none
  makeFile(L"elsewhere\\d.sql");                  // outside the folder searched
  const std::string replacement = narrowPath(dir.path() / L"moved");
  writeIni(favoritesIni({"c:\\gone\\a.sql", "c:\\gone\\old\\b.sql", "c:\\here\\keep.sql",
                         "c:\\gone\\c.sql", "c:\\gone\\d.sql"},
                        "ReplacementPath=" + replacement + "\r\n"));
  host.ui.folders = {under(L"moved")};
  loadPlugin();
  configure([&](Dialog& d) {
    ASSERT_TRUE(d.waitFor([&] { return !hintOver(d, 4).empty(); })) << "the marks came";
    d.command(IDC_ACT_RELINK);
    ASSERT_EQ(host.ui.folderTitles, std::vector<std::wstring>{kFolderTitle});
    ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
    EXPECT_EQ(host.ui.messageBoxTexts[0],
              L"Favorites|Relinked 2 of 4 missing favorites.\n\nNot found:\nc.sql\nd.sql");
    EXPECT_EQ(d.cell(0, kFileColumn), L"%path%\\x\\a.sql") << "under the replacement path";
    EXPECT_EQ(d.cell(1, kFileColumn), L"%path%\\q\\old\\B.SQL");
    EXPECT_EQ(d.cell(3, kFileColumn), L"c:\\gone\\c.sql");
    EXPECT_EQ(hintOver(d, 0), L"") << "a relinked file is no longer marked";
    EXPECT_EQ(hintOver(d, 3), L"File not found: c:\\gone\\c.sql");
    d.screenshot(L"configure_relinked");
    d.screenshotQuestion(L"Relinked 2 of 4 missing favorites.\n\nNot found:\nc.sql\nd.sql",
                         L"relink_summary", MB_OK | MB_ICONWARNING);
    EXPECT_EQ(file(1), L"c:\\gone\\a.sql") << "nothing is saved before Ok";
    d.ok();
  });
  EXPECT_EQ(file(1), L"%path%\\x\\a.sql");
  EXPECT_EQ(file(2), L"%path%\\q\\old\\B.SQL");
  EXPECT_EQ(file(3), L"c:\\here\\keep.sql");
  EXPECT_EQ(file(4), L"c:\\gone\\c.sql");
}

TEST_F(RelinkTest, RelinkIsOneStepToUndoAndACancelledFolderChangesNothing) {
  goneIsMissing();
  makeFile(L"moved\\a.sql");
  makeFile(L"moved\\b.sql");
  writeIni(favoritesIni({"c:\\gone\\a.sql", "c:\\gone\\b.sql"}));
  host.ui.folders = {L"", under(L"moved")};
  loadPlugin();
  configure([&](Dialog& d) {
    ASSERT_TRUE(d.waitFor([&] { return !hintOver(d, 1).empty(); }));
    d.command(IDC_ACT_RELINK);  // the folder chooser cancelled
    EXPECT_EQ(d.cell(0, kFileColumn), L"c:\\gone\\a.sql");
    EXPECT_TRUE(host.ui.messageBoxTexts.empty());
    d.command(IDC_ACT_RELINK);
    EXPECT_EQ(d.cell(0, kFileColumn), under(L"moved\\a.sql"));
    EXPECT_EQ(d.cell(1, kFileColumn), under(L"moved\\b.sql"));
    d.command(IDC_ACT_UNDO);
    EXPECT_EQ(d.cell(0, kFileColumn), L"c:\\gone\\a.sql");
    EXPECT_EQ(d.cell(1, kFileColumn), L"c:\\gone\\b.sql");
    d.cancel();
    Dialog::pump();
  });
}

TEST_F(RelinkTest, EscStopsTheSearchAndNothingChanges) {
  goneIsMissing();
  for (int f = 0; f < 300; ++f) makeFile(L"moved\\f" + std::to_wstring(f % 7) + L"\\n" + std::to_wstring(f) + L".txt");
  makeFile(L"moved\\a.sql");
  writeIni(favoritesIni({"c:\\gone\\a.sql"}));
  const std::string before = readIni();
  host.ui.folders = {under(L"moved")};
  loadPlugin();
  configure([&](Dialog& d) {
    ASSERT_TRUE(d.waitFor([&] { return !hintOver(d, 0).empty(); }));
    // Esc reaches the dialog while the search runs.
    host.ui.onShow = [&](const std::wstring& what) {
      if (what == L"folder") ::PostMessageW(d.grid(), WM_KEYDOWN, VK_ESCAPE, 1);
    };
    d.command(IDC_ACT_RELINK);
    EXPECT_EQ(d.hint(), L"Relink stopped: no favorite was changed.");
    EXPECT_TRUE(host.ui.messageBoxTexts.empty()) << "no summary after a stop";
    EXPECT_EQ(d.cell(0, kFileColumn), L"c:\\gone\\a.sql");
    EXPECT_TRUE(::IsWindowVisible(d.hwnd())) << "Esc stopped the search, not the dialog";
    d.ok();
  });
  EXPECT_EQ(file(1), L"c:\\gone\\a.sql");
}

TEST_F(RelinkTest, CtrlRRunsOnlyWhileAFavoriteIsMissing) {
  goneIsMissing();
  writeIni(favoritesIni({"c:\\here\\a.sql", "c:\\gone\\b.sql"}));
  loadPlugin();
  bool askedWithNoneMissing = true, askedWithOneMissing = false;
  configure([&](Dialog& d) {
    ASSERT_TRUE(d.waitFor([&] { return !hintOver(d, 1).empty(); }));
    d.steps({
        [&](Dialog& d) {
          d.clickCell(1, 3);
          d.command(IDC_ACT_REMOVE);  // the missing one goes
          ::SetFocus(d.grid());
          d.postCtrlKey('R', d.grid());
        },
        [&](Dialog& d) {
          Dialog::releaseCtrl();
          askedWithNoneMissing = !host.ui.folderTitles.empty();
          d.command(IDC_ACT_UNDO);  // it is back, still marked
          ::SetFocus(d.grid());
          d.postCtrlKey('R', d.grid());
        },
        [&](Dialog& d) {
          Dialog::releaseCtrl();
          askedWithOneMissing = host.ui.folderTitles.size() == 1;
          d.cancel();
        },
    });
  });
  EXPECT_FALSE(askedWithNoneMissing) << "Ctrl+R ran with no favorite missing";
  EXPECT_TRUE(askedWithOneMissing) << "Ctrl+R did not ask for a folder";
}

TEST_F(RelinkTest, ThePopupMenuOffersRelinkWithItsShortcut) {
  HMODULE dll = ::LoadLibraryExW((dir.path() / L"favorites.dll").wstring().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(dll);
  HMENU menu = ::LoadMenuW(dll, MAKEINTRESOURCEW(IDM_PM_SG_FAVORITES));
  ASSERT_TRUE(menu);
  wchar_t caption[64] = {};
  ::GetMenuStringW(::GetSubMenu(menu, 0), IDC_ACT_RELINK, caption, 64, MF_BYCOMMAND);
  EXPECT_STREQ(caption, L"Relink Missing...\tCtrl+R");
  ::DestroyMenu(menu);
  ::FreeLibrary(dll);
}

}  // namespace

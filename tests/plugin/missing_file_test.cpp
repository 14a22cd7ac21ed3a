// A click on a favorite whose file is gone: the question, Locate (the new
// path in both forms, then the logon), Remove (the entries renumbered),
// Cancel; an open window still wins, a slow check opens as before, and the
// menus never look at the files.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <filesystem>

#include "plugin_fixture.h"
#include "screenshot.h"
#include "text_codec.h"
#include "ui_seam.h"

namespace {

using testsupport::PluginTest;
using Strings = std::vector<std::wstring>;

constexpr int kLocate = 0, kRemove = 1, kCancel = 2;

class MissingFileTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    // Every file the tests name is gone unless a test says otherwise.
    host.ui.fileExists = [this](const std::wstring& path) {
      ++checks;
      return present.count(path) ? 1 : 0;
    };
  }

  std::wstring key(const wchar_t* section, const std::wstring& name) {
    wchar_t buf[2048];
    ::GetPrivateProfileStringW(section, name.c_str(), L"<none>", buf, 2048, iniPath().c_str());
    return buf;
  }
  Strings keys(const wchar_t* section) {
    std::vector<wchar_t> buf(32768, L'\0');
    const DWORD n = ::GetPrivateProfileStringW(section, nullptr, L"", buf.data(),
                                               static_cast<DWORD>(buf.size()), iniPath().c_str());
    Strings out;
    for (size_t i = 0; i < n;) {
      std::wstring k(buf.data() + i);
      i += k.size() + 1;
      out.push_back(k + L"=" + key(section, k));
    }
    return out;
  }
  void click(int index) {
    host.clearRecords();
    host.ui.taskDialogTexts.clear();
    host.onMenuClick(index);
  }

  std::set<std::wstring> present;
  std::atomic<int> checks{0};
};

TEST_F(MissingFileTest, TheQuestionNamesThePathAndCancelOrClosingChangesNothing) {
  const std::string ini =
      "[Settings]\r\nReplacementPath=d:\\src\r\n[Files]\r\nFile1=%path%\\gone.sql\r\n"
      "[Usernames]\r\nUsername1=scott\r\n";
  for (const int answer : {kCancel, -1}) {
    writeIni(ini);
    loadPlugin();
    host.ui.taskDialogs = {answer};
    click(6);
    ASSERT_EQ(host.ui.taskDialogTexts.size(), 1u) << answer;
    EXPECT_EQ(host.ui.taskDialogTexts[0],
              L"Favorites|Favorite not found|d:\\src\\gone.sql|Locate...|Remove from favorites|Cancel");
    EXPECT_TRUE(host.callsNamed("OpenFileInWindow").empty());
    EXPECT_TRUE(host.callsNamed("ConnectionForLogon").empty());
    EXPECT_EQ(host.refreshRequests, 0);
    EXPECT_EQ(readIni(), ini);
    host.unload();
  }
}

TEST_F(MissingFileTest, LocateStoresTheNewPathRefreshesAndOpensAndLogsOn) {
  const std::filesystem::path kept = dir / L"scripts";
  std::filesystem::create_directories(kept);
  const std::wstring old = (kept / L"old" / L"report.sql").wstring();
  const struct {
    const char* replacement;
    const wchar_t* picked;
    const wchar_t* stored;
  } cases[] = {
      {"ReplacementPath=D:\\Work", L"d:\\work\\moved\\report.sql", L"%path%\\moved\\report.sql"},
      {"", L"e:\\moved\\report.sql", L"e:\\moved\\report.sql"},  // "c:\" replaces nothing
      {"ReplacementPath=", L"e:\\moved\\report.sql", L"e:\\moved\\report.sql"},
      {"ReplacementPath=D:\\Work", L"e:\\moved\\report.sql", L"e:\\moved\\report.sql"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.replacement);
    writeIni(std::string("[Settings]\r\n") + c.replacement + "\r\n[Files]\r\nFile1=c:\\first.sql\r\n" +
             "File2=" + fav::toNarrow(old) + "\r\n[Types]\r\nType2=3\r\n[Usernames]\r\nUsername2=scott\r\n" +
             "[Databases]\r\nDatabase2=orcl\r\n[ConnectsAs]\r\nConnectAs2=SysDBA\r\n");
    loadPlugin();
    host.windows.clear();  // the last case's file is not open here
    host.ui.taskDialogs = {kLocate};
    host.ui.openFile = {c.picked};
    host.ui.openFileAsked.clear();
    click(7);
    ASSERT_EQ(host.ui.openFileAsked.size(), 1u);
    EXPECT_EQ(host.ui.openFileAsked[0].title, L"Locate report.sql");
    EXPECT_EQ(host.ui.openFileAsked[0].folder, kept.wstring());  // "old" is gone too
    EXPECT_EQ(host.ui.openFileAsked[0].filter,
              (Strings{L"SQL files (*.sql)", L"*.sql", L"All files (*.*)", L"*.*"}));
    EXPECT_EQ(key(L"Files", L"File2"), c.stored);
    EXPECT_EQ(key(L"Files", L"File1"), L"c:\\first.sql");
    EXPECT_EQ(key(L"Usernames", L"Username2"), L"scott");
    EXPECT_EQ(host.refreshRequests, 1);
    EXPECT_EQ(fav::toWide(host.menu[6]), L"File / Favorite Files / " + std::wstring(c.stored));
    const auto opened = host.callsNamed("OpenFileInWindow");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(fav::toWide(opened[0].args[1]), c.picked);
    EXPECT_EQ(opened[0].args[0], "3");
    const auto logon = host.callsNamed("ConnectionForLogon");
    ASSERT_EQ(logon.size(), 1u);
    EXPECT_EQ(logon[0].text(), "ConnectionForLogon(scott, , orcl, SysDBA)");
    host.unload();
  }
}

TEST_F(MissingFileTest, LocateOfAnOpenFileBringsItForwardAndACancelledPickerChangesNothing) {
  const std::string ini = "[Files]\r\nFile1=c:\\gone\\a.pck\r\n[Usernames]\r\nUsername1=scott\r\n";
  writeIni(ini);
  loadPlugin();
  host.ui.taskDialogs = {kLocate, kLocate};
  host.ui.openFile = {L"", L"c:\\found\\a.pck"};
  click(6);  // the picker is cancelled
  EXPECT_EQ(readIni(), ini);
  EXPECT_TRUE(host.callsNamed("OpenFileInWindow").empty());
  EXPECT_EQ(host.ui.openFileAsked.back().filter,
            (Strings{L"PCK files (*.pck)", L"*.pck", L"All files (*.*)", L"*.*"}));

  host.windows = {{"c:\\found\\a.pck", 1, 0}};
  click(6);
  EXPECT_EQ(key(L"Files", L"File1"), L"c:\\found\\a.pck");
  EXPECT_EQ(host.callsNamed("ActivateWindow").size(), 1u);
  EXPECT_TRUE(host.callsNamed("OpenFileInWindow").empty());
  EXPECT_TRUE(host.callsNamed("ConnectionForLogon").empty());
}

// Remove renumbers the favorites after it, every key with them, as the
// Configure dialog's Ok would; a favorite added elsewhere meanwhile stays.
TEST_F(MissingFileTest, RemoveRenumbersTheEntriesAfterItAndKeepsChangesMadeElsewhere) {
  writeIni(
      "; mine\r\n[Settings]\r\nShowFullPath=1\r\n[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\gone.sql\r\n"
      "File3=c:\\c.sql\r\n[Types]\r\nType1=1\r\nType2=2\r\nType3=3\r\n[Usernames]\r\nUsername2=hr\r\n"
      "Username3=scott\r\n[Databases]\r\nDatabase3=orcl\r\n[Aliases]\r\nAlias3=Cee\r\n"
      "[AskLogon]\r\nAskLogon3=1\r\n[Other]\r\nx=1\r\n");
  loadPlugin();
  host.ui.taskDialogs = {kRemove};
  host.ui.onShow = [&](const std::wstring& what) {
    if (what != L"taskdialog") return;
    // Add Current in another window, say.
    std::string text = readIni();
    const std::string third = "File3=c:\\c.sql\r\n";
    text.insert(text.find(third) + third.size(), "File4=c:\\added.sql\r\n");
    writeIni(text);
  };
  click(7);
  host.ui.onShow = nullptr;
  EXPECT_EQ(keys(L"Files"), (Strings{L"File1=c:\\a.sql", L"File2=c:\\c.sql", L"File3=c:\\added.sql"}));
  EXPECT_EQ(key(L"Types", L"Type2"), L"3");
  EXPECT_EQ(key(L"Usernames", L"Username2"), L"scott");
  EXPECT_EQ(key(L"Databases", L"Database2"), L"orcl");
  EXPECT_EQ(key(L"Aliases", L"Alias2"), L"Cee");
  EXPECT_EQ(keys(L"AskLogon"), (Strings{L"AskLogon2=1"}));
  EXPECT_EQ(key(L"Usernames", L"Username4"), L"<none>");
  EXPECT_EQ(key(L"Other", L"x"), L"1");
  EXPECT_EQ(readIni().rfind("; mine\r\n", 0), 0u);
  EXPECT_EQ(host.refreshRequests, 1);
  EXPECT_EQ(host.menu[6], "File / Favorite Files / Cee");
  EXPECT_TRUE(host.callsNamed("OpenFileInWindow").empty());
}

TEST_F(MissingFileTest, RemoveWithGroupsOnTheRibbonKeepsEveryGroupWithItsFavorites) {
  writeIni(
      "[SubMenuItems]\r\nSubMenuItem1=Reports\r\n[Files]\r\nFile1=c:\\a.sql\r\n"
      "File2=[PL/SQL Developer 12 separator]\r\nFile3=c:\\gone.sql\r\nFile4=c:\\b.sql\r\n"
      "[SubMenus]\r\nSubMenu3=Reports\r\nSubMenu4=Reports\r\n");
  loadPlugin(1200);
  host.ui.taskDialogs = {kRemove};
  click(8);
  EXPECT_EQ(keys(L"Files"), (Strings{L"File1=c:\\a.sql", L"File2=[PL/SQL Developer 12 separator]",
                                     L"File3=c:\\b.sql"}));
  EXPECT_EQ(key(L"SubMenus", L"SubMenu3"), L"Reports");
  EXPECT_EQ(host.menu[6], "MENUITEM=Reports");
  EXPECT_EQ(host.menu[7], "SUBITEM=c:\\b.sql");
}

TEST_F(MissingFileTest, AFileThatCannotBeReadOrAFavoriteChangedElsewhereIsNotWritten) {
  const std::string ini = "[Files]\r\nFile1=c:\\gone.sql\r\n";
  {
    writeIni(ini);
    loadPlugin();
    host.ui.taskDialogs = {kRemove};
    std::unique_ptr<testsupport::FileLock> lock;
    host.ui.onShow = [&](const std::wstring& what) {
      if (what == L"taskdialog") lock = std::make_unique<testsupport::FileLock>(iniPath(), 0);
    };
    click(6);
    lock.reset();
    host.ui.onShow = nullptr;
    EXPECT_EQ(readIni(), ini);
    ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);  // Retry or Cancel; the seam says Cancel
    EXPECT_NE(host.ui.messageBoxTexts[0].find(L"could not be read"), std::wstring::npos);
    EXPECT_EQ(host.refreshRequests, 0);
    host.unload();
  }
  {
    writeIni(ini);
    loadPlugin();
    host.ui.taskDialogs = {kLocate};
    host.ui.openFile = {L"c:\\found.sql"};
    const std::string changed = "[Files]\r\nFile1=c:\\other.sql\r\n";
    host.ui.onShow = [&](const std::wstring& what) {
      if (what == L"openfile") writeIni(changed);
    };
    host.ui.messageBoxTexts.clear();
    click(6);
    host.ui.onShow = nullptr;
    EXPECT_EQ(readIni(), changed);
    ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
    EXPECT_EQ(host.ui.messageBoxTexts[0],
              L"Favorites|c:\\gone.sql is no longer among the favorites: the list was changed "
              L"elsewhere. Nothing was saved.");
    EXPECT_EQ(host.callsNamed("OpenFileInWindow").size(), 1u);  // the file found still opens
  }
}

TEST_F(MissingFileTest, AnOpenWindowIsActivatedBeforeAnyCheck) {
  writeIni("[Files]\r\nFile1=c:\\gone.sql\r\n");
  loadPlugin();
  host.windows = {{"c:\\gone.sql", 1, 0}};
  click(6);
  EXPECT_EQ(host.callsNamed("ActivateWindow").size(), 1u);
  EXPECT_TRUE(host.ui.taskDialogTexts.empty());
  EXPECT_EQ(checks.load(), 0);
}

// A check that does not answer in time (an unreachable network path) opens
// the file as before; the worker ends later on its own and lets the library go.
TEST_F(MissingFileTest, ASlowCheckOpensAsBeforeAndItsWorkerLetsTheLibraryGo) {
  writeIni("[Files]\r\nFile1=\\\\server\\share\\a.sql\r\n[Usernames]\r\nUsername1=scott\r\n");
  loadPlugin();
  HANDLE release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE answered = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  host.ui.fileExists = [&](const std::wstring&) {
    ::WaitForSingleObject(release, INFINITE);
    ::SetEvent(answered);
    return 0;  // "missing", but too late to matter
  };
  click(6);
  EXPECT_TRUE(host.ui.taskDialogTexts.empty());
  EXPECT_EQ(host.callsNamed("OpenFileInWindow").size(), 1u);
  EXPECT_EQ(host.callsNamed("ConnectionForLogon").size(), 1u);

  const std::wstring dll = (dir / L"favorites.dll").wstring();
  host.unload();
  EXPECT_NE(::GetModuleHandleW(dll.c_str()), nullptr) << "the worker holds the library";
  ::SetEvent(release);
  ASSERT_EQ(::WaitForSingleObject(answered, 10000), WAIT_OBJECT_0);
  bool unloaded = false;
  for (int i = 0; i < 1000 && !unloaded; ++i) {
    unloaded = ::GetModuleHandleW(dll.c_str()) == nullptr;
    if (!unloaded) ::Sleep(10);
  }
  EXPECT_TRUE(unloaded);
  ::CloseHandle(release);
  ::CloseHandle(answered);
}

// The check itself, on the disk: only a file (or folder) the system does not
// find counts as missing.
TEST_F(MissingFileTest, TheCheckOnDisk) {
  host.ui.fileExists = nullptr;
  testsupport::writeFile(dir / L"here.sql", "select 1 from dual;\n");
  const struct {
    std::wstring file;
    bool asks;
  } cases[] = {
      {(dir / L"here.sql").wstring(), false},
      {(dir / L"gone.sql").wstring(), true},
      {(dir / L"no folder" / L"gone.sql").wstring(), true},
      {dir.path().wstring(), false},  // a folder of that name: the host decides
  };
  for (const auto& c : cases) {
    writeIni("[Files]\r\nFile1=" + fav::toNarrow(c.file) + "\r\n");
    loadPlugin();
    click(6);
    EXPECT_EQ(host.ui.taskDialogTexts.size(), c.asks ? 1u : 0u) << fav::toNarrow(c.file);
    EXPECT_EQ(host.callsNamed("OpenFileInWindow").size(), c.asks ? 0u : 1u) << fav::toNarrow(c.file);
    host.unload();
  }
}

TEST_F(MissingFileTest, TheMenusNeverCheckAFile) {
  writeIni("[Files]\r\nFile1=c:\\gone.sql\r\nFile2=d:\\also\\gone.sql\r\n[Buttons]\r\nButton1=fav_a.bmp\r\n");
  loadPlugin();
  host.menuTexts();
  host.onActivate();
  EXPECT_EQ(host.menu[5], "File / Favorite Files / c:\\gone.sql");
  EXPECT_EQ(checks.load(), 0);
}

// The platform's task dialog as the plug-in shows it, looked at and answered.
TEST_F(MissingFileTest, TheTaskDialogAsShown) {
  writeIni("[Files]\r\nFile1=c:\\scripts\\moved away\\report.sql\r\n");
  loadPlugin();
  host.ui.taskDialogs = {kSeamShowReal};
  static Strings buttons;
  static std::wstring instruction;
  buttons.clear();
  static int tries;
  tries = 0;
  ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::FindWindowW(nullptr, L"Favorites");
    if (!box && ++tries < 30) return;  // not up yet: the timer comes again
    ::KillTimer(nullptr, id);
    if (!box) {
      // Never hang: whatever dialog of this thread is up is closed.
      ::EnumThreadWindows(
          ::GetCurrentThreadId(),
          [](HWND w, LPARAM) -> BOOL {
            if (::IsWindowVisible(w)) ::PostMessageW(w, WM_CLOSE, 0, 0);
            return TRUE;
          },
          0);
      return;
    }
    ::EnumChildWindows(
        box,
        [](HWND child, LPARAM) -> BOOL {
          wchar_t text[256] = {}, cls[64] = {};
          ::GetWindowTextW(child, text, 256);
          ::GetClassNameW(child, cls, 64);
          if (std::wstring(cls) == L"Button" && text[0]) buttons.push_back(text);
          return TRUE;
        },
        0);
    const std::wstring shots = testsupport::screenshotFolder(L"FAV_SHOT_DIR");
    if (!shots.empty()) {
      RECT r{};
      ::GetWindowRect(box, &r);
      testsupport::captureScreenRect(r, std::filesystem::path(shots) / L"missing_file_task_dialog.bmp");
    }
    ::SendMessageW(box, TDM_CLICK_BUTTON, IDCANCEL, 0);
  });
  click(6);
  EXPECT_EQ(buttons, (Strings{L"Locate...", L"Remove from favorites", L"Cancel"}));
  EXPECT_TRUE(host.callsNamed("OpenFileInWindow").empty());
}

}  // namespace

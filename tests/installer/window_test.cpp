// The installer window in this process: layout, pages, the copy and its
// trace, refused package entries, the all-or-nothing install with a locked
// library, the location it asks for, the folder picker and message box
// (answered through the UI seam this executable exports) and the rules while
// the copy runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <memory>

#include "frm_tolvane.h"
#include "installer_support.h"
#include "tolvane_res.h"
#include "text_codec.h"
#include "ui_seam.h"
#include "un_logger.h"
#include "un_packageinstall.h"

using installertest::traceLines;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

struct PickerScript {
  bool confirm = false;
  std::wstring answer;
  int calls = 0;
  std::wstring title;
  unsigned flags = 99;
  HWND owner = nullptr;
} gPicker;

int seamBrowse(HWND owner, const wchar_t* title, unsigned flags, wchar_t* out, int outLen) {
  ++gPicker.calls;
  gPicker.title = title;
  gPicker.flags = flags;
  gPicker.owner = owner;
  if (!gPicker.confirm) return 0;
  wcsncpy(out, gPicker.answer.c_str(), static_cast<size_t>(outLen));
  return 1;
}

struct MessageBoxScript {
  int calls = 0;
  std::wstring text, caption;
  unsigned type = 0;
  HWND owner = nullptr;
} gMessageBox;

int seamMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, unsigned type) {
  ++gMessageBox.calls;
  gMessageBox.text = text;
  gMessageBox.caption = caption;
  gMessageBox.type = type;
  gMessageBox.owner = owner;
  return IDOK;
}

struct FavoritesUiSeam gSeam = {seamMessageBox, seamBrowse, nullptr, nullptr};

}  // namespace

extern "C" __declspec(dllexport) struct FavoritesUiSeam* FavoritesUiSeam() { return &gSeam; }

namespace {

// Every page control, for the visibility checks.
const int kPageControls[] = {IDC_LBL_WELCOME,        IDC_LBL_ABOUTTOINSTALL,
                             IDC_LBL_PLUGINNAME,     IDC_LBL_LOCATION,
                             IDC_EDT_LOCATION,       IDC_BBTN_FOLDER,
                             IDC_LBL_NOWINSTALLING,  IDC_LBL_NOWINSTALLINGFILENAME,
                             IDC_PB_WIZARD,          IDC_LBL_SUCCESSMESSAGE,
                             IDC_LBL_FAILUREREASON};

class InstallerWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    installertest::unregisterHost();
    package_ = dir_ / L"from" / L"package";
    target_ = dir_ / L"to" / L"PlugIns";
    std::filesystem::create_directories(package_);
    std::filesystem::create_directories(target_);
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());  // the trace file lands here
    gPicker = PickerScript{};
    gMessageBox = MessageBoxScript{};
  }
  void TearDown() override {
    form_.reset();
    pump();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    std::filesystem::current_path(previousFolder_);
    turnLoggingOff();
  }

  void start(const std::string& setupIni) {
    writeFile(package_ / L"setup.ini", setupIni);
    form_ = std::make_unique<TfrmTolvane>((package_ / L"tolvane.exe").wstring());
    ASSERT_TRUE(form_->create(::GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE));
    pump();
  }
  void pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
      ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
      ::DispatchMessageW(&msg);
    }
  }
  HWND hwnd() const { return form_->handle(); }
  void press(int x, int y) {
    ::SendMessageW(hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void next() { press(400, 275); }
  void back() { press(300, 275); }
  void pressIcon(bool ctrl) {
    ::SendMessageW(form_->control(IDC_IMG_ICON), WM_LBUTTONDOWN,
                   MK_LBUTTON | (ctrl ? MK_CONTROL : 0), MAKELPARAM(5, 5));
  }
  bool endRequested() {
    MSG msg;
    return ::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  }
  std::wstring text(int id) const {
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(form_->control(id), buffer, 1024);
    return buffer;
  }
  void setLocation(const std::wstring& value) {
    ::SetWindowTextW(form_->control(IDC_EDT_LOCATION), value.c_str());
  }
  std::vector<int> visiblePageControls() const {
    std::vector<int> shown;
    for (int id : kPageControls)
      if (::IsWindowVisible(form_->control(id))) shown.push_back(id);
    return shown;
  }
  std::vector<std::string> trace() const { return traceLines(dir_ / L"PlugInSetup.dbg"); }
  // What the window shows now, painted before it is captured.
  void screenshot(const std::string& name) {
    ::RedrawWindow(hwnd(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pump();
    installertest::screenshot(hwnd(), name);
  }
  std::string narrow(const std::filesystem::path& p) const { return p.string(); }

  TempDir dir_;
  std::filesystem::path package_, target_, previousFolder_;
  std::unique_ptr<TfrmTolvane> form_;
};

TEST_F(InstallerWindow, LayoutFollowsTheControlTable) {
  start("[Setup]\r\nPlugIn=Favorites\r\n");
  wchar_t className[64] = {}, caption[64] = {};
  ::GetClassNameW(hwnd(), className, 64);
  ::GetWindowTextW(hwnd(), caption, 64);
  EXPECT_STREQ(className, L"TfrmTolvane");
  EXPECT_STREQ(caption, L"Setup");
  const LONG style = ::GetWindowLongW(hwnd(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0);
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  EXPECT_EQ(client.right, 440);
  EXPECT_EQ(client.bottom, 290);

  const struct {
    int id, left, top, width, height;
    const wchar_t* text;
  } rows[] = {
      {IDC_IMG_ICON, 0, 0, 32, 32, nullptr},
      {IDC_LBL_COPYRIGHT, 35, 0, 366, 16, nullptr},
      {IDC_LBL_WELCOME, 0, 36, 440, 16, L"Welcome"},
      {IDC_LBL_ABOUTTOINSTALL, 0, 58, 440, 16, L"You are about to install"},
      {IDC_LBL_PLUGINNAME, 0, 74, 440, 16, L"Favorites"},
      {IDC_LBL_LOCATION, 0, 90, 440, 16, L"Location of PL/SQL Developer Plugins:"},
      {IDC_EDT_LOCATION, 0, 106, 418, 25, L""},  // no host registered: no proposal
      {IDC_BBTN_FOLDER, 415, 106, 25, 25, L""},
      {IDC_LBL_NOWINSTALLING, 0, 130, 440, 16, L"Now Installing"},
      {IDC_LBL_NOWINSTALLINGFILENAME, 0, 146, 440, 16, L""},
      {IDC_PB_WIZARD, 0, 162, 440, 25, nullptr},
      {IDC_LBL_SUCCESSMESSAGE, 0, 184, 440, 16, L""},
      {IDC_LBL_FAILUREREASON, 0, 202, 440, 42, L""},
      {IDC_LBL_VERSION, 0, 274, 275, 16, L""},  // this pretend installer has no version
  };
  for (const auto& row : rows) {
    const HWND child = form_->control(row.id);
    ASSERT_TRUE(child) << row.id;
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, row.left) << row.id;
    EXPECT_EQ(r.top, row.top) << row.id;
    EXPECT_EQ(r.right - r.left, row.width) << row.id;
    EXPECT_EQ(r.bottom - r.top, row.height) << row.id;
    if (row.text) {
      EXPECT_EQ(text(row.id), row.text) << row.id;
    }
  }

  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(
                   ::SendMessageW(form_->control(IDC_LBL_WELCOME), WM_GETFONT, 0, 0)),
               sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, L"Tahoma");
  EXPECT_EQ(font.lfHeight, -11);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(form_->copyrightColor(), RGB(128, 128, 128));

  wchar_t hint[64] = {};
  ASSERT_TRUE(::SendMessageW(form_->control(IDC_EDT_LOCATION), EM_GETCUEBANNER,
                             reinterpret_cast<WPARAM>(hint), 64));
  EXPECT_STREQ(hint, L"Choose the IDE's PlugIns folder");
}

TEST_F(InstallerWindow, PagesFollowTheStepAndBackStopsAtTheWelcomePage) {
  writeFile(package_ / L"one.txt", "1");
  start("[Files]\r\nf=one.txt\r\n");
  setLocation(target_.wstring());
  const std::vector<int> welcome{IDC_LBL_WELCOME, IDC_LBL_ABOUTTOINSTALL, IDC_LBL_PLUGINNAME};
  std::vector<int> location = welcome;
  location.insert(location.end(), {IDC_LBL_LOCATION, IDC_EDT_LOCATION, IDC_BBTN_FOLDER});
  std::vector<int> done = location;
  done.insert(done.end(), {IDC_LBL_NOWINSTALLING, IDC_LBL_NOWINSTALLINGFILENAME, IDC_PB_WIZARD,
                           IDC_LBL_SUCCESSMESSAGE, IDC_LBL_FAILUREREASON});

  EXPECT_EQ(form_->step(), 0);
  EXPECT_EQ(visiblePageControls(), welcome);
  back();  // nothing before the welcome page
  EXPECT_EQ(form_->step(), 0);
  EXPECT_EQ(visiblePageControls(), welcome);
  next();
  EXPECT_EQ(form_->step(), 1);
  EXPECT_EQ(visiblePageControls(), location);
  back();
  EXPECT_EQ(form_->step(), 0);
  EXPECT_EQ(visiblePageControls(), welcome);
  press(100, 275);  // beside the zones
  press(404, 15);
  EXPECT_EQ(form_->step(), 0);
  next();
  next();  // runs the copy and lands on the done page by itself
  EXPECT_EQ(form_->step(), 3);
  EXPECT_EQ(visiblePageControls(), done);
  EXPECT_EQ(text(IDC_LBL_SUCCESSMESSAGE), L"Success");
  EXPECT_EQ(text(IDC_LBL_FAILUREREASON), L"");
  back();  // inactive on the done page after a success
  EXPECT_EQ(form_->step(), 3);
  EXPECT_FALSE(endRequested());
  next();
  EXPECT_TRUE(endRequested());
}

TEST_F(InstallerWindow, CloseCrossEndsFromAnyPage) {
  start("");
  press(440, 15);
  EXPECT_TRUE(endRequested());
  form_.reset();
  start("");
  next();
  press(405, 0);
  EXPECT_TRUE(endRequested());
  EXPECT_EQ(form_->step(), 1);
}

TEST_F(InstallerWindow, PointerIsAHandWherePressesAct) {
  writeFile(package_ / L"one.txt", "1");
  start("[Files]\r\nf=one.txt\r\n");
  setLocation(target_.wstring());
  const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
  const HCURSOR arrow = ::LoadCursorW(nullptr, IDC_ARROW);
  auto pointerAt = [&](int x, int y) {
    ::SendMessageW(hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    return ::GetCursor();
  };
  const struct {
    int x, y;
    HCURSOR welcome, location, done;
  } cases[] = {
      {420, 5, hand, hand, hand},         // close
      {400, 275, hand, hand, hand},       // next
      {300, 275, arrow, hand, arrow},     // back: nothing before welcome, inactive when done
      {200, 100, arrow, arrow, arrow},    // the picture elsewhere
      {274, 275, arrow, arrow, arrow},
  };
  for (const auto& c : cases) EXPECT_EQ(pointerAt(c.x, c.y), c.welcome) << c.x << "," << c.y;
  next();
  for (const auto& c : cases) EXPECT_EQ(pointerAt(c.x, c.y), c.location) << c.x << "," << c.y;
  next();
  ASSERT_EQ(form_->step(), 3);
  for (const auto& c : cases) EXPECT_EQ(pointerAt(c.x, c.y), c.done) << c.x << "," << c.y;
}

TEST_F(InstallerWindow, FolderButtonPutsThePickedFolderIntoTheLocation) {
  start("");
  next();
  const HWND button = form_->control(IDC_BBTN_FOLDER);

  gPicker.confirm = false;
  ::SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(gPicker.calls, 1);
  EXPECT_EQ(gPicker.title, L"PL/SQL Developer Plugins Location");
  EXPECT_EQ(gPicker.flags, 0u);
  EXPECT_EQ(gPicker.owner, hwnd());  // modal to the installer window
  EXPECT_EQ(text(IDC_EDT_LOCATION), L"");  // cancelled: unchanged

  gPicker.confirm = true;
  gPicker.answer = L"D:\\Tools\\PLSQL\\PlugIns";
  ::SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(text(IDC_EDT_LOCATION), L"D:\\Tools\\PLSQL\\PlugIns\\");

  gPicker.answer = L"E:\\";
  ::SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(text(IDC_EDT_LOCATION), L"E:\\");
  EXPECT_EQ(gPicker.calls, 3);
}

// A package file that is missing: every file is still copied and traced,
// but the install is whole or nothing, so none of them is put in place.
TEST_F(InstallerWindow, CopyIsTracedFileByFileAndAFailureInstallsNothing) {
  installertest::writeFiles(package_, {{L"a.txt", "alpha"},
                                       {L"b.txt", std::string("b\0b\r\n", 5)},
                                       {L"c.txt", "gamma"}});
  writeFile(target_ / L"b.txt", "installed before");
  const auto before = installertest::folderContent(target_);
  start(
      "[Setup]\r\nOnSuccess=All done\r\nOnFailure=Close the host and run setup again\r\n"
      "[Files]\r\n1=a.txt\r\n2=b.txt\r\n3=c.txt\r\n4=missing.txt\r\n"
      "[Folders]\r\n1=sub\r\n2=\r\n3=sub\r\n");
  next();
  pressIcon(false);  // logging is off: nothing changes
  EXPECT_EQ(form_->copyrightColor(), RGB(128, 128, 128));
  EXPECT_TRUE(trace().empty());
  pressIcon(true);
  EXPECT_EQ(form_->copyrightColor(), RGB(255, 0, 0));
  setLocation(target_.wstring());  // typed without the trailing delimiter
  next();

  EXPECT_EQ(form_->step(), 3);
  EXPECT_EQ(text(IDC_LBL_SUCCESSMESSAGE), L"Close the host and run setup again");
  EXPECT_EQ(text(IDC_LBL_FAILUREREASON),
            L"missing.txt: " + systemErrorText(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(text(IDC_LBL_NOWINSTALLINGFILENAME), L"missing.txt");
  EXPECT_EQ(installertest::folderContent(target_), before);  // "sub" is gone again
  EXPECT_EQ(::SendMessageW(form_->control(IDC_PB_WIZARD), PBM_GETPOS, 0, 0), 4);
  screenshot("w1_failed_copy");

  std::vector<std::string> lines = trace();
  ASSERT_EQ(lines.size(), 28u);
  EXPECT_FALSE(lines[5].empty());  // date and time in the user's format
  lines[5] = "<now>";
  const std::string errorPrefix = "    Error executing copyFile System error 2";
  EXPECT_EQ(lines[22].substr(0, errorPrefix.size()), errorPrefix);
  lines[22] = "<error>";
  const std::string src = narrow(package_) + "\\";
  const std::string dst = narrow(target_) + "\\";
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "GetFileVersion start ",
                       " exeName " + src + "tolvane.exe",
                       " GetFileVersion ",
                       "GetFileVersion end ",
                       "Installer version :  ",
                       "<now>",
                       "Start Step 1 ",
                       " Copy files ",
                       "Start CopyFiles ",
                       " Nr Files : 4 ",
                       " lSourceFolder :  " + src,
                       " lDestinationFolder :  " + dst,
                       "  sub  created",
                       "  lFileToCopy :  a.txt",
                       "   a.txt copied successfully. ",
                       "  lFileToCopy :  b.txt",
                       "   b.txt copied successfully. ",
                       "  sub  already exists",
                       "  lFileToCopy :  c.txt",
                       "   c.txt copied successfully. ",
                       "  lFileToCopy :  missing.txt",
                       "   missing.txt copy failed. ",
                       "<error>",
                       " lblSuccessMessage :  Close the host and run setup again",
                       "Start Step 2 ",
                       "End Step 3 ",
                       "End CopyFiles ",
                       "End Step 3 ",
                   }));

  pressIcon(true);  // off again: grey, and no more lines
  EXPECT_EQ(form_->copyrightColor(), RGB(128, 128, 128));
  pressIcon(false);
  next();
  EXPECT_EQ(trace().size(), 28u);
  EXPECT_TRUE(endRequested());
}

// Entries that reach outside their folder or name a device are refused like
// "..", each traced as a failed copy, and the install as a whole writes nothing.
TEST_F(InstallerWindow, EntriesReachingOutsideOrNamingDevicesAreRefused) {
  writeFile(dir_ / L"from" / L"up.txt", "must stay");
  writeFile(package_ / L"ok.txt", "fine");
  writeFile(package_ / L"ok2.txt", "fine too");
  start(
      "[Files]\r\n1=ok.txt\r\n2=..\\up.txt\r\n3=\\rooted.txt\r\n4=C:\\abs.txt\r\n5=ok2.txt\r\n"
      "6=NUL\r\n7=com1.bmp\r\n8=img\\Aux.txt\r\n9=ok.txt\r\n"
      "[Folders]\r\n1=\r\n2=\r\n3=\r\n4=\r\n5=..\\escape\r\n6=\r\n7=\r\n8=\r\n9=LPT1\r\n");
  next();
  pressIcon(true);
  setLocation(target_.wstring());
  next();

  EXPECT_EQ(form_->step(), 3);
  EXPECT_EQ(text(IDC_LBL_SUCCESSMESSAGE), L"Failed");
  EXPECT_EQ(text(IDC_LBL_FAILUREREASON),
            L"..\\up.txt: the setup file names a place outside the package's folder");
  EXPECT_TRUE(std::filesystem::is_empty(target_));

  const std::vector<std::string> lines = trace();
  for (const std::string refused : {"..\\up.txt", "\\rooted.txt", "C:\\abs.txt", "ok2.txt", "NUL",
                                    "com1.bmp", "img\\Aux.txt"}) {
    const auto failed = std::find(lines.begin(), lines.end(), "   " + refused + " copy failed. ");
    ASSERT_NE(failed, lines.end()) << refused;
    EXPECT_EQ(*(failed + 1), "    Error executing copyFile " +
                                 fav::toNarrow(describeSystemError(ERROR_BAD_PATHNAME)) + " ")
        << refused;
  }
  // The last ok.txt goes to a device folder, and is refused too.
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "   ok.txt copied successfully. "), 1);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "   ok.txt copy failed. "), 1);
}

// Without a registered host the box starts empty; Next with nothing or a
// relative path asks for the folder and stays, the caret back in the box.
TEST_F(InstallerWindow, NextWithoutAFullFolderAsksForOne) {
  writeFile(package_ / L"ok.txt", "fine");
  // Where a relative path would lead when setup is started from its package.
  std::filesystem::create_directories(package_ / L"PlugIns");
  std::filesystem::current_path(package_);
  start("[Files]\r\n1=ok.txt\r\n");
  next();
  ASSERT_EQ(form_->step(), 1);
  EXPECT_EQ(text(IDC_EDT_LOCATION), L"");
  screenshot("w2_location_hint");

  int asked = 0;
  for (const wchar_t* typed : {L"", L"PlugIns\\", L"PlugIns", L".\\PlugIns", L"C:PlugIns",
                               L"\\PlugIns", L"C:\\x\\NUL"}) {
    setLocation(typed);
    if (asked % 2) {
      next();
    } else {
      ::SendMessageW(hwnd(), WM_COMMAND, IDM_NEXT_ZONE, 0);  // Enter
    }
    ++asked;
    EXPECT_EQ(gMessageBox.calls, asked) << typed;
    EXPECT_EQ(form_->step(), 1) << typed;
    EXPECT_EQ(::GetFocus(), form_->control(IDC_EDT_LOCATION)) << typed;
    DWORD from = 1, to = 0;
    ::SendMessageW(form_->control(IDC_EDT_LOCATION), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                   reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u) << typed;
    EXPECT_EQ(to, std::wcslen(typed)) << typed;
  }
  EXPECT_EQ(gMessageBox.text,
            L"Choose the IDE's PlugIns folder: type its full path, or pick it with the folder "
            L"button.");
  EXPECT_EQ(gMessageBox.caption, L"Setup");
  EXPECT_EQ(gMessageBox.type, static_cast<unsigned>(MB_OK | MB_ICONWARNING));
  EXPECT_EQ(gMessageBox.owner, hwnd());
  EXPECT_TRUE(std::filesystem::is_empty(package_ / L"PlugIns"));

  setLocation(target_.wstring());
  next();
  EXPECT_EQ(gMessageBox.calls, asked);
  EXPECT_EQ(form_->step(), 3);
  EXPECT_EQ(readFile(target_ / L"ok.txt"), "fine");
}

// The IDE still runs and holds its library: the bitmaps swapped in before it
// are put back, the folder is as it was, and the done page names the file
// and the reason. Back leads to the location page, and the next try works.
TEST_F(InstallerWindow, LockedLibraryLeavesTheFolderAsItWasAndBackTriesAgain) {
  installertest::writeFiles(package_, {{L"btn_about.bmp", "new about"},
                                       {L"fav_new.bmp", "a new icon"},
                                       {L"fav_star.bmp", "star"},
                                       {L"favorites.dll", "new library"}});
  installertest::writeFiles(target_, {{L"btn_about.bmp", "old about"},
                                      {L"favorites.dll", "old library"},
                                      {L"Favorites.ini", "[Settings]\r\nthe user's list\r\n"}});
  const auto before = installertest::folderContent(target_);
  start(
      "[Setup]\r\nOnFailure=Close the IDE, then run setup again.\r\n"
      "[Files]\r\n1=btn_about.bmp\r\n2=fav_new.bmp\r\n3=fav_star.bmp\r\n4=favorites.dll\r\n"
      "[Folders]\r\n1=\r\n2=\r\n3=img\r\n");
  next();
  pressIcon(true);
  setLocation(target_.wstring());
  {
    testsupport::FileLock running(target_ / L"favorites.dll");
    ASSERT_TRUE(running.held());
    next();
  }
  ASSERT_EQ(form_->step(), 3);
  EXPECT_EQ(text(IDC_LBL_SUCCESSMESSAGE), L"Close the IDE, then run setup again.");
  EXPECT_EQ(text(IDC_LBL_FAILUREREASON),
            L"favorites.dll: " + systemErrorText(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(installertest::folderContent(target_), before);
  screenshot("w3_locked_library");

  // Every file was copied, and says so; then the swap and the way back.
  const std::vector<std::string> lines = trace();
  for (const char* copied : {"btn_about.bmp", "fav_new.bmp", "fav_star.bmp", "favorites.dll"})
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        std::string("   ") + copied + " copied successfully. "),
              lines.end())
        << copied;
  const auto failed = std::find(lines.begin(), lines.end(),
                                "   favorites.dll could not be put in place. ");
  ASSERT_NE(failed, lines.end());
  ASSERT_GE(lines.end() - failed, 5);
  EXPECT_EQ(failed[1], "    Error executing replaceFile " +
                           fav::toNarrow(describeSystemError(ERROR_SHARING_VIOLATION)) + " ");
  EXPECT_EQ(failed[2], "   fav_star.bmp restored. ");
  EXPECT_EQ(failed[3], "   fav_new.bmp restored. ");
  EXPECT_EQ(failed[4], "   btn_about.bmp restored. ");

  // Back is active on this done page, and leads past the copy to the location.
  ::SendMessageW(hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 275));
  EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
  back();
  EXPECT_EQ(form_->step(), 1);
  EXPECT_FALSE(::IsWindowVisible(form_->control(IDC_LBL_FAILUREREASON)));
  EXPECT_EQ(text(IDC_EDT_LOCATION), target_.wstring());
  EXPECT_EQ(installertest::folderContent(target_), before);  // going back copies nothing

  next();  // the IDE is closed now
  ASSERT_EQ(form_->step(), 3);
  EXPECT_EQ(text(IDC_LBL_SUCCESSMESSAGE), L"Success");
  EXPECT_EQ(text(IDC_LBL_FAILUREREASON), L"");
  auto expected = before;
  expected[L"btn_about.bmp"] = "new about";
  expected[L"fav_new.bmp"] = "a new icon";
  expected[L"img"] = "<folder>";
  expected[L"img\\fav_star.bmp"] = "star";
  expected[L"favorites.dll"] = "new library";
  EXPECT_EQ(installertest::folderContent(target_), expected);
  back();  // after a success there is no way back
  EXPECT_EQ(form_->step(), 3);
}

TEST_F(InstallerWindow, EmptyFileListSucceedsWithAnEmptyBar) {
  start("[Setup]\r\nOnSuccess=Nothing to do\r\n");
  next();
  setLocation(target_.wstring());
  next();
  EXPECT_EQ(form_->step(), 3);
  EXPECT_EQ(text(IDC_LBL_SUCCESSMESSAGE), L"Nothing to do");
  PBRANGE range{};
  ::SendMessageW(form_->control(IDC_PB_WIZARD), PBM_GETRANGE, FALSE,
                 reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iHigh, 0);
}

TEST_F(InstallerWindow, PressesAndKeysDuringTheCopyAreIgnored) {
  for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"}) writeFile(package_ / name, "x");
  start("[Files]\r\na=1.txt\r\nb=2.txt\r\nc=3.txt\r\n");
  next();
  setLocation(target_.wstring());
  // Waiting in the queue: the copy lets them through with its first file.
  for (POINT p : {POINT{420, 5}, POINT{400, 275}, POINT{300, 275}})
    ::PostMessageW(hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  ::PostMessageW(hwnd(), WM_COMMAND, IDM_NEXT_ZONE, 0);
  ::PostMessageW(hwnd(), WM_COMMAND, IDM_CLOSE_ZONE, 0);
  ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
  ::PostMessageW(form_->control(IDC_BBTN_FOLDER), BM_CLICK, 0, 0);
  next();

  EXPECT_EQ(form_->step(), 3);
  EXPECT_EQ(text(IDC_LBL_SUCCESSMESSAGE), L"Success");
  EXPECT_EQ(gPicker.calls, 0);
  EXPECT_FALSE(endRequested());
  for (const wchar_t* name : {L"1.txt", L"2.txt", L"3.txt"})
    EXPECT_EQ(readFile(target_ / name), "x");
  ::SendMessageW(hwnd(), WM_COMMAND, IDM_NEXT_ZONE, 0);  // Enter on the done page
  EXPECT_TRUE(endRequested());
}

TEST_F(InstallerWindow, UnwritableTraceFileNeverStopsTheInstaller) {
  testsupport::FileLock lock(dir_ / L"PlugInSetup.dbg");
  ASSERT_TRUE(lock.held());
  writeFile(package_ / L"ok.txt", "fine");
  start("[Setup]\r\nDebug=1\r\n[Files]\r\n1=ok.txt\r\n");
  next();
  pressIcon(true);
  setLocation(target_.wstring());
  next();
  EXPECT_EQ(form_->step(), 3);
  EXPECT_EQ(text(IDC_LBL_SUCCESSMESSAGE), L"Success");
  EXPECT_EQ(readFile(target_ / L"ok.txt"), "fine");
}

}  // namespace

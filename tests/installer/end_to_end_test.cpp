// tolvane.exe as a user meets it: a registered host, the program started from
// its package folder, presses and keys posted to its window, the installed
// files compared byte for byte, and a screenshot of every page that stays
// long enough to be taken.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>
#include <thread>

#include "fav_version.h"
#include "installer_support.h"
#include "tolvane_res.h"
#include "un_packageinstall.h"
#include "un_tolvanesetup.h"

namespace fs = std::filesystem;
using installertest::traceLines;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

// Polls until the condition holds; the limit only keeps a broken run finite.
bool eventually(const std::function<bool()>& condition) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < limit) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

// A visible top-level window of that process and window class, or null.
HWND findProcessWindow(DWORD process, const std::wstring& windowClass) {
  struct Search {
    DWORD process;
    const std::wstring& windowClass;
    HWND found;
  } search{process, windowClass, nullptr};
  ::EnumWindows(
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        wchar_t className[32] = {};
        ::GetClassNameW(hwnd, className, 32);
        if (owner != s->process || !::IsWindowVisible(hwnd) || s->windowClass != className)
          return TRUE;
        s->found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A message box is a dialog of the system's class.
HWND findMessageBox(DWORD process) { return findProcessWindow(process, L"#32770"); }

std::wstring windowText(HWND hwnd) {
  wchar_t buffer[1024] = {};
  ::SendMessageW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

// One run of the installer, ended by force if a test leaves it running.
class InstallerProcess {
 public:
  InstallerProcess(const fs::path& exe, const fs::path& workingFolder) {
    STARTUPINFOW startup{sizeof startup};
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    started_ = ::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                                nullptr, workingFolder.c_str(), &startup, &info_) != 0;
    if (!started_) return;
    ::WaitForInputIdle(info_.hProcess, 30000);
    eventually([&] {
      window_ = findProcessWindow(info_.dwProcessId, L"TfrmTolvane");
      return window_ != nullptr;
    });
  }
  ~InstallerProcess() {
    if (!started_) return;
    if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      ::TerminateProcess(info_.hProcess, 99);
      ::WaitForSingleObject(info_.hProcess, 30000);
    }
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
  }
  InstallerProcess(const InstallerProcess&) = delete;
  InstallerProcess& operator=(const InstallerProcess&) = delete;

  HWND window() const { return window_; }
  HWND control(int id) const { return ::GetDlgItem(window_, id); }
  bool visible(int id) const { return ::IsWindowVisible(control(id)) != FALSE; }
  std::wstring text(int id) const { return windowText(control(id)); }
  void press(int x, int y) const {
    ::PostMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(window_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void next() const { press(400, 275); }
  void back() const { press(310, 275); }
  void closeCross() const { press(422, 7); }
  void key(UINT virtualKey) const {
    ::PostMessageW(window_, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageW(window_, WM_KEYUP, virtualKey, 0xC0000001);
  }
  // A press on the program icon, handled before this returns.
  void pressIcon(bool ctrl) const {
    ::SendMessageW(control(IDC_IMG_ICON), WM_LBUTTONDOWN, MK_LBUTTON | (ctrl ? MK_CONTROL : 0),
                   MAKELPARAM(8, 8));
    ::SendMessageW(control(IDC_IMG_ICON), WM_LBUTTONUP, 0, MAKELPARAM(8, 8));
  }
  // Lets the window paint what it shows before a screenshot.
  fs::path screenshot(const std::string& name) const {
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    return installertest::screenshot(window_, name);
  }
  bool ended(DWORD& exitCode) const {
    if (::WaitForSingleObject(info_.hProcess, 30000) != WAIT_OBJECT_0) return false;
    ::GetExitCodeProcess(info_.hProcess, &exitCode);
    return true;
  }
  bool running() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  DWORD processId() const { return info_.dwProcessId; }
  HWND focus() const {
    GUITHREADINFO gui{sizeof gui};
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window_, nullptr), &gui);
    return gui.hwndFocus;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
  HWND window_ = nullptr;
};

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    package_ = dir_ / L"Favorites";
    host_ = dir_ / L"PLSQL Developer";
    plugIns_ = host_ / L"PlugIns";
    work_ = dir_ / L"work";
    for (const fs::path& p : {package_, plugIns_, work_}) fs::create_directories(p);
    writeFile(host_ / L"ide.exe", "a host stand-in");
    installertest::registerHostCommand(L"\"" + (host_ / L"ide.exe").wstring() + L"\" %1");
    fs::copy_file(installertest::buildDir() / "installer" / "tolvane.exe",
                  package_ / L"tolvane.exe");
  }
  void TearDown() override { installertest::unregisterHost(); }

  std::vector<std::string> trace() const { return traceLines(work_ / L"PlugInSetup.dbg"); }
  // The package as the build assembles it, beside the installer.
  void copyRealPackage() const {
    for (const auto& entry :
         fs::directory_iterator(installertest::sourceDir() / "resources" / "package"))
      fs::copy_file(entry.path(), package_ / entry.path().filename());
    fs::copy_file(installertest::buildDir() / "plugin" / "favorites.dll",
                  package_ / L"favorites.dll");
  }

  TempDir dir_;
  fs::path package_, host_, plugIns_, work_;
};

std::vector<std::wstring> listedFiles(const fs::path& setupIni) {
  std::wstring buffer(65536, L'\0');
  const DWORD got = ::GetPrivateProfileSectionW(L"Files", buffer.data(), 65536,
                                                setupIni.c_str());
  std::vector<std::wstring> files;
  for (const std::wstring& line : splitSectionBuffer(std::wstring_view(buffer.data(), got + 1)))
    files.push_back(entryValue(line));
  return files;
}

TEST_F(EndToEnd, NextNextInstallsTheWholePackageAndAThirdNextEnds) {
  copyRealPackage();
  writeFile(plugIns_ / L"btn_about.bmp", "an older bitmap");

  // Every file of the package is listed, except the installer and its setup file.
  const std::vector<std::wstring> listed = listedFiles(package_ / L"setup.ini");
  std::set<std::wstring> shipped;
  for (const auto& entry : fs::directory_iterator(package_))
    shipped.insert(entry.path().filename().wstring());
  shipped.erase(L"tolvane.exe");
  shipped.erase(L"setup.ini");
  EXPECT_EQ(std::set<std::wstring>(listed.begin(), listed.end()), shipped);
  EXPECT_GE(listed.size(), 5u + 12u);

  InstallerProcess run(package_ / L"tolvane.exe", work_);
  ASSERT_TRUE(run.window());
  RECT client{};
  ::GetClientRect(run.window(), &client);
  EXPECT_EQ(client.right, 440);
  EXPECT_EQ(client.bottom, 290);
  EXPECT_TRUE(run.visible(IDC_LBL_WELCOME));
  EXPECT_EQ(run.text(IDC_LBL_WELCOME), L"Welcome");
  EXPECT_EQ(run.text(IDC_LBL_ABOUTTOINSTALL), L"You are about to install");
  EXPECT_EQ(run.text(IDC_LBL_PLUGINNAME), L"Favorites");
  EXPECT_EQ(run.text(IDC_LBL_VERSION), L"" FAV_VERSION_TEXT);
  EXPECT_FALSE(run.visible(IDC_EDT_LOCATION));
  run.screenshot("1_welcome");

  run.next();
  ASSERT_TRUE(eventually([&] { return run.visible(IDC_EDT_LOCATION); }));
  EXPECT_EQ(run.text(IDC_EDT_LOCATION), plugIns_.wstring() + L"\\");
  run.screenshot("2_location");

  // The copy is over too soon to catch the progress page reliably; the
  // pictures show the pages before and after it.
  run.next();
  ASSERT_TRUE(eventually([&] { return run.visible(IDC_LBL_SUCCESSMESSAGE); }));
  wchar_t success[256] = {};
  ::GetPrivateProfileStringW(L"Setup", L"OnSuccess", L"", success, 256,
                             (package_ / L"setup.ini").c_str());
  EXPECT_EQ(run.text(IDC_LBL_SUCCESSMESSAGE), success);
  run.screenshot("4_done");

  for (const std::wstring& file : listed)
    EXPECT_EQ(readFile(plugIns_ / file), readFile(package_ / file)) << fs::path(file).string();
  EXPECT_FALSE(fs::exists(plugIns_ / L"tolvane.exe"));
  EXPECT_FALSE(fs::exists(work_ / L"PlugInSetup.dbg"));  // Debug=0: no trace at all

  run.next();
  DWORD exitCode = 1;
  ASSERT_TRUE(run.ended(exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(EndToEnd, MissingPackageFileFailsWholeAndIsTracedWhileLoggingIsOn) {
  writeFile(package_ / L"one.txt", "first file");
  writeFile(package_ / L"three.dat", std::string("\x00\xff\r\n", 4));
  writeFile(package_ / L"setup.ini",
            "[Setup]\r\nPlugIn=Demo Plug-in\r\nDebug=1\r\n"
            "OnFailure=Close PL/SQL Developer and run setup again.\r\n"
            "[Files]\r\na=one.txt\r\nb=two.txt\r\nc=three.dat\r\n");
  InstallerProcess run(package_ / L"tolvane.exe", work_);
  ASSERT_TRUE(run.window());
  EXPECT_EQ(run.text(IDC_LBL_PLUGINNAME), L"Demo Plug-in");

  // Debug traces the start-up only: the location lookup and the version.
  const std::string host = host_.string() + "\\";
  const std::string exe = (package_ / L"tolvane.exe").string();
  const std::vector<std::string> startUp{
      "GetPLSQLDevLocation start ",
      "ReadRegString start ",
      " Key PL/SQL Developer\\Shell\\Open\\Command",
      " Name ",
      " Result \"" + host + "ide.exe\" %1",
      "ReadRegString end ",
      " lFromRegistry \"" + host + "ide.exe\" %1",
      " lSpace " + std::to_string(host.size() + 9),
      " fPLSQLDevLocation " + host + "ide.exe",
      " fPLSQLDevLocation " + host + "PlugIns\\",
      "GetPLSQLDevLocation end ",
      "GetFileVersion start ",
      " exeName " + exe,
      " GetFileVersion " FAV_VERSION_TEXT,
      "GetFileVersion end ",
  };
  EXPECT_EQ(trace(), startUp);

  run.next();
  ASSERT_TRUE(eventually([&] { return run.visible(IDC_EDT_LOCATION); }));
  EXPECT_EQ(trace().size(), startUp.size());  // off after the start-up

  run.pressIcon(true);
  std::vector<std::string> lines = trace();
  ASSERT_EQ(lines.size(), startUp.size() + 6);
  EXPECT_EQ(lines[startUp.size() + 4], "Installer version :  " FAV_VERSION_TEXT);
  run.screenshot("5_logging_on");

  run.next();
  ASSERT_TRUE(eventually([&] { return run.visible(IDC_LBL_SUCCESSMESSAGE); }));
  EXPECT_EQ(run.text(IDC_LBL_SUCCESSMESSAGE), L"Close PL/SQL Developer and run setup again.");
  EXPECT_EQ(run.text(IDC_LBL_FAILUREREASON), L"two.txt: " + systemErrorText(ERROR_FILE_NOT_FOUND));
  run.screenshot("6_failed");
  EXPECT_TRUE(fs::is_empty(plugIns_));  // whole or nothing: one.txt and three.dat wait too

  lines = trace();
  const auto failed = std::find(lines.begin(), lines.end(), "   two.txt copy failed. ");
  ASSERT_NE(failed, lines.end());
  ASSERT_NE(failed + 1, lines.end());
  const std::string error = "    Error executing copyFile System error 2: ";
  EXPECT_EQ((failed + 1)->substr(0, error.size()), error);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "   one.txt copied successfully. "),
            lines.end());

  // Off again, and a plain press writes nothing.
  run.pressIcon(true);
  const size_t count = trace().size();
  run.pressIcon(false);
  EXPECT_EQ(trace().size(), count);

  run.closeCross();
  DWORD exitCode = 1;
  ASSERT_TRUE(run.ended(exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(EndToEnd, BackCloseAndTheKeyboard) {
  writeFile(package_ / L"setup.ini", "[Setup]\r\nPlugIn=Keys\r\n");
  {
    InstallerProcess run(package_ / L"tolvane.exe", work_);
    ASSERT_TRUE(run.window());
    run.back();              // nothing before the welcome page ...
    run.key(VK_RETURN);      // ... so Enter goes straight to the location page
    ASSERT_TRUE(eventually([&] { return run.visible(IDC_EDT_LOCATION); }));
    run.back();
    ASSERT_TRUE(eventually([&] { return !run.visible(IDC_EDT_LOCATION); }));
    EXPECT_TRUE(run.visible(IDC_LBL_WELCOME));
    run.next();
    ASSERT_TRUE(eventually([&] { return run.visible(IDC_EDT_LOCATION); }));
    run.key(VK_ESCAPE);
    DWORD exitCode = 1;
    ASSERT_TRUE(run.ended(exitCode));
    EXPECT_EQ(exitCode, 0u);
  }
  {
    InstallerProcess run(package_ / L"tolvane.exe", work_);
    ASSERT_TRUE(run.window());
    run.closeCross();
    DWORD exitCode = 1;
    ASSERT_TRUE(run.ended(exitCode));
    EXPECT_EQ(exitCode, 0u);
  }
  EXPECT_TRUE(fs::is_empty(plugIns_));
}

// No registered host: the box starts empty under its hint, and Next asks for
// the folder in a message box; once a folder is typed the install runs.
TEST_F(EndToEnd, WithoutARegisteredHostNextAsksForTheFolder) {
  installertest::unregisterHost();
  writeFile(package_ / L"one.txt", "first file");
  writeFile(package_ / L"setup.ini", "[Setup]\r\nPlugIn=Favorites\r\n[Files]\r\na=one.txt\r\n");
  fs::create_directories(work_ / L"PlugIns");  // where the relative "PlugIns\" would lead
  InstallerProcess run(package_ / L"tolvane.exe", work_);
  ASSERT_TRUE(run.window());
  run.next();
  ASSERT_TRUE(eventually([&] { return run.visible(IDC_EDT_LOCATION); }));
  EXPECT_EQ(run.text(IDC_EDT_LOCATION), L"");
  run.screenshot("9_location_hint");

  run.next();
  HWND box = nullptr;
  ASSERT_TRUE(eventually([&] { return (box = findMessageBox(run.processId())) != nullptr; }));
  EXPECT_EQ(windowText(box), L"Setup");
  EXPECT_EQ(::GetWindow(box, GW_OWNER), run.window());
  EXPECT_EQ(windowText(::GetDlgItem(box, 0xFFFF)),
            L"Choose the IDE's PlugIns folder: type its full path, or pick it with the folder "
            L"button.");
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  installertest::screenshot(box, "10_asks_for_folder");
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(eventually([&] { return findMessageBox(run.processId()) == nullptr; }));
  EXPECT_TRUE(eventually([&] { return run.focus() == run.control(IDC_EDT_LOCATION); }));
  EXPECT_TRUE(run.visible(IDC_EDT_LOCATION));
  EXPECT_FALSE(run.visible(IDC_LBL_SUCCESSMESSAGE));
  EXPECT_TRUE(fs::is_empty(work_ / L"PlugIns"));

  ::SendMessageW(run.control(IDC_EDT_LOCATION), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(plugIns_.c_str()));
  run.next();
  ASSERT_TRUE(eventually([&] { return run.visible(IDC_LBL_SUCCESSMESSAGE); }));
  EXPECT_EQ(run.text(IDC_LBL_SUCCESSMESSAGE), L"Success");
  EXPECT_EQ(readFile(plugIns_ / L"one.txt"), "first file");
}

// The real package over an older install while the IDE holds favorites.dll:
// nothing changes, the done page says which file and why, and Back leads to
// the location page for another try once the IDE is closed.
TEST_F(EndToEnd, LockedLibraryChangesNothingAndBackTriesAgain) {
  copyRealPackage();
  writeFile(plugIns_ / L"favorites.dll", "the library the IDE has loaded");
  writeFile(plugIns_ / L"btn_about.bmp", "an older bitmap");
  writeFile(plugIns_ / L"Favorites.ini", "[Settings]\r\n");
  const auto before = installertest::folderContent(plugIns_);

  InstallerProcess run(package_ / L"tolvane.exe", work_);
  ASSERT_TRUE(run.window());
  run.next();
  ASSERT_TRUE(eventually([&] { return run.visible(IDC_EDT_LOCATION); }));
  {
    testsupport::FileLock ideRunning(plugIns_ / L"favorites.dll");
    ASSERT_TRUE(ideRunning.held());
    run.next();
    ASSERT_TRUE(eventually([&] { return run.visible(IDC_LBL_SUCCESSMESSAGE); }));
  }
  EXPECT_EQ(run.text(IDC_LBL_SUCCESSMESSAGE),
            L"Setup failed. Close PL/SQL Developer, then run setup again.");
  EXPECT_EQ(run.text(IDC_LBL_FAILUREREASON),
            L"favorites.dll: " + systemErrorText(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(installertest::folderContent(plugIns_), before);
  run.screenshot("11_locked_library");

  run.back();
  ASSERT_TRUE(eventually([&] { return !run.visible(IDC_LBL_SUCCESSMESSAGE); }));
  EXPECT_TRUE(run.visible(IDC_EDT_LOCATION));
  EXPECT_EQ(installertest::folderContent(plugIns_), before);
  run.next();
  ASSERT_TRUE(eventually([&] { return run.visible(IDC_LBL_SUCCESSMESSAGE); }));
  EXPECT_EQ(run.text(IDC_LBL_SUCCESSMESSAGE),
            L"Favorites is installed. Restart PL/SQL Developer to use it.");
  EXPECT_EQ(run.text(IDC_LBL_FAILUREREASON), L"");
  EXPECT_EQ(readFile(plugIns_ / L"favorites.dll"), readFile(package_ / L"favorites.dll"));
  EXPECT_EQ(readFile(plugIns_ / L"btn_about.bmp"), readFile(package_ / L"btn_about.bmp"));
  EXPECT_EQ(readFile(plugIns_ / L"Favorites.ini"), "[Settings]\r\n");
  EXPECT_EQ(installertest::folderContent(plugIns_).size(), 24u + 1u);
}

// At 150 % the window is drawn larger, and the zones and controls scale with it.
TEST_F(EndToEnd, HigherScalingScalesWindowZonesAndControlsTogether) {
  constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
  DWORD previous = 0, size = sizeof previous;
  const bool hadValue = ::RegGetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels",
                                       RRF_RT_REG_DWORD, nullptr, &previous,
                                       &size) == ERROR_SUCCESS;
  const DWORD scaled = 144;
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &scaled, sizeof scaled);
  writeFile(package_ / L"setup.ini", "[Setup]\r\nPlugIn=Favorites\r\n");
  {
    InstallerProcess run(package_ / L"tolvane.exe", work_);
    if (hadValue)
      ::RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &previous,
                        sizeof previous);
    else
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
    ASSERT_TRUE(run.window());
    RECT client{}, edit{};
    ::GetClientRect(run.window(), &client);
    EXPECT_EQ(client.right, 660);
    EXPECT_EQ(client.bottom, 435);
    run.screenshot("7_welcome_150_percent");

    ::PostMessageW(run.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(545, 392));  // 363,261
    ASSERT_TRUE(eventually([&] { return run.visible(IDC_EDT_LOCATION); }));
    ::GetWindowRect(run.control(IDC_EDT_LOCATION), &edit);
    ::MapWindowPoints(nullptr, run.window(), reinterpret_cast<POINT*>(&edit), 2);
    EXPECT_EQ(edit.left, 0);
    EXPECT_EQ(edit.top, 159);
    EXPECT_EQ(edit.right, 627);
    EXPECT_EQ(edit.bottom, 197);
    run.screenshot("8_location_150_percent");

    ::PostMessageW(run.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(608, 2));  // 405,1
    DWORD exitCode = 1;
    ASSERT_TRUE(run.ended(exitCode));
    EXPECT_EQ(exitCode, 0u);
  }
}

}  // namespace

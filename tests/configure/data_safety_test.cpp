// The Configure command never loses the list: a file it could not read is
// not shown as an empty list, favorites added elsewhere while it is open
// survive its Ok, a file that is not ours to write stays as it is, and a
// second command while it runs opens nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "configure_fixture.h"
#include "unix_side.h"

namespace {

using configuretest::ConfigureTest;
using configuretest::Dialog;
using Strings = std::vector<std::wstring>;

const char kList[] =
    "[Settings]\r\nReplacementPath=d:\\src\r\nSavePassword=1\r\n"
    "[Files]\r\nFile1=c:\\a.sql\r\nFile2=c:\\b.sql\r\n"
    "[Types]\r\nType1=0\r\nType2=0\r\n"
    "[Usernames]\r\nUsername1=scott\r\n";

class DataSafetyTest : public ConfigureTest {
 protected:
  Strings files() const {
    Strings out;
    for (int n = 1;; ++n) {
      wchar_t buf[2048] = {};
      ::GetPrivateProfileStringW(L"Files", (L"File" + std::to_wstring(n)).c_str(), L"<none>", buf,
                                 2048, iniPath().c_str());
      if (std::wstring(buf) == L"<none>") return out;
      out.push_back(buf);
    }
  }
  void currentWindow(const std::string& file) {
    host.windows = {{file, 0, 0}};
    host.currentWindow = 0;
  }
};

TEST_F(DataSafetyTest, AFileHeldByAnotherProgramIsNeverShownAsAnEmptyList) {
  writeIni(kList);
  loadPlugin();
  testsupport::FileLock lock(iniPath(), 0);
  ASSERT_TRUE(lock.held());

  // Cancel: no dialog, nothing written, nothing refreshed.
  host.ui.messageBoxes = {IDCANCEL};
  host.configure();
  EXPECT_TRUE(host.ui.dialogsShown.empty());
  ASSERT_EQ(host.ui.messageBoxTexts.size(), 1u);
  const std::wstring said = host.ui.messageBoxTexts[0];
  EXPECT_EQ(said.rfind(L"Favorites|The favorites could not be read from\n", 0), 0u) << said.c_str();
  EXPECT_NE(said.find(iniPath().wstring()), std::wstring::npos);
  EXPECT_NE(said.find(L"Reason: "), std::wstring::npos);
  EXPECT_EQ(host.refreshRequests, 0);
  Dialog(nullptr).screenshotQuestion(said.substr(10), L"read_failure",
                                     MB_RETRYCANCEL | MB_ICONWARNING);

  // Add Current says the same and adds nothing.
  currentWindow("c:\\w\\new.sql");
  host.ui.messageBoxes = {IDCANCEL};
  host.onMenuClick(2);
  ASSERT_EQ(host.ui.messageBoxTexts.size(), 2u);
  EXPECT_EQ(host.ui.messageBoxTexts[1], said);

  // Retry once the other program let go: the dialog shows the list, and Ok
  // keeps it.
  host.ui.messageBoxes = {IDRETRY};
  host.ui.onShow = [&](const std::wstring&) { lock.release(); };
  int rows = -1;
  configure([&](Dialog& d) {
    rows = d.rows();
    d.ok();
  });
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(host.ui.messageBoxTexts.size(), 3u);
  EXPECT_EQ(files(), (Strings{L"c:\\a.sql", L"c:\\b.sql"}));
  EXPECT_EQ(host.refreshRequests, 1);
}

TEST_F(DataSafetyTest, FavoritesAddedElsewhereWhileTheDialogIsOpenSurviveItsOk) {
  // What the dialog does, what happens to the file meanwhile, what Ok leaves.
  const struct {
    const char* name;
    bool removeFirst;  // the dialog removes c:\a.sql
    std::string outside;  // appended to [Files]; empty: Add Current of c:\w\new.sql
    Strings expected;
  } cases[] = {
      {"add current", false, "", {L"c:\\a.sql", L"c:\\b.sql", L"c:\\w\\new.sql"}},
      {"removed in the dialog stays removed", true, "", {L"c:\\b.sql", L"c:\\w\\new.sql"}},
      {"hand edit", false, "File7=e:\\x.sql\r\n", {L"c:\\a.sql", L"c:\\b.sql", L"e:\\x.sql"}},
      {"already in the dialog's list in the other path form", false,
       "File3=D:\\SRC\\q.sql\r\n", {L"c:\\a.sql", L"c:\\b.sql", L"%path%\\q.sql"}},
  };
  for (const auto& c : cases) {
    writeIni(kList);
    loadPlugin();
    currentWindow("c:\\w\\new.sql");
    host.ui.openFiles = {{L"d:\\src\\q.sql"}};
    configure([&](Dialog& d) {
      if (c.removeFirst) {
        d.clickCell(0, 2);
        d.command(IDC_ACT_REMOVE);
      }
      d.command(IDC_ACT_ADD);  // d:\src\q.sql, stored as %path%\q.sql
      if (c.outside.empty()) {
        host.onMenuClick(2);
      } else {
        std::string now = readIni();
        now.insert(now.find("[Types]"), c.outside);
        writeIni(now);
      }
      d.ok();
    });
    Strings expected = c.expected;
    // The dialog's own addition comes before what was added elsewhere.
    if (std::string(c.name).find("other path form") == std::string::npos)
      expected.insert(expected.end() - 1, L"%path%\\q.sql");
    EXPECT_EQ(files(), expected) << c.name;
    host.unload();
  }
}

// The file's lines, split after each line end.
std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t from = 0;
  while (from < text.size()) {
    const size_t end = text.find('\n', from);
    const size_t next = end == std::string::npos ? text.size() : end + 1;
    out.push_back(text.substr(from, next - from));
    from = next;
  }
  return out;
}

std::string utf32(const std::string& ascii, bool bigEndian) {
  std::string out = bigEndian ? std::string("\0\0\xFE\xFF", 4) : std::string("\xFF\xFE\0\0", 4);
  for (const char c : ascii) {
    const std::string zeros(3, '\0');
    out += bigEndian ? zeros + c : c + zeros;
  }
  return out;
}

TEST_F(DataSafetyTest, HostileFilesSurviveAddCurrentAndConfigureOk) {
  enum class Kind { Text, Folder, Held, Link };
  enum class Expect { Identical, UntouchedLinesIdentical };
  const std::string foreign = "[Foreign]\r\nBad=a\xC3\x28z\xFF\xFE\x80\r\nGood=\xC3\xA9t\xC3\xA9\r\n";
  std::string huge = std::string(kList) + "[Foreign]\r\nPad=";
  huge.resize((16u << 20) + 1, 'x');
  const struct {
    const char* name;
    Kind kind;
    std::string bytes;
    Expect expect;
  } cases[] = {
      {"UTF-32 LE", Kind::Text, utf32(kList, false), Expect::Identical},
      {"UTF-32 BE", Kind::Text, utf32(kList, true), Expect::Identical},
      {"invalid UTF-8 in a foreign section", Kind::Text,
       "\xEF\xBB\xBF" + std::string(kList) + foreign, Expect::UntouchedLinesIdentical},
      {"a NUL in a line", Kind::Text,
       std::string(kList) + std::string("[Foreign]\r\nKey=a\0b\r\n", 21), Expect::Identical},
      {"16 MB and 1 byte", Kind::Text, huge, Expect::Identical},
      {"a folder", Kind::Folder, "", Expect::Identical},
      {"held without sharing", Kind::Held, kList, Expect::Identical},
      {"a symbolic link", Kind::Link, kList, Expect::UntouchedLinesIdentical},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host.unload();
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      if (entry.path().filename() != L"favorites.dll") {
        if (entry.is_directory()) testsupport::removeTree(entry.path().wstring());
        else ::DeleteFileW(entry.path().c_str());
      }
    const std::filesystem::path real = dir / L"real.ini";
    if (c.kind == Kind::Folder) {
      std::filesystem::create_directory(iniPath());
    } else if (c.kind == Kind::Link) {
      testsupport::writeFile(real, c.bytes);
      const std::wstring unixLink = testsupport::wineUnixPath(iniPath());
      const std::wstring unixReal = testsupport::wineUnixPath(real);
      if (unixLink.empty() || unixReal.empty() ||
          !testsupport::runUnixProgram(
              L"/bin/ln -s \"" + unixReal + L"\" \"" + unixLink + L"\"",
              [&] { return ::GetFileAttributesW(iniPath().c_str()) != INVALID_FILE_ATTRIBUTES; }))
        GTEST_SKIP() << "no symbolic link could be made here; every other row ran";
    } else {
      writeIni(c.bytes);
    }
    std::set<std::wstring> before;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      before.insert(entry.path().filename().wstring());
    testsupport::FileLock lock(iniPath(), 0);
    if (c.kind != Kind::Held) lock.release();
    loadPlugin();
    const int refreshesBefore = host.refreshRequests;
    host.ui.messageBoxTexts.clear();
    host.ui.messageBoxes = {IDCANCEL, IDCANCEL, IDCANCEL, IDCANCEL};

    currentWindow("c:\\w\\new.sql");
    host.onMenuClick(2);
    const std::string afterAdd = c.kind == Kind::Folder ? "" : readIni();
    const size_t addMessages = host.ui.messageBoxTexts.size();

    host.ui.messageBoxes = {IDCANCEL, IDCANCEL, IDCANCEL, IDCANCEL};
    host.ui.onDialog = [&](HWND hwnd, const std::wstring&) {
      Dialog d(hwnd);
      Dialog::pump();
      d.ok();
      // Ok may keep the dialog up to say why the file was not written.
      if (::IsWindow(hwnd) && ::IsWindowVisible(hwnd))
        ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    };
    host.configure();
    host.ui.onDialog = nullptr;
    lock.release();

    if (c.kind == Kind::Folder) {
      EXPECT_TRUE(std::filesystem::is_directory(iniPath()));
      EXPECT_TRUE(std::filesystem::is_empty(iniPath()));
    } else if (c.expect == Expect::Identical) {
      EXPECT_TRUE(readIni() == c.bytes) << "the file changed: " << readIni().size() << " bytes";
    }
    if (c.expect == Expect::Identical) {
      // Nothing was added, and the user was told why.
      EXPECT_GE(addMessages, 1u);
      EXPECT_EQ(host.refreshRequests, refreshesBefore);
    } else {
      // Add Current inserts its lines and moves nothing; Ok may move our
      // sections but keeps every line, and the foreign section byte for byte.
      const auto original = lines(c.bytes);
      const auto added = lines(afterAdd);
      size_t at = 0;
      for (const auto& line : added)
        if (at < original.size() && line == original[at]) ++at;
      EXPECT_EQ(at, original.size()) << testing::PrintToString(afterAdd);
      for (const auto& line : added) {
        if (std::find(original.begin(), original.end(), line) == original.end()) {
          EXPECT_TRUE(line[0] == '[' || line.find("3=") != std::string::npos) << line;
        }
      }
      EXPECT_EQ(host.ui.messageBoxTexts.size(), 0u);
      const std::string saved = readIni();
      const auto kept = lines(saved);
      for (const auto& line : original)
        EXPECT_NE(std::find(kept.begin(), kept.end(), line), kept.end()) << line;
      if (c.bytes.find("[Foreign]") != std::string::npos) {
        EXPECT_NE(saved.find(foreign), std::string::npos) << testing::PrintToString(saved);
      }
      EXPECT_NE(saved.find("File3=c:\\w\\new.sql\r\n"), std::string::npos);
      if (c.kind == Kind::Link) {
        // The save went through the link: what it leads to holds the new list.
        EXPECT_EQ(testsupport::readFile(real), saved);
      }
    }
    // No temporary file is left beside it; a backup only where the file was written.
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      const std::wstring name = entry.path().filename().wstring();
      if (before.count(name)) continue;
      // Through a link the backup sits beside the file it leads to.
      const wchar_t* backup = c.kind == Kind::Link ? L"real.ini.bak" : L"Favorites.ini.bak";
      EXPECT_TRUE(c.expect != Expect::Identical && name == backup)
          << "left behind: " << testing::PrintToString(name);
    }
    // Under Wine a delete through the link removes what it leads to; the link
    // itself goes from the Unix side.
    if (c.kind == Kind::Link)
      testsupport::runUnixProgram(L"/bin/rm -f \"" + testsupport::wineUnixPath(iniPath()) + L"\"",
                                  [&] { return !std::filesystem::is_symlink(iniPath()); });
  }
}

TEST_F(DataSafetyTest, AnotherCommandWhileADialogOfOursIsOpenOpensNothing) {
  writeIni(kList);
  loadPlugin();
  // A window of the host whose procedure calls the exports again, as a
  // host modal window of its own would while our dialog runs.
  struct Reentry {
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
      if (msg == WM_APP) {
        auto* host = hostsim::HostSimulator::active();
        host->configure();
        host->about();
        return 1;
      }
      return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
  };
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Reentry::proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HostReentryWindow";
  ::RegisterClassW(&wc);
  HWND hostWindow = ::CreateWindowW(L"HostReentryWindow", L"host", WS_OVERLAPPED, 0, 0, 10, 10,
                                    nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_TRUE(hostWindow);

  Strings shown;
  host.ui.onDialog = [&](HWND dialog, const std::wstring& name) {
    shown.push_back(name);
    Dialog d(dialog);
    Dialog::pump();
    if (name == L"TfrmConfigureFavorites") {
      ::SendMessageW(hostWindow, WM_APP, 0, 0);
      EXPECT_TRUE(::IsWindowVisible(dialog));
      d.clickCell(0, 2);
      d.command(IDC_ACT_CONNECTION_INFO);
      d.setText(IDC_EDT_MENU_ITEM_NAME, L"Outer");
      d.ok();
    } else if (name == L"TfrmConnectionInfo") {
      ::SendMessageW(hostWindow, WM_APP, 0, 0);
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
  };
  host.configure();
  EXPECT_EQ(shown, (Strings{L"TfrmConfigureFavorites", L"TfrmConnectionInfo"}));
  EXPECT_EQ(host.refreshRequests, 1);
  EXPECT_NE(readIni().find("MenuItemName=Outer"), std::string::npos);

  // The same while About is open; after it, Configure opens again.
  shown.clear();
  host.ui.onDialog = [&](HWND dialog, const std::wstring& name) {
    shown.push_back(name);
    if (name == L"TfrmAbout") ::SendMessageW(hostWindow, WM_APP, 0, 0);
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  host.about();
  EXPECT_EQ(shown, (Strings{L"TfrmAbout"}));
  host.configure();
  EXPECT_EQ(shown, (Strings{L"TfrmAbout", L"TfrmConfigureFavorites"}));
  ::DestroyWindow(hostWindow);
}

}  // namespace

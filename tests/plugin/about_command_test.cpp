// The About command through the plug-in's exports: the dialog it shows, its
// information text, the keyboard, and the refresh after every way of closing.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <regex>

#include "frm_about_res.h"
#include "plugin_fixture.h"
#include "screenshot.h"
#include "tab_captions.h"
#include "un_plugincommon.h"
#include "unique_handles.h"
#include "window_search.h"
#include "window_text.h"

namespace {

using hostsim::findDescendant;
using testsupport::PluginTest;

std::vector<std::wstring> splitLines(const std::wstring& t) {
  std::vector<std::wstring> out;
  for (size_t start = 0;;) {
    const size_t end = t.find(L"\r\n", start);
    out.push_back(t.substr(start, end == std::wstring::npos ? end : end - start));
    if (end == std::wstring::npos) return out;
    start = end + 2;
  }
}

int currentYear() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return now.wYear;
}

// Runs steps one after the other from inside the dialog's own message loop.
// Each step is posted behind whatever input the previous one posted, so it
// sees that input handled by the dialog.
class Steps {
 public:
  explicit Steps(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
    static const wchar_t* cls = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = &Steps::proc;
      wc.lpszClassName = L"AboutTestSteps";
      ::RegisterClassW(&wc);
      return L"AboutTestSteps";
    }();
    window_ = ::CreateWindowExW(0, cls, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, this);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Steps() { ::DestroyWindow(window_); }
  void start() { ::PostMessageW(window_, WM_APP, 0, 0); }
  size_t done() const { return next_; }

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<Steps*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg != WM_APP || !self) return ::DefWindowProcW(hwnd, msg, wp, lp);
    if (self->next_ < self->steps_.size()) {
      self->steps_[self->next_++]();
      ::PostMessageW(hwnd, WM_APP, 0, 0);
    }
    return 0;
  }
  std::vector<std::function<void()>> steps_;
  size_t next_ = 0;
  HWND window_ = nullptr;
};

class AboutCommandTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    hostsim::HostSimulator::setModifiers(false, false, false);
  }
  void TearDown() override { hostsim::HostSimulator::setModifiers(false, false, false); }
};

TEST_F(AboutCommandTest, EveryWayOfClosingRefreshesTheMenusAndRebuildsTheButtons) {
  loadPlugin();
  struct Row {
    const char* how;
    bool viaMenu;
    std::function<void(HWND)> close;
  };
  const Row rows[] = {
      {"Close button", false,
       [](HWND d) { ::PostMessageW(findDescendant(d, IDC_BBTNCLOSE), BM_CLICK, 0, 0); }},
      {"close box", false, [](HWND d) { ::PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Esc", false,
       [](HWND d) { ::PostMessageW(findDescendant(d, IDC_BBTNCLOSE), WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"Enter on Info", true,
       [](HWND d) { ::PostMessageW(findDescendant(d, IDC_BBTNINFO), WM_KEYDOWN, VK_RETURN, 0); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.how);
    host.clearRecords();
    host.ui.dialogsShown.clear();
    host.ui.onDialog = [&](HWND dialog, const std::wstring&) { row.close(dialog); };
    if (row.viaMenu) {
      host.onMenuClick(4);
    } else {
      const char* result = host.about();
      ASSERT_NE(result, nullptr);
      EXPECT_STREQ(result, "");
    }
    EXPECT_EQ(host.ui.dialogsShown, std::vector<std::wstring>{L"TfrmAbout"});
    ASSERT_EQ(host.callsNamed("RefreshPluginMenus").size(), 1u);
    EXPECT_EQ(host.callsNamed("RefreshPluginMenus")[0].args, std::vector<std::string>{"7"});
    EXPECT_FALSE(host.toolButtons.empty());
    // The buttons come after the refresh.
    const auto texts = host.callTexts();
    const auto refresh = std::find_if(texts.begin(), texts.end(), [](const std::string& t) {
      return t.rfind("RefreshPluginMenus", 0) == 0;
    });
    EXPECT_TRUE(std::any_of(refresh, texts.end(), [](const std::string& t) {
      return t.rfind("AddToolButton", 0) == 0;
    }));
  }
}

TEST_F(AboutCommandTest, ShowsOnePageWithTheTitleOwnerVersionAndTheInformationText) {
  loadPlugin();  // no CreateMenuItem yet: the command finds the settings path itself
  // The host's window is the owner, disabled while the dialog shows.
  fav::unique_hwnd hostWindow(::CreateWindowExW(0, L"Static", L"host", WS_OVERLAPPEDWINDOW, 0, 0,
                                                300, 200, nullptr, nullptr, nullptr, nullptr));
  ::ShowWindow(hostWindow.get(), SW_SHOW);
  ::SetForegroundWindow(hostWindow.get());
  ::SetActiveWindow(hostWindow.get());

  std::wstring caption, title, owner, version;
  std::vector<std::wstring> tabs;
  std::vector<std::wstring> lines;
  HWND ownerSeen = nullptr;
  bool hostEnabled = true;
  host.ui.onDialog = [&](HWND dialog, const std::wstring&) {
    caption = fav::windowText(dialog);
    ownerSeen = ::GetWindow(dialog, GW_OWNER);
    hostEnabled = ::IsWindowEnabled(hostWindow.get()) != FALSE;
    tabs = testsupport::tabCaptions(findDescendant(dialog, IDC_PCABOUTSETTINGS));
    title = fav::windowText(findDescendant(dialog, IDC_LBLABOUTTEXT1));
    owner = fav::windowText(findDescendant(dialog, IDC_LBLABOUTTEXT2));
    version = fav::windowText(findDescendant(dialog, IDC_LBLABOUTTEXT3));
    testsupport::saveScreenshot(dialog, L"command_about_static");
    HWND info = findDescendant(dialog, IDC_BBTNINFO);
    ::SendMessageW(::GetParent(info), WM_COMMAND, MAKEWPARAM(IDC_BBTNINFO, BN_CLICKED),
                   reinterpret_cast<LPARAM>(info));
    lines = splitLines(fav::windowText(findDescendant(dialog, IDC_MMABOUT)));
    if (_wgetenv(L"FAV_SCREENSHOT_DIR")) {
      // Let the text rise a while on its own timer.
      const ULONGLONG until = ::GetTickCount64() + 3000;
      while (::GetTickCount64() < until) {
        testsupport::pumpMessages();
        ::Sleep(5);
      }
      testsupport::saveScreenshot(dialog, L"command_about_scrolling");
    }

    // The hidden switch, end to end: Ctrl+press on the title logs beside the
    // settings file the command found.
    hostsim::HostSimulator::setModifiers(false, true, false);
    ::SendMessageW(findDescendant(dialog, IDC_LBLABOUTTEXT1), WM_LBUTTONDOWN, MK_CONTROL, 0);
    hostsim::HostSimulator::setModifiers(false, false, false);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_BBTNCLOSE, BN_CLICKED), 0);
  };
  host.about();

  EXPECT_EQ(caption, L"About Favorites");
  EXPECT_EQ(tabs, std::vector<std::wstring>{L"About..."});
  EXPECT_EQ(title, L"Favorites plug-in for PL/SQL Developer");
  EXPECT_EQ(owner, L"\u00A9 " + std::to_wstring(currentYear()) + L" The Favorites authors");
  const std::wstring dllVersion = readFileVersion((dir / L"favorites.dll").wstring());
  EXPECT_FALSE(dllVersion.empty());
  EXPECT_EQ(version, dllVersion);
  EXPECT_EQ(ownerSeen, hostWindow.get());
  EXPECT_FALSE(hostEnabled);
  EXPECT_TRUE(::IsWindowEnabled(hostWindow.get()));
  const std::string log = testsupport::readFile(dir / L"Favorites.log");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;

  // 6 empty lines, the box, 16 empty lines.
  ASSERT_GT(lines.size(), 22u);
  EXPECT_EQ(std::vector<std::wstring>(lines.begin(), lines.begin() + 6),
            std::vector<std::wstring>(6));
  EXPECT_EQ(std::vector<std::wstring>(lines.end() - 16, lines.end()),
            std::vector<std::wstring>(16));
  const std::vector<std::wstring> box(lines.begin() + 6, lines.end() - 16);
  for (const std::wstring& line : box) {
    EXPECT_EQ(line.size(), 41u) << '"' << std::string(line.begin(), line.end()) << '"';
    EXPECT_EQ(line.substr(0, 2), L"//");
    EXPECT_EQ(line.substr(line.size() - 2), L"//");
  }
  const std::wstring frame(41, L'/');
  EXPECT_EQ(box.front(), frame);
  EXPECT_EQ(box.back(), frame);
  const std::wstring description[] = {
      L"// PL/SQL Developer Plug-In            //", L"// Use this plug-in to keep favorite   //",
      L"// files available                     //", L"//                                     //",
      L"// Installs menu-items:                //", L"//                                     //",
      L"// File / Favorite Files / Add Current //", L"// File / Favorite Files / Configure...//"};
  auto at = box.begin();
  for (const std::wstring& wanted : description) {
    at = std::find(at, box.end(), wanted);
    ASSERT_NE(at, box.end()) << std::string(wanted.begin(), wanted.end());
    ++at;
  }
  EXPECT_TRUE(std::any_of(box.begin(), box.end(), [](const std::wstring& l) {
    return l.find(std::to_wstring(currentYear())) != std::wstring::npos;
  }));
}

// The revision history names its twenty changes in order, each in the table's
// "version  team  what" form.
TEST_F(AboutCommandTest, TheRevisionHistoryListsTheChangesInOrder) {
  loadPlugin();
  std::vector<std::wstring> lines;
  host.ui.onDialog = [&](HWND dialog, const std::wstring&) {
    HWND info = findDescendant(dialog, IDC_BBTNINFO);
    ::SendMessageW(::GetParent(info), WM_COMMAND, MAKEWPARAM(IDC_BBTNINFO, BN_CLICKED),
                   reinterpret_cast<LPARAM>(info));
    lines = splitLines(fav::windowText(findDescendant(dialog, IDC_MMABOUT)));
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  };
  host.about();
  const wchar_t* changes[] = {L"first version",   L"position and size", L"main",
                              L"path in",         L"menu name",         L"folder",
                              L"separators",      L"select single",     L"front",
                              L"version 10",      L"toolbar buttons",   L"connection details",
                              L"alias",           L"%path%",            L"images",
                              L"sorted submenu",  L"not to save",       L"version 12",
                              L"icons on submenus", L"light and"};
  const std::wregex entry(LR"(// [0-9.]+ +team +\S.*//)");
  size_t from = 0;
  int entries = 0;
  for (const wchar_t* change : changes) {
    size_t i = from;
    while (i < lines.size() && lines[i].find(change) == std::wstring::npos) ++i;
    ASSERT_LT(i, lines.size()) << std::wstring(change).size();
    // The entry starts on its own line or one above.
    entries += std::regex_match(lines[i], entry) || std::regex_match(lines[i - 1], entry);
    from = i + 1;
  }
  EXPECT_EQ(entries, 20);
}

TEST_F(AboutCommandTest, SpaceWorksInfoAndCtrlCCopiesNameAndVersion) {
  loadPlugin();
  bool shownAfterSpace = false, hiddenAfterSecondSpace = false;
  std::wstring copied;
  HWND dialog = nullptr;
  Steps steps({
      [&] { ::PostMessageW(findDescendant(dialog, IDC_BBTNCLOSE), WM_KEYDOWN, VK_SPACE, 0); },
      [&] {
        shownAfterSpace = ::IsWindowVisible(findDescendant(dialog, IDC_MMABOUT)) != FALSE;
        ::PostMessageW(findDescendant(dialog, IDC_BBTNCLOSE), WM_KEYDOWN, VK_SPACE, 0);
      },
      [&] {
        hiddenAfterSecondSpace = !::IsWindowVisible(findDescendant(dialog, IDC_MMABOUT));
        hostsim::HostSimulator::setModifiers(false, true, false);
        ::PostMessageW(findDescendant(dialog, IDC_BBTNCLOSE), WM_KEYDOWN, 'C', 0);
      },
      [&] {
        hostsim::HostSimulator::setModifiers(false, false, false);
        if (::OpenClipboard(nullptr)) {
          if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            copied = static_cast<const wchar_t*>(::GlobalLock(data));
            ::GlobalUnlock(data);
          }
          ::CloseClipboard();
        }
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      },
  });
  host.ui.onDialog = [&](HWND d, const std::wstring&) {
    dialog = d;
    steps.start();
  };
  host.about();
  EXPECT_EQ(steps.done(), 4u);
  EXPECT_TRUE(shownAfterSpace);
  EXPECT_TRUE(hiddenAfterSecondSpace);
  EXPECT_EQ(copied, L"Favorites " + readFileVersion((dir / L"favorites.dll").wstring()));
}

}  // namespace

// The About dialog made in this process: captions and pages, the Info toggle
// and its geometry, the scrolling (by calling the tick handler), image
// clicks, the logging switch and the tab colours.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <cstring>
#include <regex>

#include "about_text.h"
#include "frm_about.h"
#include "page_control_tab.h"
#include "screenshot.h"
#include "tab_captions.h"
#include "temp_dir.h"
#include "un_logger.h"
#include "un_plugincommon.h"

namespace {

using testsupport::pumpMessages;
using testsupport::readFile;
using testsupport::saveScreenshot;
using testsupport::tabCaptions;

std::wstring text(HWND hwnd) {
  wchar_t buf[4096] = {};
  ::GetWindowTextW(hwnd, buf, 4096);
  return buf;
}

// A child's rectangle in its parent's client coordinates.
RECT placeOf(HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void setCtrl(bool down) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = down ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

// A press of a mouse button on the title, with or without Ctrl held.
void press(HWND label, bool ctrl, UINT down = WM_LBUTTONDOWN) {
  setCtrl(ctrl);
  ::SendMessageW(label, down, ctrl ? MK_CONTROL : 0, MAKELPARAM(3, 3));
  ::SendMessageW(label, down + 1, 0, MAKELPARAM(3, 3));
  setCtrl(false);
}

// The text colour the dialog paints a static control in.
COLORREF paintedColour(const TfrmAbout& about, HWND control) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  ::SendMessageW(about.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
  const COLORREF colour = ::GetTextColor(dc);
  ::DeleteDC(dc);
  return colour;
}

class AboutDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    turnLoggingOff();
    setLogFileName(L"");
  }
  void TearDown() override {
    turnLoggingOff();
    setCtrl(false);
  }

  // Made and shown (without a modal loop) the way the About command fills it.
  std::unique_ptr<TfrmAbout> open(const std::wstring& ini, bool fill = true) {
    auto about = std::make_unique<TfrmAbout>(ini);
    if (fill) {
      about->fraSettings.reset();
      about->destroySettingsPage();
      about->setLabelText(about->lblAboutText1, about::titleLine());
      about->setLabelText(about->lblAboutText2, about::ownerLine(2026));
      about->setLabelText(about->lblAboutText3, getPluginVersion());
      about->SetInfoText(about::infoText(2026));
    }
    about->setReducedMotion(false);
    ::ShowWindow(about->hwnd(), SW_SHOWNOACTIVATE);
    pumpMessages();
    return about;
  }

  std::wstring ini() const { return (dir / L"Favorites.ini").wstring(); }
  static std::wstring dpiSuffix(const TfrmAbout& about) {
    return L"_" + std::to_wstring(fav::windowDpi(about.hwnd()));
  }
  static int px(const TfrmAbout& about, int design) {
    return ::MulDiv(design, static_cast<int>(fav::windowDpi(about.hwnd())), 96);
  }

  testsupport::TempDir dir;
};

TEST_F(AboutDialogTest, CaptionVersionAndPages) {
  auto about = open(ini(), false);
  EXPECT_EQ(text(about->hwnd()), L"About Favorites");
  EXPECT_EQ(text(about->lblAboutText3), L"9.8.7.6");  // this executable's version resource
  const RECT version = placeOf(about->lblAboutText3);
  EXPECT_EQ(version.left, px(*about, 2));
  EXPECT_EQ(version.top, px(*about, 74));
  EXPECT_EQ(tabCaptions(about->pcAboutSettings),
            (std::vector<std::wstring>{L"About...", L"Settings..."}));
  EXPECT_EQ(::SendMessageW(about->pcAboutSettings, TCM_GETCURSEL, 0, 0), 0);
  ASSERT_TRUE(about->fraSettings);
  EXPECT_EQ(::GetParent(about->fraSettings->hwnd()), about->tsSettings);
  RECT frame{}, page{};
  ::GetClientRect(about->fraSettings->hwnd(), &frame);
  ::GetClientRect(about->tsSettings, &page);
  EXPECT_EQ(frame.right, page.right);  // fills its page
  EXPECT_EQ(frame.bottom, page.bottom);
  EXPECT_FALSE(about->timerEnabled());
  EXPECT_EQ(about->timerInterval(), 100u);

  // Client 429 x 151, unless that would make the window smaller than 434 x 172.
  RECT client{}, window{};
  ::GetClientRect(about->hwnd(), &client);
  ::GetWindowRect(about->hwnd(), &window);
  const int frameWidth = (window.right - window.left) - client.right;
  const int frameHeight = (window.bottom - window.top) - client.bottom;
  EXPECT_EQ(client.right, std::max(px(*about, 429), px(*about, 434) - frameWidth));
  EXPECT_EQ(client.bottom, std::max(px(*about, 151), px(*about, 172) - frameHeight));
  const LONG_PTR style = ::GetWindowLongPtrW(about->hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

  about->fraSettings.reset();
  about->destroySettingsPage();
  EXPECT_EQ(tabCaptions(about->pcAboutSettings), (std::vector<std::wstring>{L"About..."}));
  EXPECT_EQ(about->tsSettings, nullptr);
}

// Moved to a monitor of another DPI, the dialog takes that scale: its client
// area, buttons and picture follow, and the text box keeps 14 pixels a line.
TEST_F(AboutDialogTest, FollowsADpiChange) {
  auto about = open(ini());
  const int dpi = static_cast<int>(fav::windowDpi(about->hwnd())) * 2;
  RECT suggested{};
  ::GetWindowRect(about->hwnd(), &suggested);
  ::SendMessageW(about->hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
  auto scaled = [&](int design) { return ::MulDiv(design, dpi, 96); };
  RECT client{};
  ::GetClientRect(about->hwnd(), &client);
  EXPECT_GE(client.right, scaled(429));
  EXPECT_LE(client.right, scaled(434));
  EXPECT_EQ(placeOf(about->bbtnClose).right - placeOf(about->bbtnClose).left, scaled(76));
  EXPECT_EQ(placeOf(about->imgAbout).right, scaled(120));
  EXPECT_EQ(placeOf(about->lblAboutText3).top, scaled(74));
  about->actInfoExecute();
  const RECT memo = placeOf(about->mmAbout);
  EXPECT_EQ(memo.bottom - memo.top,
            scaled(TfrmAbout::textBoxHeight(static_cast<int>(about->infoText().size()))));
}

TEST_F(AboutDialogTest, WithoutASettingsPathTheDesignTextsStay) {
  auto about = open(L"", false);
  EXPECT_EQ(text(about->hwnd()), L"About...");
  EXPECT_EQ(text(about->lblAboutText3), L"Version");
  EXPECT_EQ(about->infoText(), std::vector<std::wstring>(22));
}

TEST_F(AboutDialogTest, FilledDialogShowsTitleOwnerAndVersion) {
  auto about = open(ini());
  EXPECT_EQ(text(about->lblAboutText1), L"Favorites plug-in for PL/SQL Developer");
  EXPECT_EQ(tabCaptions(about->pcAboutSettings), (std::vector<std::wstring>{L"About..."}));
  // Owner bottom right, version bottom left, on the same line.
  RECT panel{};
  ::GetClientRect(about->pnlAboutText, &panel);
  const RECT owner = placeOf(about->lblAboutText2);
  const RECT version = placeOf(about->lblAboutText3);
  EXPECT_EQ(owner.top, version.top);
  EXPECT_GT(owner.left, panel.right / 3);
  EXPECT_LE(owner.right, panel.right);
  EXPECT_LT(version.right, owner.left);
  saveScreenshot(about->hwnd(), L"about_static" + dpiSuffix(*about));
}

TEST_F(AboutDialogTest, InfoOnOffAndOnAgainRestartsAtTheTop) {
  auto about = open(ini());
  about->SetInfoText({L"first", L"second"});
  about->setActivePage(about->tsAbout);

  about->actInfoExecute();
  EXPECT_TRUE(about->aboutboxDisplayed());
  EXPECT_TRUE(about->timerEnabled());
  EXPECT_EQ(about->timerInterval(), 25u);
  EXPECT_TRUE(::IsWindowVisible(about->mmAbout));
  EXPECT_FALSE(::IsWindowVisible(about->lblAboutText1));
  std::vector<std::wstring> shown(6);
  shown.insert(shown.end(), {L"first", L"second"});
  shown.resize(shown.size() + 16);
  std::wstring joined;
  for (size_t i = 0; i < shown.size(); ++i) joined += (i ? L"\r\n" : L"") + shown[i];
  EXPECT_EQ(about->infoText(), shown);
  EXPECT_EQ(text(about->mmAbout), joined);
  RECT panel{};
  ::GetClientRect(about->pnlAboutScroll, &panel);
  const RECT box = placeOf(about->sbAbout);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right - box.left, panel.right + px(*about, 22));
  EXPECT_EQ(box.bottom - box.top, panel.bottom + px(*about, 22));
  EXPECT_EQ(placeOf(about->mmAbout).right, box.right - box.left);

  for (int i = 0; i < 5; ++i) about->actTimerExecute();
  EXPECT_EQ(about->scrollPosition(), 5);
  EXPECT_EQ(placeOf(about->mmAbout).top, -px(*about, 5));

  about->actInfoExecute();
  EXPECT_FALSE(about->aboutboxDisplayed());
  EXPECT_FALSE(about->timerEnabled());
  EXPECT_TRUE(::IsWindowVisible(about->lblAboutText1));
  EXPECT_FALSE(::IsWindowVisible(about->mmAbout));
  about->actTimerExecute();  // stopped: nothing moves
  EXPECT_EQ(about->scrollPosition(), 5);

  about->actInfoExecute();
  EXPECT_EQ(about->scrollPosition(), 0);
  EXPECT_EQ(placeOf(about->mmAbout).top, 0);
}

TEST_F(AboutDialogTest, InfoFromTheSettingsPageShowsTheAboutPage) {
  auto about = open(ini(), false);
  about->setActivePage(about->tsSettings);
  EXPECT_EQ(::SendMessageW(about->pcAboutSettings, TCM_GETCURSEL, 0, 0), 1);
  about->actInfoExecute();
  EXPECT_EQ(::SendMessageW(about->pcAboutSettings, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(::IsWindowVisible(about->tsAbout));
  EXPECT_FALSE(::IsWindowVisible(about->tsSettings));
}

TEST_F(AboutDialogTest, TextBoxHeightGrowsTwoPixelsALineForEveryFiftyLines) {
  const std::pair<int, int> rows[] = {{0, 0}, {22, 308}, {49, 686}, {50, 800}, {100, 1800}};
  for (auto [lines, height] : rows) EXPECT_EQ(TfrmAbout::textBoxHeight(lines), height) << lines;

  auto about = open(ini());
  for (auto [given, height] : {std::pair{27, 686}, std::pair{78, 1800}}) {
    about->SetInfoText(std::vector<std::wstring>(given, L"x"));
    about->actInfoExecute();
    const RECT memo = placeOf(about->mmAbout);
    EXPECT_EQ(memo.bottom - memo.top, px(*about, height)) << given;
    EXPECT_EQ(about->scrollRange(), height);
    about->actInfoExecute();
  }
}

TEST_F(AboutDialogTest, EachTickRisesOnePixelAndWrapsAfterTheLastLine) {
  auto about = open(ini());
  about->actTimerExecute();  // not showing: nothing happens
  EXPECT_EQ(about->scrollPosition(), 0);

  about->SetInfoText({});
  about->actInfoExecute();
  ASSERT_EQ(about->scrollRange(), 308);
  RECT box{};
  ::GetClientRect(about->sbAbout, &box);
  // The wrap comes once the position (in device pixels) reaches the range
  // less the box's height.
  int wrapAt = 1;
  while (px(*about, wrapAt) < px(*about, 308) - box.bottom) ++wrapAt;
  for (int tick = 1; tick <= wrapAt + 2; ++tick) {
    about->actTimerExecute();
    const int expected = tick < wrapAt ? tick : tick - wrapAt;
    ASSERT_EQ(about->scrollPosition(), expected) << "tick " << tick;
    ASSERT_EQ(placeOf(about->mmAbout).top, -px(*about, expected));
  }
}

TEST_F(AboutDialogTest, ScrollingState) {
  auto about = open(ini());
  about->actInfoExecute();
  for (int i = 0; i < 110; ++i) about->actTimerExecute();
  EXPECT_EQ(about->scrollPosition(), 110);
  saveScreenshot(about->hwnd(), L"about_scrolling" + dpiSuffix(*about));
}

TEST_F(AboutDialogTest, ImageClicksRunInfoUntilDisabled) {
  auto about = open(ini());
  auto click = [&] {
    ::SendMessageW(about->imgAbout, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ::SendMessageW(about->imgAbout, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  };
  EXPECT_TRUE(::IsWindowVisible(about->bbtnInfo));
  click();
  EXPECT_TRUE(about->aboutboxDisplayed());
  click();
  EXPECT_FALSE(about->aboutboxDisplayed());

  about->DisableImageClick();
  EXPECT_FALSE(::IsWindowVisible(about->bbtnInfo));
  click();
  EXPECT_FALSE(about->aboutboxDisplayed());

  about->EnableImageClick();
  EXPECT_TRUE(::IsWindowVisible(about->bbtnInfo));
  click();
  EXPECT_TRUE(about->aboutboxDisplayed());
}

TEST_F(AboutDialogTest, WithClientAreaAnimationOffTheTextStandsStill) {
  auto about = open(ini());
  about->setReducedMotion(true);
  about->actInfoExecute();
  EXPECT_TRUE(about->aboutboxDisplayed());
  EXPECT_FALSE(about->timerEnabled());
  RECT panel{};
  ::GetClientRect(about->pnlAboutScroll, &panel);
  const RECT memo = placeOf(about->mmAbout);
  EXPECT_EQ(memo.right - memo.left, panel.right);  // its scroll bar in view
  EXPECT_EQ(memo.bottom - memo.top, panel.bottom);
  about->actTimerExecute();
  EXPECT_EQ(about->scrollPosition(), 0);
}

TEST_F(AboutDialogTest, CtrlPressesSwitchLoggingBesideTheSettingsFile) {
  auto about = open(ini());
  const std::filesystem::path log = dir / L"Favorites.log";
  const COLORREF plain = paintedColour(*about, about->lblAboutText2);

  press(about->lblAboutText1, true);
  ASSERT_TRUE(isLogging());
  EXPECT_EQ(getLogFileName(), log.wstring());
  const std::string first = readFile(log);
  EXPECT_TRUE(std::regex_match(first, std::regex(R"(\[\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\] :\S.*\r\n)")))
      << first;
  const COLORREF red = paintedColour(*about, about->lblAboutText2);
  EXPECT_EQ(red, about->ownerLineColour());
  EXPECT_GE(GetRValue(red), 200);
  EXPECT_LE(GetGValue(red), 110);
  EXPECT_NE(red, plain);
  saveScreenshot(about->hwnd(), L"about_logging" + dpiSuffix(*about));

  press(about->lblAboutText1, false, WM_RBUTTONDOWN);  // any button, no Ctrl: one more line
  EXPECT_TRUE(isLogging());
  const std::string second = readFile(log);
  EXPECT_EQ(std::count(second.begin(), second.end(), '\n'), 2);

  press(about->lblAboutText1, true, WM_MBUTTONDOWN);
  EXPECT_FALSE(isLogging());
  EXPECT_EQ(paintedColour(*about, about->lblAboutText2), ::GetSysColor(COLOR_WINDOWTEXT));
  press(about->lblAboutText1, false);  // off and no Ctrl: nothing written
  const std::string last = readFile(log);
  EXPECT_EQ(std::count(last.begin(), last.end(), '\n'), 2);
}

TEST_F(AboutDialogTest, ALogThatCannotBeCreatedLeavesLoggingOff) {
  auto about = open((dir / L"missing" / L"Favorites.ini").wstring());
  press(about->lblAboutText1, true);
  EXPECT_FALSE(isLogging());
  EXPECT_EQ(paintedColour(*about, about->lblAboutText2), ::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_FALSE(std::filesystem::exists(dir / L"missing"));
}

TEST_F(AboutDialogTest, WithoutASettingsPathThePressDoesNothing) {
  auto about = open(L"", false);
  press(about->lblAboutText1, true);
  EXPECT_FALSE(isLogging());
  EXPECT_EQ(getLogFileName(), L"");
}

TEST_F(AboutDialogTest, CopyPutsNameAndVersionOnTheClipboard) {
  auto about = open(ini());
  ::SendMessageW(about->hwnd(), WM_COMMAND, MAKEWPARAM(6020, 0), 0);  // Ctrl+C's command
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  const std::wstring copied = data ? static_cast<const wchar_t*>(::GlobalLock(data)) : L"";
  if (data) ::GlobalUnlock(data);
  ::CloseClipboard();
  EXPECT_EQ(copied, L"Favorites 9.8.7.6");
}

// The active tab in the highlight pair, the others in button face and window
// text; a negative index only fills.
TEST(PageControlTabTest, PaintsTheFillAndTheCaptionColours) {
  fav::unique_hwnd tab(::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_POPUP, 0, 0, 200, 60, nullptr,
                                         nullptr, nullptr, nullptr));
  ASSERT_TRUE(tab);
  wchar_t caption[] = L"WWWW";
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption;
  ::SendMessageW(tab.get(), TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));

  struct Row {
    int index;
    bool active;
    int fill;
    int textColour;  // -1: no caption drawn
  };
  const Row rows[] = {{0, true, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT},
                      {0, false, COLOR_BTNFACE, COLOR_WINDOWTEXT},
                      {-1, true, COLOR_HIGHLIGHT, -1}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.fill);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 60, -24, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    std::memset(bits, 0x7F, 60 * 24 * 4);
    drawPageControlTab(tab.get(), dc, r.index, RECT{0, 0, 60, 24}, r.active);
    ::GdiFlush();
    auto pixel = [&](int x, int y) {
      const DWORD v = static_cast<const DWORD*>(bits)[y * 60 + x];
      return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    EXPECT_EQ(pixel(1, 1), ::GetSysColor(r.fill));
    EXPECT_EQ(pixel(59, 23), ::GetSysColor(r.fill));
    bool textSeen = false;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 60; ++x) textSeen |= pixel(x, y) != ::GetSysColor(r.fill);
    EXPECT_EQ(textSeen, r.textColour >= 0);
    if (r.textColour >= 0) {
      bool exact = false;
      for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x) exact |= pixel(x, y) == ::GetSysColor(r.textColour);
      EXPECT_TRUE(exact);
      // Nothing left of the 4-pixel inset.
      for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(pixel(x, y), ::GetSysColor(r.fill));
    }
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
  }
}

TEST(OwnerLineColourTest, StaysLegibleInEachScheme) {
  const COLORREF yellow = RGB(255, 255, 0);
  EXPECT_EQ(loggingOwnerLineColour(RGB(240, 240, 240), false, yellow), RGB(255, 0, 0));
  EXPECT_EQ(loggingOwnerLineColour(RGB(32, 32, 32), false, yellow), RGB(255, 110, 110));
  EXPECT_EQ(loggingOwnerLineColour(RGB(0, 0, 0), true, yellow), yellow);
  // A hot-track colour that would vanish on the face is not taken.
  EXPECT_EQ(loggingOwnerLineColour(RGB(255, 255, 255), true, RGB(250, 250, 250)), RGB(255, 0, 0));
}

}  // namespace

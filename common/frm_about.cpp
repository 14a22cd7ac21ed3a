#include "frm_about.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "frm_about_res.h"
#include "page_control_tab.h"
#include "un_logger.h"
#include "un_plugincommon.h"
#include "window_text.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kFocusMessage = WM_APP + 0x101;
constexpr UINT kScrollInterval = 25;
// After a stall (a busy host, a debugger) the text catches up this many steps
// at most, instead of jumping.
constexpr ULONGLONG kMaxCatchUpSteps = 4;

// Design sizes, in pixels at 96 DPI.
constexpr int kClientWidth = 429, kClientHeight = 151;
constexpr int kMinWindowWidth = 434, kMinWindowHeight = 172;
constexpr int kButtonStrip = 33;
constexpr int kPictureWidth = 120, kPictureHeight = 90;
constexpr int kScrollOverhang = 22;
constexpr int kLabelTop = 74;
constexpr int kTitleTop = 8;

bool clientAreaAnimation() {
  BOOL on = TRUE;
  if (!::SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &on, 0)) return true;
  return on != FALSE;
}

bool highContrast() {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof(hc);
  return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) &&
         (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

double luminance(COLORREF c) {
  auto channel = [](BYTE v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) +
         0.0722 * channel(GetBValue(c));
}

double contrast(COLORREF a, COLORREF b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The window-text colour on the button face, unless a scheme pairs the two
// so that text would vanish; then the button text colour made for that face.
COLORREF labelTextColour() {
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
  return contrast(text, face) >= 3.0 ? text : ::GetSysColor(COLOR_BTNTEXT);
}

std::wstring withExtension(const std::wstring& path, const wchar_t* extension) {
  const size_t sep = path.find_last_of(L"\\/:");
  const size_t nameStart = sep == std::wstring::npos ? 0 : sep + 1;
  const size_t dot = path.rfind(L'.');
  const std::wstring stem =
      (dot == std::wstring::npos || dot < nameStart) ? path : path.substr(0, dot);
  return stem + extension;
}

// Now, in the user's short date and long time formats.
std::wstring nowText() {
  wchar_t date[128] = {}, time[128] = {};
  ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128);
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
  return std::wstring(date) + L" " + time;
}

SIZE textExtent(HWND hwnd, HFONT font, const std::wstring& text) {
  SIZE size{0, 0};
  HDC dc = ::GetDC(hwnd);
  if (!dc) return size;
  {
    fav::SelectObjectScope select(dc, font);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    if (!text.empty()) ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    size.cy = tm.tmHeight;
  }
  ::ReleaseDC(hwnd, dc);
  return size;
}

// The bitmap of three sizes nearest above the scale, so a picture is only
// ever scaled down.
int bitmapForScale(UINT dpi, int oneX, int oneAndHalfX, int twoX) {
  if (dpi <= 96) return oneX;
  if (dpi <= 144) return oneAndHalfX;
  return twoX;
}

// Loads a bitmap as a DIB and paints its pure-white pixels in `background`.
HBITMAP loadOnBackground(int id, COLORREF background) {
  HBITMAP bmp = static_cast<HBITMAP>(::LoadImageW(::thisModule(), MAKEINTRESOURCEW(id),
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bmp) return nullptr;
  DIBSECTION dib{};
  if (::GetObjectW(bmp, sizeof(dib), &dib) == sizeof(dib) && dib.dsBm.bmBits &&
      dib.dsBm.bmBitsPixel == 24) {
    ::GdiFlush();
    auto* bits = static_cast<BYTE*>(dib.dsBm.bmBits);
    for (int y = 0; y < dib.dsBm.bmHeight; ++y) {
      BYTE* row = bits + static_cast<ptrdiff_t>(y) * dib.dsBm.bmWidthBytes;
      for (int x = 0; x < dib.dsBm.bmWidth; ++x) {
        BYTE* p = row + x * 3;  // blue, green, red
        if (p[0] == 255 && p[1] == 255 && p[2] == 255) {
          p[0] = GetBValue(background);
          p[1] = GetGValue(background);
          p[2] = GetRValue(background);
        }
      }
    }
  }
  return bmp;
}

HIMAGELIST loadGlyph(int id) {
  HBITMAP bmp = static_cast<HBITMAP>(
      ::LoadImageW(::thisModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
  if (!bmp) return nullptr;
  BITMAP info{};
  ::GetObjectW(bmp, sizeof(info), &info);
  HIMAGELIST list = ::ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
  if (list) ::ImageList_AddMasked(list, bmp, RGB(255, 255, 255));
  ::DeleteObject(bmp);
  return list;
}

}  // namespace

COLORREF loggingOwnerLineColour(COLORREF background, bool highContrastOn, COLORREF hotLight) {
  if (highContrastOn && contrast(hotLight, background) >= 3.0) return hotLight;
  // Pure red on a light face; on a dark one a lighter red keeps it readable.
  return luminance(background) < 0.18 ? RGB(255, 110, 110) : RGB(255, 0, 0);
}

TfrmAbout::TfrmAbout(const std::wstring& iniFileName, HWND owner) {
  fav::panelClassName();  // the template's panels need their class
  fReducedMotion = !clientAreaAnimation();
  // 1. The window from its design; FormCreate runs with no path yet.
  create(IDD_ABOUT, owner);
  // 2.
  showTextPanel(true);
  // 3. - 7.
  SetIniFileName(iniFileName);
  SetInfoText({});
  if (sbAbout) ::ShowWindow(sbAbout, SW_HIDE);
  if (mmAbout) ::ShowWindow(mmAbout, SW_HIDE);
  EnableImageClick();
  UpdateCaptions();
}

TfrmAbout::~TfrmAbout() {
  // Destroyed while this object is whole, so the handlers still run.
  if (hwnd()) ::DestroyWindow(hwnd());
}

int TfrmAbout::textBoxHeight(int lineCount) {
  if (lineCount <= 0) return 0;
  return lineCount * (14 + 2 * (lineCount / 50));
}

bool TfrmAbout::onInit() {
  auto find = [this](int id) { return item(id); };
  pnlButtons = find(IDC_PNLBUTTONS);
  bbtnInfo = find(IDC_BBTNINFO);
  bbtnClose = find(IDC_BBTNCLOSE);
  pcAboutSettings = find(IDC_PCABOUTSETTINGS);
  tsAbout = find(IDC_TSABOUT);
  pnlAbout = find(IDC_PNLABOUT);
  imgAbout = find(IDC_IMGABOUT);
  pnlAboutText = find(IDC_PNLABOUTTEXT);
  lblAboutText1 = find(IDC_LBLABOUTTEXT1);
  lblAboutText2 = find(IDC_LBLABOUTTEXT2);
  lblAboutText3 = find(IDC_LBLABOUTTEXT3);
  pnlAboutScroll = find(IDC_PNLABOUTSCROLL);
  sbAbout = find(IDC_SBABOUT);
  mmAbout = find(IDC_MMABOUT);
  tsSettings = find(IDC_TSSETTINGS);
  nestControls();

  fraSettings = std::make_unique<Tfrapluginframe>();
  fraSettings->create(tsSettings, IDC_FRASETTINGS);

  pages_ = {tsAbout, tsSettings};
  for (size_t i = 0; i < pages_.size(); ++i) {
    std::wstring caption = fav::windowText(pages_[i]);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = caption.data();
    ::SendMessageW(pcAboutSettings, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&tab));
  }
  if (lblAboutText1)
    ::SetWindowSubclass(lblAboutText1, &TfrmAbout::titleProc, 1,
                        reinterpret_cast<DWORD_PTR>(this));

  createFonts();
  loadPictures();
  layout();
  centreOnOwnerMonitor();
  showPage(0);

  setShortcuts({
      {VK_RETURN, false, false, false, IDC_BBTNCLOSE},
      {VK_SPACE, false, false, false, IDC_BBTNINFO},
      {'C', false, true, false, IDC_COPYVERSION},
  });
  FormCreate();
  ::PostMessageW(hwnd(), kFocusMessage, 0, 0);
  return false;
}

// The template is flat; each control moves into its panel here, in template
// order, so the first child of a panel stays on top.
void TfrmAbout::nestControls() {
  const std::pair<HWND, HWND> nesting[] = {
      {bbtnInfo, pnlButtons},         {bbtnClose, pnlButtons},
      {pnlAbout, tsAbout},            {imgAbout, pnlAbout},
      {pnlAboutText, pnlAbout},       {lblAboutText1, pnlAboutText},
      {lblAboutText2, pnlAboutText},  {lblAboutText3, pnlAboutText},
      {pnlAboutScroll, pnlAbout},     {sbAbout, pnlAboutScroll},
      {mmAbout, sbAbout},
  };
  for (const auto& [child, parent] : nesting) {
    if (!child || !parent) continue;
    ::SetParent(child, parent);
    ::SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // The pages lie over the tab control.
  for (HWND page : {tsAbout, tsSettings})
    if (page) ::SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TfrmAbout::createFonts() {
  fav::unique_hfont font(::CreateFontW(-px(11), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
  fav::unique_hfont fixed(::CreateFontW(-px(11), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                        CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN,
                                        L"Courier New"));
  if (!hwnd()) return;
  ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  ::EnumChildWindows(
      hwnd(),
      [](HWND child, LPARAM f) -> BOOL {
        ::SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(f), TRUE);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(font.get()));
  if (mmAbout) ::SendMessageW(mmAbout, WM_SETFONT, reinterpret_cast<WPARAM>(fixed.get()), TRUE);
  // The old fonts go only once no control uses them.
  fFont = std::move(font);
  fFixedFont = std::move(fixed);
}

void TfrmAbout::loadPictures() {
  const UINT d = dpi();
  fPicture.reset(loadOnBackground(
      bitmapForScale(d, IDB_ABOUT_PICTURE_1X, IDB_ABOUT_PICTURE_15X, IDB_ABOUT_PICTURE_2X),
      ::GetSysColor(COLOR_BTNFACE)));
  fav::unique_imagelist info(
      loadGlyph(bitmapForScale(d, IDB_ABOUT_INFO_1X, IDB_ABOUT_INFO_15X, IDB_ABOUT_INFO_2X)));
  fav::unique_imagelist close(
      loadGlyph(bitmapForScale(d, IDB_ABOUT_CLOSE_1X, IDB_ABOUT_CLOSE_15X, IDB_ABOUT_CLOSE_2X)));
  for (auto [button, list] : {std::pair{bbtnInfo, info.get()}, std::pair{bbtnClose, close.get()}}) {
    if (!button || !list) continue;
    BUTTON_IMAGELIST images{};
    images.himl = list;
    images.margin = RECT{px(4), 0, 0, 0};
    images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
    ::SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  }
  fInfoGlyph = std::move(info);
  fCloseGlyph = std::move(close);
  if (imgAbout) ::InvalidateRect(imgAbout, nullptr, TRUE);
}

void TfrmAbout::layout() {
  if (!hwnd()) return;
  RECT window{}, client{};
  ::GetWindowRect(hwnd(), &window);
  ::GetClientRect(hwnd(), &client);
  const int frameWidth = (window.right - window.left) - client.right;
  const int frameHeight = (window.bottom - window.top) - client.bottom;
  const int width = std::max(px(kClientWidth) + frameWidth, px(kMinWindowWidth));
  const int height = std::max(px(kClientHeight) + frameHeight, px(kMinWindowHeight));
  ::SetWindowPos(hwnd(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::GetClientRect(hwnd(), &client);
  const int cw = client.right, ch = client.bottom;

  const int strip = px(kButtonStrip);
  ::MoveWindow(pnlButtons, 0, ch - strip, cw, strip, TRUE);
  // Both buttons keep to the right edge.
  ::MoveWindow(bbtnClose, cw - px(76), px(2), px(76), px(30), TRUE);
  ::MoveWindow(bbtnInfo, cw - px(76) - px(77), px(2), px(77), px(30), TRUE);

  ::MoveWindow(pcAboutSettings, 0, 0, cw, ch - strip, TRUE);
  RECT display{0, 0, cw, ch - strip};
  ::SendMessageW(pcAboutSettings, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  for (HWND page : pages_)
    ::MoveWindow(page, display.left, display.top, display.right - display.left,
                 display.bottom - display.top, TRUE);

  const int pw = display.right - display.left, ph = display.bottom - display.top;
  ::MoveWindow(pnlAbout, 0, 0, pw, ph, TRUE);
  ::MoveWindow(imgAbout, 0, 0, px(kPictureWidth), ph, TRUE);
  ::MoveWindow(pnlAboutText, px(kPictureWidth), 0, pw - px(kPictureWidth), ph, TRUE);
  ::MoveWindow(pnlAboutScroll, px(kPictureWidth), 0, pw - px(kPictureWidth), ph, TRUE);
  if (fraSettings) fraSettings->fillParent();
  layoutLabels();
  if (fAboutboxDisplayed) {
    placeScrollBox();
    placeText();
  }
}

void TfrmAbout::layoutLabels() {
  if (!pnlAboutText) return;
  RECT panel{};
  ::GetClientRect(pnlAboutText, &panel);
  const SIZE title = textExtent(lblAboutText1, fFont.get(), fav::windowText(lblAboutText1));
  ::MoveWindow(lblAboutText1, 0, px(kTitleTop), panel.right, title.cy, TRUE);
  // The owner line is sized to its text and keeps to the right edge.
  const SIZE owner = textExtent(lblAboutText2, fFont.get(), fav::windowText(lblAboutText2));
  const int ownerWidth = owner.cx + px(2);
  ::MoveWindow(lblAboutText2, panel.right - px(2) - ownerWidth, px(kLabelTop), ownerWidth,
               owner.cy, TRUE);
  const SIZE version = textExtent(lblAboutText3, fFont.get(), fav::windowText(lblAboutText3));
  ::MoveWindow(lblAboutText3, px(2), px(kLabelTop), version.cx + px(2), version.cy, TRUE);
}

void TfrmAbout::centreOnOwnerMonitor() {
  HWND owner = ::GetWindow(hwnd(), GW_OWNER);
  HMONITOR monitor = owner ? ::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                           : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoW(monitor, &info)) return;
  RECT window{};
  ::GetWindowRect(hwnd(), &window);
  const RECT& work = info.rcWork;
  const int w = window.right - window.left, h = window.bottom - window.top;
  const int x = work.left + std::max(0L, ((work.right - work.left) - w) / 2);
  const int y = work.top + std::max(0L, ((work.bottom - work.top) - h) / 2);
  ::SetWindowPos(hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmAbout::FormCreate() { UpdateCaptions(); }

void TfrmAbout::UpdateCaptions() {
  if (fIniFileName.empty()) return;
  if (lblAboutText3) {
    setLabelText(lblAboutText3, getPluginVersion());
  }
  if (hwnd()) ::SetWindowTextW(hwnd(), (L"About " + getPluginName(fIniFileName)).c_str());
}

void TfrmAbout::SetIniFileName(const std::wstring& iniFileName) {
  fIniFileName = iniFileName;
  UpdateCaptions();
}

void TfrmAbout::SetInfoText(const std::vector<std::wstring>& lines) {
  fInfoText.clear();
  fInfoText.insert(fInfoText.end(), 6, std::wstring());
  fInfoText.insert(fInfoText.end(), lines.begin(), lines.end());
  fInfoText.insert(fInfoText.end(), 16, std::wstring());
}

void TfrmAbout::EnableImageClick() {
  fImageClick = true;
  if (bbtnInfo) ::ShowWindow(bbtnInfo, SW_SHOW);
}

void TfrmAbout::DisableImageClick() {
  fImageClick = false;
  if (bbtnInfo) ::ShowWindow(bbtnInfo, SW_HIDE);
}

void TfrmAbout::setLabelText(HWND label, const std::wstring& text) {
  if (!label) return;
  ::SetWindowTextW(label, text.c_str());
  layoutLabels();
  ::InvalidateRect(pnlAboutText, nullptr, TRUE);
}

void TfrmAbout::setActivePage(HWND page) {
  const auto it = std::find(pages_.begin(), pages_.end(), page);
  if (page && it != pages_.end()) showPage(static_cast<int>(it - pages_.begin()));
}

void TfrmAbout::showPage(int index) {
  if (!pcAboutSettings || index < 0 || index >= static_cast<int>(pages_.size())) return;
  ::SendMessageW(pcAboutSettings, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  for (size_t i = 0; i < pages_.size(); ++i)
    ::ShowWindow(pages_[i], static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
  ::InvalidateRect(pcAboutSettings, nullptr, TRUE);
}

void TfrmAbout::destroySettingsPage() {
  fraSettings.reset();
  const auto it = std::find(pages_.begin(), pages_.end(), tsSettings);
  if (tsSettings && it != pages_.end()) {
    ::SendMessageW(pcAboutSettings, TCM_DELETEITEM, static_cast<WPARAM>(it - pages_.begin()), 0);
    pages_.erase(it);
    ::DestroyWindow(tsSettings);
  }
  tsSettings = nullptr;
  const LRESULT current = pcAboutSettings ? ::SendMessageW(pcAboutSettings, TCM_GETCURSEL, 0, 0) : 0;
  showPage(current < 0 ? 0 : static_cast<int>(current));
}

void TfrmAbout::showTextPanel(bool text) {
  // The front panel is shown and the back one hidden as well, so what lies
  // behind never takes a click or a screen reader's attention.
  HWND front = text ? pnlAboutText : pnlAboutScroll;
  HWND back = text ? pnlAboutScroll : pnlAboutText;
  if (front) {
    ::SetWindowPos(front, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  if (back) {
    ::SetWindowPos(back, HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  }
}

void TfrmAbout::actInfoExecute() {
  if (fAboutboxDisplayed) {
    if (sbAbout) ::ShowWindow(sbAbout, SW_HIDE);
    if (mmAbout) ::ShowWindow(mmAbout, SW_HIDE);
    stopTimer();
    fAboutboxDisplayed = false;
    showTextPanel(true);
    return;
  }
  setActivePage(tsAbout);
  showTextPanel(false);
  fScrollPosition = 0;
  fStill = fReducedMotion;
  fAboutboxDisplayed = true;
  placeScrollBox();

  std::wstring text;
  for (size_t i = 0; i < fInfoText.size(); ++i) {
    if (i) text += L"\r\n";
    text += fInfoText[i];
  }
  if (mmAbout) {
    ::SetWindowTextW(mmAbout, L"");
    ::SetWindowTextW(mmAbout, text.c_str());
  }
  fScrollRange = textBoxHeight(static_cast<int>(fInfoText.size()));
  placeText();
  if (mmAbout) {
    ::SetWindowPos(mmAbout, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  if (sbAbout) ::ShowWindow(sbAbout, SW_SHOW);
  fTimerInterval = kScrollInterval;
  if (!fStill) startTimer();
}

void TfrmAbout::placeScrollBox() {
  if (!sbAbout || !pnlAboutScroll) return;
  RECT panel{};
  ::GetClientRect(pnlAboutScroll, &panel);
  // Larger than its panel, so its own scroll bars lie outside the view;
  // a still text keeps them in view instead.
  const int overhang = fStill ? 0 : px(kScrollOverhang);
  ::MoveWindow(sbAbout, 0, 0, panel.right + overhang, panel.bottom + overhang, TRUE);
}

void TfrmAbout::placeText() {
  if (!mmAbout || !sbAbout) return;
  RECT box{};
  ::GetClientRect(sbAbout, &box);
  if (fStill) {
    ::MoveWindow(mmAbout, 0, 0, box.right, box.bottom, TRUE);
    return;
  }
  ::SetWindowPos(mmAbout, nullptr, 0, -px(fScrollPosition), box.right, px(fScrollRange),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmAbout::actTimerExecute() {
  if (!fAboutboxDisplayed || fStill) return;
  ++fScrollPosition;
  RECT box{};
  if (sbAbout) ::GetClientRect(sbAbout, &box);
  // The wrap test in device pixels, where the box's height is known exactly.
  if (px(fScrollPosition) >= px(fScrollRange) - box.bottom) fScrollPosition = 0;
  placeText();
}

void TfrmAbout::startTimer() {
  fTimerEnabled = true;
  fScrollStart = ::GetTickCount64();
  fStepsDone = 0;
  if (hwnd()) ::SetTimer(hwnd(), kTimerId, fTimerInterval, nullptr);
}

void TfrmAbout::stopTimer() {
  if (fTimerEnabled && hwnd()) ::KillTimer(hwnd(), kTimerId);
  fTimerEnabled = false;
}

// The platform's timers are coarser than 25 ms on some systems; the ticks
// due by the clock are made up, so the text rises at the same speed anywhere.
void TfrmAbout::onTimerTick() {
  if (!fTimerEnabled) return;
  const ULONGLONG due = (::GetTickCount64() - fScrollStart) / kScrollInterval;
  if (due <= fStepsDone) return;
  ULONGLONG steps = due - fStepsDone;
  if (steps > kMaxCatchUpSteps) steps = kMaxCatchUpSteps;
  fStepsDone = due;
  for (ULONGLONG i = 0; i < steps && fTimerEnabled; ++i) actTimerExecute();
}

void TfrmAbout::ToggleLogger(bool ctrlDown) {
  // Without a settings file there is nowhere beside it to log to.
  if (fIniFileName.empty()) return;
  if (ctrlDown) toggleLogging();
  if (isLogging()) {
    setLogFileName(withExtension(fIniFileName, L".log"));
    try {
      dolog(nowText(), 0, 1);
      fOwnerLineRed = true;
    } catch (...) {
      // A log that cannot be written is no log: the switch goes off again.
      turnLoggingOff();
      fOwnerLineRed = false;
    }
  } else {
    fOwnerLineRed = false;
  }
  if (lblAboutText2) ::InvalidateRect(lblAboutText2, nullptr, TRUE);
  if (pnlAboutText) ::InvalidateRect(pnlAboutText, nullptr, TRUE);
}

COLORREF TfrmAbout::ownerLineColour() const {
  if (!fOwnerLineRed) return labelTextColour();
  return loggingOwnerLineColour(::GetSysColor(COLOR_BTNFACE), highContrast(),
                                ::GetSysColor(COLOR_HOTLIGHT));
}

void TfrmAbout::pcAboutSettingsDrawTab(HWND control, HDC dc, int tabIndex, const RECT& rect,
                                       bool active) {
  drawPageControlTab(control, dc, tabIndex, rect, active);
}

void TfrmAbout::copyVersion() {
  const std::wstring name = getPluginName(fIniFileName);
  const std::wstring version = getPluginVersion();
  std::wstring text = name.empty() ? version : (version.empty() ? name : name + L" " + version);
  if (!::OpenClipboard(hwnd())) return;
  ::EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    if (void* p = ::GlobalLock(memory)) {
      std::memcpy(p, text.c_str(), bytes);
      ::GlobalUnlock(memory);
      if (!::SetClipboardData(CF_UNICODETEXT, memory)) ::GlobalFree(memory);
    } else {
      ::GlobalFree(memory);
    }
  }
  ::CloseClipboard();
}

void TfrmAbout::drawPicture(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  ::FillRect(dc, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
  if (!fPicture) return;
  BITMAP info{};
  ::GetObjectW(fPicture.get(), sizeof(info), &info);
  const int w = px(kPictureWidth), h = px(kPictureHeight);
  const int top = std::max(0L, ((item.rcItem.bottom - item.rcItem.top) - h) / 2);
  fav::unique_hdc memory(::CreateCompatibleDC(dc));
  if (!memory) return;
  fav::SelectObjectScope select(memory.get(), fPicture.get());
  if (info.bmWidth == w && info.bmHeight == h) {
    ::BitBlt(dc, 0, top, w, h, memory.get(), 0, 0, SRCCOPY);
  } else {
    const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, 0, top, w, h, memory.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
  }
}

INT_PTR TfrmAbout::onCtlColorStatic(HDC dc, HWND control) {
  if (control == mmAbout) {
    ::SetTextColor(dc, labelTextColour());
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
  } else {
    ::SetTextColor(dc, control == lblAboutText2 ? ownerLineColour() : labelTextColour());
    ::SetBkMode(dc, TRANSPARENT);
  }
  return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
}

bool TfrmAbout::onCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_BBTNCLOSE:  // actClose
      endDialog(IDOK);
      return true;
    case IDC_BBTNINFO:
      if (code == BN_CLICKED && isCommandEnabled(IDC_BBTNINFO)) actInfoExecute();
      return true;
    case IDC_IMGABOUT:
      if ((code == STN_CLICKED || code == STN_DBLCLK) && fImageClick) actInfoExecute();
      return true;
    case IDC_COPYVERSION:
      copyVersion();
      return true;
    default:
      return DialogBase::onCommand(id, code, control);
  }
}

bool TfrmAbout::onNotify(NMHDR* header, LRESULT& result) {
  if (header && header->hwndFrom == pcAboutSettings && header->code == TCN_SELCHANGE) {
    showPage(static_cast<int>(::SendMessageW(pcAboutSettings, TCM_GETCURSEL, 0, 0)));
    result = 0;
    return true;
  }
  return false;
}

bool TfrmAbout::isCommandEnabled(int command) const {
  if (command == IDC_BBTNINFO)
    return bbtnInfo && ::IsWindowVisible(bbtnInfo) && ::IsWindowEnabled(bbtnInfo);
  return true;
}

INT_PTR TfrmAbout::onMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  handled = true;
  switch (msg) {
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (draw->hwndItem == pcAboutSettings) {
        const int current = static_cast<int>(::SendMessageW(pcAboutSettings, TCM_GETCURSEL, 0, 0));
        const int index = static_cast<int>(draw->itemID);
        pcAboutSettingsDrawTab(pcAboutSettings, draw->hDC, index, draw->rcItem,
                               index == current || (draw->itemState & ODS_SELECTED));
        return TRUE;
      }
      if (draw->hwndItem == imgAbout) {
        drawPicture(*draw);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC:
      return onCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_TIMER:
      if (wp == kTimerId) {
        onTimerTick();
        return 0;
      }
      break;
    case WM_SHOWWINDOW:
      if (wp) layoutLabels();
      break;
    case kFocusMessage:
      if (bbtnClose) ::SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(bbtnClose), TRUE);
      return 0;
    case WM_DPICHANGED: {
      createFonts();
      loadPictures();
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      ::SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      layout();
      return 0;
    }
    case WM_SYSCOLORCHANGE:
      loadPictures();
      ::InvalidateRect(hwnd(), nullptr, TRUE);
      break;
    default:
      break;
  }
  handled = false;
  return 0;
}

void TfrmAbout::onDestroy() {
  stopTimer();
  fraSettings.reset();
  if (lblAboutText1) ::RemoveWindowSubclass(lblAboutText1, &TfrmAbout::titleProc, 1);
}

LRESULT CALLBACK TfrmAbout::titleProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR self) {
  try {
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
        reinterpret_cast<TfrmAbout*>(self)->ToggleLogger(isCtrlDown(readKeyboardState()));
        break;
      default:
        break;
    }
    return ::DefSubclassProc(hwnd, msg, wp, lp);
  } catch (...) {
    return 0;
  }
}

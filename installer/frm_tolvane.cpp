#include "frm_tolvane.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cwchar>
#include <memory>
#include <optional>

#include "dialog_base.h"
#include "settings_number.h"
#include "tolvane_res.h"
#include "ui_seam.h"
#include "un_logger.h"
#include "un_packageinstall.h"
#include "un_plugincommon.h"
#include "un_tolvanesetup.h"
#include "window_text.h"

namespace {

constexpr int kClientWidth = 440;
constexpr int kClientHeight = 290;
constexpr int kFontHeight = 11;
constexpr wchar_t kWindowClass[] = L"TfrmTolvane";
constexpr wchar_t kCaption[] = L"Setup";
constexpr wchar_t kHostCommandKey[] = L"PL/SQL Developer\\Shell\\Open\\Command";
constexpr wchar_t kFolderTitle[] = L"PL/SQL Developer Plugins Location";
constexpr wchar_t kCopyright[] = L"Copyright \u00A9 The Favorites authors";
// The location box's hint while it is empty, and what Next says when the box
// holds no full folder path.
constexpr wchar_t kLocationHint[] = L"Choose the IDE's PlugIns folder";
constexpr wchar_t kAskForFolder[] =
    L"Choose the IDE's PlugIns folder: type its full path, or pick it with the folder button.";

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kFolderGlyphTransparent = RGB(255, 0, 255);

// A trace must never end the program or show anything: a log file that
// cannot be written is simply not written.
void trace(const std::wstring& first, const std::wstring& second, int indent, int level) {
  try {
    log(first, second, indent, level);
  } catch (...) {
  }
}

void traceNumber(const std::wstring& first, int number, int indent, int level) {
  try {
    log(first, number, indent, level);
  } catch (...) {
  }
}

enum class Align { Left, Centre };

// The control table: place and size in 96-dpi client pixels, and the first
// page that shows the control (-1: every page).
struct ControlSpec {
  int id;
  const wchar_t* windowClass;
  DWORD style;
  int left, top, width, height;
  const wchar_t* text;
  int firstPage;
};

constexpr DWORD kLabel = SS_NOPREFIX | SS_ENDELLIPSIS;
constexpr DWORD kCentredLabel = kLabel | SS_CENTER;

// Interactive controls first: they lie over the labels they overlap by a pixel.
const ControlSpec kControls[] = {
    {IDC_EDT_LOCATION, WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, 0, 106, 418, 25, L"", 1},
    {IDC_BBTN_FOLDER, WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP, 415, 106, 25, 25, L"", 1},
    {IDC_PB_WIZARD, PROGRESS_CLASSW, 0, 0, 162, 440, 25, L"", 2},
    {IDC_IMG_ICON, WC_STATICW, SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, 0, 0, 32, 32, L"", -1},
    {IDC_LBL_COPYRIGHT, WC_STATICW, kLabel, 35, 0, 366, 16, kCopyright, -1},
    {IDC_LBL_WELCOME, WC_STATICW, kCentredLabel, 0, 36, 440, 16, L"Welcome", 0},
    {IDC_LBL_ABOUTTOINSTALL, WC_STATICW, kCentredLabel, 0, 58, 440, 16,
     L"You are about to install", 0},
    {IDC_LBL_PLUGINNAME, WC_STATICW, kCentredLabel, 0, 74, 440, 16, L"", 0},
    {IDC_LBL_LOCATION, WC_STATICW, kLabel, 0, 90, 440, 16,
     L"Location of PL/SQL Developer Plugins:", 1},
    {IDC_LBL_NOWINSTALLING, WC_STATICW, kCentredLabel, 0, 130, 440, 16, L"Now Installing", 2},
    {IDC_LBL_NOWINSTALLINGFILENAME, WC_STATICW, kCentredLabel, 0, 146, 440, 16, L"", 2},
    {IDC_LBL_SUCCESSMESSAGE, WC_STATICW, kCentredLabel, 0, 184, 440, 16, L"", 3},
    // After a failure: which file, and why, wrapped over up to three lines.
    {IDC_LBL_FAILUREREASON, WC_STATICW, SS_NOPREFIX | SS_CENTER | SS_EDITCONTROL, 0, 202, 440,
     42, L"", 3},
    {IDC_LBL_VERSION, WC_STATICW, kLabel, 0, 274, 275, 16, L"", -1},
};

bool isShownOnPage(const ControlSpec& spec, int step) {
  if (spec.firstPage < 0) return true;
  return step >= 0 && step <= 3 && step >= spec.firstPage;
}

std::wstring readProfileString(const std::wstring& section, const std::wstring& key,
                               const std::wstring& fallback, const std::wstring& file) {
  for (DWORD size = 256; size <= (1u << 20); size *= 2) {
    std::wstring buffer(size, L'\0');
    const DWORD got = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(),
                                                 buffer.data(), size, file.c_str());
    if (got < size - 1) return buffer.substr(0, got);
  }
  return fallback;
}

std::vector<std::wstring> readProfileSection(const std::wstring& section,
                                             const std::wstring& file) {
  for (DWORD size = 4096; size <= (1u << 22); size *= 2) {
    std::wstring buffer(size, L'\0');
    const DWORD got = ::GetPrivateProfileSectionW(section.c_str(), buffer.data(), size,
                                                  file.c_str());
    if (got < size - 2) return splitSectionBuffer(std::wstring_view(buffer.data(), got + 1));
  }
  return {};
}

// The screen's device context for one scope.
class ScreenDC {
 public:
  ScreenDC() : dc_(::GetDC(nullptr)) {}
  ~ScreenDC() {
    if (dc_) ::ReleaseDC(nullptr, dc_);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

std::wstring currentDateTimeText() {
  wchar_t date[128] = {};
  wchar_t time[128] = {};
  ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 128,
                    nullptr);
  ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, time, 128);
  return std::wstring(date) + L" " + time;
}

fav::unique_hfont makeFont(int height, int weight) {
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  std::wcscpy(font.lfFaceName, L"Tahoma");
  return fav::unique_hfont(::CreateFontIndirectW(&font));
}

fav::unique_hbitmap loadBitmap(HINSTANCE instance, int id) {
  return fav::unique_hbitmap(static_cast<HBITMAP>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace

// ---------------------------------------------------------------------------
// Zones and the setup-file / registry / version operations
// ---------------------------------------------------------------------------

bool onX(int x, int y) { return between(x, 405, 440) && between(y, 0, 15); }
bool onNext(int x, int y) { return between(x, 360, 440) && between(y, 260, 290); }
bool onBack(int x, int y) { return between(x, 275, 359) && between(y, 260, 290); }

std::wstring ReadRegString(HKEY root, const std::wstring& key, const std::wstring& name) {
  trace(L"ReadRegString start", L"", 0, 1);
  trace(L"Key", key, 1, 1);
  trace(L"Name", name, 1, 1);
  std::wstring result;
  fav::unique_hkey opened;
  if (::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS) {
    constexpr DWORD kBufferBytes = 514;
    wchar_t buffer[kBufferBytes / sizeof(wchar_t) + 1] = {};  // one more for a terminator
    DWORD size = kBufferBytes;
    if (::RegQueryValueExW(opened.get(), name.empty() ? nullptr : name.c_str(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS)
      result.assign(buffer, ::wcsnlen(buffer, kBufferBytes / sizeof(wchar_t)));
  }
  trace(L"Result", result, 1, 1);
  trace(L"ReadRegString end", L"", 0, 1);
  return result;
}

std::wstring GetFileVersion(const std::wstring& exeName) {
  trace(L"GetFileVersion start", L"", 0, 1);
  trace(L"exeName", exeName, 1, 1);
  std::wstring result;
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(exeName.c_str(), &ignored);
  if (size > 0) {
    std::vector<BYTE> data(size, 0);
    void* value = nullptr;
    UINT length = 0;
    if (::GetFileVersionInfoW(exeName.c_str(), 0, size, data.data()) &&
        ::VerQueryValueW(data.data(), L"\\StringFileInfo\\040904E4\\FileVersion", &value,
                         &length) &&
        value)
      result = trimVersionText(
          std::wstring(static_cast<const wchar_t*>(value),
                       ::wcsnlen(static_cast<const wchar_t*>(value), length)));
  }
  trace(L"GetFileVersion", result, 1, 1);
  trace(L"GetFileVersion end", L"", 0, 1);
  return result;
}

std::wstring findPLSQLDevLocation() {
  trace(L"GetPLSQLDevLocation start", L"", 0, 1);
  const std::wstring lFromRegistry = ReadRegString(HKEY_CLASSES_ROOT, kHostCommandKey, L"");
  trace(L"lFromRegistry", lFromRegistry, 1, 1);
  const HostLocation location = locationFromOpenCommand(lFromRegistry);
  traceNumber(L"lSpace", location.quotePosition, 1, 1);
  trace(L"fPLSQLDevLocation", location.programPath, 1, 1);
  trace(L"fPLSQLDevLocation", location.pluginFolder, 1, 1);
  trace(L"GetPLSQLDevLocation end", L"", 0, 1);
  return location.pluginFolder;
}

// ---------------------------------------------------------------------------
// TfrmTolvane
// ---------------------------------------------------------------------------

TfrmTolvane::TfrmTolvane(std::wstring installerPath) : fInstallerPath(std::move(installerPath)) {}

TfrmTolvane::~TfrmTolvane() {
  if (fHandle) {
    ::SetWindowLongPtrW(fHandle, GWLP_USERDATA, 0);
    ::DestroyWindow(fHandle);
  }
}

void TfrmTolvane::ReadIniFile() {
  const std::wstring file = extractFilePath(fInstallerPath) + L"setup.ini";
  fPluginName = readProfileString(L"Setup", L"PlugIn", L"NoName", file);
  fOnSuccess = readProfileString(L"Setup", L"OnSuccess", L"Success", file);
  fOnFailure = readProfileString(L"Setup", L"OnFailure", L"Failed", file);
  const std::wstring debug = readProfileString(L"Setup", L"Debug", L"0", file);
  turnLogging(parseSettingsNumber(debug).value_or(0) != 0);
  fFiles = readProfileSection(L"Files", file);
  fFolders = readProfileSection(L"Folders", file);
}

void TfrmTolvane::GetPLSQLDevLocation() { fPLSQLDevLocation = findPLSQLDevLocation(); }

bool TfrmTolvane::create(HINSTANCE instance, int showCommand) {
  fInstance = instance;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);

  WNDCLASSEXW wc{};
  if (!::GetClassInfoExW(instance, kWindowClass, &wc)) {
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &TfrmTolvane::windowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TOLVANE),
                                               IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                               ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    wc.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TOLVANE),
                                                 IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    if (!::RegisterClassExW(&wc)) return false;
  }

  // Created on the primary monitor, so its DPI is the one the layout starts with.
  POINT origin{0, 0};
  MONITORINFO monitor{sizeof monitor};
  ::GetMonitorInfoW(::MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const HWND hwnd = ::CreateWindowExW(WS_EX_APPWINDOW, kWindowClass, kCaption,
                                      WS_POPUP | WS_CLIPCHILDREN, monitor.rcMonitor.left,
                                      monitor.rcMonitor.top, kClientWidth, kClientHeight,
                                      nullptr, nullptr, instance, this);
  if (!hwnd) return false;

  // Centred on the screen the window is on.
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& screen = monitor.rcMonitor;
  const int width = scaled(kClientWidth);
  const int height = scaled(kClientHeight);
  ::SetWindowPos(hwnd, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(hwnd, showCommand);
  ::UpdateWindow(hwnd);
  return true;
}

LRESULT CALLBACK TfrmTolvane::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    if (msg == WM_NCCREATE) {
      auto* self = static_cast<TfrmTolvane*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      self->fHandle = hwnd;
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (auto* self = reinterpret_cast<TfrmTolvane*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
      return self->handleMessage(msg, wp, lp);
  } catch (...) {
    // Nothing escapes the window procedure; the window carries on.
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK TfrmTolvane::iconProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                       DWORD_PTR selfPtr) {
  auto* self = reinterpret_cast<TfrmTolvane*>(selfPtr);
  try {
    switch (msg) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK:
      case WM_MBUTTONDBLCLK:
        self->imgIconMouseDown((wp & MK_CONTROL) != 0);
        return 0;
      case WM_NCDESTROY:
        ::RemoveWindowSubclass(hwnd, &TfrmTolvane::iconProc, 1);
        break;
    }
  } catch (...) {
    return 0;
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT TfrmTolvane::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      fDpi = fav::windowDpi(fHandle);
      createControls();
      FormCreate();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      imgSplashBackgroundMouseDown(unscaled(GET_X_LPARAM(lp)), unscaled(GET_Y_LPARAM(lp)));
      return 0;
    case WM_MOUSEMOVE:
      imgSplashBackgroundMouseMove(unscaled(GET_X_LPARAM(lp)), unscaled(GET_Y_LPARAM(lp)));
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == fHandle && LOWORD(lp) == HTCLIENT && fCursor) {
        ::SetCursor(fCursor);
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
      return labelColors(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_DRAWITEM:
      if (wp == IDC_BBTN_FOLDER) {
        drawFolderButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDC_BBTN_FOLDER:
          if (HIWORD(wp) == BN_CLICKED) actLocateFolderExecute();
          return 0;
        case IDM_NEXT_ZONE:
          nextZonePressed();
          return 0;
        case IDM_CLOSE_ZONE:
          closeZonePressed();
          return 0;
      }
      break;
    case WM_CLOSE:
      // Alt+F4 or the taskbar: the same rules as the close cross.
      closeZonePressed();
      return 0;
    case WM_DPICHANGED: {
      const RECT& suggested = *reinterpret_cast<const RECT*>(lp);
      applyDpi(HIWORD(wp));
      ::SetWindowPos(fHandle, nullptr, suggested.left, suggested.top, scaled(kClientWidth),
                     scaled(kClientHeight), SWP_NOZORDER | SWP_NOACTIVATE);
      ::RedrawWindow(fHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      return 0;
    }
    case WM_NCDESTROY: {
      const HWND hwnd = fHandle;
      fHandle = nullptr;
      return ::DefWindowProcW(hwnd, msg, wp, lp);
    }
  }
  return ::DefWindowProcW(fHandle, msg, wp, lp);
}

void TfrmTolvane::createControls() {
  for (const ControlSpec& spec : kControls) {
    const HWND child = ::CreateWindowExW(
        spec.id == IDC_EDT_LOCATION ? WS_EX_CLIENTEDGE : 0, spec.windowClass, spec.text,
        WS_CHILD | WS_CLIPSIBLINGS | spec.style, spec.left, spec.top, spec.width, spec.height,
        fHandle, reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), fInstance, nullptr);
    if (child && spec.id == IDC_IMG_ICON)
      ::SetWindowSubclass(child, &TfrmTolvane::iconProc, 1, reinterpret_cast<DWORD_PTR>(this));
    // The hint stays while the caret is in the box: the box has the focus
    // whenever the location page shows.
    if (child && spec.id == IDC_EDT_LOCATION)
      ::SendMessageW(child, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(kLocationHint));
  }
  fCursor = ::LoadCursorW(nullptr, IDC_ARROW);
}

void TfrmTolvane::FormCreate() {
  fFiles.clear();
  fFolders.clear();
  ReadIniFile();
  setLogFileName(L"PlugInSetup.dbg");
  GetPLSQLDevLocation();
  // Without a registered host the lookup ends in a relative folder, which
  // would resolve against wherever setup was started: the box stays empty
  // and its hint asks for the folder instead.
  setText(IDC_EDT_LOCATION, isInstallFolderPath(fPLSQLDevLocation) ? fPLSQLDevLocation : L"");
  setText(IDC_LBL_PLUGINNAME, fPluginName);
  fStep = 0;
  DisplayAndHids();
  setText(IDC_LBL_VERSION, GetFileVersion(fInstallerPath));
  turnLoggingOff();
  setLogLevel(1);
  applyDpi(fDpi);
}

void TfrmTolvane::DisplayAndHids() {
  const HWND focus = ::GetFocus();
  for (const ControlSpec& spec : kControls) {
    const HWND child = control(spec.id);
    const bool show = isShownOnPage(spec, fStep);
    if (!show && child == focus) ::SetFocus(fHandle);
    ::ShowWindow(child, show ? SW_SHOWNA : SW_HIDE);
  }
  if (fStep == 1) {
    // Ready for typing, the caret after the proposed folder.
    const HWND edit = control(IDC_EDT_LOCATION);
    ::SetFocus(edit);
    const LPARAM end = ::GetWindowTextLengthW(edit);
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
  }
}

void TfrmTolvane::imgSplashBackgroundMouseDown(int x, int y) {
  if (fCopying || fEnding) return;
  if (onX(x, y))
    requestEnd();
  else if (onNext(x, y))
    actNextExecute();
  else if (onBack(x, y) && isBackActive())
    actPrevExecute();
}

bool TfrmTolvane::isBackActive() const {
  // Nothing lies before the welcome page; after a failed copy the done page
  // leads back to the location page for another try.
  return fStep > 0 && (fStep < 3 || fLastRunFailed);
}

void TfrmTolvane::imgSplashBackgroundMouseMove(int x, int y) {
  // The hand shows exactly where a press would act now.
  const bool active =
      !fCopying && !fEnding && (onX(x, y) || onNext(x, y) || (onBack(x, y) && isBackActive()));
  fCursor = ::LoadCursorW(nullptr, active ? IDC_HAND : IDC_ARROW);
  ::SetCursor(fCursor);
}

void TfrmTolvane::imgIconMouseDown(bool ctrlHeld) {
  if (ctrlHeld) toggleLogging();
  if (isLogging()) {
    fCopyrightColor = kRed;
    trace(L"Installer version : ", GetFileVersion(fInstallerPath), 0, 1);
    trace(currentDateTimeText(), L"", 0, 1);
  } else {
    fCopyrightColor = kGrey;
  }
  ::InvalidateRect(control(IDC_LBL_COPYRIGHT), nullptr, TRUE);
}

void TfrmTolvane::nextZonePressed() {
  if (fCopying || fEnding) return;
  actNextExecute();
}

void TfrmTolvane::closeZonePressed() {
  if (fCopying || fEnding) return;
  requestEnd();
}

void TfrmTolvane::actNextExecute() {
  // A copy needs a full folder path; anything else asks for one instead.
  if (fStep == 1 && !isInstallFolderPath(text(IDC_EDT_LOCATION))) {
    askForFolder();
    return;
  }
  Step(true);
}

void TfrmTolvane::actPrevExecute() {
  if (!isBackActive()) return;
  Step(false);
}

void TfrmTolvane::askForFolder() {
  showMessageBox(fHandle, kAskForFolder, kCaption, MB_OK | MB_ICONWARNING);
  // Back in the box, its text selected so typing replaces it.
  const HWND edit = control(IDC_EDT_LOCATION);
  ::SetFocus(edit);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
}

void TfrmTolvane::actLocateFolderExecute() {
  if (fCopying || fEnding) return;
  const std::wstring folder = browseForFolder(kFolderTitle, 0, fHandle);
  if (!folder.empty()) setText(IDC_EDT_LOCATION, withTrailingDelimiter(folder));
}

void TfrmTolvane::requestEnd() {
  fEnding = true;
  ::PostQuitMessage(0);
}

void TfrmTolvane::Step(bool forward) {
  trace(L"Start Step " + std::to_wstring(fStep), L"", 0, 1);
  if (fStep == 3 && forward) {
    trace(L"Exit Application", L"", 1, 1);
    requestEnd();
  }
  // Back from the done page skips the installing page, which would copy again.
  if (forward)
    ++fStep;
  else
    fStep = fStep == 3 ? 1 : fStep - 1;
  DisplayAndHids();
  if (fStep == 2) {
    trace(L"Copy files", L"", 1, 1);
    CopyFiles();
  }
  trace(L"End Step " + std::to_wstring(fStep), L"", 0, 1);
}

void TfrmTolvane::processPendingMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Kept for the event loop, which sees it once the copy is over.
      fQuitDuringCopy = true;
      fQuitCode = static_cast<int>(msg.wParam);
      continue;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void TfrmTolvane::CopyFiles() {
  fCopying = true;
  fQuitDuringCopy = false;
  trace(L"Start CopyFiles", L"", 0, 1);
  const int count = static_cast<int>(fFiles.size());
  trace(L"Nr Files : " + std::to_wstring(count), L"", 1, 1);
  setText(IDC_LBL_FAILUREREASON, L"");

  const HWND progress = control(IDC_PB_WIZARD);
  ::SendMessageW(progress, PBM_SETRANGE32, 0, count);
  ::SendMessageW(progress, PBM_SETSTEP, 1, 0);
  ::SendMessageW(progress, PBM_SETPOS, 0, 0);

  const std::wstring lSourceFolder = withTrailingDelimiter(extractFilePath(fInstallerPath));
  trace(L"lSourceFolder : ", lSourceFolder, 1, 1);
  const std::wstring lDestinationFolder = withTrailingDelimiter(text(IDC_EDT_LOCATION));
  trace(L"lDestinationFolder : ", lDestinationFolder, 1, 1);

  // Every file goes to a name beside its target first; the package is
  // swapped in only when all of them got there.
  TPackageInstall install(lSourceFolder, lDestinationFolder);
  std::optional<InstallFailure> firstFailure;
  for (size_t n = 0; n < fFiles.size(); ++n) {
    const std::wstring subfolder = entryValueAt(fFolders, n);
    const std::wstring file = entryValueAt(fFiles, n);
    if (!subfolder.empty() && isPackageRelativePath(subfolder) && isPackageRelativePath(file))
      trace(subfolder, install.makeSubfolder(subfolder) ? L" created" : L" already exists", 2, 1);
    trace(L"lFileToCopy : ", file, 2, 1);
    setText(IDC_LBL_NOWINSTALLINGFILENAME, file);
    ::SendMessageW(progress, PBM_STEPIT, 0, 0);
    processPendingMessages();

    InstallFailure failure;
    if (install.stage(subfolder, file, failure)) {
      trace(file + L" copied successfully.", L"", 3, 1);
    } else {
      trace(file + L" copy failed.", L"", 3, 5);
      trace(L"Error executing copyFile " + describeSystemError(failure.error), L"", 4, 5);
      if (!firstFailure) firstFailure = failure;
    }
    ::Sleep(100);
  }

  if (firstFailure) {
    install.abandon();
  } else if (const TPackageInstall::CommitResult swap = install.commit(); !swap.succeeded) {
    firstFailure = swap.failure;
    trace(swap.failure.file + L" could not be put in place.", L"", 3, 5);
    trace(L"Error executing replaceFile " + describeSystemError(swap.failure.error), L"", 4, 5);
    for (const std::wstring& file : swap.restored) trace(file + L" restored.", L"", 3, 1);
    for (const std::wstring& file : swap.notRestored)
      trace(file + L" could not be restored.", L"", 3, 5);
  }

  fLastRunFailed = firstFailure.has_value();
  const std::wstring message = fLastRunFailed ? fOnFailure : fOnSuccess;
  setText(IDC_LBL_SUCCESSMESSAGE, message);
  if (firstFailure)
    setText(IDC_LBL_FAILUREREASON, firstFailure->file + L": " + firstFailure->reason);
  trace(L"lblSuccessMessage : ", message, 1, 1);
  fCopying = false;
  Step(true);
  trace(L"End CopyFiles", L"", 0, 1);
  if (fQuitDuringCopy) ::PostQuitMessage(fQuitCode);
}

// ---------------------------------------------------------------------------
// Drawing and layout
// ---------------------------------------------------------------------------

void TfrmTolvane::applyDpi(UINT dpi) {
  fDpi = dpi ? dpi : 96;
  fLabelFont = makeFont(scaled(kFontHeight), FW_BOLD);
  fBaseFont = makeFont(scaled(kFontHeight), FW_NORMAL);
  buildBackground();

  // The largest folder glyph that fits the button's 16-pixel design size.
  static const std::pair<int, int> kGlyphs[] = {
      {48, IDB_FOLDER_48}, {32, IDB_FOLDER_32}, {24, IDB_FOLDER_24}, {16, IDB_FOLDER_16}};
  fFolderGlyph.reset();
  for (const auto& [size, id] : kGlyphs)
    if (size <= scaled(16) || size == 16) {
      fFolderGlyph = loadBitmap(fInstance, id);
      fFolderGlyphSize = size;
      break;
    }

  fIcon.reset(static_cast<HICON>(::LoadImageW(fInstance, MAKEINTRESOURCEW(IDI_TOLVANE),
                                              IMAGE_ICON, scaled(32), scaled(32), 0)));
  ::SendMessageW(control(IDC_IMG_ICON), STM_SETICON, reinterpret_cast<WPARAM>(fIcon.get()), 0);

  for (const ControlSpec& spec : kControls) {
    const HWND child = control(spec.id);
    const int left = scaled(spec.left);
    const int top = scaled(spec.top);
    ::SetWindowPos(child, nullptr, left, top, scaled(spec.left + spec.width) - left,
                   scaled(spec.top + spec.height) - top, SWP_NOZORDER | SWP_NOACTIVATE);
    const bool isLabel = std::wcscmp(spec.windowClass, WC_STATICW) == 0;
    const HFONT font = isLabel ? fLabelFont.get() : fBaseFont.get();
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  // The font sets the edit's margins; keep the text clear of its border.
  ::SendMessageW(control(IDC_EDT_LOCATION), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                 MAKELPARAM(scaled(2), scaled(2)));
  ::SetWindowPos(fHandle, nullptr, 0, 0, scaled(kClientWidth), scaled(kClientHeight),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(fHandle, nullptr, FALSE);
}

void TfrmTolvane::buildBackground() {
  const int width = scaled(kClientWidth);
  const int height = scaled(kClientHeight);
  const ScreenDC screenDC;
  const HDC screen = screenDC.get();
  fBackgroundBrush.reset();
  fBackground.reset(::CreateCompatibleBitmap(screen, width, height));
  {
    fav::unique_hdc target(::CreateCompatibleDC(screen));
    fav::unique_hdc source(::CreateCompatibleDC(screen));
    fav::SelectObjectScope targetBitmap(target.get(), fBackground.get());
    // Whole multiples of 96 dpi repeat the 1x pixels; other scales come
    // down from the 2x drawing, which keeps edges sharp.
    const bool wholeMultiple = fDpi % 96 == 0;
    fav::unique_hbitmap picture =
        loadBitmap(fInstance, wholeMultiple ? IDB_SPLASH : IDB_SPLASH_2X);
    if (picture) {
      BITMAP info{};
      ::GetObjectW(picture.get(), sizeof info, &info);
      fav::SelectObjectScope sourceBitmap(source.get(), picture.get());
      ::SetStretchBltMode(target.get(), wholeMultiple ? COLORONCOLOR : HALFTONE);
      ::SetBrushOrgEx(target.get(), 0, 0, nullptr);
      ::StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
    } else {
      RECT all{0, 0, width, height};
      fav::unique_hbrush dark(::CreateSolidBrush(RGB(12, 26, 56)));
      ::FillRect(target.get(), &all, dark.get());
    }
  }
  fBackgroundBrush.reset(::CreatePatternBrush(fBackground.get()));
}

void TfrmTolvane::paint() {
  PAINTSTRUCT ps;
  const HDC dc = ::BeginPaint(fHandle, &ps);
  fav::unique_hdc source(::CreateCompatibleDC(dc));
  {
    fav::SelectObjectScope picture(source.get(), fBackground.get());
    const RECT& r = ps.rcPaint;
    ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source.get(), r.left, r.top,
             SRCCOPY);
  }
  ::EndPaint(fHandle, &ps);
}

LRESULT TfrmTolvane::labelColors(HDC dc, HWND label) {
  COLORREF color = kWhite;
  switch (::GetDlgCtrlID(label)) {
    case IDC_LBL_COPYRIGHT:
      color = fCopyrightColor;
      break;
    case IDC_LBL_VERSION:
      color = kSilver;
      break;
  }
  ::SetTextColor(dc, color);
  ::SetBkMode(dc, TRANSPARENT);
  // The label's background is the part of the picture it lies on.
  POINT origin{0, 0};
  ::MapWindowPoints(label, fHandle, &origin, 1);
  ::SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
  return reinterpret_cast<LRESULT>(fBackgroundBrush.get());
}

void TfrmTolvane::drawFolderButton(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  ::DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  if (fFolderGlyph) {
    fav::unique_hdc source(::CreateCompatibleDC(item.hDC));
    fav::SelectObjectScope glyph(source.get(), fFolderGlyph.get());
    const int size = fFolderGlyphSize;
    const int x = r.left + (r.right - r.left - size) / 2 + (pushed ? 1 : 0);
    const int y = r.top + (r.bottom - r.top - size) / 2 + (pushed ? 1 : 0);
    ::TransparentBlt(item.hDC, x, y, size, size, source.get(), 0, 0, size, size,
                     kFolderGlyphTransparent);
  }
  if (item.itemState & ODS_FOCUS) {
    RECT focus = r;
    ::InflateRect(&focus, -scaled(3), -scaled(3));
    ::DrawFocusRect(item.hDC, &focus);
  }
}

void TfrmTolvane::setText(int id, const std::wstring& value) {
  ::SetWindowTextW(control(id), value.c_str());
}

std::wstring TfrmTolvane::text(int id) const {
  return fav::windowText(control(id));
}

// ---------------------------------------------------------------------------
// The program
// ---------------------------------------------------------------------------

int runEventLoop(HWND mainWindow, HACCEL accelerators) {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (accelerators && ::TranslateAcceleratorW(mainWindow, accelerators, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

int runTolvane(HINSTANCE instance, int showCommand) {
  TfrmTolvane form(modulePath(nullptr));
  if (!form.create(instance, showCommand)) return 1;
  return runEventLoop(form.handle(),
                      ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_TOLVANE)));
}

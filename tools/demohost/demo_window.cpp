#include "demo_window.h"

#include <commdlg.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <cwctype>

#include "plugin_guard.h"

namespace demohost {
namespace fs = std::filesystem;
namespace {

const wchar_t kFrameClass[] = L"FavoritesDemoHost";
const wchar_t kEditorClass[] = L"FavoritesDemoEditor";
const wchar_t kTitle[] = L"Favorites demo host";

enum Command {
  kOpen = 101,
  kCloseWindow,
  kExit,
  kCopy = 110,
  kSelectAll,
  kLogOnScott = 120,
  kLogOnHr,
  kLogOff,
  kConfigure = 130,
  kRefreshMenus,
  kSchemeOlder,
  kSchemeRibbon,
  kCascade = 140,
  kTile,
  kAboutPlugin = 150,
  kAboutDemo,
};
constexpr int kFirstEditorCommand = 0x3000;  // MDI's window list
constexpr int kLogId = 900;
constexpr int kEditId = 901;
double msSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The host's own menus, before the plug-in's items are placed into them.
std::vector<MenuNode> hostMenu() {
  return {
      MenuNode::popup(L"&File", {MenuNode::item(L"&Open...\tCtrl+O", kOpen),
                                 MenuNode::popup(L"&Reopen", {MenuNode::item(L"(no recent files)", 0)}),
                                 MenuNode::line(), MenuNode::item(L"&Close window", kCloseWindow),
                                 MenuNode::line(), MenuNode::item(L"E&xit", kExit)}),
      MenuNode::popup(L"&Edit", {MenuNode::item(L"&Copy\tCtrl+C", kCopy),
                                 MenuNode::item(L"Select &All\tCtrl+A", kSelectAll)}),
      MenuNode::popup(L"&Session", {MenuNode::item(L"Log on as scott@ORCL", kLogOnScott),
                                    MenuNode::item(L"Log on as hr@XEPDB1 as SysDBA", kLogOnHr),
                                    MenuNode::item(L"Log &off", kLogOff)}),
      MenuNode::popup(L"&Tools", {MenuNode::item(L"&Configure Plug-In Favorites...", kConfigure),
                                  MenuNode::item(L"Re&fresh plug-in menus", kRefreshMenus),
                                  MenuNode::line(),
                                  MenuNode::item(L"Older menus (host version 1199)", kSchemeOlder),
                                  MenuNode::item(L"Ribbon (host version 1200)", kSchemeRibbon)}),
      MenuNode::popup(L"&Window", {MenuNode::item(L"&Cascade", kCascade), MenuNode::item(L"&Tile", kTile)}),
      MenuNode::popup(L"&Help", {MenuNode::item(L"&About Plug-In Favorites...", kAboutPlugin),
                                 MenuNode::item(L"About the &demo host", kAboutDemo)}),
  };
}

HMENU buildPopup(const std::vector<MenuNode>& nodes) {
  HMENU menu = ::CreatePopupMenu();
  for (const MenuNode& n : nodes) {
    if (n.separator) {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else if (n.folder) {
      HMENU sub = buildPopup(n.children);
      if (n.children.empty()) ::AppendMenuW(sub, MF_STRING | MF_GRAYED, 0, L"(empty)");
      ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), n.shown().c_str());
    } else {
      ::AppendMenuW(menu, MF_STRING | (n.command ? 0 : MF_GRAYED), n.command, n.shown().c_str());
    }
  }
  return menu;
}

std::wstring inQuotes(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring connectionText(const hostsim::Connection& c) {
  std::wstring t = widenHost(c.username) + L"@" + widenHost(c.database);
  if (!c.connectAs.empty()) t += L" as " + widenHost(c.connectAs);
  return t;
}

std::wstring readEditorText(const fs::path& file, bool& found) {
  std::ifstream in(file, std::ios::binary);
  found = static_cast<bool>(in);
  if (!found) return L"This file could not be read:\r\n" + file.wstring();
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::wstring wide = widenHost(bytes);
  std::wstring text;
  text.reserve(wide.size() + wide.size() / 16);
  for (size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r')) text += L'\r';
    text += wide[i];
  }
  return text;
}

}  // namespace

std::wstring widenHost(const std::string& text) {
  if (text.empty()) return {};
  const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string narrowHost(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

std::wstring DemoWindow::windowTypeName(int type) {
  switch (type) {
    case 1: return L"SQL Window";
    case 2: return L"Test Window";
    case 3: return L"Program Window";
    case 4: return L"Command Window";
  }
  return L"Window type " + std::to_wstring(type);
}

int DemoWindow::windowTypeForFile(const fs::path& file) {
  std::wstring ext = file.extension().wstring();
  std::transform(ext.begin(), ext.end(), ext.begin(), ::towlower);
  static const std::set<std::wstring> program = {L".pck", L".pks", L".pkb", L".prc", L".fnc",
                                                 L".trg", L".typ", L".tps", L".tpb", L".jsp"};
  if (program.count(ext)) return 3;
  if (ext == L".tst") return 2;
  if (ext == L".cmd" || ext == L".pdc") return 4;
  return 1;
}

DemoWindow::DemoWindow(DemoOptions options) : options_(std::move(options)) {
  scratch_.root = options_.scratchRoot.empty() ? defaultScratchRoot() : options_.scratchRoot;
  host_.mainMenuNames = "File\r\nEdit\r\nSession\r\nTools\r\nWindow\r\nHelp\r\n";
  host_.extensionsForType = {
      {"FUNCTION", "fnc"},      {"PROCEDURE", "prc"}, {"TRIGGER", "trg"},
      {"PACKAGE", "pks"},       {"PACKAGE BODY", "pkb"}, {"PACKAGE SPEC AND BODY", "pck"},
      {"TYPE", "tps"},          {"TYPE BODY", "tpb"}, {"TYPE SPEC AND BODY", "typ"},
      {"JAVA SOURCE", "jsp"},
  };
  host_.onCall = [this](const hostsim::Call& call) { onCallback(call); };
}

DemoWindow::~DemoWindow() {
  stopPlugin();
  host_.onCall = nullptr;
  if (hwnd_) ::DestroyWindow(hwnd_);
  if (menu_) ::DestroyMenu(menu_);
  if (images_) ::ImageList_Destroy(images_);
  if (uiFont_) ::DeleteObject(uiFont_);
  if (monoFont_) ::DeleteObject(monoFont_);
  if (accelerators_) ::DestroyAcceleratorTable(accelerators_);
}

bool DemoWindow::create(int showCommand) {
  installFaultLanding();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  static bool registered = false;
  if (!registered) {
    WNDCLASSW frame{};
    frame.lpfnWndProc = &DemoWindow::frameProc;
    frame.hInstance = instance;
    frame.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!frame.hIcon) frame.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    frame.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    frame.lpszClassName = kFrameClass;
    WNDCLASSW editor{};
    editor.lpfnWndProc = &DemoWindow::editorProc;
    editor.hInstance = instance;
    editor.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    editor.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    editor.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    editor.lpszClassName = kEditorClass;
    registered = ::RegisterClassW(&frame) && ::RegisterClassW(&editor);
    if (!registered) return false;
  }
  ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'O', kOpen}};
  accelerators_ = ::CreateAcceleratorTableW(keys, 1);
  hwnd_ = ::CreateWindowExW(0, kFrameClass, kTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 30, 1100,
                            760, nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  ::ShowWindow(hwnd_, showCommand);
  ::UpdateWindow(hwnd_);
  restartPlugin(options_.hostVersion);
  FILETIME created{}, unused{}, now{};
  if (::GetProcessTimes(::GetCurrentProcess(), &created, &unused, &unused, &unused)) {
    ::GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    note(L"ready " + std::to_wstring((ticks(now) - ticks(created)) / 10000) + L" ms after the program started");
  }
  return true;
}

int DemoWindow::run() {
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (preTranslate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

bool DemoWindow::preTranslate(MSG& msg) {
  if (mdi_ && ::TranslateMDISysAccel(mdi_, &msg)) return true;
  return accelerators_ && hwnd_ && ::TranslateAcceleratorW(hwnd_, accelerators_, &msg);
}

// ---- window procedures -----------------------------------------------------

LRESULT CALLBACK DemoWindow::frameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<DemoWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<DemoWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self) {
    try {
      return self->handle(msg, wp, lp);
    } catch (const std::exception& e) {
      self->fault(L"host error: " + widenHost(e.what()));
    } catch (...) {
      self->fault(L"host error");
    }
  }
  return ::DefFrameProcW(hwnd, self ? self->mdi_ : nullptr, msg, wp, lp);
}

LRESULT DemoWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      onCreate();
      return 0;
    case WM_SIZE:
      onSize();
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (id >= kFirstEditorCommand && id < kPluginCommand) break;  // MDI's window list
      onCommand(id);
      return 0;
    }
    case WM_NOTIFY:
      return onNotify(reinterpret_cast<NMHDR*>(lp));
    case WM_MEASUREITEM:
      if (wp == kLogId) {
        log_.measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
        return TRUE;
      }
      break;
    case WM_DRAWITEM:
      if (wp == kLogId) {
        log_.draw(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return TRUE;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == logCaption_) {
        ::SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_CLOSE:
      ::DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      stopPlugin();
      if (options_.quitOnClose) ::PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      mdi_ = nullptr;
      menu_ = nullptr;  // destroyed with the window
      break;
  }
  return ::DefFrameProcW(hwnd_, mdi_, msg, wp, lp);
}

void DemoWindow::onCreate() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
  uiFont_ = ::CreateFontIndirectW(&metrics.lfMessageFont);
  LOGFONTW mono{};
  mono.lfHeight = -13;
  mono.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  wcscpy(mono.lfFaceName, L"Courier New");
  monoFont_ = ::CreateFontIndirectW(&mono);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);

  ribbon_.create(hwnd_, uiFont_, kPluginCommand);
  toolbar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                   CCS_NORESIZE | CCS_NOPARENTALIGN,
                               0, 0, 10, 32, hwnd_, nullptr, instance, nullptr);
  ::SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                              0, 0, hwnd_, nullptr, instance, nullptr);
  logCaption_ = ::CreateWindowExW(0, L"STATIC", L" Calls between host and plug-in (newest last)",
                                  WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, 0, 10, 10, hwnd_,
                                  nullptr, instance, nullptr);
  ::SendMessageW(logCaption_, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_), FALSE);
  log_.create(hwnd_, kLogId, monoFont_);

  CLIENTCREATESTRUCT ccs{};
  ccs.hWindowMenu = nullptr;
  ccs.idFirstChild = kFirstEditorCommand;
  mdi_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                           WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 10, 10,
                           hwnd_, nullptr, instance, &ccs);
  images_ = ::ImageList_Create(20, 20, ILC_COLOR24 | ILC_MASK, 8, 8);
  buildMenuBar();
}

void DemoWindow::onSize() {
  RECT client;
  ::GetClientRect(hwnd_, &client);
  const int width = client.right;
  int top = 0;
  if (ribbonScheme()) {
    ::MoveWindow(ribbon_.hwnd(), 0, 0, width, RibbonStrip::kHeight, TRUE);
    ::ShowWindow(ribbon_.hwnd(), SW_SHOW);
    top += RibbonStrip::kHeight;
  } else {
    ::ShowWindow(ribbon_.hwnd(), SW_HIDE);
  }
  ::MoveWindow(toolbar_, 0, top, width, 32, TRUE);
  top += 32;
  ::SendMessageW(status_, WM_SIZE, 0, 0);
  RECT statusRect;
  ::GetWindowRect(status_, &statusRect);
  const int bottom = client.bottom - (statusRect.bottom - statusRect.top);
  const int parts[] = {std::max(200, width - 420), std::max(320, width - 280), -1};
  ::SendMessageW(status_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  const int logHeight = std::max(120, (bottom - top) * 32 / 100);
  const int captionHeight = 20;
  const int logTop = bottom - logHeight;
  ::MoveWindow(mdi_, 0, top, width, std::max(0, logTop - captionHeight - top), TRUE);
  ::MoveWindow(logCaption_, 0, logTop - captionHeight, width, captionHeight, TRUE);
  ::MoveWindow(log_.hwnd(), 0, logTop, width, logHeight, TRUE);
}

LRESULT DemoWindow::onNotify(NMHDR* header) {
  if (header && header->code == TBN_GETINFOTIPW && header->hwndFrom == toolbar_) {
    auto* tip = reinterpret_cast<NMTBGETINFOTIPW*>(header);
    for (size_t i = 0; i < toolIndices_.size(); ++i)
      if (kPluginCommand + toolIndices_[i] == tip->iItem && tip->pszText && tip->cchTextMax > 0) {
        lstrcpynW(tip->pszText, toolTips_[i].c_str(), tip->cchTextMax);
        break;
      }
    return 0;
  }
  return ::DefFrameProcW(hwnd_, mdi_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(header));
}

void DemoWindow::onCommand(int id) {
  if (id >= kPluginCommand && id < kPluginCommand + 100) {
    clickPluginItem(id - kPluginCommand);
    return;
  }
  HWND active = reinterpret_cast<HWND>(::SendMessageW(mdi_, WM_MDIGETACTIVE, 0, 0));
  HWND edit = active ? ::GetDlgItem(active, kEditId) : nullptr;
  switch (id) {
    case kOpen: {
      wchar_t file[MAX_PATH * 4] = L"";
      const std::wstring folder = scratch_.scripts().wstring();
      OPENFILENAMEW ofn{};
      ofn.lStructSize = sizeof(ofn);
      ofn.hwndOwner = hwnd_;
      ofn.lpstrFilter = L"Scripts and sources\0*.sql;*.pck;*.pks;*.pkb;*.prc;*.fnc;*.trg;*.tst\0All files\0*.*\0";
      ofn.lpstrFile = file;
      ofn.nMaxFile = MAX_PATH * 4;
      ofn.lpstrInitialDir = folder.c_str();
      ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
      if (::GetOpenFileNameW(&ofn)) openFile(file);
      break;
    }
    case kCloseWindow:
      if (active) ::SendMessageW(mdi_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(active), 0);
      break;
    case kExit:
      ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
      break;
    case kCopy:
      if (edit) ::SendMessageW(edit, WM_COPY, 0, 0);
      break;
    case kSelectAll:
      if (edit) ::SendMessageW(edit, EM_SETSEL, 0, -1);
      break;
    case kLogOnScott:
      logOn(hostsim::Connection{"scott", "tiger", "ORCL", "Normal"});
      break;
    case kLogOnHr:
      logOn(hostsim::Connection{"hr", "hr", "XEPDB1", "SysDBA"});
      break;
    case kLogOff:
      logOn(hostsim::Connection{});
      break;
    case kConfigure:
      configurePlugin();
      break;
    case kRefreshMenus:
      readPluginMenus();
      break;
    case kSchemeOlder:
      restartPlugin(1199, true);
      break;
    case kSchemeRibbon:
      restartPlugin(1200, true);
      break;
    case kCascade:
      ::SendMessageW(mdi_, WM_MDICASCADE, 0, 0);
      break;
    case kTile:
      ::SendMessageW(mdi_, WM_MDITILE, MDITILE_HORIZONTAL, 0);
      break;
    case kAboutPlugin:
      aboutPlugin();
      break;
    case kAboutDemo:
      ::MessageBoxW(hwnd_,
                    (L"Plays the host IDE for favorites.dll, so the plug-in can be tried without "
                     L"the IDE.\n\nIts settings and scripts are a scratch copy in\n" +
                     scratch_.root.wstring())
                        .c_str(),
                    kTitle, MB_OK | MB_ICONINFORMATION);
      break;
  }
}

// ---- editor windows -----------------------------------------------------------

LRESULT CALLBACK DemoWindow::editorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    if (msg == WM_CREATE) {
      auto* mdi = static_cast<MDICREATESTRUCTW*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, mdi->lParam);
      ::CreateWindowExW(0, L"EDIT", nullptr,
                        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                            ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                        0, 0, 10, 10, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
                        ::GetModuleHandleW(nullptr), nullptr);
    }
    auto* self = reinterpret_cast<DemoWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
      case WM_SIZE: {
        RECT r;
        ::GetClientRect(hwnd, &r);
        ::MoveWindow(::GetDlgItem(hwnd, kEditId), 0, 0, r.right, r.bottom, TRUE);
        break;  // DefMDIChildProc must see WM_SIZE too
      }
      case WM_SETFOCUS:
        ::SetFocus(::GetDlgItem(hwnd, kEditId));
        return 0;
      case WM_CTLCOLORSTATIC:  // a read-only edit asks this; keep it white
        ::SetBkColor(reinterpret_cast<HDC>(wp), ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      case WM_MDIACTIVATE:
        if (self && reinterpret_cast<HWND>(lp) == hwnd) self->onEditorActivated(hwnd);
        break;
      case WM_DESTROY:
        if (self) self->onEditorDestroyed(hwnd);
        break;
    }
  } catch (...) {
  }
  return ::DefMDIChildProcW(hwnd, msg, wp, lp);
}

void DemoWindow::createEditor(size_t window) {
  const hostsim::Window& w = host_.windows[window];
  const fs::path file = widenHost(w.fileName);
  const std::wstring title = windowTypeName(w.type) + L" - " + file.filename().wstring();
  MDICREATESTRUCTW mcs{};
  mcs.szClass = kEditorClass;
  mcs.szTitle = title.c_str();
  mcs.hOwner = ::GetModuleHandleW(nullptr);
  mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
  mcs.lParam = reinterpret_cast<LPARAM>(this);
  HWND editor = reinterpret_cast<HWND>(::SendMessageW(mdi_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  // A slot even for a failed window: editors_ runs parallel to the model's windows.
  editors_.push_back(editor);
  if (!editor) {
    fault(L"cannot make a window for " + file.wstring());
    return;
  }
  bool found = false;
  const std::wstring text = readEditorText(file, found);
  HWND edit = ::GetDlgItem(editor, kEditId);
  ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(monoFont_), FALSE);
  ::SetWindowTextW(edit, text.c_str());
  if (!found) note(L"the host has no such file: " + file.wstring());
}

void DemoWindow::onEditorActivated(HWND editor) {
  auto it = std::find(editors_.begin(), editors_.end(), editor);
  if (it != editors_.end() && it - editors_.begin() < static_cast<long>(host_.windows.size())) {
    host_.currentWindow = static_cast<int>(it - editors_.begin());
    updateStatus();
  }
}

void DemoWindow::onEditorDestroyed(HWND editor) {
  auto it = std::find(editors_.begin(), editors_.end(), editor);
  if (it == editors_.end()) return;
  const int index = static_cast<int>(it - editors_.begin());
  editors_.erase(it);
  if (index < static_cast<int>(host_.windows.size())) host_.windows.erase(host_.windows.begin() + index);
  if (host_.currentWindow == index) host_.currentWindow = -1;
  else if (host_.currentWindow > index) --host_.currentWindow;
  HWND active = mdi_ ? reinterpret_cast<HWND>(::SendMessageW(mdi_, WM_MDIGETACTIVE, 0, 0)) : nullptr;
  if (host_.currentWindow < 0 && active && active != editor) onEditorActivated(active);
  updateStatus();
}

std::wstring DemoWindow::editorText(size_t window) const {
  if (window >= editors_.size() || !editors_[window]) return {};
  HWND edit = ::GetDlgItem(editors_[window], kEditId);
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  return text;
}

void DemoWindow::syncEditors() {
  while (editors_.size() < host_.windows.size()) createEditor(editors_.size());
  if (host_.currentWindow >= 0 && host_.currentWindow < static_cast<int>(editors_.size())) {
    HWND want = editors_[host_.currentWindow];
    HWND active = reinterpret_cast<HWND>(::SendMessageW(mdi_, WM_MDIGETACTIVE, 0, 0));
    if (want && want != active) ::SendMessageW(mdi_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(want), 0);
  }
  updateStatus();
}

void DemoWindow::updateStatus() {
  if (!status_) return;
  std::wstring file = L"no window", type, connection;
  if (host_.currentWindow >= 0 && host_.currentWindow < static_cast<int>(host_.windows.size())) {
    const hostsim::Window& w = host_.windows[host_.currentWindow];
    file = widenHost(w.fileName);
    type = windowTypeName(w.type);
    connection = L"not connected";
    if (w.connection >= 1 && w.connection <= static_cast<int>(host_.connections.size()))
      connection = connectionText(host_.connections[w.connection - 1]);
  }
  ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(file.c_str()));
  ::SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(type.c_str()));
  ::SendMessageW(status_, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(connection.c_str()));
}

std::wstring DemoWindow::statusText(int part) const {
  wchar_t buf[1024] = L"";
  const LRESULT r = ::SendMessageW(status_, SB_GETTEXTLENGTHW, part, 0);
  if (LOWORD(r) >= 1024) return {};
  ::SendMessageW(status_, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(buf));
  return buf;
}

// ---- the plug-in --------------------------------------------------------------

template <typename Fn>
Fn DemoWindow::exportOf(const char* name) {
  auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(host_.exportAddress(name)));
  if (!fn) throw std::runtime_error(std::string("the plug-in has no export ") + name);
  return fn;
}

void DemoWindow::onCallback(const hostsim::Call& call) {
  const auto started = std::chrono::steady_clock::now();
  // The host's answers that depend on the window are made here, just before
  // the simulator hands them out.
  if (call.name == "WindowConnectionState") {
    const hostsim::Window* w = host_.currentWindow >= 0 && host_.currentWindow < static_cast<int>(host_.windows.size())
                                   ? &host_.windows[host_.currentWindow]
                                   : nullptr;
    host_.windowConnectionStateAnswer = w && w->connection > 0 ? 1 : 0;
  } else if (call.name == "RefreshPluginMenus") {
    // The menus are made afresh, and the buttons with them.
    host_.toolButtons.clear();
  }
  hostsim::Call shown = call;
  if (shown.name == "ConnectionForLogon" && shown.args.size() > 1 && !shown.args[1].empty())
    shown.args[1] = "****";
  log_.add(LogPane::Kind::Callback, widenHost(shown.text()));
  hostMs_ += msSince(started);
}

void DemoWindow::callPlugin(const std::wstring& what, const std::function<void()>& call, bool mayShowDialog) {
  if (!host_.module()) {
    fault(what + L": no plug-in is loaded");
    return;
  }
  if (callDepth_ > 0) {
    note(what + L" ignored: the plug-in is still busy with the last call");
    return;
  }
  log_.add(LogPane::Kind::Export, what);
  // A call that may show a dialog keeps the log live behind it.
  if (!mayShowDialog) log_.hold(true);
  ++callDepth_;
  const int refreshBefore = host_.refreshRequests;
  hostMs_ = 0;
  const auto started = std::chrono::steady_clock::now();
  const std::wstring problem = runGuarded(call);
  const double ms = msSince(started) - hostMs_;
  --callDepth_;
  if (!mayShowDialog) log_.hold(false);
  if (!problem.empty()) {
    fault(what + L" " + problem);
    // A fault inside a dialog's loop leaves without enabling us again.
    ::EnableWindow(hwnd_, TRUE);
  }
  if (!mayShowDialog && ms > options_.slowCallMs) fault(what + L" took " + std::to_wstring(static_cast<int>(ms)) + L" ms");
  syncEditors();
  if (host_.refreshRequests != refreshBefore) readPluginMenus();
  buildToolbar();
}

void DemoWindow::readPluginMenus() {
  if (!host_.module()) return;
  texts_.assign(99, std::wstring());
  host_.menu.assign(99, std::string());
  log_.add(LogPane::Kind::Export, L"CreateMenuItem(1..99)");
  log_.hold(true);
  ++callDepth_;
  const auto started = std::chrono::steady_clock::now();
  int items = 0;
  for (int i = 1; i <= 99; ++i) {
    const char* raw = nullptr;
    hostMs_ = 0;
    const auto one = std::chrono::steady_clock::now();
    const std::wstring problem = runGuarded([&] {
      raw = exportOf<const char* (*)(int)>("CreateMenuItem")(i);
    });
    const double ms = msSince(one) - hostMs_;
    if (!problem.empty()) {
      fault(L"CreateMenuItem(" + std::to_wstring(i) + L") " + problem);
      if (problem.rfind(L"threw std::runtime_error: the plug-in has no export", 0) == 0) break;
      continue;
    }
    if (ms > options_.slowCallMs)
      fault(L"CreateMenuItem(" + std::to_wstring(i) + L") took " + std::to_wstring(static_cast<int>(ms)) + L" ms");
    if (!raw) {
      fault(L"CreateMenuItem(" + std::to_wstring(i) + L") returned a null text: no item");
      continue;
    }
    host_.menu[i - 1] = raw;
    texts_[i - 1] = widenHost(raw);
    if (!texts_[i - 1].empty()) ++items;
  }
  --callDepth_;
  const double ms = msSince(started);
  log_.hold(false);
  for (int i = 1; i <= 99; ++i)
    if (!texts_[i - 1].empty()) note(std::to_wstring(i) + L" = " + inQuotes(texts_[i - 1]));
  note(std::to_wstring(items) + L" items from 99 texts in " + std::to_wstring(static_cast<int>(ms + 0.5)) + L" ms");
  buildMenuBar();
}

void DemoWindow::buildMenuBar() {
  bar_ = hostMenu();
  std::vector<RibbonGroup> groups;
  for (int i = 1; i <= static_cast<int>(texts_.size()); ++i) {
    const std::wstring& text = texts_[i - 1];
    if (text.empty()) continue;
    std::wstring why;
    const bool placed = ribbonScheme() ? placeRibbonText(groups, text, i, L"Favorites", &why)
                                       : placeMenuText(bar_, text, i, kPluginCommand + i, &why);
    if (!placed) fault(L"menu item " + std::to_wstring(i) + L" " + inQuotes(text) + L": " + why);
  }
  HMENU bar = ::CreateMenu();
  for (const MenuNode& n : bar_) {
    if (n.folder) ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(buildPopup(n.children)), n.shown().c_str());
    else if (!n.separator) ::AppendMenuW(bar, MF_STRING, n.command, n.shown().c_str());
  }
  ::CheckMenuRadioItem(bar, kSchemeOlder, kSchemeRibbon, ribbonScheme() ? kSchemeRibbon : kSchemeOlder,
                       MF_BYCOMMAND);
  HMENU windowMenu = nullptr;
  for (int pos = 0; pos < ::GetMenuItemCount(bar); ++pos) {
    wchar_t caption[64] = L"";
    ::GetMenuStringW(bar, pos, caption, 64, MF_BYPOSITION);
    if (withoutAmpersands(caption) == L"Window") windowMenu = ::GetSubMenu(bar, pos);
  }
  HMENU old = menu_;
  menu_ = bar;
  ::SendMessageW(mdi_, WM_MDISETMENU, reinterpret_cast<WPARAM>(bar), reinterpret_cast<LPARAM>(windowMenu));
  ::SetMenu(hwnd_, bar);
  ::DrawMenuBar(hwnd_);
  if (old) ::DestroyMenu(old);
  std::map<int, int> imageOf;
  for (size_t i = 0; i < toolIndices_.size(); ++i) imageOf[toolIndices_[i]] = static_cast<int>(i);
  ribbon_.show(std::move(groups), images_, imageOf);
  onSize();
}

void DemoWindow::buildToolbar() {
  // One button per menu index, in index order; a later AddToolButton for an
  // index replaces the earlier one.
  std::map<int, hostsim::ToolButton> buttons;
  for (const hostsim::ToolButton& b : host_.toolButtons) buttons[b.index] = b;
  std::vector<int> indices;
  std::vector<std::wstring> tips;
  for (const auto& [index, b] : buttons) {
    indices.push_back(index);
    tips.push_back(widenHost(b.caption));
  }
  if (indices == toolIndices_ && tips == toolTips_) return;

  while (::SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0) > 0) ::SendMessageW(toolbar_, TB_DELETEBUTTON, 0, 0);
  ::ImageList_RemoveAll(images_);
  std::vector<TBBUTTON> tb;
  for (const auto& [index, b] : buttons) {
    const std::wstring file = widenHost(b.bitmap);
    HBITMAP bmp = static_cast<HBITMAP>(::LoadImageW(nullptr, file.c_str(), IMAGE_BITMAP, 20, 20, LR_LOADFROMFILE));
    int image = -1;
    if (bmp) {
      // White is the bitmaps' transparent colour.
      image = ::ImageList_AddMasked(images_, bmp, RGB(255, 255, 255));
      ::DeleteObject(bmp);
    }
    if (image < 0) {
      fault(L"tool button " + std::to_wstring(index) + L": cannot load " + inQuotes(file));
      HDC screen = ::GetDC(nullptr);
      HBITMAP blank = ::CreateCompatibleBitmap(screen, 20, 20);
      HDC dc = ::CreateCompatibleDC(screen);
      HGDIOBJ old = ::SelectObject(dc, blank);
      RECT r{0, 0, 20, 20};
      ::FillRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
      ::Rectangle(dc, 3, 3, 17, 17);
      ::SelectObject(dc, old);
      ::DeleteDC(dc);
      ::ReleaseDC(nullptr, screen);
      image = ::ImageList_AddMasked(images_, blank, RGB(255, 255, 255));
      ::DeleteObject(blank);
    }
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = kPluginCommand + index;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON;
    tb.push_back(button);
  }
  ::SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  ::SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(20, 20));
  ::SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(28, 28));
  if (!tb.empty()) ::SendMessageW(toolbar_, TB_ADDBUTTONSW, tb.size(), reinterpret_cast<LPARAM>(tb.data()));
  toolIndices_ = std::move(indices);
  toolTips_ = std::move(tips);
  ::InvalidateRect(toolbar_, nullptr, TRUE);
  std::map<int, int> imageOf;
  for (size_t i = 0; i < toolIndices_.size(); ++i) imageOf[toolIndices_[i]] = static_cast<int>(i);
  ribbon_.show(ribbon_.groups(), images_, imageOf);
}

void DemoWindow::stopPlugin() {
  if (!host_.module()) return;
  runGuarded([&] { exportOf<void (*)()>("OnDestroy")(); });
  while (!editors_.empty() && mdi_) {
    const size_t before = editors_.size();
    if (HWND editor = editors_.back()) ::SendMessageW(mdi_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(editor), 0);
    if (editors_.size() == before) editors_.pop_back();
  }
  host_.unload();
}

bool DemoWindow::restartPlugin(int hostVersion, bool keepSettings) {
  // Switching layouts must not throw away what the user did to the list.
  std::string kept;
  bool haveKept = false;
  if (keepSettings) {
    std::ifstream in(scratch_.settingsFile(), std::ios::binary);
    if (in) {
      kept.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      haveKept = true;
    }
  }
  stopPlugin();
  host_.hostVersion = hostVersion;
  host_.windows.clear();
  host_.currentWindow = -1;
  host_.connections.clear();
  host_.clearRecords();
  editors_.clear();
  texts_.clear();
  std::wstring error;
  const bool ribbon = hostVersion >= 1200;
  if (!prepareScratch(scratch_, options_.packageDir, options_.sampleDir, ribbon, error)) {
    fault(error);
    buildMenuBar();
    buildToolbar();
    return false;
  }
  if (haveKept) {
    std::ofstream out(scratch_.settingsFile(), std::ios::binary | std::ios::trunc);
    out.write(kept.data(), static_cast<std::streamsize>(kept.size()));
    if (!out) {
      fault(L"cannot keep the settings in " + scratch_.settingsFile().wstring());
    } else {
      note(L"the settings are kept across the switch");
    }
  }
  // Should the plug-in ever fall back to the application-data folder, it
  // finds one inside the scratch folder, never the user's real one.
  const fs::path appData = scratch_.root / L"AppData";
  fs::create_directories(appData);
  ::SetEnvironmentVariableW(L"APPDATA", appData.c_str());
  host_.hostRootFolder = narrowHost(scratch_.root.wstring()) + "\\";
  note(L"host version " + std::to_wstring(hostVersion) + (ribbon ? L" (ribbon)" : L" (older menus)") +
       L"; scratch copy in " + scratch_.root.wstring());
  if (!host_.load(scratch_.pluginDll().wstring())) {
    fault(L"cannot load " + scratch_.pluginDll().wstring() + L" (error " + std::to_wstring(::GetLastError()) + L")");
    buildMenuBar();
    buildToolbar();
    return false;
  }
  std::string name;
  callPlugin(L"IdentifyPlugIn(" + std::to_wstring(kPluginId) + L")", [&] {
    const char* n = exportOf<const char* (*)(int)>("IdentifyPlugIn")(kPluginId);
    if (!n) throw std::runtime_error("IdentifyPlugIn returned a null text");
    name = n;
  });
  if (!name.empty()) note(L"the plug-in calls itself " + inQuotes(widenHost(name)));
  callPlugin(L"RegisterCallback for every service", [&] { host_.registerServices(); });
  readPluginMenus();
  host_.toolButtons.clear();
  callPlugin(L"OnActivate()", [&] { exportOf<void (*)()>("OnActivate")(); });
  ::SetWindowTextW(hwnd_, (std::wstring(kTitle) + L" \x2014 host version " + std::to_wstring(hostVersion)).c_str());
  return true;
}

void DemoWindow::clickPluginItem(int index) {
  callPlugin(L"OnMenuClick(" + std::to_wstring(index) + L")",
             [&] { exportOf<void (*)(int)>("OnMenuClick")(index); }, true);
}

void DemoWindow::configurePlugin() {
  callPlugin(L"Configure()", [&] { exportOf<void (*)()>("Configure")(); }, true);
}

void DemoWindow::aboutPlugin() {
  callPlugin(L"About()", [&] {
    const char* text = exportOf<const char* (*)()>("About")();
    if (!text) throw std::runtime_error("About returned a null text");
  }, true);
}

void DemoWindow::openFile(const fs::path& file) {
  const int type = windowTypeForFile(file);
  host_.windows.push_back(hostsim::Window{narrowHost(file.wstring()), type, 0});
  host_.currentWindow = static_cast<int>(host_.windows.size()) - 1;
  note(L"the host opens " + file.wstring() + L" in a " + windowTypeName(type));
  syncEditors();
}

void DemoWindow::logOn(const hostsim::Connection& connection) {
  if (host_.currentWindow < 0 || host_.currentWindow >= static_cast<int>(host_.windows.size())) {
    note(L"no window to log on");
    return;
  }
  int number = 0;
  if (!connection.username.empty()) {
    for (size_t i = 0; i < host_.connections.size() && !number; ++i)
      if (host_.connections[i] == connection) number = static_cast<int>(i) + 1;
    if (!number) {
      host_.connections.push_back(connection);
      number = static_cast<int>(host_.connections.size());
    }
  }
  host_.windows[host_.currentWindow].connection = number;
  note(number ? L"the host logs the current window on as " + connectionText(connection)
              : L"the host logs the current window off");
  updateStatus();
}

int DemoWindow::pluginIndexWith(const std::wstring& part) const {
  for (size_t i = 0; i < texts_.size(); ++i)
    if (!texts_[i].empty() && texts_[i].find(part) != std::wstring::npos) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace demohost

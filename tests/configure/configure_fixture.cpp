#include "configure_fixture.h"

#include "screenshot.h"
#include "window_text.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace configuretest {

void Dialog::pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

bool Dialog::waitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    pump();
    if (condition()) return true;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) return false;
    // Wakes for the next message, or looks again after a short while for
    // what no message announces.
    const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20));
    ::MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

bool Dialog::iconsRead() const {
  return ::SendMessageW(item(IDC_CBE_MENU_ITEM), CBEM_GETIMAGELIST, 0, 0) != 0;
}

bool Dialog::waitForIcons() const {
  return waitFor([this] { return iconsRead(); });
}

std::wstring Dialog::text(int id) const { return fav::windowText(item(id)); }

void Dialog::setText(int id, const std::wstring& text) {
  ::SetWindowTextW(item(id), text.c_str());
  pump();
}

void Dialog::type(int id, const std::wstring& text) {
  HWND box = item(id);
  ::SetFocus(box);
  for (wchar_t c : text) {
    ::SendMessageW(box, WM_CHAR, c, 1);
  }
  pump();
}

bool Dialog::checked(int id) const { return Button_GetCheck(item(id)) == BST_CHECKED; }

void Dialog::click(int id) {
  ::SendMessageW(item(id), BM_CLICK, 0, 0);
  pump();
}

bool Dialog::enabled(int id) const { return ::IsWindowEnabled(item(id)) != FALSE; }
bool Dialog::visible(int id) const { return ::IsWindowVisible(item(id)) != FALSE; }

void Dialog::command(int id) {
  ::SendMessageW(hwnd_, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  pump();
}

int Dialog::rows() const { return ListView_GetItemCount(grid()); }

std::wstring Dialog::cell(int row, int col) const {
  wchar_t buf[2048] = {};
  ListView_GetItemText(grid(), row, col, buf, 2048);
  return buf;
}

int Dialog::selectedRow() const { return ListView_GetNextItem(grid(), -1, LVNI_SELECTED); }

POINT Dialog::cellCenter(int row, int col) const {
  RECT r{};
  ListView_GetItemRect(grid(), row, &r, LVIR_BOUNDS);
  int left = r.left;
  for (int c = 0; c < col; ++c) left += ListView_GetColumnWidth(grid(), c);
  return POINT{left + ListView_GetColumnWidth(grid(), col) / 2, (r.top + r.bottom) / 2};
}

namespace {
void mouseClick(HWND target, POINT p, UINT down, UINT up, WPARAM button) {
  const LPARAM at = MAKELPARAM(p.x, p.y);
  POINT screen = p;
  ::ClientToScreen(target, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::PostMessageW(target, WM_MOUSEMOVE, 0, at);
  ::PostMessageW(target, down, button, at);
  ::PostMessageW(target, up, 0, at);
}
}  // namespace

void Dialog::clickCell(int row, int col) {
  mouseClick(grid(), cellCenter(row, col), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
  pump();
}

void Dialog::ctrlClickCell(int row, int col) {
  mouseClick(grid(), cellCenter(row, col), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON | MK_CONTROL);
  pump();
}

void Dialog::rightClickCell(int row, int col) {
  mouseClick(grid(), cellCenter(row, col), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
  pump();
}

void Dialog::moveOver(int row) {
  const POINT p = cellCenter(row, 2);
  ::SendMessageW(grid(), WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
}

void Dialog::key(UINT vk, HWND target) {
  HWND to = target ? target : ::GetFocus();
  ::PostMessageW(to, WM_KEYDOWN, vk, 1);
  ::PostMessageW(to, WM_KEYUP, vk, 0xC0000001);
  pump();
}

void Dialog::altKey(UINT vk) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_MENU] = keys[VK_LMENU] = 0x80;
  ::SetKeyboardState(keys);
  HWND to = ::GetFocus();
  ::PostMessageW(to, WM_SYSKEYDOWN, vk, 1 | (1 << 29));
  ::PostMessageW(to, WM_SYSKEYUP, vk, 0xE0000001);
  pump();
  keys[VK_MENU] = keys[VK_LMENU] = 0;
  ::SetKeyboardState(keys);
}

void Dialog::postAltKey(UINT vk) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_MENU] = keys[VK_LMENU] = 0x80;
  ::SetKeyboardState(keys);
  HWND to = ::GetFocus();
  ::PostMessageW(to, WM_SYSKEYDOWN, vk, 1 | (1 << 29));
}

void Dialog::postCtrlKey(UINT vk, HWND target) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
  ::SetKeyboardState(keys);
  HWND to = target ? target : ::GetFocus();
  ::PostMessageW(to ? to : hwnd_, WM_KEYDOWN, vk, 1);
}

void Dialog::releaseCtrl() {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
  ::SetKeyboardState(keys);
}

void Dialog::releaseAlt() {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_MENU] = keys[VK_LMENU] = 0;
  ::SetKeyboardState(keys);
}

namespace {
struct StepRun {
  HWND dialog = nullptr;
  std::vector<std::function<void(Dialog&)>> steps;
  size_t next = 0;
  bool running = false;  // a step that pumps must not start the next one
};
StepRun gRun;

void CALLBACK runStep(HWND, UINT, UINT_PTR id, DWORD) {
  if (gRun.next >= gRun.steps.size() || !::IsWindow(gRun.dialog)) {
    ::KillTimer(nullptr, id);
    if (::IsWindow(gRun.dialog) && ::IsWindowVisible(gRun.dialog))
      ::PostMessageW(gRun.dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  if (gRun.running) return;
  Dialog d(gRun.dialog);
  auto step = std::move(gRun.steps[gRun.next++]);
  gRun.running = true;
  step(d);
  gRun.running = false;
}
}  // namespace

void Dialog::steps(std::vector<std::function<void(Dialog&)>> steps) {
  gRun = StepRun{hwnd_, std::move(steps), 0};
  scheduled_ = true;
  ::SetTimer(nullptr, 0, 40, &runStep);
}

std::vector<std::wstring> Dialog::pickerEntries(int id) const {
  std::vector<std::wstring> out;
  HWND combo = item(id);
  const int n = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t buf[512] = {};
    COMBOBOXEXITEMW entry{};
    entry.mask = CBEIF_TEXT;
    entry.iItem = i;
    entry.pszText = buf;
    entry.cchTextMax = 512;
    ::SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    out.push_back(buf);
  }
  return out;
}

int Dialog::pickerSelection(int id) const {
  return static_cast<int>(::SendMessageW(item(id), CB_GETCURSEL, 0, 0));
}

bool Dialog::pickerDropped(int id) const {
  return ::SendMessageW(item(id), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void Dialog::pickEntry(int id, int entry) {
  HWND inner = reinterpret_cast<HWND>(::SendMessageW(item(id), CBEM_GETCOMBOCONTROL, 0, 0));
  ::SendMessageW(item(id), CB_SETCURSEL, entry, 0);
  ::SendMessageW(inner, WM_KEYDOWN, VK_RETURN, 1);
  pump();
}

void Dialog::cancelPicker(int id) {
  HWND inner = reinterpret_cast<HWND>(::SendMessageW(item(id), CBEM_GETCOMBOCONTROL, 0, 0));
  ::SendMessageW(inner, WM_KEYDOWN, VK_ESCAPE, 1);
  pump();
}

void Dialog::hover(HWND control) {
  ::SendMessageW(hwnd_, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

namespace {
void captureScreen(RECT r, const std::wstring& name);
std::wstring gQuestionShot;
HWND gQuestionOwner = nullptr;
}  // namespace

void Dialog::screenshotQuestion(const std::wstring& text, const std::wstring& name,
                                unsigned type) const {
  wchar_t dir[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"FAV_SHOT_DIR", dir, MAX_PATH)) return;
  gQuestionShot = name;
  gQuestionOwner = hwnd_;
  // Looks for the box until it is up; it is taken once it has been shown.
  ::SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = ::FindWindowW(L"#32770", L"Favorites");
    if (!box || !::IsWindowVisible(box)) return;
    ::KillTimer(nullptr, id);
    ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r{};
    ::GetWindowRect(gQuestionOwner ? gQuestionOwner : box, &r);
    captureScreen(r, gQuestionShot);
    ::PostMessageW(box, WM_COMMAND, IDNO, 0);
  });
  ::MessageBoxW(hwnd_, text.c_str(), L"Favorites", type);
}

void Dialog::screenshot(const std::wstring& name) const {
  wchar_t dir[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"FAV_SHOT_DIR", dir, MAX_PATH)) return;
  ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  pump();
  ::GdiFlush();
  RECT r{};
  ::GetWindowRect(hwnd_, &r);
  captureScreen(r, name);
}

namespace {
void captureScreen(RECT r, const std::wstring& baseName) {
  const std::wstring dir = testsupport::screenshotFolder(L"FAV_SHOT_DIR");
  if (dir.empty()) return;
  // A maximised window's frame lies partly off the screen.
  const RECT screen{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                    ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  ::IntersectRect(&r, &r, &screen);
  HDC probe = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(probe, LOGPIXELSY);
  ::ReleaseDC(nullptr, probe);
  testsupport::captureScreenRect(r, std::filesystem::path(dir) /
                                        (baseName + L"_" + std::to_wstring(dpi) + L".bmp"));
}
}  // namespace

void ConfigureTest::configure(const std::function<void(Dialog&)>& drive) {
  bool shown = false;
  host.ui.onDialog = [&](HWND hwnd, const std::wstring& name) {
    if (name != L"TfrmConfigureFavorites") {
      ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    shown = true;
    Dialog dialog(hwnd);
    Dialog::pump();
    EXPECT_TRUE(dialog.waitForIcons()) << "the icons were not read";
    drive(dialog);
    // A test that forgot to close it must not hang.
    if (!dialog.scheduled() && ::IsWindow(hwnd) && ::IsWindowVisible(hwnd))
      ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  };
  host.configure();
  EXPECT_TRUE(shown) << "the Configure dialog was not shown";
}

void ConfigureTest::writeSampleIcons(int count) {
  writeIcon(dir.path(), L"[fav]_empty.bmp", RGB(255, 255, 255));
  const struct {
    const wchar_t* name;
    COLORREF colour;
  } icons[] = {{L"fav_a.bmp", RGB(200, 30, 30)},
               {L"fav_b.bmp", RGB(30, 150, 30)},
               {L"fav_c.bmp", RGB(30, 30, 200)}};
  for (int i = 0; i < count && i < 3; ++i) writeIcon(dir.path(), icons[i].name, icons[i].colour);
}

void ConfigureTest::writeIcon(const std::filesystem::path& folder, const std::wstring& name,
                              COLORREF colour, int size) {
  const int stride = ((size * 3) + 3) & ~3;
  std::string bytes(54 + static_cast<size_t>(stride) * size, '\0');
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(size));
  put32(22, static_cast<uint32_t>(size));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const size_t at = 54 + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
      const bool ink = x > 2 && x < size - 3 && y > 2 && y < size - 3;
      bytes[at] = static_cast<char>(ink ? GetBValue(colour) : 255);
      bytes[at + 1] = static_cast<char>(ink ? GetGValue(colour) : 255);
      bytes[at + 2] = static_cast<char>(ink ? GetRValue(colour) : 255);
    }
  testsupport::writeFile(folder / name, bytes);
}

}  // namespace configuretest

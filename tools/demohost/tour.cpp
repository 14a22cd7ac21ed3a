#include "tour.h"

#include <cwctype>
#include <fstream>
#include <memory>

#include "screen_capture.h"

namespace demohost {
namespace {

Tour* gTour = nullptr;  // one tour at a time: the timer has no context
constexpr UINT kTickMs = 100;

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
  return out;
}

// The keyboard moves over items, not separators.
int selectablePosition(const std::vector<MenuNode>& nodes, const std::wstring& caption) {
  int pos = 0;
  for (const MenuNode& n : nodes) {
    if (n.separator) continue;
    if (_wcsicmp(n.caption.c_str(), caption.c_str()) == 0) return pos;
    ++pos;
  }
  return -1;
}

}  // namespace

Tour::Tour(DemoWindow& demo, Options options) : demo_(demo), options_(std::move(options)) {
  const std::filesystem::path scripts = demo_.scratch().scripts();

  wait(800);
  add(L"older menu scheme", [this] {
    if (demo_.ribbonScheme()) demo_.restartPlugin(1199);
    return true;
  });
  checkpoint("older menus");
  openMenu({L"File", L"Favorite Files", L"Payroll"});
  shot(L"demohost-menus",
       L"The older menu scheme: File \x25B8 Favorite Files, built from the plug-in's \" / \" paths and "
       L"\" >> \" placement, with the submenus Reports and Payroll, an alias and a stored connection in the "
       L"captions; the tool bar holds the plug-in's buttons");
  closeMenus();

  click([this] { return demo_.pluginIndexWith(L"pkg_payroll.pck"); });
  add(L"the favorite's window opens", [this] { return demo_.editors().size() == 1; });
  checkpoint("favorite opened");
  wait(400);
  shot(L"demohost-favorite-opened",
       L"A click on the favorite pkg_payroll.pck: the plug-in opened it in a Program Window and logged it "
       L"on; the status bar shows the file, the window type and scott@ORCL as Normal; the log pane lists "
       L"the plug-in's callbacks in order");

  add(L"open a file and log it on", [this, scripts] {
    demo_.openFile(scripts / L"invoices_due.sql");
    demo_.logOn(hostsim::Connection{"hr", "hr", "XEPDB1", "SysDBA"});
    return true;
  });
  click([] { return 2; });
  add(L"the new favorite appears", [this] { return demo_.pluginIndexWith(L"invoices_due.sql") != 0; });
  checkpoint("current added");
  openMenu({L"File", L"Favorite Files"});
  shot(L"demohost-add-current",
       L"Add Current on the open invoices_due.sql (logged on as hr@XEPDB1 as SysDBA): the plug-in wrote the "
       L"new favorite with its connection and the refreshed menu shows it at the end");
  closeMenus();

  dialog(3, "configure shown", L"configure-dialog",
         L"The Configure Favorites dialog over the demo host, opened with [Favorites] Configure...", 1200);
  dialog(4, "about shown", L"about-dialog",
         L"The About dialog, opened with [Favorites] About", 2500);

  add(L"ribbon scheme", [this] { return demo_.restartPlugin(1200) || true; });
  checkpoint("ribbon");
  wait(500);
  openRibbonDropDown(L"Payroll");
  shot(L"demohost-ribbon",
       L"The ribbon scheme (host version 1200): the group Favorites from GROUP=, the buttons from ITEM=, "
       L"the drop-downs Favorite Files, Reports and Payroll from MENUITEM= with their SUBITEM= entries");
  closeMenus();

  if (std::filesystem::exists(demo_.packageDir() / L"tolvane.exe")) installerPages();
}

Tour::~Tour() {
  if (timer_) ::KillTimer(nullptr, timer_);
  if (installer_) {
    // Only when a step timed out is it still running.
    if (::WaitForSingleObject(installer_, 0) == WAIT_TIMEOUT) ::TerminateProcess(installer_, 1);
    ::CloseHandle(installer_);
  }
  if (gTour == this) gTour = nullptr;
}

void Tour::start() {
  gTour = this;
  if (!options_.outDir.empty()) std::filesystem::create_directories(options_.outDir);
  stepStarted_ = ::GetTickCount();
  timer_ = ::SetTimer(nullptr, 0, kTickMs, &Tour::onTimer);
}

void CALLBACK Tour::onTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (gTour) gTour->tick();
}

void Tour::tick() {
  if (busy_ || finished_) return;
  busy_ = true;
  while (next_ < steps_.size()) {
    Step& step = steps_[next_];
    bool done = false;
    try {
      done = step.run();
    } catch (const std::exception& e) {
      fail(step.name + L": " + widenHost(e.what()));
      done = true;
    }
    if (!done) {
      if (::GetTickCount() - stepStarted_ > options_.stepTimeoutMs) {
        fail(step.name + L": did not happen in time");
        // A dialog left open would hold the rest of the tour; close it.
        if (HWND d = findDialog()) ::PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (inMenu()) ::EndMenu();
        ++next_;
        stepStarted_ = ::GetTickCount();
      }
      break;
    }
    ++next_;
    stepStarted_ = ::GetTickCount();
  }
  busy_ = false;
  if (next_ >= steps_.size()) finish();
}

void Tour::finish() {
  if (finished_) return;
  finished_ = true;
  if (timer_) ::KillTimer(nullptr, timer_);
  timer_ = 0;
  if (!options_.outDir.empty()) {
    std::ofstream list(options_.outDir / L"shots.txt", std::ios::binary | std::ios::trunc);
    for (const Shot& s : shots_) list << utf8(s.name) << '\t' << utf8(s.caption) << '\n';
    std::ofstream result(options_.outDir / L"tour.txt", std::ios::binary | std::ios::trunc);
    result << (failures_.empty() ? "tour passed\n" : "tour failed\n");
    for (const std::wstring& f : failures_) result << utf8(f) << '\n';
  }
  if (onFinished) onFinished();
}

void Tour::fail(const std::wstring& why) { failures_.push_back(why); }

void Tour::add(std::wstring name, std::function<bool()> run) {
  steps_.push_back(Step{std::move(name), std::move(run)});
}

void Tour::wait(DWORD ms) {
  auto until = std::make_shared<DWORD>(0);
  add(L"wait", [until, ms] {
    if (!*until) *until = ::GetTickCount() + ms;
    if (static_cast<LONG>(::GetTickCount() - *until) < 0) return false;
    *until = 0;
    return true;
  });
}

void Tour::checkpoint(const std::string& name) {
  add(L"checkpoint " + widenHost(name), [this, name] {
    if (onCheckpoint) onCheckpoint(name);
    return true;
  });
}

void Tour::shot(std::wstring name, std::wstring caption, std::function<HWND()> window) {
  add(L"screenshot " + name, [this, name, caption, window] {
    if (options_.outDir.empty()) return true;
    HWND target = window ? window() : demo_.hwnd();
    if (!hostsim::saveWindowShot(target, options_.outDir / (name + L".bmp"))) fail(L"cannot save " + name);
    else shots_.push_back(Shot{name, caption});
    return true;
  });
}

void Tour::post(UINT msg, WPARAM wp, LPARAM lp) const { ::PostMessageW(demo_.hwnd(), msg, wp, lp); }

void Tour::click(const std::function<int()>& index) {
  add(L"click", [this, index] {
    const int i = index();
    if (i <= 0) {
      fail(L"no menu item to click");
      return true;
    }
    post(WM_COMMAND, MAKEWPARAM(DemoWindow::kPluginCommand + i, 0));
    return true;
  });
}

bool Tour::inMenu() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) &&
         (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE));
}

void Tour::openMenu(std::vector<std::wstring> path) {
  add(L"open the menu " + path.front(), [this, path] {
    ::SetForegroundWindow(demo_.hwnd());
    post(WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(::towlower(path.front()[0])));
    return true;
  });
  add(L"the menu opens", [] { return inMenu(); });
  add(L"walk down the menu", [this, path] {
    // The first item of a popup opened from the keyboard is selected.
    std::vector<std::wstring> walked{path.front()};
    for (size_t i = 1; i < path.size(); ++i) {
      const MenuNode* parent = findMenuPath(demo_.menuBar(), walked);
      const int pos = parent ? selectablePosition(parent->children, path[i]) : -1;
      if (pos < 0) {
        fail(L"no menu item " + path[i]);
        return true;
      }
      for (int k = 0; k < pos; ++k) post(WM_KEYDOWN, VK_DOWN);
      post(WM_KEYDOWN, VK_RIGHT);
      walked.push_back(path[i]);
    }
    return true;
  });
  wait(700);
}

void Tour::closeMenus() {
  add(L"close the menus", [] {
    if (inMenu()) ::EndMenu();
    return true;
  });
  add(L"the menus close", [] { return !inMenu(); });
  wait(200);
}

void Tour::openRibbonDropDown(std::wstring caption) {
  add(L"open the drop-down " + caption, [this, caption] {
    POINT centre{};
    if (!demo_.ribbon().dropDownCentre(caption, centre)) {
      fail(L"no drop-down " + caption);
      return true;
    }
    ::PostMessageW(demo_.ribbon().hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    return true;
  });
  add(L"the drop-down opens", [] { return inMenu(); });
  wait(600);
}

HWND Tour::findDialog() const {
  struct Search {
    HWND main;
    HWND found;
  } search{demo_.hwnd(), nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t cls[64] = L"";
        ::GetClassNameW(hwnd, cls, 64);
        if (hwnd != s->main && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd) &&
            wcscmp(cls, L"#32770") == 0) {
          s->found = hwnd;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void Tour::dialog(int index, const std::string& checkpointName, std::wstring shotName, std::wstring caption,
                  DWORD settleMs) {
  click([index] { return index; });
  add(L"the dialog opens", [this] {
    dialog_ = findDialog();
    return dialog_ != nullptr;
  });
  wait(settleMs);
  checkpoint(checkpointName);
  shot(shotName, caption, [this] { return dialog_; });
  add(L"close the dialog", [this] {
    if (dialog_ && ::IsWindow(dialog_)) ::PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return true;
  });
  add(L"the dialog closes", [this] { return !::IsWindow(dialog_) && ::IsWindowEnabled(demo_.hwnd()); });
  wait(300);
}

}  // namespace demohost

namespace demohost {

// The installer runs from a copy of the package inside the scratch folder,
// and is pointed at a plug-in folder there, so the tour installs nothing
// anywhere else.
bool Tour::startInstaller() {
  namespace fs = std::filesystem;
  const fs::path folder = demo_.scratch().root / L"Installer";
  std::error_code ec;
  fs::create_directories(folder, ec);
  for (const auto& e : fs::directory_iterator(demo_.packageDir(), ec))
    if (e.is_regular_file()) fs::copy_file(e.path(), folder / e.path().filename(), fs::copy_options::overwrite_existing, ec);
  std::wstring command = L"\"" + (folder / L"tolvane.exe").wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
    fail(L"cannot start " + command);
    return false;
  }
  ::CloseHandle(pi.hThread);
  installer_ = pi.hProcess;
  installerId_ = pi.dwProcessId;
  return true;
}

void Tour::pressInstaller(int x, int y) const {
  ::PostMessageW(installerWindow_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  ::PostMessageW(installerWindow_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void Tour::installerPages() {
  // The installer's Next zone, in its client pixels.
  constexpr int kNextX = 400, kNextY = 275;
  auto installerWindow = [this] { return installerWindow_; };
  add(L"start the installer", [this] {
    startInstaller();
    return true;
  });
  add(L"the installer's window opens", [this] {
    if (!installer_) return true;
    struct Search {
      DWORD process;
      HWND found;
    } search{installerId_, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          ::GetWindowThreadProcessId(hwnd, &pid);
          wchar_t cls[64] = L"";
          ::GetClassNameW(hwnd, cls, 64);
          if (pid == s->process && ::IsWindowVisible(hwnd) && wcscmp(cls, L"TfrmTolvane") == 0) {
            s->found = hwnd;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    installerWindow_ = search.found;
    return installerWindow_ != nullptr;
  });
  wait(1200);
  shot(L"installer-welcome", L"The installer tolvane.exe from dist/Favorites: its first page", installerWindow);
  add(L"installer: Next", [this, kNextX, kNextY] {
    pressInstaller(kNextX, kNextY);
    return true;
  });
  wait(800);
  add(L"installer: a plug-in folder inside the scratch copy", [this] {
    const std::filesystem::path target = demo_.scratch().root / L"IDE" / L"PlugIns";
    std::error_code ec;
    std::filesystem::create_directories(target, ec);
    const std::wstring text = target.wstring() + L"\\";
    // IDC_EDT_LOCATION of the installer's window.
    ::SendMessageW(::GetDlgItem(installerWindow_, 1007), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return true;
  });
  wait(400);
  shot(L"installer-location", L"The installer's second page: the plug-in folder to copy the package into",
       installerWindow);
  add(L"installer: Next, which copies the files", [this, kNextX, kNextY] {
    pressInstaller(kNextX, kNextY);
    return true;
  });
  wait(2500);
  shot(L"installer-done", L"The installer's last page: the package was copied and the success text shown",
       installerWindow);
  add(L"close the installer", [this] {
    if (installerWindow_) ::PostMessageW(installerWindow_, WM_CLOSE, 0, 0);
    return true;
  });
  add(L"the installer ends", [this] { return !installer_ || ::WaitForSingleObject(installer_, 0) != WAIT_TIMEOUT; });
}

}  // namespace demohost

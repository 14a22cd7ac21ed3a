#include "commands_fixture.h"

#include <commctrl.h>

#include "frm_SubMenus_ids.h"

namespace commandstest {

void CommandsTest::run(const Drive& drive, std::map<std::wstring, Drive> children) {
  bool configureShown = false;
  host.ui.onDialog = [&](HWND hwnd, const std::wstring& name) {
    Dialog dialog(hwnd);
    Dialog::pump();
    if (name == L"TfrmConfigureFavorites") {
      configureShown = true;
      EXPECT_TRUE(dialog.waitForIcons()) << "the icons were not read";
      drive(dialog);
    } else {
      ++shown[name];
      // The Submenus dialog reads its icons after its first paint, as
      // Configure does; its icon picker holds the blank entry once they came.
      if (name == L"TfrmSubMenus") {
        EXPECT_TRUE(Dialog::waitFor([&] { return submenuIconsRead(dialog); }))
            << "the Submenus icons were not read";
      }
      if (auto it = children.find(name); it != children.end()) it->second(dialog);
    }
    // A handler that forgot to close its dialog must not hang the test (one
    // that scheduled steps closes it with its last step).
    if (!dialog.scheduled() && ::IsWindow(hwnd) && ::IsWindowVisible(hwnd))
      ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
  };
  host.configure();
  host.ui.onDialog = nullptr;
  EXPECT_TRUE(configureShown) << "the Configure dialog was not shown";
}

bool CommandsTest::submenuIconsRead(Dialog& submenus) {
  return ::SendMessageW(submenus.item(IDC_SM_CBE_ICON), CB_GETCOUNT, 0, 0) > 0;
}

std::wstring CommandsTest::ini(const std::wstring& section, const std::wstring& key) const {
  wchar_t buf[2048] = {};
  ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"<none>", buf, 2048,
                             iniPath().c_str());
  return buf;
}

std::vector<std::wstring> CommandsTest::files() const {
  std::vector<std::wstring> out;
  for (int n = 1;; ++n) {
    const std::wstring value = entry(L"Files", L"File", n);
    if (value == L"<none>") return out;
    out.push_back(value);
  }
}

std::vector<std::wstring> CommandsTest::submenuNames() const {
  std::vector<std::wstring> out;
  for (int n = 1;; ++n) {
    const std::wstring value = entry(L"SubMenuItems", L"SubMenuItem", n);
    if (value == L"<none>" || value.empty()) return out;
    out.push_back(value);
  }
}

void CommandsTest::withCtrl(const std::function<void()>& f) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
  ::SetKeyboardState(keys);
  f();
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = keys[VK_LCONTROL] = 0;
  ::SetKeyboardState(keys);
}

std::vector<std::wstring> CommandsTest::gridNames(HWND grid) {
  std::vector<std::wstring> names;
  const int n = ListView_GetItemCount(grid);
  for (int row = 0; row < n; ++row) {
    wchar_t buf[512] = {};
    ListView_GetItemText(grid, row, 1, buf, 512);
    names.push_back(buf);
  }
  return names;
}

std::vector<std::wstring> CommandsTest::comboEntries(HWND combo) {
  std::vector<std::wstring> out;
  const int n = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t buf[512] = {};
    ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
    out.push_back(buf);
  }
  return out;
}

}  // namespace commandstest

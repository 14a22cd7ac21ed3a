// The Configure dialog run through the Configure export, with handlers for
// the child dialogs it opens (Connection Info, Submenus) and for reading the
// settings file that Ok wrote.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "configure_fixture.h"
#include "window_text.h"

namespace commandstest {

using configuretest::Dialog;

class CommandsTest : public configuretest::ConfigureTest {
 protected:
  using Drive = std::function<void(Dialog&)>;

  // Runs Configure with drive on its dialog; children[name] drives a child
  // dialog each time it shows (a child without a handler is cancelled).
  void run(const Drive& drive, std::map<std::wstring, Drive> children = {});

  // A value of the settings file as the platform reads it ("<none>" when
  // the key is missing).
  std::wstring ini(const std::wstring& section, const std::wstring& key) const;
  // File1, File2, ... up to the first missing one.
  std::vector<std::wstring> files() const;
  // Entry n of a list section (Types, SubMenus, ...), n from 1.
  std::wstring entry(const std::wstring& section, const std::wstring& prefix, int n) const {
    return ini(section, prefix + std::to_wstring(n));
  }
  std::vector<std::wstring> submenuNames() const;

  // Holds Ctrl down (thread keyboard state) while f runs.
  static void withCtrl(const std::function<void()>& f);
  // The Submenus dialog's icons have been read (its pickers are filled).
  static bool submenuIconsRead(Dialog& submenus);
  // The rows of a submenu grid: names in column 1.
  static std::vector<std::wstring> gridNames(HWND grid);
  // Entries of a plain combo box.
  static std::vector<std::wstring> comboEntries(HWND combo);

  std::map<std::wstring, int> shown;  // child dialog name -> times shown
};

}  // namespace commandstest

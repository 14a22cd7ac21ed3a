// One scripted session through the Configure dialog, compared key for key
// with a checked-in settings file: Add three, Load a folder, Separator, Up,
// Connection Info, add a submenu and rename it in the Submenus dialog, Ok.
#include "commands_fixture.h"

#include <commctrl.h>

#include <fstream>
#include <sstream>

#include "frm_ConnectionInfo_ids.h"
#include "frm_SubMenus_ids.h"

namespace commandstest {
namespace {

using Sections = std::map<std::string, std::map<std::string, std::string>>;

// A checked-in settings file with its "{name}" fields filled in: the scratch
// folder, and the place and size the dialog had on this display.
std::string fixture(const std::string& name, const std::map<std::string, std::string>& fields) {
  const char* source = std::getenv("FAV_SOURCE_DIR");
  std::ifstream in(std::filesystem::path(source ? source : ".") / "tests" / "commands" /
                       "fixtures" / name,
                   std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  std::string s = text.str();
  for (const auto& [field, value] : fields) {
    const std::string marker = "{" + field + "}";
    for (size_t at = s.find(marker); at != std::string::npos;
         at = s.find(marker, at + value.size()))
      s.replace(at, marker.size(), value);
  }
  return s;
}

Sections parse(const std::string& text) {
  Sections out;
  std::string section;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      out[section];
      continue;
    }
    const size_t eq = line.find('=');
    if (eq != std::string::npos) out[section][line.substr(0, eq)] = line.substr(eq + 1);
  }
  return out;
}

class SessionTest : public CommandsTest {};

TEST_F(SessionTest, AScriptedSessionWritesTheFixtureKeyForKey) {
  const std::string root = folder();
  writeIni(fixture("session_start.ini", {{"dir", root}}));
  testsupport::writeFile(dir / L"lib" / L"x.sql", "x");
  testsupport::writeFile(dir / L"lib" / L"y.fnc", "x");
  host.extensionsForType = {{"FUNCTION", "fnc"}, {"PACKAGE", "pck"}};
  loadPlugin();
  const std::wstring wroot = dir.str();
  host.ui.openFiles = {{L"C:\\proj\\a.sql", L"C:\\proj\\pkg.pck", wroot + L"\\loose.txt"}};
  host.ui.folders = {wroot + L"\\lib"};

  RECT placed{};
  run(
      [&](Dialog& d) {
        d.command(IDC_ACT_ADD);
        d.command(IDC_ACT_LOAD);
        d.command(IDC_ACT_ADD_SEPARATOR);
        d.clickCell(d.rows() - 1, 2);  // the separator one up, above y.fnc
        d.command(IDC_ACT_UP);
        d.clickCell(0, 2);
        d.command(IDC_ACT_CONNECTION_INFO);
        d.setText(IDC_ED_SUBMENU, L"Tools");
        d.click(IDC_SB_ADD_SUBMENU);
        d.clickCell(1, 1);  // pkg.pck joins Tools
        d.pickEntry(IDC_CB_SUBMENU_EDIT, 1);
        withCtrl([&] { d.click(IDC_SB_ADD_SUBMENU); });
        ::GetWindowRect(d.hwnd(), &placed);
        d.ok();
      },
      {{L"TfrmConnectionInfo",
        [](Dialog& ci) {
          ci.setText(IDC_CI_USERNAME, L"scott");
          ci.setText(IDC_CI_PASSWORD, L"tiger");
          ci.setText(IDC_CI_DATABASE, L"orcl");
          ci.setText(IDC_CI_CONNECT_AS, L"Normal");
          ci.setText(IDC_CI_ALIAS, L"Script A");
          ci.command(IDOK);
        }},
       {L"TfrmSubMenus", [](Dialog& sm) {
          HWND grid = sm.item(IDC_SM_GRID);
          ASSERT_EQ(gridNames(grid), (std::vector<std::wstring>{L"", L"Tools"}));
          ListView_SetItemState(grid, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
          sm.key(VK_F2, grid);
          sm.setText(IDC_SM_EDT_ITEM, L"Utilities");
          sm.key(VK_RETURN, sm.item(IDC_SM_EDT_ITEM));
          sm.command(IDOK);
        }}});

  EXPECT_EQ(shown[L"TfrmConnectionInfo"], 1);
  EXPECT_EQ(shown[L"TfrmSubMenus"], 1);
  ASSERT_GT(placed.right, placed.left) << "the dialog's place was not taken";
  const Sections expected = parse(fixture(
      "session_expected.ini", {{"dir", root},
                               {"left", std::to_string(placed.left)},
                               {"top", std::to_string(placed.top)},
                               {"width", std::to_string(placed.right - placed.left)},
                               {"height", std::to_string(placed.bottom - placed.top)}}));
  const Sections actual = parse(readIni());
  for (const auto& [section, keys] : expected)
    for (const auto& [key, value] : keys) {
      const auto s = actual.find(section);
      ASSERT_NE(s, actual.end()) << "[" << section << "] missing";
      const auto k = s->second.find(key);
      EXPECT_TRUE(k != s->second.end() && k->second == value)
          << "[" << section << "] " << key << ": expected \"" << value << "\", got \""
          << (k == s->second.end() ? std::string("<missing>") : k->second) << "\"";
    }
  for (const auto& [section, keys] : actual)
    for (const auto& [key, value] : keys)
      EXPECT_TRUE(expected.count(section) && expected.at(section).count(key))
          << "unexpected [" << section << "] " << key << "=" << value;
  if (::testing::Test::HasFailure()) std::printf("%s\n", readIni().c_str());
}

}  // namespace
}  // namespace commandstest

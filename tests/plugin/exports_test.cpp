// The export boundary and the life cycle: identification, service
// registration, the fixed answers, and an export list of exactly twelve names.
#include <windows.h>

#include <algorithm>
#include <set>

#include "plugin_fixture.h"

namespace {

using testsupport::PluginTest;

class ExportsTest : public PluginTest {};

std::set<std::string> exportNames(HMODULE module) {
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::set<std::string> out;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    out.insert(reinterpret_cast<const char*>(base + names[i]));
  return out;
}

TEST_F(ExportsTest, ExportsExactlyTheTwelveUndecoratedNames) {
  loadPlugin();
  const std::set<std::string> expected = {
      "IdentifyPlugIn", "RegisterCallback", "CreateMenuItem", "OnMenuClick",
      "Configure",      "About",            "OnActivate",     "OnCreate",
      "OnDestroy",      "onWindowChange",   "OnMainMenu",     "SupportsStyles"};
  EXPECT_EQ(exportNames(host.module()), expected);
}

TEST_F(ExportsTest, IdentifiesAsFavoritesAndUsesTheGivenId) {
  ASSERT_TRUE(host.load((dir / L"favorites.dll").wstring()));
  EXPECT_EQ(host.identify(42), "Favorites");
  host.registerServices();
  host.onActivate();
  ASSERT_FALSE(host.toolButtons.empty());
  for (const auto& b : host.toolButtons) EXPECT_EQ(b.pluginId, 42);
}

// SupportsStyles answers -1 (every bit set); the four notifications do
// nothing at all: no call back into the host, no window, no change of the
// settings file, the menus or the buttons.
TEST_F(ExportsTest, FixedAnswersAndNoOps) {
  const std::string settings =
      "[Settings]\r\nMenuItemName=Mine\r\n[Files]\r\nFile1=c:\\a.sql\r\n[Buttons]\r\n"
      "Button1=fav_a.bmp\r\n";
  writeIni(settings);
  loadPlugin();
  const std::vector<std::string> menus = host.menuTexts();
  const struct {
    const char* name;
    void (hostsim::HostSimulator::*call)();
  } notifications[] = {
      {"OnCreate", &hostsim::HostSimulator::onCreate},
      {"OnDestroy", &hostsim::HostSimulator::onDestroy},
      {"onWindowChange", &hostsim::HostSimulator::onWindowChange},
      {"OnMainMenu", &hostsim::HostSimulator::onMainMenu},
  };
  for (const auto& n : notifications) {
    SCOPED_TRACE(n.name);
    host.clearRecords();
    (host.*n.call)();
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(host.refreshRequests, 0);
    EXPECT_TRUE(host.ui.messageBoxTexts.empty());
    EXPECT_TRUE(host.toolButtons.empty());
    EXPECT_EQ(readIni(), settings);
  }
  EXPECT_EQ(host.menuTexts(), menus);
  EXPECT_EQ(host.supportsStyles(), -1);
}

int gVersionA() { return 1199; }
int gVersionB() { return 1200; }

TEST_F(ExportsTest, ALaterRegistrationReplacesTheServiceAndUnknownIndicesAreIgnored) {
  loadPlugin();
  host.registerCallback(1, reinterpret_cast<void*>(&gVersionA));
  EXPECT_EQ(host.createMenuItem(1), "File / Reopen >> Favorite Files");
  host.registerCallback(1, reinterpret_cast<void*>(&gVersionB));
  EXPECT_EQ(host.createMenuItem(1), "GROUP=Favorites");
  // Indices the host never hands out are not stored: garbage there is never called.
  for (int index : {0, -1, 49, 99, 57, 273, 100000})
    host.registerCallback(index, reinterpret_cast<void*>(0x10));
  EXPECT_EQ(host.createMenuItem(2), "ITEM=[Favorites] Add Current");
  host.onActivate();
}

TEST_F(ExportsTest, ClicksOutsideTheCommandsDoNothing) {
  writeIni("[Files]\nFile0=c:\\zero.sql\n[Types]\nType0=1\n");
  loadPlugin();
  for (int index : {1, 5, 100, 0, -3}) {
    host.clearRecords();
    host.onMenuClick(index);
    EXPECT_TRUE(host.callsNamed("OpenFileInWindow").empty()) << index;
    EXPECT_TRUE(host.callsNamed("WindowCount").empty()) << index;
    EXPECT_EQ(host.refreshRequests, 0) << index;
  }
}

TEST_F(ExportsTest, SettingsPathIsResolvedOnceOnTheFirstMenuRequest) {
  loadPlugin();
  host.createMenuItem(1);
  host.createMenuItem(2);
  host.onActivate();
  EXPECT_EQ(host.callsNamed("HostRootFolder").size(), 1u);
  // The plug-in folder is writable, so the application-data branch is never taken.
  EXPECT_TRUE(host.callsNamed("HostKeyPath").empty());
  // The buttons' bitmaps come from the folder the DLL was loaded from.
  ASSERT_FALSE(host.toolButtons.empty());
  EXPECT_EQ(host.toolButtons[0].bitmap, folder() + "\\btn_favorites_add.bmp");
}

TEST_F(ExportsTest, ServicesNeverRegisteredGiveNeutralAnswers) {
  ASSERT_TRUE(host.load((dir / L"favorites.dll").wstring()));
  host.identify(kPluginId);
  // Nothing registered at all: every export still answers, none crashes.
  EXPECT_EQ(host.createMenuItem(1), "File / Reopen >> Favorite Files");
  host.onActivate();
  for (int index : {2, 6}) host.onMenuClick(index);
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(ExportsTest, AnEqualTextComesBackInTheSameBuffer) {
  loadPlugin();
  const char* first = host.createMenuItemRaw(3);
  for (int i = 0; i < 50; ++i) host.menuTexts();
  EXPECT_EQ(host.createMenuItemRaw(3), first);
  EXPECT_STREQ(first, "File / Favorite Files / [Favorites] Configure...");
}

TEST_F(ExportsTest, VersionResourceHoldsTheFileVersion) {
  const std::wstring dll = (dir / L"favorites.dll").wstring();
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(dll.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> data(size);
  ASSERT_TRUE(::GetFileVersionInfoW(dll.c_str(), 0, size, data.data()));
  wchar_t* value = nullptr;
  UINT len = 0;
  ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\StringFileInfo\\040904E4\\FileVersion",
                               reinterpret_cast<void**>(&value), &len));
  EXPECT_STREQ(value, L"1.0.0.1");
}

}  // namespace

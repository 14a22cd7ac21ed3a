#include "un_plugincommon.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "temp_dir.h"
#include "text_codec.h"
#include "ui_seam.h"

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;
namespace fs = std::filesystem;

// This executable plays a test host: it offers the UI seam, so the folder
// browser and message boxes are answered here.
namespace {
struct SeamLog {
  std::wstring answer;  // empty: the user cancels
  std::wstring title;
  unsigned flags = 0;
  int calls = 0;
} seamLog;

int seamMessageBox(HWND, const wchar_t*, const wchar_t*, unsigned) { return IDNO; }
int seamBrowse(HWND, const wchar_t* title, unsigned flags, wchar_t* out, int outLen) {
  ++seamLog.calls;
  seamLog.title = title;
  seamLog.flags = flags;
  if (seamLog.answer.empty()) return 0;
  wcsncpy(out, seamLog.answer.c_str(), static_cast<size_t>(outLen));
  return 1;
}
struct FavoritesUiSeam testSeam = {seamMessageBox, seamBrowse, nullptr};
}  // namespace

extern "C" __declspec(dllexport) struct FavoritesUiSeam* FavoritesUiSeam() { return &testSeam; }

namespace {

std::string narrow(const fs::path& p) { return fav::toNarrow(p.wstring()); }

TEST(Between, BothBoundsIncluded) {
  const struct {
    int value, low, high;
    bool expected;
  } rows[] = {
      {5, 5, 5, true},  {4, 5, 10, false}, {11, 5, 10, false}, {5, 5, 10, true},
      {10, 5, 10, true}, {7, 10, 5, false}, {-3, -5, -1, true}, {INT_MIN, INT_MIN, INT_MAX, true},
  };
  for (const auto& r : rows)
    EXPECT_EQ(between(r.value, r.low, r.high), r.expected)
        << r.value << " in " << r.low << ".." << r.high;
}

TEST(ModifierKeys, TestBitSevenOfTheirOwnEntry) {
  const struct {
    int key;
    unsigned char value;
    bool shift, ctrl, alt;
  } rows[] = {
      {VK_SHIFT, 0x80, true, false, false},   {VK_CONTROL, 0x80, false, true, false},
      {VK_MENU, 0x81, false, false, true},    {VK_SHIFT, 0x01, false, false, false},  // toggled only
      {VK_LSHIFT, 0x80, false, false, false}, {VK_RCONTROL, 0x80, false, false, false},
      {VK_CONTROL, 0xFF, false, true, false},
  };
  for (const auto& r : rows) {
    KeyboardState state{};
    state[r.key] = r.value;
    EXPECT_EQ(isShiftDown(state), r.shift) << "key " << r.key;
    EXPECT_EQ(isCtrlDown(state), r.ctrl) << "key " << r.key;
    EXPECT_EQ(isAltDown(state), r.alt) << "key " << r.key;
  }
  KeyboardState all{};
  all.fill(0x80);
  EXPECT_TRUE(isShiftDown(all) && isCtrlDown(all) && isAltDown(all));
}

TEST(GetPluginName, BaseNameWithoutDll) {
  const struct {
    const wchar_t* fileName;
    const wchar_t* expected;
  } rows[] = {
      {L"C:\\Program Files\\IDE\\PlugIns\\Favorites.ini", L"Favorites"},
      {L"My.dll.ini", L"My"},
      {L"Favorites", L"Favorites"},
      {L"C:\\a.b\\Fav", L"Fav"},
      {L"C:\\dir/Fav.log", L"Fav"},
      {L"x.DLL.ini", L"x.DLL"},  // case-sensitive
      {L"a.dllb.dll.ini", L"ab"},
      {L"C:\\dir\\", L""},
      {L"", L""},
  };
  for (const auto& r : rows) EXPECT_EQ(getPluginName(r.fileName), r.expected) << r.fileName;
}

TEST(IsFolderWritable, AnswersAndLeavesNoTestFile) {
  TempDir dir;
  EXPECT_TRUE(isFolderWritable(dir.str()));
  EXPECT_TRUE(isFolderWritable(dir.str() + L"\\"));
  EXPECT_FALSE(fs::exists(dir / L"chk.tmp"));
  EXPECT_FALSE(isFolderWritable((dir / L"missing").wstring()));
  EXPECT_FALSE(fs::exists(dir / L"missing"));
  EXPECT_FALSE(isFolderWritable(L""));
}

TEST(IsFolderWritable, StaleTestFileAnswersFalseOnceAndIsRemoved) {
  TempDir dir;
  writeFile(dir / L"chk.tmp", "stale");
  EXPECT_FALSE(isFolderWritable(dir.str()));
  EXPECT_FALSE(fs::exists(dir / L"chk.tmp"));
  EXPECT_TRUE(isFolderWritable(dir.str()));
  EXPECT_FALSE(fs::exists(dir / L"chk.tmp"));
}

TEST(MoveOldIniFile, MovesOnlyIntoAnExistingFolderWithoutTheFile) {
  const struct {
    const char* name;
    bool oldExists, folderExists, newExists;
    bool moved;
  } rows[] = {
      {"plain move", true, true, false, true},
      {"target taken", true, true, true, false},
      {"no target folder", true, false, false, false},
      {"nothing to move", false, true, false, false},
  };
  for (const auto& r : rows) {
    TempDir dir;
    const fs::path oldIni = dir / L"Favorites.ini";
    const fs::path newIni = dir / L"Host" / L"Favorites.ini";
    if (r.oldExists) writeFile(oldIni, "old");
    if (r.folderExists) fs::create_directories(newIni.parent_path());
    if (r.newExists) writeFile(newIni, "new");
    moveOldIniFile(narrow(oldIni), narrow(newIni));
    SCOPED_TRACE(r.name);
    EXPECT_EQ(fs::exists(oldIni), r.oldExists && !r.moved);
    if (r.moved) {
      EXPECT_EQ(readFile(newIni), "old");
    } else if (r.newExists) {
      EXPECT_EQ(readFile(newIni), "new");
    } else {
      EXPECT_FALSE(fs::exists(newIni));
    }
  }
  EXPECT_NO_THROW(moveOldIniFile("", ""));
}

// resolveIniLocation with a scratch folder standing in for the library's
// folder and for %APPDATA%.
class IniLocationTest : public ::testing::Test {
 protected:
  std::wstring appData() const { return (dir / L"appdata").wstring(); }
  fs::path oldIni() const { return dir / L"appdata" / L"Favorites.ini"; }
  fs::path hostIni() const { return dir / L"appdata" / L"PLSQL Developer" / L"Favorites.ini"; }

  void resolve(const std::wstring& modulePath, const std::string& keyPath = kKeyPath,
               const std::wstring& appDataValue = L"-") {
    keyPathCalls = 0;
    resolveIniLocation(
        modulePath, appDataValue == L"-" ? appData() : appDataValue, hostRoot, "Favorites",
        [this, keyPath] {
          ++keyPathCalls;
          return keyPath;
        },
        pluginFolder, iniFileName);
  }
  // A folder that exists but refuses the test file: another program holds a
  // "chk.tmp" there without sharing, so it can neither be created nor removed.
  std::unique_ptr<testsupport::FileLock> lockFolder(const fs::path& folder) {
    fs::create_directories(folder);
    return std::make_unique<testsupport::FileLock>(folder / L"chk.tmp");
  }

  static inline const std::string kKeyPath = "Software\\Sample/Maker\\PL/SQL Developer";
  TempDir dir;
  std::string hostRoot = narrow(dir.path()) + "\\Host\\";
  std::string pluginFolder, iniFileName;
  int keyPathCalls = 0;
};

TEST_F(IniLocationTest, WritableLibraryFolderHoldsTheSettings) {
  writeFile(oldIni(), "old");
  fs::create_directories(hostIni().parent_path());
  fs::create_directories(dir / L"PlugIns");
  resolve((dir / L"PlugIns" / L"favorites.dll").wstring());
  EXPECT_EQ(pluginFolder, narrow(dir / L"PlugIns"));
  EXPECT_EQ(iniFileName, narrow(dir / L"PlugIns") + "\\Favorites.ini");
  EXPECT_EQ(keyPathCalls, 0);
  EXPECT_TRUE(fs::exists(oldIni())) << "nothing is moved";
  EXPECT_FALSE(fs::exists(dir / L"PlugIns" / L"chk.tmp"));
}

TEST_F(IniLocationTest, NoLibraryPathFallsBackToTheHostFolder) {
  fs::create_directories(dir / L"Host" / L"PlugIns");
  resolve(L"");
  EXPECT_EQ(pluginFolder, hostRoot + "PlugIns");
  EXPECT_EQ(iniFileName, hostRoot + "PlugIns\\Favorites.ini");
}

TEST_F(IniLocationTest, UnwritableFolderUsesTheHostTailUnderAppData) {
  const struct {
    std::string keyPath;
    std::wstring folder;  // under %APPDATA%, as the name shows it
  } rows[] = {
      {kKeyPath, L"\\PLSQL Developer\\"},
      {"NoSeparator/Here", L"NoSeparatorHere\\"},  // directly after APPDATA
      {"", L"\\"},
      {"Key\\", L"\\"},
  };
  const auto lock = lockFolder(dir / L"PlugIns");
  for (const auto& r : rows) {
    iniFileName.clear();
    resolve((dir / L"PlugIns" / L"favorites.dll").wstring(), r.keyPath);
    EXPECT_EQ(pluginFolder, narrow(dir / L"PlugIns"));
    EXPECT_EQ(iniFileName, fav::toNarrow(appData() + r.folder + L"Favorites.ini")) << r.keyPath;
    EXPECT_EQ(keyPathCalls, 1);
  }
}

TEST_F(IniLocationTest, MissingLibraryFolderCountsAsUnwritable) {
  resolve((dir / L"gone" / L"favorites.dll").wstring());
  EXPECT_EQ(pluginFolder, narrow(dir / L"gone"));
  EXPECT_EQ(iniFileName, narrow(hostIni()));
  EXPECT_FALSE(fs::exists(dir / L"gone"));
}

TEST_F(IniLocationTest, OldFileMovesOnlyIntoAnExistingEmptyHostFolder) {
  const struct {
    const char* name;
    bool folderExists, newExists, moved;
  } rows[] = {
      {"folder without the file", true, false, true},
      {"folder with the file", true, true, false},
      {"no folder", false, false, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    fs::remove_all(dir / L"appdata");
    writeFile(oldIni(), "old");
    if (r.folderExists) fs::create_directories(hostIni().parent_path());
    if (r.newExists) writeFile(hostIni(), "new");
    resolve((dir / L"gone" / L"favorites.dll").wstring());
    EXPECT_EQ(iniFileName, narrow(hostIni()));
    EXPECT_EQ(fs::exists(oldIni()), !r.moved);
    if (r.folderExists) {
      EXPECT_EQ(readFile(hostIni()), r.moved ? "old" : "new");
    } else {
      EXPECT_FALSE(fs::exists(hostIni().parent_path())) << "the folder is not created";
    }
  }
}

TEST_F(IniLocationTest, FailuresKeepWhatWasAssigned) {
  iniFileName = "earlier";
  resolve((dir / L"gone" / L"favorites.dll").wstring(), kKeyPath, L"");
  EXPECT_EQ(pluginFolder, narrow(dir / L"gone"));
  EXPECT_EQ(iniFileName, "earlier") << "no APPDATA: no name under the drive's root";

  iniFileName.clear();
  EXPECT_NO_THROW(resolveIniLocation(
      (dir / L"gone" / L"x.dll").wstring(), appData(), hostRoot, "Favorites",
      []() -> std::string { throw std::runtime_error("host gone"); }, pluginFolder,
      iniFileName));
  EXPECT_EQ(iniFileName, "");
}

TEST(ModuleHelpers, ThisModuleIsTheBinaryLinkedWithTheLibrary) {
  EXPECT_EQ(thisModule(), ::GetModuleHandleW(nullptr));
  EXPECT_EQ(fs::path(modulePath(thisModule())).filename(), L"common_tests.exe");
}

TEST(PluginVersion, ReadsTheFileVersionAsStored) {
  EXPECT_EQ(getPluginVersion(), L"9.8.7.6 test  ");
  EXPECT_EQ(readFileVersion(modulePath(thisModule())), L"9.8.7.6 test  ");
}

TEST(PluginVersion, EmptyWithoutAVersionResource) {
  TempDir dir;
  writeFile(dir / L"plain.dll", "MZ not really a library");
  EXPECT_EQ(readFileVersion((dir / L"plain.dll").wstring()), L"");
  EXPECT_EQ(readFileVersion((dir / L"missing.dll").wstring()), L"");
  EXPECT_EQ(readFileVersion(L""), L"");
}

TEST(AllocNarrowText, FreshTerminatedCopies) {
  const char* a = allocNarrowText(L"Favorites");
  const char* b = allocNarrowText(L"Favorites");
  EXPECT_STREQ(a, "Favorites");
  EXPECT_NE(a, b);
  EXPECT_STREQ(allocNarrowText(L""), "");
  if (::GetACP() == 1252) {
    EXPECT_STREQ(allocNarrowText(L"caf\u00e9"), "caf\xe9");
    EXPECT_STREQ(allocNarrowText(L"\u4e2d"), "?");
  }
}

TEST(BrowseForFolder, AnsweredThroughTheSeam) {
  ASSERT_EQ(uiSeam(), &testSeam);
  seamLog = {};
  seamLog.answer = L"D:\\Images";
  EXPECT_EQ(browseForFolder(L"Select Imagepath Folder", 1), L"D:\\Images");
  EXPECT_EQ(seamLog.title, L"Select Imagepath Folder");
  EXPECT_EQ(seamLog.flags, 1u);
  seamLog.answer.clear();
  EXPECT_EQ(browseForFolder(L"Pick", 1), L"");
  EXPECT_EQ(seamLog.calls, 2);
  EXPECT_EQ(showMessageBox(nullptr, L"text", L"caption", MB_YESNO), IDNO);
}

}  // namespace

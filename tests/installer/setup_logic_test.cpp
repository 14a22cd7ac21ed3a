// The installer's setup file, host lookup, version text and zones, without
// its window.
#include <gtest/gtest.h>

#include <memory>

#include "fav_version.h"
#include "frm_tolvane.h"
#include "installer_support.h"
#include "un_logger.h"
#include "un_tolvanesetup.h"

using installertest::traceLines;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

TEST(SetupValues, SectionLinesKeepTheirOrderAndValuesFollowTheFirstEquals) {
  const std::wstring buffer(L"z=first\0a=second=part\0noequals\0\0", 33);
  const std::vector<std::wstring> lines = splitSectionBuffer(buffer);
  ASSERT_EQ(lines, (std::vector<std::wstring>{L"z=first", L"a=second=part", L"noequals"}));
  EXPECT_EQ(entryValueAt(lines, 0), L"first");
  EXPECT_EQ(entryValueAt(lines, 1), L"second=part");
  EXPECT_EQ(entryValueAt(lines, 2), L"");
  EXPECT_EQ(entryValueAt(lines, 3), L"");  // beyond the list: the install folder itself
  EXPECT_TRUE(splitSectionBuffer(std::wstring(L"\0", 1)).empty());
}

TEST(SetupValues, PackagePathsStayInsideTheirFolder) {
  const struct {
    const wchar_t* path;
    bool allowed;
  } cases[] = {
      {L"favorites.dll", true},   {L"img\\fav_star.bmp", true}, {L"a/b.txt", true},
      {L"[fav]_empty.bmp", true}, {L"..x\\y..", true},          {L".\\here.txt", true},
      {L"", false},               {L"..", false},               {L"..\\up.txt", false},
      {L"a\\..\\..\\b", false},   {L"a/../b", false},           {L"a\\.. \\b", false},
      {L"...\\b", false},         {L"C:\\abs.txt", false},      {L"C:rel.txt", false},
      {L"\\rooted.txt", false},   {L"/rooted.txt", false},      {L"\\\\server\\s\\f", false},
      {L"file.txt:stream", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isPackageRelativePath(c.path), c.allowed) << c.path;
}

// Windows opens these as devices wherever they stand, so they are refused
// like "..": a copy to "nul.bmp" would swallow the file and report success.
TEST(SetupValues, DeviceNamesAreRefusedInAnyComponent) {
  const struct {
    const wchar_t* path;
    PackagePathProblem problem;
  } cases[] = {
      {L"CON", PackagePathProblem::Device},          {L"nul.txt", PackagePathProblem::Device},
      {L"Aux.bmp", PackagePathProblem::Device},      {L"prn", PackagePathProblem::Device},
      {L"COM1", PackagePathProblem::Device},         {L"com9.dll", PackagePathProblem::Device},
      {L"LPT1.ini", PackagePathProblem::Device},     {L"lpt9", PackagePathProblem::Device},
      {L"img\\con.bmp", PackagePathProblem::Device}, {L"NUL\\a.txt", PackagePathProblem::Device},
      {L"con .txt", PackagePathProblem::Device},     {L"nul.", PackagePathProblem::Device},
      {L"nul.tar.gz", PackagePathProblem::Device},   {L"CONOUT$", PackagePathProblem::Device},
      {L"COM\u00B9.txt", PackagePathProblem::Device},
      {L"COM0", PackagePathProblem::None},           {L"COM10.txt", PackagePathProblem::None},
      {L"LPT", PackagePathProblem::None},            {L"console.txt", PackagePathProblem::None},
      {L"nul_icon.bmp", PackagePathProblem::None},   {L"a.con", PackagePathProblem::None},
      {L"..\\x.txt", PackagePathProblem::Outside},   {L"", PackagePathProblem::Empty},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(packagePathProblem(c.path), c.problem) << c.path;
    EXPECT_EQ(isPackageRelativePath(c.path), c.problem == PackagePathProblem::None) << c.path;
  }
}

// What the location box must hold before Next copies: a path that does not
// depend on the folder setup was started from.
TEST(SetupValues, InstallFolderIsAFullPath) {
  const struct {
    const wchar_t* path;
    bool full;
  } cases[] = {
      {L"C:\\Program Files\\Dev\\PlugIns\\", true}, {L"d:/dev/PlugIns", true},
      {L"C:\\", true},                              {L"\\\\server\\share\\PlugIns", true},
      {L"\\\\server\\share", true},                 {L"", false},
      {L"PlugIns\\", false},                        {L".\\PlugIns", false},
      {L"C:PlugIns\\", false},                      {L"C:", false},
      {L"\\PlugIns\\", false},                      {L"\\\\server", false},
      {L"\\\\server\\", false},                     {L"\\\\\\share", false},
      {L"1:\\x", false},                            {L"C:\\NUL\\", false},
      {L"C:\\Dev\\com1.dir\\PlugIns", false},       {L"\\\\.\\COM1", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isInstallFolderPath(c.path), c.full) << c.path;
}

TEST(SetupValues, VersionTextsAreTrimmed) {
  EXPECT_EQ(trimVersionText(L"  1.2.3.4 \t\r\n"), L"1.2.3.4");
  EXPECT_EQ(trimVersionText(L"\x01" L"5.0 beta\x1f"), L"5.0 beta");
  EXPECT_EQ(trimVersionText(L" \t "), L"");
  EXPECT_EQ(withTrailingDelimiter(L"C:\\x"), L"C:\\x\\");
  EXPECT_EQ(withTrailingDelimiter(L"C:\\x\\"), L"C:\\x\\");
  EXPECT_EQ(withTrailingDelimiter(L""), L"\\");
}

TEST(Zones, BoundsBelongToTheirZone) {
  const struct {
    int x, y;
    bool close, next, back;
  } cases[] = {
      {405, 0, true, false, false},   {440, 15, true, false, false},
      {404, 0, false, false, false},  {405, 16, false, false, false},
      {360, 260, false, true, false}, {440, 290, false, true, false},
      {441, 290, false, false, false}, {360, 259, false, false, false},
      {359, 260, false, false, true}, {275, 290, false, false, true},
      {274, 275, false, false, false}, {300, 291, false, false, false},
      {0, 0, false, false, false},    {-1, 270, false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(onX(c.x, c.y), c.close) << c.x << "," << c.y;
    EXPECT_EQ(onNext(c.x, c.y), c.next) << c.x << "," << c.y;
    EXPECT_EQ(onBack(c.x, c.y), c.back) << c.x << "," << c.y;
  }
}

// ReadIniFile on a setup.ini beside a (pretend) installer.
class SetupFile : public ::testing::Test {
 protected:
  void TearDown() override { turnLoggingOff(); }
  std::unique_ptr<TfrmTolvane> read(const char* content) {
    if (content) writeFile(dir_ / L"setup.ini", content);
    auto form = std::make_unique<TfrmTolvane>((dir_ / L"tolvane.exe").wstring());
    form->ReadIniFile();
    return form;
  }
  TempDir dir_;
};

TEST_F(SetupFile, MissingFileGivesTheDefaults) {
  turnLoggingOn();
  const auto form = read(nullptr);
  EXPECT_EQ(form->pluginName(), L"NoName");
  EXPECT_EQ(form->onSuccessText(), L"Success");
  EXPECT_EQ(form->onFailureText(), L"Failed");
  EXPECT_FALSE(isLogging());
  EXPECT_TRUE(form->files().empty());
  EXPECT_TRUE(form->folders().empty());
}

TEST_F(SetupFile, DebugSwitchesLoggingOnWhenNonZero) {
  const struct {
    const char* line;
    bool on;
  } cases[] = {{"Debug=1\r\n", true},  {"Debug=0x10\r\n", true}, {"debug=-1\r\n", true},
               {"Debug=0\r\n", false}, {"Debug=true\r\n", false}, {"", false},
               {"Debug=\r\n", false}};
  for (const auto& c : cases) {
    turnLogging(!c.on);
    read((std::string("[Setup]\r\nPlugIn=Favorites\r\n") + c.line).c_str());
    EXPECT_EQ(isLogging(), c.on) << c.line;
  }
}

TEST_F(SetupFile, FilesAndFoldersAreOrderedListsPairedByPosition) {
  const auto form = read(
      "[setup]\r\nplugin=My Plug-in\r\nOnSuccess=All done\r\nOnFailure=Close the host\r\n"
      "[Files]\r\nz=one.dll\r\na=img\\two.bmp\r\nm=three.txt\r\n"
      "[Folders]\r\nq=sub\r\n");
  EXPECT_EQ(form->pluginName(), L"My Plug-in");
  EXPECT_EQ(form->onSuccessText(), L"All done");
  EXPECT_EQ(form->onFailureText(), L"Close the host");
  ASSERT_EQ(form->files(),
            (std::vector<std::wstring>{L"z=one.dll", L"a=img\\two.bmp", L"m=three.txt"}));
  EXPECT_EQ(entryValueAt(form->folders(), 0), L"sub");
  EXPECT_EQ(entryValueAt(form->folders(), 1), L"");
  EXPECT_EQ(entryValueAt(form->folders(), 2), L"");

  // An empty value keeps the positions aligned.
  const auto aligned = read(
      "[Files]\r\nf1=a.txt\r\nf2=b.txt\r\nf3=c.txt\r\n[Folders]\r\nd1=x\r\nd2=\r\nd3=z\r\n");
  ASSERT_EQ(aligned->folders().size(), 3u);
  EXPECT_EQ(entryValueAt(aligned->folders(), 1), L"");
  EXPECT_EQ(entryValueAt(aligned->folders(), 2), L"z");
}

// The registry lookups, against the test prefix's own registry.
class HostRegistry : public ::testing::Test {
 protected:
  void SetUp() override { installertest::unregisterHost(); }
  void TearDown() override {
    installertest::unregisterHost();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    turnLoggingOff();
  }
  static constexpr wchar_t kTestKey[] = L"Software\\FavoritesInstallerTest";
};

TEST_F(HostRegistry, ReadRegStringReadsUpTo256Characters) {
  const std::wstring fits(256, L'a');
  const std::wstring tooLong(257, L'b');
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kTestKey, nullptr, REG_SZ, L"default", 16);
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kTestKey, L"fits", REG_SZ, fits.c_str(), 514);
  ::RegSetKeyValueW(HKEY_CURRENT_USER, kTestKey, L"long", REG_SZ, tooLong.c_str(), 516);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, L""), L"default");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, L"fits"), fits);
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, L"long"), L"");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kTestKey, L"missing"), L"");
  EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, L"Software\\NoSuchKeyHere", L""), L"");
}

TEST_F(HostRegistry, PluginFolderComesFromTheQuotedProgramPath) {
  const struct {
    const wchar_t* command;  // nullptr: no registration at all
    int quotePosition;
    const wchar_t* programPath;
    const wchar_t* folder;
  } cases[] = {
      {L"\"C:\\Program Files\\PLSQL Dev\\ide.exe\" %1", 36,
       L"C:\\Program Files\\PLSQL Dev\\ide.exe", L"C:\\Program Files\\PLSQL Dev\\PlugIns\\"},
      {L"\"C:\\Dev\\ide.exe\" \"%1\" /x", 16, L"C:\\Dev\\ide.exe", L"C:\\Dev\\PlugIns\\"},
      {L"\"ide.exe\" %1", 9, L"ide.exe", L"PlugIns\\"},
      {L"\"C:ide.exe\" %1", 11, L"C:ide.exe", L"C:PlugIns\\"},
      {L"\"C:\\Dev\\ide.exe\"", 0, L"", L"PlugIns\\"},
      {L"C:\\Dev\\ide.exe %1", 0, L"", L"PlugIns\\"},
      {L"\" x", 1, L"", L"PlugIns\\"},
      {L"x\" y", 2, L"", L"PlugIns\\"},
      {L"", 0, L"", L"PlugIns\\"},
  };
  for (const auto& c : cases) {
    const HostLocation parsed = locationFromOpenCommand(c.command);
    EXPECT_EQ(parsed.quotePosition, c.quotePosition) << c.command;
    EXPECT_EQ(parsed.programPath, c.programPath) << c.command;
    EXPECT_EQ(parsed.pluginFolder, c.folder) << c.command;
  }

  // Through the registry: registered, 300 characters long, and not registered.
  installertest::registerHostCommand(L"\"C:\\Dev\\ide.exe\" %1");
  EXPECT_EQ(findPLSQLDevLocation(), L"C:\\Dev\\PlugIns\\");
  const std::wstring longCommand =
      L"\"C:\\" + std::wstring(280, L'd') + L"\\p.exe\" %1234567";
  ASSERT_EQ(longCommand.size(), 300u);
  installertest::registerHostCommand(longCommand);
  EXPECT_EQ(findPLSQLDevLocation(), L"PlugIns\\");
  installertest::unregisterHost();
  EXPECT_EQ(findPLSQLDevLocation(), L"PlugIns\\");
}

TEST_F(HostRegistry, LookupIsTracedLineByLine) {
  TempDir dir;
  const std::wstring logFile = (dir / L"trace.dbg").wstring();
  setLogFileName(logFile);
  turnLoggingOn();
  installertest::registerHostCommand(L"\"C:\\Dev\\ide.exe\" %1");
  findPLSQLDevLocation();
  turnLoggingOff();
  EXPECT_EQ(traceLines(logFile), (std::vector<std::string>{
                                     "GetPLSQLDevLocation start ",
                                     "ReadRegString start ",
                                     " Key PL/SQL Developer\\Shell\\Open\\Command",
                                     " Name ",
                                     " Result \"C:\\Dev\\ide.exe\" %1",
                                     "ReadRegString end ",
                                     " lFromRegistry \"C:\\Dev\\ide.exe\" %1",
                                     " lSpace 16",
                                     " fPLSQLDevLocation C:\\Dev\\ide.exe",
                                     " fPLSQLDevLocation C:\\Dev\\PlugIns\\",
                                     "GetPLSQLDevLocation end ",
                                 }));
}

TEST(FileVersion, TrimmedTextOfTheStringTable) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  // This test program's resource stores " 9.8.7.6 \t " (see installer_test.rc).
  EXPECT_EQ(GetFileVersion(self), L"9.8.7.6");
  const auto tolvane = installertest::buildDir() / "installer" / "tolvane.exe";
  EXPECT_EQ(GetFileVersion(tolvane.wstring()), L"" FAV_VERSION_TEXT);

  TempDir dir;
  writeFile(dir / L"plain.txt", "no resources here");
  EXPECT_EQ(GetFileVersion((dir / L"plain.txt").wstring()), L"");
  EXPECT_EQ(GetFileVersion((dir / L"missing.exe").wstring()), L"");
}

}  // namespace

// Favorites.ini: settings with their defaults, the Configure dialog's load and
// save, and the save against the platform's key-by-key writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "data_test_util.h"
#include "menu_texts.h"
#include "settings_file.h"
#include "string_cipher.h"
#include "temp_dir.h"

namespace {

using datatest::show;

const std::wstring kPluginFolder = L"C:\\Plugins\\";

TFavoriteItem favorite(std::wstring submenu, std::wstring file, int type = 0, std::wstring image = L"",
                       std::wstring user = L"", std::wstring password = L"", std::wstring db = L"",
                       std::wstring as = L"", std::wstring alias = L"") {
  return TFavoriteItem{std::move(submenu), std::move(file), type, std::move(image), std::move(user),
                       std::move(password), std::move(db), std::move(as), std::move(alias)};
}

struct Lists {
  TSubMenuItems submenus;
  TFavoriteItems favorites;

  Lists() { submenus.Add(); }  // the blank entry, as the dialog holds it
  void submenu(std::wstring name, std::wstring image = L"") {
    TSubMenuItem& s = submenus.Add();
    s.fSubMenu = std::move(name);
    s.fImage = std::move(image);
  }
  void add(TFavoriteItem f) { favorites.Add() = std::move(f); }
};

std::vector<TFavoriteItem> items(const TFavoriteItems& c) {
  std::vector<TFavoriteItem> out;
  for (int i = 0; i < c.Count(); ++i) out.push_back(c.Items(i));
  return out;
}

std::vector<TSubMenuItem> items(const TSubMenuItems& c) {
  std::vector<TSubMenuItem> out;
  for (int i = 0; i < c.Count(); ++i) out.push_back(c.Items(i));
  return out;
}

Lists sampleLists() {
  Lists l;
  l.submenu(L"Scripts", L"fav_scripts.bmp");
  l.submenu(L"Packages");
  l.add(favorite(L"", L"C:\\src\\a.sql", 1, L"fav_a.bmp", L"scott", L"tiger", L"orcl", L"Normal"));
  l.add(favorite(L"", L"-"));
  l.add(favorite(L"Packages", L"%path%\\pkg.pkb", 3, L"", L"", L"", L"", L"", L"The package"));
  l.add(favorite(L"Scripts", L"d:\\x.sql", 0, L"fav_x.bmp", L"sys", L"p\u00e4ss w=rd", L"db:1521/x",
                 L"SysDBA", L"Caf\u00e9"));
  l.favorites.Items(l.favorites.Count() - 1).fAskLogon = true;
  l.add(favorite(L"Scripts", L"d:\\y.sql", 2));
  return l;
}

TEST(SettingsFile, ListKeyIsPrefixAndDecimalNumber) {
  EXPECT_EQ(listKey(L"File", 1), L"File1");
  EXPECT_EQ(listKey(L"SubMenuItem", 0), L"SubMenuItem0");
  EXPECT_EQ(listKey(L"ConnectAs", 94), L"ConnectAs94");
}

TEST(SettingsFile, MissingOrEmptyFileGivesDefaultsAndNoLists) {
  testsupport::TempDir dir;
  for (const IniFile& ini : {IniFile::load((dir / L"missing.ini").wstring()), IniFile::fromBytes("")}) {
    FavoritesSettings expected;
    expected.ImagePath = kPluginFolder;
    EXPECT_EQ(readSettings(ini, kPluginFolder), expected);
    Lists l;
    loadLists(ini, l.submenus, l.favorites);
    EXPECT_EQ(l.favorites.Count(), 0);
    EXPECT_EQ(l.submenus.Count(), 1);
  }
}

TEST(SettingsFile, SettingsReadWithTheSettingsRules) {
  const IniFile ini = IniFile::fromBytes(
      "[settings]\nLEFT=$20\nTop=-5\nHeight=tall\nShowFullPath=yes\nFavoritesOnMainmenu=2\n"
      "SavePassword=0\nMenuItemName=\"Favs\"\nNextToMenu=\nImagePath=\nAltstate=1\n");
  const FavoritesSettings s = readSettings(ini, kPluginFolder);
  EXPECT_EQ(s.Left, 32);
  EXPECT_EQ(s.Top, -5);
  EXPECT_EQ(s.Height, 600);
  EXPECT_TRUE(s.ShowFullPath);  // "yes" does not parse: the default
  EXPECT_TRUE(s.FavoritesOnMainmenu);
  EXPECT_FALSE(s.SavePassword);
  EXPECT_EQ(s.MenuItemName, L"Favs");
  EXPECT_EQ(s.NextToMenu, L"");  // present and empty is not missing
  EXPECT_EQ(s.ImagePath, L"");
  EXPECT_TRUE(s.Altstate);
  EXPECT_EQ(s.ImagePrefix, L"fav_");
  EXPECT_EQ(s.ReplacementPath, L"c:\\");
}

TEST(SettingsFile, LoadTakesEveryFileEntryInNumberOrder) {
  seedCipherRandom(3);
  const std::wstring cipher =
      encipherText(bytesAsCodes(fav::toNarrow(L"s\u00e9cret")), kPasswordKey, 4, 12);
  const std::string bytes =
      "[Files]\r\nFile4=four.sql\r\nFile1=one.sql\r\nFile2=[PL/SQL Developer 12 separator]\r\n"
      "File5=\r\nFILE6=six.sql\r\nFile07=not entry 7\r\nFileX=no\r\nFile8=eight.sql\r\n"
      "File99999999999=too big\r\n"
      "[Types]\r\nType1=3\r\nType6=junk\r\n[SubMenus]\r\nSubMenu4=Scripts\r\n"
      "[Buttons]\r\nButton1=fav_1.bmp\r\n[Usernames]\r\nUsername6=scott\r\n"
      "[Passwords]\r\nPassword6=" + fav::toNarrow(cipher) + "\r\nPassword8=\r\n"
      "[Databases]\r\nDatabase6=orcl\r\n[ConnectsAs]\r\nConnectAs6=SysDBA\r\n[Aliases]\r\nAlias8=Eight\r\n"
      "[SubMenuItems]\r\nSubMenuItem0=ignored\r\nSubMenuItem1=Scripts\r\nSubMenuItem2=Tools\r\n"
      "SubMenuItem3=Scripts\r\nSubMenuItem5=after the gap\r\n"
      "[SubMenuButtons]\r\nSubMenuButton1=fav_s.bmp\r\nSubMenuButton3=other.bmp\r\n";
  const IniFile ini = IniFile::fromBytes(bytes);
  Lists l;
  loadLists(ini, l.submenus, l.favorites);

  // Gaps (3, 7) and the empty entry 5 are skipped, the group-start marker 2
  // too; a missing or unparsable type is 0; the password is deciphered.
  const std::vector<TFavoriteItem> expected{
      favorite(L"", L"one.sql", 3, L"fav_1.bmp"),
      favorite(L"Scripts", L"four.sql"),
      favorite(L"", L"six.sql", 0, L"", L"scott", L"s\u00e9cret", L"orcl", L"SysDBA"),
      favorite(L"", L"eight.sql", 0, L"", L"", L"", L"", L"", L"Eight"),
  };
  EXPECT_EQ(items(l.favorites), expected);

  // Submenus: from entry 1 to the first missing name, names already held skipped.
  std::vector<TSubMenuItem> submenus{{L"", L""}, {L"Scripts", L"fav_s.bmp"}, {L"Tools", L""}};
  EXPECT_EQ(items(l.submenus), submenus);
}

TEST(SettingsFile, UndecipherablePasswordGivesTheFailureText) {
  const IniFile ini = IniFile::fromBytes("[Files]\nFile1=a\n[Passwords]\nPassword1=P\n");
  Lists l;
  loadLists(ini, l.submenus, l.favorites);
  ASSERT_EQ(l.favorites.Count(), 1);
  EXPECT_EQ(l.favorites.Items(0).fPassword, std::wstring(1, L'\x01'));
}

TEST(SettingsFile, StoreWritesTheDocumentedFile) {
  Lists l;
  l.submenu(L"Scripts", L"fav_s.bmp");
  l.add(favorite(L"", L"a.sql"));
  l.add(favorite(L"Scripts", L"%path%\\b.pkb", 3, L"fav_b.bmp", L"scott", L"tiger", L"orcl", L"Normal",
                 L"Bee"));
  FavoritesSettings s;
  s.ImagePath = L"C:\\plug\\";
  const std::string settings =
      "[Settings]\r\nLeft=200\r\nTop=200\r\nHeight=600\r\nWidth=800\r\nShowFullPath=1\r\n"
      "FavoritesOnMainmenu=0\r\nAllowDuplicateImages=0\r\nMenuItemName=Favorite Files\r\n"
      "NextToMenu=File\r\nImagePrefix=fav_\r\nReplacementPath=c:\\\r\nSavePassword=0\r\n"
      "ShowConnectionInfo=0\r\nImagePath=C:\\plug\\\r\nShiftState=0\r\nCtrlState=0\r\nAltstate=0\r\nAskLogonDatabases=\r\n"
      "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Scripts\r\n"
      "[SubMenuButtons]\r\nSubMenuButton0=\r\nSubMenuButton1=fav_s.bmp\r\n";
  {
    IniFile ini;
    storeAll(ini, s, l.submenus, l.favorites, 1200);
    EXPECT_EQ(ini.toBytes(),
              settings +
                  "[Files]\r\nFile1=a.sql\r\nFile2=[PL/SQL Developer 12 separator]\r\nFile3=%path%\\b.pkb\r\n"
                  "[Types]\r\nType1=0\r\nType3=3\r\n[SubMenus]\r\nSubMenu1=\r\nSubMenu3=Scripts\r\n"
                  "[Buttons]\r\nButton1=\r\nButton3=fav_b.bmp\r\n[Usernames]\r\nUsername1=\r\nUsername3=scott\r\n"
                  "[Passwords]\r\nPassword1=\r\nPassword3=\r\n[Databases]\r\nDatabase1=\r\nDatabase3=orcl\r\n"
                  "[ConnectsAs]\r\nConnectAs1=\r\nConnectAs3=Normal\r\n[Aliases]\r\nAlias1=\r\nAlias3=Bee\r\n");
  }
  {
    // Below host version 1200 no group-start entries.
    IniFile ini;
    storeAll(ini, s, l.submenus, l.favorites, 1199);
    EXPECT_EQ(ini.readText(ini::kFiles, L"File2", L"?"), L"%path%\\b.pkb");
    EXPECT_FALSE(ini.hasKey(ini::kFiles, L"File3"));
  }
}

TEST(SettingsFile, PasswordsAreStoredOnlyWhenSavePasswordIsOn) {
  Lists l;
  l.add(favorite(L"", L"a.sql", 0, L"", L"scott", L"tiger"));
  FavoritesSettings s;
  IniFile off;
  storeAll(off, s, l.submenus, l.favorites, 1200);
  EXPECT_TRUE(off.hasKey(ini::kPasswords, L"Password1"));
  EXPECT_EQ(off.readText(ini::kPasswords, L"Password1", L"?"), L"");

  s.SavePassword = true;
  IniFile on;
  storeAll(on, s, l.submenus, l.favorites, 1200);
  const std::wstring stored = on.readText(ini::kPasswords, L"Password1", L"");
  EXPECT_NE(stored, L"tiger");
  EXPECT_EQ(codesAsBytes(decipherText(stored, kPasswordKey)), "tiger");
}

// An enciphered byte takes up to about 17 characters: a 1,024-byte password
// is a value far longer than any read buffer, and must come back whole.
TEST(SettingsFile, LongestPasswordRoundTripsThroughTheFile) {
  testsupport::TempDir dir;
  const std::wstring path = (dir / L"Favorites.ini").wstring();
  std::wstring password;
  for (int i = 0; i < 1024; ++i) password += L"aZ9 =\"'\u00e4;#"[i % 10];
  Lists l;
  l.add(favorite(L"", L"a.sql", 0, L"", L"scott", password, L"orcl"));
  FavoritesSettings s;
  s.SavePassword = true;
  std::wstring error;
  ASSERT_TRUE(saveAll(path, s, l.submenus, l.favorites, 1200, &error)) << show(error);
  Lists back;
  loadLists(IniFile::load(path), back.submenus, back.favorites);
  ASSERT_EQ(back.favorites.Count(), 1);
  EXPECT_EQ(back.favorites.Items(0).fPassword, password);
}

TEST(SettingsFile, RoundTripGivesTheSameListsAndSettings) {
  testsupport::TempDir dir;
  const std::wstring path = (dir / L"Favorites.ini").wstring();
  testsupport::writeFile(path, "; mine\r\n[Settings]\r\nCustom=kept\r\n[Elsewhere]\r\nk=v\r\n");
  FavoritesSettings s;
  s.Left = -10;
  s.Width = 1234;
  s.ShowFullPath = false;
  s.MenuItemName = L"My \u00c4pfel";
  s.ReplacementPath = L"D:\\Src";
  s.SavePassword = true;
  s.ImagePath = L"C:\\img";
  s.CtrlState = true;
  s.AskLogonDatabases = L"PROD*; *_P";
  for (const int hostVersion : {1199, 1200}) {
    SCOPED_TRACE(hostVersion);
    Lists l = sampleLists();
    l.favorites.SortBySubmenu();
    std::wstring error;
    ASSERT_TRUE(saveAll(path, s, l.submenus, l.favorites, hostVersion, &error)) << show(error);
    const IniFile ini = IniFile::load(path);
    EXPECT_EQ(readSettings(ini, kPluginFolder), s);
    Lists back;
    loadLists(ini, back.submenus, back.favorites);
    EXPECT_EQ(items(back.favorites), items(l.favorites));
    EXPECT_EQ(items(back.submenus), items(l.submenus));
    EXPECT_EQ(ini.readText(L"Settings", L"Custom", L""), L"kept");
    EXPECT_EQ(ini.readText(L"Elsewhere", L"k", L""), L"v");
    EXPECT_EQ(testsupport::readFile(path).rfind("; mine\r\n", 0), 0u);
  }
}

TEST(SettingsFile, SaveReadsBackAsThePlatformsKeyByKeyWrites) {
  const std::string handEdited =
      "; my favorites\r\n[Settings]\r\nleft=5\r\nUnknown=keep\r\nShowFullPath = yes\r\n\r\n"
      "[Files]\r\nFile1=old1\r\nFile2=old2\r\nfile7=old7\r\n[types]\r\nType7=3\r\n"
      "[Aliases]\r\nAlias9=stale\r\n[Mine]\r\nx=1\r\n;comment\r\n"
      "[SubMenuItems]\r\nSubMenuItem1=Old\r\nSubMenuItem2=Older\r\n";
  struct Case {
    const char* name;
    std::string before;
    int hostVersion;
    bool savePassword;
  };
  const Case cases[] = {
      {"new file, ribbon host", "", 1200, true},
      {"new file, older host", "", 1199, false},
      {"hand-edited file, ribbon host", handEdited, 1200, false},
      {"hand-edited file, older host, passwords", handEdited, 1100, true},
      {"UTF-8 file", "\xEF\xBB\xBF[Settings]\r\nMenuItemName=Caf\xC3\xA9\r\n[Files]\r\nFile1=x\r\n", 1200, true},
  };
  testsupport::TempDir dir;
  int no = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ++no;
    const std::wstring reference = (dir / (L"ref" + std::to_wstring(no) + L".ini")).wstring();
    const std::wstring ours = (dir / (L"ours" + std::to_wstring(no) + L".ini")).wstring();
    if (!c.before.empty()) {
      testsupport::writeFile(reference, c.before);
      testsupport::writeFile(ours, c.before);
    }
    Lists l = sampleLists();
    l.favorites.SortBySubmenu();
    FavoritesSettings s;
    s.SavePassword = c.savePassword;
    s.ImagePath = kPluginFolder;
    seedCipherRandom(11);
    platform::saveKeyByKey(reference, s, l.submenus, l.favorites, c.hostVersion);
    seedCipherRandom(11);
    std::wstring error;
    ASSERT_TRUE(saveAll(ours, s, l.submenus, l.favorites, c.hostVersion, &error)) << show(error);
    const auto diffs = datatest::compareThroughPlatform(reference, ours);
    EXPECT_TRUE(diffs.empty()) << datatest::joined(diffs);
  }
}

// A file saved with the logon guard (a flagged favorite, database patterns)
// gives a reader that knows only the older keys the same menus and buttons;
// ours differs only by the " !" after each guarded connection.
TEST(SettingsFile, TheLogonGuardKeysLeaveOlderReadersTheirMenus) {
  testsupport::TempDir dir;
  const std::wstring path = (dir / L"Favorites.ini").wstring();
  for (const bool showConnection : {false, true}) {
    for (const int hostVersion : {1199, 1200}) {
      SCOPED_TRACE(testing::Message() << "connection shown " << showConnection << " @" << hostVersion);
      Lists l = sampleLists();  // x.sql asks by its flag, a.sql by its database
      l.favorites.SortBySubmenu();
      FavoritesSettings s;
      s.ShowConnectionInfo = showConnection;
      s.AskLogonDatabases = L"ORCL;PROD*";
      s.ImagePath = kPluginFolder;
      std::wstring error;
      ASSERT_TRUE(saveAll(path, s, l.submenus, l.favorites, hostVersion, &error)) << show(error);
      const IniFile ours = IniFile::load(path);
      ASSERT_TRUE(ours.hasKey(ini::kAskLogon, L"AskLogon" + std::to_wstring(hostVersion >= 1200 ? 6 : 4)));
      const platform::Reader older{path, {ini::kAskLogon}, {L"Settings/AskLogonDatabases"}};
      int guarded = 0;
      for (int index = 1; index <= 99; ++index) {
        const std::wstring before = menus::menuItemText(older, index, hostVersion);
        const std::wstring now = menus::menuItemText(ours, index, hostVersion);
        const bool marked = showConnection && !before.empty() && before.back() == L']';
        guarded += marked;
        EXPECT_EQ(now, marked ? before + L" !" : before) << index;
      }
      EXPECT_EQ(guarded, showConnection ? 2 : 0);
      if (!showConnection) {
        std::wstring folderOurs, folderOlder;
        EXPECT_EQ(menus::toolButtons(ours, hostVersion, kPluginFolder, folderOurs),
                  menus::toolButtons(older, hostVersion, kPluginFolder, folderOlder));
      }
    }
  }
}

TEST(SettingsFile, FewerFavoritesLeaveNoKeysAboveTheNewCount) {
  IniFile ini;
  Lists many = sampleLists();
  storeAll(ini, FavoritesSettings{}, many.submenus, many.favorites, 1200);
  Lists few;
  few.add(favorite(L"", L"only.sql"));
  storeAll(ini, FavoritesSettings{}, few.submenus, few.favorites, 1200);
  for (const wchar_t* section : {ini::kFiles, ini::kTypes, ini::kSubMenus, ini::kButtons,
                                 ini::kUsernames, ini::kPasswords, ini::kDatabases,
                                 ini::kConnectsAs, ini::kAliases}) {
    SCOPED_TRACE(show(section));
    EXPECT_EQ(ini.keyNames(section).size(), 1u);
  }
  EXPECT_EQ(ini.keyNames(ini::kSubMenuItems), std::vector<std::wstring>{L"SubMenuItem0"});
}

TEST(SettingsFile, GapsAreClosedBySaving) {
  testsupport::TempDir dir;
  const std::wstring path = (dir / L"Favorites.ini").wstring();
  testsupport::writeFile(path,
                         "[Files]\r\nFile1=a\r\nFile2=b\r\nFile4=d\r\n[Types]\r\nType4=3\r\n"
                         "[Aliases]\r\nAlias4=Dee\r\n");
  Lists l;
  loadLists(IniFile::load(path), l.submenus, l.favorites);
  ASSERT_EQ(l.favorites.Count(), 3);
  std::wstring error;
  ASSERT_TRUE(saveAll(path, FavoritesSettings{}, l.submenus, l.favorites, 1200, &error));
  const IniFile ini = IniFile::load(path);
  EXPECT_EQ(ini.keyNames(ini::kFiles), (std::vector<std::wstring>{L"File1", L"File2", L"File3"}));
  EXPECT_EQ(ini.readText(ini::kFiles, L"File3", L""), L"d");
  EXPECT_EQ(ini.readNumber(ini::kTypes, L"Type3", 0), 3);
  EXPECT_EQ(ini.readText(ini::kAliases, L"Alias3", L""), L"Dee");
  EXPECT_FALSE(ini.hasKey(ini::kFiles, L"File4"));
  EXPECT_FALSE(ini.hasKey(ini::kAliases, L"Alias4"));
}

TEST(SettingsFile, RefusedSaveLeavesTheOldFile) {
  testsupport::TempDir dir;
  const auto path = dir / L"Favorites.ini";
  const std::string old = "[Settings]\r\nLeft=1\r\n[Files]\r\nFile1=a\r\nFile2=b\r\n";
  testsupport::writeFile(path, old);
  Lists l;
  l.add(favorite(L"", L"new.sql"));
  {
    testsupport::FileLock lock(path);
    ASSERT_TRUE(lock.held());
    std::wstring error;
    EXPECT_FALSE(saveAll(path.wstring(), FavoritesSettings{}, l.submenus, l.favorites, 1200, &error));
    EXPECT_NE(error.find(path.wstring()), std::wstring::npos) << show(error);
  }
  EXPECT_EQ(testsupport::readFile(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1);

  // A folder named Favorites.ini: defaults on reading, the save fails cleanly.
  const auto folder = dir / L"f" / L"Favorites.ini";
  std::filesystem::create_directories(folder);
  EXPECT_EQ(readSettings(IniFile::load(folder.wstring()), kPluginFolder).MenuItemName, L"Favorite Files");
  std::wstring error;
  EXPECT_FALSE(saveAll(folder.wstring(), FavoritesSettings{}, l.submenus, l.favorites, 1200, &error));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(SettingsFile, TenThousandEntriesLoadAndSave) {
  testsupport::TempDir dir;
  const std::wstring path = (dir / L"Favorites.ini").wstring();
  std::string bytes = "[Files]\r\n";
  for (int i = 1; i <= 10000; ++i) bytes += "File" + std::to_string(i) + "=f" + std::to_string(i) + "\r\n";
  testsupport::writeFile(path, bytes);
  Lists l;
  loadLists(IniFile::load(path), l.submenus, l.favorites);
  ASSERT_EQ(l.favorites.Count(), 10000);
  EXPECT_EQ(l.favorites.Items(9999).fFileName, L"f10000");
  std::wstring error;
  ASSERT_TRUE(saveAll(path, FavoritesSettings{}, l.submenus, l.favorites, 1200, &error));
  EXPECT_EQ(IniFile::load(path).readText(ini::kAliases, L"Alias10000", L"?"), L"");
}

TEST(SettingsFile, LineBreaksInFieldsNeverMakeKeys) {
  Lists l;
  l.add(favorite(L"", L"a.sql\r\n[Files]\r\nFile2=evil.sql", 0, L"", L"", L"", L"", L"", L"two\nlines"));
  IniFile ini;
  storeAll(ini, FavoritesSettings{}, l.submenus, l.favorites, 1200);
  const IniFile back = IniFile::fromBytes(ini.toBytes());
  Lists loaded;
  loadLists(back, loaded.submenus, loaded.favorites);
  ASSERT_EQ(loaded.favorites.Count(), 1);
  EXPECT_EQ(loaded.favorites.Items(0).fAlias, L"two lines");
  EXPECT_EQ(back.keyNames(ini::kFiles), std::vector<std::wstring>{L"File1"});
}

}  // namespace

// The Configure dialog's Add reads the replacement path from the file on disk,
// through the same reader as every other key: long values come back whole.
TEST(SettingsFile, ReplacementPathIsTheSettingOrTheDefault) {
  testsupport::TempDir dir;
  const std::string longValue(40000, 'p');
  const struct {
    const char* content;  // null: no file
    std::string extra;
    std::wstring expected;
  } rows[] = {
      {nullptr, "", L"c:\\"},
      {"[Settings]\r\nImagePath=x\r\n", "", L"c:\\"},
      {"[Other]\r\nReplacementPath=D:\\no\r\n", "", L"c:\\"},
      {"[Settings]\r\nReplacementPath=D:\\work\\sql\r\n", "", L"D:\\work\\sql"},
      {"[Settings]\r\nReplacementPath=\r\n", "", L""},
      {"[Settings]\r\nReplacementPath=", longValue + "\r\n", std::wstring(longValue.begin(), longValue.end())},
  };
  int n = 0;
  for (const auto& r : rows) {
    const std::filesystem::path ini = dir.path() / (L"s" + std::to_wstring(++n) + L".ini");
    if (r.content) testsupport::writeFile(ini, r.content + r.extra);
    EXPECT_EQ(getReplacementPath(ini.wstring()), r.expected) << "row " << n;
  }
  EXPECT_EQ(getReplacementPath(std::wstring()), L"c:\\");
}

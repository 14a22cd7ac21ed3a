// Sharing a list without a window: what an export file holds (and never
// holds), that an import gives the exported lists back, the duplicates it
// skips in either path form, a whole settings file with its passwords, and
// the files it refuses without touching the lists.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini_text.h"
#include "list_exchange.h"
#include "settings_keys.h"

namespace {

const ByteCodePage kCodePage;
constexpr wchar_t kReplacement[] = L"D:\\Work\\";

TFavoriteItem favorite(const std::wstring& submenu, const std::wstring& file) {
  TFavoriteItem f;
  f.SubMenu(submenu);
  f.FileName(file);
  return f;
}

struct Lists {
  TFavoriteItems favorites;
  TSubMenuItems submenus;
  Lists() { submenus.Add(); }
  TFavoriteItem& add(const std::wstring& submenu, const std::wstring& file) {
    return favorites.Add() = favorite(submenu, file);
  }
  void addSubmenu(const std::wstring& name, const std::wstring& image) {
    TSubMenuItem& item = submenus.Add();
    item.SubMenu(name);
    item.Image(image);
  }
};

// Every kind of field, a favorite under the replacement path by its full
// name, a separator, and a submenu nobody uses.
Lists sample() {
  Lists l;
  l.addSubmenu(L"Reports", L"fav_chart.bmp");
  l.addSubmenu(L"Unused", L"fav_none.bmp");
  l.addSubmenu(L"Admin", L"");
  TFavoriteItem& a = l.add(L"", L"D:\\work\\a.sql");
  a.FileType(3);
  a.Image(L"fav_a.bmp");
  TFavoriteItem& b = l.add(L"Reports", L"%path%b.sql");
  b.Username(L"scott");
  b.Password(L"tiger");
  b.Database(L"ORCL");
  b.ConnectAs(L"SYSDBA");
  b.Alias(L"Bee");
  b.AskLogon(true);
  l.add(L"Reports", L"-");
  TFavoriteItem& c = l.add(L"Admin", L"\\\\server\\share\\c.pkb");
  c.Username(L"sys");
  c.Password(L"secret");
  c.Database(L"PROD");
  return l;
}

std::string exportOf(const Lists& l, int hostVersion = 1200) {
  return exchange::exportText(l.favorites, l.submenus, kReplacement, hostVersion,
                              L"2026-12-10 21:04", kCodePage);
}

std::vector<std::wstring> submenuNames(const TSubMenuItems& submenus) {
  std::vector<std::wstring> names;
  for (int j = 0; j < submenus.Count(); ++j)
    names.push_back(submenus.Items(j).SubMenu() + L"#" + submenus.Items(j).Image());
  return names;
}

TEST(ListExport, HoldsTheChosenListsInTheSettingsLayoutWithoutAPassword) {
  for (const int hostVersion : {1199, 1200}) {
    SCOPED_TRACE(hostVersion);
    const std::string bytes = exportOf(sample(), hostVersion);
    EXPECT_EQ(bytes.rfind(
                  "; Favorites export: a list of favorite files to import, written 2026-12-10 "
                  "21:04\r\n",
                  0),
              0u)
        << bytes;
    const IniText text = IniText::fromBytes(bytes, kCodePage);
    for (const std::wstring& section : text.sectionNames())
      EXPECT_NE(section, ini::kPasswords) << "a shared list never carries a password";
    EXPECT_EQ(bytes.find("tiger"), std::string::npos);
    EXPECT_EQ(bytes.find("secret"), std::string::npos);
    // Only the submenus the favorites use, numbered from 1, with their icons.
    EXPECT_EQ(text.keyNames(ini::kSubMenuItems),
              (std::vector<std::wstring>{L"SubMenuItem1", L"SubMenuItem2"}));
    EXPECT_EQ(text.readText(ini::kSubMenuItems, L"SubMenuItem1", L""), L"Reports");
    EXPECT_EQ(text.readText(ini::kSubMenuButtons, L"SubMenuButton1", L""), L"fav_chart.bmp");
    EXPECT_EQ(text.readText(ini::kSubMenuItems, L"SubMenuItem2", L""), L"Admin");
    // Favorites from File1; a ribbon host's list starts each block with its
    // group entry, as the settings file does.
    const std::vector<std::wstring> files =
        hostVersion >= 1200
            ? std::vector<std::wstring>{L"%path%a.sql", ini::kGroupStartMarker, L"%path%b.sql",
                                        L"-", ini::kGroupStartMarker, L"\\\\server\\share\\c.pkb"}
            : std::vector<std::wstring>{L"%path%a.sql", L"%path%b.sql", L"-",
                                        L"\\\\server\\share\\c.pkb"};
    std::vector<std::wstring> written;
    for (const std::wstring& key : text.keyNames(ini::kFiles))
      written.push_back(text.readText(ini::kFiles, key, L""));
    EXPECT_EQ(written, files);
    EXPECT_EQ(text.keyNames(ini::kFiles).front(), L"File1");
    const std::wstring b = std::to_wstring(hostVersion >= 1200 ? 3 : 2);
    EXPECT_EQ(text.readText(ini::kAskLogon, L"AskLogon" + b, L""), L"1");
    EXPECT_EQ(text.keyNames(ini::kAskLogon).size(), 1u);
    EXPECT_EQ(text.readText(ini::kConnectsAs, L"ConnectAs" + b, L""), L"SYSDBA");
  }
}

TEST(ListImport, AnExportImportedIntoAnEmptyListGivesTheListsBackWithoutPasswords) {
  for (const int hostVersion : {1199, 1200}) {
    SCOPED_TRACE(hostVersion);
    const Lists original = sample();
    Lists empty;
    const exchange::ImportOutcome outcome =
        exchange::importList(exportOf(original, hostVersion), kCodePage, empty.favorites,
                             empty.submenus, kReplacement);
    EXPECT_EQ(outcome.refusal, L"");
    EXPECT_EQ(outcome.imported, 3) << "the separator comes along uncounted";
    EXPECT_EQ(outcome.alreadyThere, 0);
    TFavoriteItems expected = original.favorites;
    expected.Items(0).FileName(L"%path%a.sql");
    for (int i = 0; i < expected.Count(); ++i) expected.Items(i).Password(L"");
    EXPECT_EQ(empty.favorites, expected);
    EXPECT_EQ(submenuNames(empty.submenus),
              (std::vector<std::wstring>{L"#", L"Admin#", L"Reports#fav_chart.bmp"}));
  }
}

TEST(ListImport, SkipsFilesAlreadyInTheListInEitherPathFormAndAnyLetterCase) {
  const struct {
    const char* name;
    std::wstring stored;    // in the list before
    std::wstring imported;  // in the file
    bool skipped;
  } cases[] = {
      {"same text", L"%path%a.sql", L"%path%a.sql", true},
      {"full path of a marker entry", L"%path%a.sql", L"D:\\Work\\a.sql", true},
      {"marker form of a full entry", L"D:\\Work\\a.sql", L"%path%a.sql", true},
      {"other letter case", L"%path%A.SQL", L"d:\\work\\a.sql", true},
      {"another file", L"%path%a.sql", L"%path%b.sql", false},
      {"same name elsewhere", L"%path%a.sql", L"E:\\a.sql", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Lists list;
    list.add(L"", c.stored);
    Lists file;
    file.add(L"", c.imported);
    const std::string bytes = exchange::exportText(file.favorites, file.submenus, L"c:\\", 1200,
                                                   L"now", kCodePage);
    const exchange::ImportOutcome outcome = exchange::importList(
        bytes, kCodePage, list.favorites, list.submenus, kReplacement);
    EXPECT_EQ(outcome.alreadyThere, c.skipped ? 1 : 0);
    EXPECT_EQ(outcome.imported, c.skipped ? 0 : 1);
    EXPECT_EQ(list.favorites.Count(), c.skipped ? 1 : 2);
  }
  // Within one file, too: the second entry of a file is already there.
  Lists list;
  const exchange::ImportOutcome twice = exchange::importList(
      "[Files]\r\nFile1=D:\\Work\\x.sql\r\nFile2=%path%X.sql\r\nFile3=y.sql\r\n", kCodePage,
      list.favorites, list.submenus, kReplacement);
  EXPECT_EQ(twice.imported, 2);
  EXPECT_EQ(twice.alreadyThere, 1);
  ASSERT_EQ(list.favorites.Count(), 2);
  EXPECT_EQ(list.favorites.Items(0).FileName(), L"%path%x.sql");
  EXPECT_EQ(exchange::summary(twice), L"Imported 2 favorites; 1 was already in the list.");

  // A UTF-8 file may name a file the host's code page cannot hold: left out
  // and named, as Add leaves it out.
  Lists fresh;
  const exchange::ImportOutcome wide = exchange::importList(
      "\xEF\xBB\xBF[Files]\r\nFile1=caf\xC3\xA9.sql\r\nFile2=\xE2\x82\xAC.sql\r\n", kCodePage,
      fresh.favorites, fresh.submenus, kReplacement);
  EXPECT_EQ(wide.imported, 1);
  EXPECT_EQ(wide.unstorable, std::vector<std::wstring>{L"\u20AC.sql"});
  ASSERT_EQ(fresh.favorites.Count(), 1);
  EXPECT_EQ(fresh.favorites.Items(0).FileName(), L"caf\u00E9.sql");
}

TEST(ListImport, AWholeSettingsFileGivesItsFavoritesAndSubmenusButNoPasswordOrSetting) {
  const std::string settings =
      "[Settings]\r\nSavePassword=1\r\nReplacementPath=Q:\\\r\nMenuItemName=Theirs\r\n"
      "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Batch\r\nSubMenuItem2=Tools\r\n"
      "[SubMenuButtons]\r\nSubMenuButton0=\r\nSubMenuButton1=fav_batch.bmp\r\n"
      "SubMenuButton2=fav_tools.bmp\r\n"
      "[Files]\r\nFile1=[PL/SQL Developer 12 separator]\r\nFile2=%path%one.sql\r\n"
      "File3=[PL/SQL Developer 12 separator]\r\nFile4=%path%two.sql\r\nFile6=%path%six.sql\r\n"
      "[SubMenus]\r\nSubMenu4=Batch\r\nSubMenu6=Batch\r\n"
      "[Usernames]\r\nUsername4=scott\r\n[Databases]\r\nDatabase4=ORCL\r\n"
      "[Passwords]\r\nPassword4=0A1B2C3D4E5F60718293\r\n[AskLogon]\r\nAskLogon6=1\r\n";
  Lists list;
  list.addSubmenu(L"Tools", L"fav_mine.bmp");
  list.add(L"", L"%path%one.sql");
  const exchange::ImportOutcome outcome =
      exchange::importList(settings, kCodePage, list.favorites, list.submenus, kReplacement);
  EXPECT_EQ(exchange::summary(outcome), L"Imported 2 favorites; 1 was already in the list.");
  ASSERT_EQ(list.favorites.Count(), 3);
  const TFavoriteItem& two = list.favorites.Items(1);
  EXPECT_EQ(two.FileName(), L"%path%two.sql");
  EXPECT_EQ(two.SubMenu(), L"Batch");
  EXPECT_EQ(two.Username(), L"scott");
  EXPECT_EQ(two.Database(), L"ORCL");
  EXPECT_EQ(two.Password(), L"") << "passwords are never imported";
  EXPECT_TRUE(list.favorites.Items(2).AskLogon());
  // A submenu we have keeps our icon; a missing one comes with its own.
  EXPECT_EQ(submenuNames(list.submenus),
            (std::vector<std::wstring>{L"#", L"Batch#fav_batch.bmp", L"Tools#fav_mine.bmp"}));
}

// A submenu name the submenu box would refuse would nest menus in the IDE.
TEST(ListImport, SubmenuNamesTheMenusWouldSplitAreLeftOutAndTheirFavoritesKept) {
  const std::string file =
      "[SubMenuItems]\r\nSubMenuItem0=\r\nSubMenuItem1=Reports/2026\r\nSubMenuItem2=Tools\r\n"
      "SubMenuItem3=a>>b\r\n[SubMenuButtons]\r\nSubMenuButton1=fav_r.bmp\r\n"
      "[Files]\r\nFile1=one.sql\r\nFile2=two.sql\r\nFile3=three.sql\r\nFile4=four.sql\r\n"
      "[SubMenus]\r\nSubMenu1=Reports/2026\r\nSubMenu2=Tools\r\nSubMenu3=a>>b\r\n"
      "SubMenu4=Reports/2026\r\n";
  Lists list;
  const exchange::ImportOutcome outcome =
      exchange::importList(file, kCodePage, list.favorites, list.submenus, kReplacement);
  EXPECT_EQ(outcome.imported, 4);
  EXPECT_EQ(outcome.splitSubmenus, (std::vector<std::wstring>{L"Reports/2026", L"a>>b"}));
  ASSERT_EQ(list.favorites.Count(), 4);
  std::vector<std::wstring> used;
  for (int i = 0; i < list.favorites.Count(); ++i) used.push_back(list.favorites.Items(i).SubMenu());
  EXPECT_EQ(used, (std::vector<std::wstring>{L"", L"Tools", L"", L""}));
  EXPECT_EQ(submenuNames(list.submenus), (std::vector<std::wstring>{L"#", L"Tools#"}));
  EXPECT_EQ(exchange::summary(outcome),
            L"Imported 4 favorites; 0 were already in the list.\n\nThe submenus "
            L"\"Reports/2026\" and \"a>>b\" were left out: the IDE would split those names into "
            L"nested menus. Their favorites come without a submenu.");
  exchange::ImportOutcome one;
  one.splitSubmenus = {L"x/y"};
  EXPECT_EQ(exchange::summary(one),
            L"Imported 0 favorites; 0 were already in the list.\n\nThe submenu \"x/y\" was left "
            L"out: the IDE would split the name into nested menus. Its favorites come without a "
            L"submenu.");
}

TEST(ListImport, FilesThatAreNotAListAreRefusedAndChangeNothing) {
  std::string nuls = "[Files]\r\nFile1=a.sql\r\n";
  nuls[3] = '\0';
  std::string huge = "[Files]\r\nFile1=a.sql\r\n;";
  huge.resize(IniText::kMaxFileBytes + 1, 'x');
  const struct {
    const char* name;
    std::string bytes;
    std::wstring reason;
  } cases[] = {
      {"empty", "", L"it names no favorite files"},
      {"garbage", std::string("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16),
       L"the file holds NUL characters"},
      {"text without a list", "Dear team,\r\nthe scripts are on the share.\r\n",
       L"it names no favorite files"},
      {"submenus only", "[SubMenuItems]\r\nSubMenuItem1=Reports\r\n", L"it names no favorite files"},
      {"NUL characters", nuls, L"the file holds NUL characters"},
      {"UTF-32", std::string("\xFF\xFE\x00\x00[\x00\x00\x00", 8),
       L"the file's encoding (UTF-32) is not supported"},
      {"over the size cap", huge, L"the file is larger than 16 MB"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Lists list = sample();
    const Lists before = list;
    const exchange::ImportOutcome outcome =
        exchange::importList(c.bytes, kCodePage, list.favorites, list.submenus, kReplacement);
    EXPECT_EQ(outcome.refusal, c.reason);
    EXPECT_EQ(outcome.imported + outcome.alreadyThere, 0);
    EXPECT_EQ(list.favorites, before.favorites);
    EXPECT_EQ(list.submenus, before.submenus);
  }
  EXPECT_EQ(exchange::refusalMessage(L"C:\\x.ini", L"it names no favorite files"),
            L"C:\\x.ini is not a favorites list: it names no favorite files");
}

TEST(ListImport, TheSummarySaysHowManyWereImportedAndSkipped) {
  const struct {
    int imported, alreadyThere;
    const wchar_t* text;
  } cases[] = {
      {12, 3, L"Imported 12 favorites; 3 were already in the list."},
      {1, 0, L"Imported 1 favorite; 0 were already in the list."},
      {0, 1, L"Imported 0 favorites; 1 was already in the list."},
  };
  for (const auto& c : cases) {
    exchange::ImportOutcome outcome;
    outcome.imported = c.imported;
    outcome.alreadyThere = c.alreadyThere;
    EXPECT_EQ(exchange::summary(outcome), c.text);
  }
}

}  // namespace

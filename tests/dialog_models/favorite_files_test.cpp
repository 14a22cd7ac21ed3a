// The file helpers behind Add and Load, without a window.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>

#include "code_page_text.h"
#include "favorite_files.h"
#include "icon_files.h"
#include "temp_dir.h"
#include "text_codec.h"
#include "text_order.h"

using favfiles::AddRules;
using Strings = std::vector<std::wstring>;

TEST(TypeExtensions, SplitsAtEveryCommaKeepingEmptyPiecesBeforeACommaOnly) {
  const struct {
    const char* host;
    Strings expected;
  } cases[] = {
      {"sql,pck", {L"sql", L"pck"}},
      {"sql,", {L"sql"}},
      {",sql", {L"", L"sql"}},
      {"a,,b", {L"a", L"", L"b"}},
      {"sql", {L"sql"}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(favfiles::splitExtensions(c.host), c.expected) << c.host;
}

TEST(TypeExtensions, AsksTheTenTypesInOrderAndKeepsDuplicates) {
  const std::map<std::string, std::string> host = {
      {"FUNCTION", "fnc"}, {"PACKAGE", "pck,spc"}, {"PACKAGE BODY", "pck,bdy"}, {"JAVA SOURCE", "jsp"}};
  std::vector<std::string> asked;
  const Strings all = favfiles::collectTypeExtensions([&](const std::string& type) {
    asked.push_back(type);
    const auto it = host.find(type);
    return it == host.end() ? std::string() : it->second;
  });
  EXPECT_EQ(all, (Strings{L"fnc", L"pck", L"spc", L"pck", L"bdy", L"jsp"}));
  EXPECT_EQ(asked, (std::vector<std::string>{"FUNCTION", "PROCEDURE", "TRIGGER", "PACKAGE",
                                             "PACKAGE BODY", "PACKAGE SPEC AND BODY", "TYPE",
                                             "TYPE BODY", "TYPE SPEC AND BODY", "JAVA SOURCE"}));
}

TEST(FileType, ProgramUnitExtensionsIgnoringCaseGiveThreeAndAnEmptyOneNeverMatches) {
  // The host listed an empty extension (",pck"): files without one stay 0.
  const Strings extensions = {L"", L"PCK", L"sql"};
  const struct {
    const wchar_t* file;
    int type;
  } cases[] = {
      {L"c:\\src\\a.pck", 3}, {L"c:\\src\\a.Pck", 3}, {L"A.SQL", 3},
      {L"c:\\src\\a.txt", 0}, {L"c:\\src\\noext", 0}, {L"c:\\src.pck\\noext", 0},
      {L"c:\\src\\dot.", 0},  {L"-", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(favfiles::FileTypeOf(c.file, extensions), c.type) << c.file;
}

TEST(AddFiles, SkipsDuplicatesInBothFormsAndNamesOutsideTheCodePage) {
  TFavoriteItems favorites;
  favorites.Add().FileName(L"%path%\\a.sql");
  favorites.Add().FileName(L"e:\\b.txt");
  AddRules rules;
  rules.replacementPath = L"D:\\Work";
  rules.extensions = {L"sql"};
  rules.fitsCodePage = [](const std::wstring& name) { return fav::fitsCodePage(name); };
  const std::wstring outside = L"e:\\\u65E5\u672C.sql";
  const auto outcome = favfiles::addFavoriteFiles(
      favorites,
      {L"d:\\work\\a.sql", L"e:\\b.txt", L"d:\\work\\c.SQL", L"D:\\WORK\\c.SQL", outside,
       L"e:\\d.txt"},
      rules);
  EXPECT_EQ(outcome.added, 2);
  EXPECT_EQ(outcome.duplicates, 3);
  EXPECT_EQ(outcome.unstorable, Strings{outside});
  ASSERT_EQ(favorites.Count(), 4);
  TFavoriteItem expected;
  expected.FileName(L"%path%\\c.SQL");
  expected.FileType(3);
  EXPECT_EQ(favorites.Items(2), expected);
  expected.FileName(L"e:\\d.txt");
  expected.FileType(0);
  EXPECT_EQ(favorites.Items(3), expected);
  EXPECT_NE(codepage::unstorableFilesMessage(outcome.unstorable).find(outside), std::wstring::npos);
}

TEST(CodePageText, NamesEachCharacterOutsideTheCodePageOnce) {
  const struct {
    std::wstring text;
    Strings outside;
  } cases[] = {
      {L"", {}},
      {L"plain \u00E9\u20AC", {}},  // Western letters and the euro sign fit
      {L"\u0416a\u0416b\u65E5", {L"\u0416", L"\u65E5"}},
      {L"x\xD83D\xDE00y", {L"\xD83D\xDE00"}},  // a surrogate pair is one character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fav::charactersOutsideCodePage(c.text), c.outside);
    EXPECT_EQ(codepage::outsideCodePageMessage(L"alias", c.text).empty(), c.outside.empty());
  }
  EXPECT_EQ(codepage::outsideCodePageMessage(L"submenu name", L"Dev\u0416\xD83D\xDE00"),
            L"The submenu name holds characters that the system code page cannot store, so the "
            L"IDE would get \"?\" instead: \"\u0416\" (U+0416), \"\xD83D\xDE00\" (U+1F600).\n\n"
            L"Please type the submenu name without them.");
  EXPECT_EQ(codepage::passwordTooLongMessage(1024, L"x"), L"");
  EXPECT_NE(codepage::passwordTooLongMessage(1025, L"x").find(L"1025 bytes"), std::wstring::npos);
}

TEST(FolderListing, PlainFilesOnlyInNameOrder) {
  testsupport::TempDir dir;
  for (const wchar_t* name : {L"b.sql", L"A.sql", L"c", L"hidden.sql", L"system.sql"})
    testsupport::writeFile(dir / name, "x");
  testsupport::writeFile(dir / L"sub" / L"inner.sql", "x");
  ::SetFileAttributesW((dir / L"hidden.sql").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((dir / L"system.sql").c_str(), FILE_ATTRIBUTE_SYSTEM);
  const std::wstring folder = dir.str();
  const Strings expected = {folder + L"\\A.sql", folder + L"\\b.sql", folder + L"\\c"};
  EXPECT_EQ(favfiles::listPlainFiles(folder), expected);
  EXPECT_EQ(favfiles::listPlainFiles(folder + L"\\"), expected);
  EXPECT_TRUE(favfiles::listPlainFiles(folder + L"\\missing").empty());
  ::SetFileAttributesW((dir / L"hidden.sql").c_str(), FILE_ATTRIBUTE_NORMAL);
  ::SetFileAttributesW((dir / L"system.sql").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The listing sorts by the locale's sort keys; they must order names exactly
// as the locale's comparison does, hyphens, digits and accents included.
TEST(FolderListing, OrderIsTheLocaleComparisonsOrder) {
  testsupport::TempDir dir;
  Strings names = {L"b.sql",     L"A.sql",      L"a-b.sql",   L"ab.sql",     L"a_b.sql",
                   L"co-op.sql", L"coop.sql",   L"Co op.sql", L"\u00C9mile.sql", L"emile2.sql",
                   L"file10.sql", L"file9.sql", L"x'y.sql",   L"XY.sql",     L"zebra.sql",
                   L"Zeta",      L"~tilde.sql", L"1st.sql",   L"_under.sql", L"\u00E8re.sql"};
  for (const std::wstring& name : names) testsupport::writeFile(dir / name, "x");
  Strings listed;
  for (const std::wstring& path : favfiles::listPlainFiles(dir.str()))
    listed.push_back(path.substr(path.rfind(L'\\') + 1));
  ASSERT_TRUE(std::is_permutation(listed.begin(), listed.end(), names.begin(), names.end()));
  // Names the comparison calls equal may come in either order; the rest not.
  for (size_t i = 0; i + 1 < listed.size(); ++i)
    EXPECT_LE(compareTextLocale(listed[i], listed[i + 1]), 0) << testing::PrintToString(listed);
}

TEST(IconFiles, OnePrefixAndBmpRuleOneAttributeRuleOneOrderForBothGrids) {
  testsupport::TempDir dir;
  for (const wchar_t* name : {L"fav_b.bmp", L"FAV_a.BMP", L"fav_C.bmp", L"fav_hidden.bmp",
                              L"fav_system.bmp", L"other.bmp", L"fav_x.bmpx", L"fav_y.txt"})
    testsupport::writeFile(dir / name, "x");
  testsupport::writeFile(dir / L"fav_folder.bmp" / L"inner.bmp", "x");
  ::SetFileAttributesW((dir / L"fav_hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((dir / L"fav_system.bmp").c_str(), FILE_ATTRIBUTE_SYSTEM);
  const std::wstring folder = dir.str();
  const Strings expected = {L"FAV_a.BMP", L"fav_b.bmp", L"fav_C.bmp"};
  EXPECT_EQ(dialogs::listIconFiles(folder, L"fav_"), expected);
  EXPECT_EQ(dialogs::listIconFiles(folder + L"\\", L"FAV_"), expected);
  EXPECT_EQ(dialogs::listIconFiles(folder, L"").size(), 4u) << "other.bmp too";
  EXPECT_TRUE(dialogs::listIconFiles(folder + L"\\missing", L"fav_").empty());
  ::SetFileAttributesW((dir / L"fav_hidden.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
  ::SetFileAttributesW((dir / L"fav_system.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(OpenFileAnswer, OneFullPathOrAFolderWithNames) {
  const wchar_t several[] = L"C:\\d\0a.sql\0b.sql\0";
  EXPECT_EQ(favfiles::openFileDialogPaths(favfiles::splitNullList(several, std::size(several))),
            (Strings{L"C:\\d\\a.sql", L"C:\\d\\b.sql"}));
  const wchar_t root[] = L"C:\\\0a.sql\0b.sql\0";
  EXPECT_EQ(favfiles::openFileDialogPaths(favfiles::splitNullList(root, std::size(root))),
            (Strings{L"C:\\a.sql", L"C:\\b.sql"}));
  const wchar_t one[] = L"C:\\d\\a.sql\0";
  EXPECT_EQ(favfiles::openFileDialogPaths(favfiles::splitNullList(one, std::size(one))),
            Strings{L"C:\\d\\a.sql"});
  // Full paths (the test seam's form) stay as they are.
  EXPECT_EQ(favfiles::openFileDialogPaths({L"C:\\a", L"D:\\b"}), (Strings{L"C:\\a", L"D:\\b"}));
  // No terminator within the capacity: reading stops there.
  const wchar_t cut[] = {L'a', L'b'};
  EXPECT_EQ(favfiles::splitNullList(cut, 2), Strings{L"ab"});
}

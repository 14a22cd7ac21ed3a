// Writes on the snapshot and the atomic save.
#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>

#include "data_test_util.h"
#include "ini_file.h"
#include "temp_dir.h"

namespace {

using datatest::show;

struct Op {
  enum Kind { Write, Erase } kind;
  std::wstring section, key, value;
};

void apply(IniFile& ini, const std::vector<Op>& ops) {
  for (const Op& op : ops) {
    if (op.kind == Op::Write) ini.writeText(op.section, op.key, op.value);
    else ini.eraseSection(op.section);
  }
}

void applyPlatform(const std::wstring& path, const std::vector<Op>& ops) {
  for (const Op& op : ops) {
    if (op.kind == Op::Write)
      ::WritePrivateProfileStringW(op.section.c_str(), op.key.c_str(), op.value.c_str(), path.c_str());
    else
      ::WritePrivateProfileStringW(op.section.c_str(), nullptr, nullptr, path.c_str());
  }
}

Op w(std::wstring section, std::wstring key, std::wstring value) {
  return {Op::Write, std::move(section), std::move(key), std::move(value)};
}
Op erase(std::wstring section) { return {Op::Erase, std::move(section), L"", L""}; }

TEST(IniWriter, LineModelKeepsWhatItDoesNotTouch) {
  struct Case {
    const char* name;
    std::string before;
    std::vector<Op> ops;
    std::string after;
  };
  const Case cases[] = {
      {"replace where it stands, spelling of the file kept",
       "; head\r\n[Settings]\r\nLEFT = 1\r\nTop=2\r\n", {w(L"settings", L"Left", L"5")},
       "; head\r\n[Settings]\r\nLEFT=5\r\nTop=2\r\n"},
      {"append after the last line of the section, blank lines stay before the next",
       "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n", {w(L"A", L"z", L"3")},
       "[A]\r\nx=1\r\n; note\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
      {"new section at the end, after a last line without line end",
       "[A]\nx=1", {w(L"New", L"k", L"v")}, "[A]\nx=1\r\n[New]\r\nk=v\r\n"},
      {"a valueless line takes the value", "[A]\r\nk\r\n", {w(L"A", L"k", L"v")}, "[A]\r\nk=v\r\n"},
      {"erase removes header and lines, every section of that name",
       "[Keep]\r\na=1\r\n[Files]\r\nFile1=x\r\n; c\r\n[Other]\r\nb=2\r\n[files]\r\nFile9=y\r\n",
       {erase(L"FILES")}, "[Keep]\r\na=1\r\n[Other]\r\nb=2\r\n"},
      {"erase then write makes the section anew at the end",
       "[Files]\r\nFile1=x\r\n[Z]\r\nz=1\r\n", {erase(L"Files"), w(L"Files", L"File1", L"y")},
       "[Z]\r\nz=1\r\n[Files]\r\nFile1=y\r\n"},
      {"empty values are written", "", {w(L"S", L"k", L"")}, "[S]\r\nk=\r\n"},
      {"blanks around a value are not kept", "", {w(L"S", L"k", L"  v  ")}, "[S]\r\nk=v\r\n"},
      {"line breaks and NUL never reach the file", "",
       {w(L"S", L"k", L"a\r\nb=c\n[Files]\rFile9=x"), w(L"S", L"n", std::wstring(L"ok\0[X]", 6))},
       "[S]\r\nk=a b=c [Files] File9=x\r\nn=ok\r\n"},
      {"first section of a name takes the write", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n",
       {w(L"A", L"k", L"3"), w(L"A", L"new", L"4")}, "[A]\r\nk=3\r\nnew=4\r\n[a]\r\nk=2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IniFile ini = IniFile::fromBytes(c.before);
    apply(ini, c.ops);
    EXPECT_EQ(ini.toBytes(), c.after);
  }
}

TEST(IniWriter, ReadsSeeTheSnapshotsOwnWrites) {
  IniFile ini = IniFile::fromBytes("[A]\r\nk=1\r\n[B]\r\nb=2\r\n[C]\r\nc=3\r\n");
  EXPECT_EQ(ini.readText(L"A", L"k", L""), L"1");
  ini.writeText(L"A", L"k2", L"new");
  ini.writeText(L"a", L"K", L"changed");
  ini.writeText(L"D", L"d", L"4");
  ini.eraseSection(L"B");
  EXPECT_EQ(ini.readText(L"A", L"k", L""), L"changed");
  EXPECT_EQ(ini.readText(L"A", L"K2", L""), L"new");
  EXPECT_EQ(ini.readText(L"D", L"d", L""), L"4");
  EXPECT_EQ(ini.readText(L"C", L"c", L""), L"3");
  EXPECT_FALSE(ini.hasKey(L"B", L"b"));
  for (int i = 0; i < 200; ++i) ini.writeNumber(L"C", L"n" + std::to_wstring(i), i);
  EXPECT_EQ(ini.readNumber(L"C", L"n150", -1), 150);
  EXPECT_EQ(ini.keyNames(L"C").size(), 201u);
}

TEST(IniWriter, ValuesWithLineBreaksStayOneKey) {
  IniFile ini;
  ini.writeText(L"Aliases", L"Alias1", L"two\r\nlines\n[Files]\nFile2=evil");
  const IniFile back = IniFile::fromBytes(ini.toBytes());
  EXPECT_EQ(back.readText(L"Aliases", L"Alias1", L""), L"two lines [Files] File2=evil");
  EXPECT_EQ(back.keyNames(L"Aliases"), std::vector<std::wstring>{L"Alias1"});
  EXPECT_FALSE(back.hasKey(L"Files", L"File2"));
}

TEST(IniWriter, WritesReadBackAsThePlatformsWritesWould) {
  const std::string typical =
      "; written by hand\r\n[Settings]\r\nLeft=1\r\nUnknownKey=keep me\r\n\r\n[Files]\r\n"
      "File1=a.sql\r\nfile2 = b.sql\r\nFile3\r\n[Other]\r\nx=1\r\n";
  struct Case {
    const char* name;
    std::string before;
    std::vector<Op> ops;
  };
  const Case cases[] = {
      {"new file", "", {w(L"Settings", L"Left", L"5"), w(L"Files", L"File1", L"x")}},
      {"replace, append, new section",
       typical,
       {w(L"SETTINGS", L"left", L"9"), w(L"Settings", L"Top", L"2"), w(L"Files", L"File2", L"c"),
        w(L"Files", L"File3", L"d"), w(L"Files", L"File4", L"e"), w(L"Aliases", L"Alias1", L"")}},
      {"erase and rewrite",
       typical,
       {erase(L"Files"), erase(L"NoSuch"), w(L"Files", L"File1", L"n1"), w(L"Files", L"File2", L"n2"),
        w(L"Other", L"x", L"2")}},
      {"quotes and blanks in values",
       typical,
       {w(L"Settings", L"q", L"\"quoted\""), w(L"Settings", L"s", L"  lead and trail  "),
        w(L"Settings", L"one", L"'")}},
      {"odd line ends and no final line end",
       "[A]\ra=1\n\n[B]\r\nb=2", {w(L"A", L"a2", L"x"), w(L"B", L"b", L"y"), w(L"C", L"c", L"z")}},
      {"blank line inside a section", "[A]\r\nk=1\r\n\r\nm=2\r\n\r\n[B]\r\nb=1\r\n",
       {w(L"A", L"new", L"v"), w(L"B", L"c", L"2")}},
      {"keys before any section", "top=1\r\n[A]\r\nk=1\r\n", {w(L"A", L"k", L"2"), w(L"B", L"k", L"3")}},
      {"UTF-8 with BOM keeps its encoding",
       "\xEF\xBB\xBF[A]\r\nk=Caf\xC3\xA9\r\n", {w(L"A", L"n", L"\u00e9t\u00e9"), w(L"B", L"k", L"x")}},
      {"UTF-16 keeps its encoding",
       datatest::bytesOf("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xe9\0"), {w(L"A", L"k2", L"\u4e2d")}},
      {"comments and malformed lines", "[A]\r\n;c=1\r\n[unterminated\r\n=v\r\nk=1\r\n",
       {w(L"A", L"k", L"2"), w(L"A", L"m", L"3")}},
  };
  testsupport::TempDir dir;
  int no = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ++no;
    const std::wstring reference = (dir / (L"ref" + std::to_wstring(no) + L".ini")).wstring();
    const std::wstring ours = (dir / (L"ours" + std::to_wstring(no) + L".ini")).wstring();
    if (!c.before.empty()) testsupport::writeFile(reference, c.before);
    applyPlatform(reference, c.ops);
    IniFile ini = IniFile::fromBytes(c.before);
    apply(ini, c.ops);
    std::wstring error;
    ASSERT_TRUE(ini.save(ours, &error)) << show(error);
    const auto diffs = datatest::compareThroughPlatform(reference, ours, {L""});
    EXPECT_TRUE(diffs.empty()) << datatest::joined(diffs);
    // The snapshot itself answers as the platform does for the written file.
    const IniFile reread = IniFile::load(ours);
    for (const auto& section : platform::sectionNames(reference))
      for (const auto& key : platform::keyNames(reference, section))
        EXPECT_EQ(reread.readText(section, key, L"?"), platform::readText(reference, section, key, L"?"));
  }
}

// Our deliberate difference: the platform erases only the first section of a
// name, which lets a second [Files] of a hand-edited file come back to life.
TEST(IniWriter, EraseLeavesNoSecondSectionOfTheName) {
  IniFile ini = IniFile::fromBytes("[Files]\nFile1=a\n[Files]\nFile7=stale\n");
  ini.eraseSection(L"Files");
  ini.writeText(L"Files", L"File1", L"new");
  const IniFile back = IniFile::fromBytes(ini.toBytes());
  EXPECT_EQ(back.readText(L"Files", L"File1", L""), L"new");
  EXPECT_FALSE(back.hasKey(L"Files", L"File7"));
}

using testsupport::fileNames;

TEST(IniSave, ReplacesTheFileAndLeavesNoTemporaryFile) {
  testsupport::TempDir dir;
  const auto path = dir / L"Favorites.ini";
  testsupport::writeFile(path, "[Settings]\r\nLeft=1\r\n");
  IniFile ini = IniFile::load(path.wstring());
  ini.writeNumber(L"Settings", L"Left", 2);
  std::wstring error;
  ASSERT_TRUE(ini.save(path.wstring(), &error)) << show(error);
  EXPECT_EQ(testsupport::readFile(path), "[Settings]\r\nLeft=2\r\n");
  // The previous version stays beside it.
  EXPECT_EQ(testsupport::readFile(dir / L"Favorites.ini.bak"), "[Settings]\r\nLeft=1\r\n");
  EXPECT_EQ(fileNames(dir.path()), (std::vector<std::wstring>{L"Favorites.ini", L"Favorites.ini.bak"}));

  // A missing file is created, in the system code page.
  const auto fresh = dir / L"new.ini";
  IniFile created;
  created.writeText(L"Settings", L"MenuItemName", L"Caf\u00e9");
  ASSERT_TRUE(created.save(fresh.wstring(), &error)) << show(error);
  EXPECT_EQ(testsupport::readFile(fresh), fav::toNarrow(L"[Settings]\r\nMenuItemName=Caf\u00e9\r\n"));
}

TEST(IniSave, RefusedWritesLeaveTheOldFileByteForByte) {
  testsupport::TempDir dir;
  const std::string old = "[Settings]\r\nLeft=1\r\n; mine\r\n";
  const auto path = dir / L"Favorites.ini";
  {
    // Another program holds the file open without write sharing.
    testsupport::writeFile(path, old);
    testsupport::FileLock lock(path);
    ASSERT_TRUE(lock.held());
    IniFile changed = IniFile::load(path.wstring());
    changed.writeNumber(L"Settings", L"Left", 99);
    std::wstring error;
    EXPECT_FALSE(changed.save(path.wstring(), &error));
    EXPECT_NE(error.find(path.wstring()), std::wstring::npos) << show(error);
    EXPECT_EQ(testsupport::readFile(path), old);
    EXPECT_EQ(fileNames(dir.path()), std::vector<std::wstring>{L"Favorites.ini"});
  }
  {
    // A folder in the file's place: reads give defaults, the save is refused.
    const auto folder = dir / L"sub" / L"Favorites.ini";
    std::filesystem::create_directories(folder);
    IniFile ini = IniFile::load(folder.wstring());
    ini.writeNumber(L"Settings", L"Left", 5);
    std::wstring error;
    EXPECT_FALSE(ini.save(folder.wstring(), &error));
    EXPECT_NE(error.find(folder.wstring()), std::wstring::npos) << show(error);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    IniFile fresh;
    fresh.writeNumber(L"Settings", L"Left", 5);
    EXPECT_FALSE(fresh.save(folder.wstring(), &error));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_EQ(fileNames(dir / L"sub"), std::vector<std::wstring>{L"Favorites.ini"});
  }
  {
    // A folder that does not exist.
    IniFile ini;
    ini.writeNumber(L"Settings", L"Left", 5);
    std::wstring error;
    EXPECT_FALSE(ini.save((dir / L"missing" / L"Favorites.ini").wstring(), &error));
    EXPECT_FALSE(error.empty());
  }
}

TEST(IniSave, UntouchedLinesGoBackByteForByte) {
  testsupport::TempDir dir;
  const auto path = dir / L"Favorites.ini";
  // Invalid UTF-8 and a lone CR in a foreign section, no final line end.
  const std::string foreign = "\xEF\xBB\xBF[Other]\nraw=\xC3(\xFF\xFE\xED\xA0\x80\rnext=\x80\n";
  testsupport::writeFile(path, foreign + "[Settings]\nLeft=1\nTop=2");
  IniFile ini = IniFile::load(path.wstring());
  ini.writeNumber(L"Settings", L"Left", 7);
  ini.writeText(L"Settings", L"MenuItemName", L"Caf\u00e9");
  std::wstring error;
  ASSERT_TRUE(ini.save(path.wstring(), &error)) << show(error);
  EXPECT_EQ(testsupport::readFile(path),
            foreign + "[Settings]\nLeft=7\r\nTop=2\r\nMenuItemName=Caf\xC3\xA9\r\n");
}

// Files we can read but not write back as they are: reads answer what they
// hold (or defaults), the reason is there for the user, and no save touches
// the file.
TEST(IniSave, FilesWeCannotWriteBackAreNeverReplaced) {
  testsupport::TempDir dir;
  std::string huge = "[S]\r\nL=4\r\n[Pad]\r\n";
  while (huge.size() <= (16u << 20)) huge += "Padding=" + std::string(1000, 'p') + "\r\n";
  const struct {
    const char* name;
    std::string bytes;
    const wchar_t* reason;
    int value;  // what S/L reads as, 200 being the default
  } cases[] = {
      {"UTF-32 LE", datatest::bytesOf("\xFF\xFE\0\0[\0\0\0S\0\0\0]\0\0\0\n\0\0\0") +
                        datatest::bytesOf("L\0\0\0=\0\0\0004\0\0\0"),
       L"the file's encoding (UTF-32) is not supported", 4},
      {"UTF-32 BE", datatest::bytesOf("\0\0\xFE\xFF\0\0\0[\0\0\0S\0\0\0]\0\0\0\n") +
                        datatest::bytesOf("\0\0\0L\0\0\0=\0\0\0004"),
       L"the file's encoding (UTF-32) is not supported", 4},
      {"NUL characters", datatest::bytesOf("[S]\r\nL=4\r\nFile1=a\0b\r\n"),
       L"the file holds NUL characters", 4},
      {"larger than 16 MB", huge, L"the file is larger than 16 MB", 200},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto path = dir / (L"Favorites" + std::to_wstring(++n) + L".ini");
    testsupport::writeFile(path, c.bytes);
    IniFile ini = IniFile::load(path.wstring());
    EXPECT_TRUE(ini.openFailed());
    EXPECT_EQ(ini.openError(), c.reason);
    EXPECT_EQ(ini.readNumber(L"S", L"L", 200), c.value);
    ini.writeNumber(L"Settings", L"Left", 9);
    std::wstring error;
    EXPECT_FALSE(ini.save(path.wstring(), &error));
    EXPECT_NE(error.find(c.reason), std::wstring::npos) << show(error);
    EXPECT_TRUE(testsupport::readFile(path) == c.bytes) << "the file changed";
  }
}

}  // namespace

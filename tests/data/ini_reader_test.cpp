// The snapshot reader against the platform's private-profile reader: a corpus
// of tricky files, every lookup asked of both.
#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "data_test_util.h"
#include "ini_file.h"
#include "temp_dir.h"

namespace {

using datatest::show;

struct Fixture {
  std::string name;
  std::string bytes;
  // false: read, but never written back (NUL characters); nullopt: either
  std::optional<bool> writable = true;
};

std::string utf16le(const std::wstring& text, bool bom = true) {
  std::string out = bom ? "\xFF\xFE" : "";
  for (wchar_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

std::string utf16be(const std::wstring& text) {
  std::string out = "\xFE\xFF";
  for (wchar_t c : text) {
    out.push_back(static_cast<char>(c >> 8));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  return out;
}

std::string garbage(unsigned seed, size_t size) {
  std::mt19937 rng(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng() & 0xFF);
  // Not a byte-order mark by accident: those files are in the corpus on purpose.
  out[0] = 'g';
  // Make lines, sections and keys likely.
  for (size_t i = 0; i + 1 < size; i += 1 + rng() % 40) out[i] = "\n\r=[]'\""[rng() % 7];
  return out;
}

std::string quotedOfLength(size_t inner, char quote = '"') {
  return std::string(1, quote) + std::string(inner, 'q') + std::string(1, quote);
}

std::vector<Fixture> corpus() {
  const std::string typical =
      "[Settings]\r\nLeft=120\r\nShowFullPath=0\r\nMenuItemName=My Files\r\n"
      "ImagePath=C:\\Images\\\r\n\r\n[Files]\r\nFile1=C:\\src\\a.sql\r\nFile2=%path%\\b.pkb\r\n"
      "File3=-\r\nFile4=[PL/SQL Developer 12 separator]\r\n[Types]\r\nType1=3\r\nType2=0\r\n"
      "[Usernames]\r\nUsername1=scott\r\n[Passwords]\r\nPassword1=\r\n";
  std::string longValues = "[Long]\n";
  for (size_t n : {2045u, 2046u, 2047u, 2048u, 2049u, 5000u})
    longValues += "plain" + std::to_string(n) + "=" + std::string(n, 'v') + "\n";
  for (size_t n : {2044u, 2045u, 2046u, 2047u, 2048u, 2049u, 2050u})
    longValues += "quoted" + std::to_string(n) + "=" + quotedOfLength(n) + "\n";
  longValues += "single=" + quotedOfLength(2046, '\'') + "\n";
  longValues += "huge=" + std::string(100 * 1024, 'h') + "\n";
  longValues += "after=still read\n";

  std::string manyEntries = "[Files]\r\n";
  for (int i = 1; i <= 10000; ++i)
    manyEntries += "File" + std::to_string(i) + "=C:\\f\\" + std::to_string(i) + ".sql\r\n";

  return {
      {"typical CRLF", typical},
      {"LF only", "[Settings]\nLeft=1\nTop=2\n[Files]\nFile1=a\n"},
      {"CR only", "[Settings]\rLeft=1\rTop=2\r[Files]\rFile1=a\r"},
      {"mixed line ends", "[A]\r\na=1\rb=2\n\n\r\r\nc=3\n\r[B]\rd=4\r\n"},
      {"no final line end", "[A]\r\na=1\r\nlast=value at end"},
      {"blank and malformed lines",
       "\r\n   \r\n\t\r\n[A]\r\nno equals sign\r\n=value at line start\r\n==double\r\n"
       "  spaced key  =  spaced value  \r\nempty=\r\nblanks=   \r\n[unterminated\r\n"
       "inner=x=y\r\n\x0b\x0c" "vt=\x1a\x1a" "clean\x1a\r\n ] = bracket\r\n"},
      {"quotes",
       "[Q]\nd=\"double\"\ns='single'\nmixed=\"a'\nlone=\"\npair=\"\"\nspair=''\n"
       "spaced= \"a b\" \ninner=\"a\"b\"\ntriple=\"\"\"\nopen=\"abc\nclose=abc\"\n"
       "tab=\t'x'\t\nnested='\"x\"'\n"},
      {"duplicates",
       "[A]\nk=first\nK=second\n[a]\nk=other section\nonly=in second\n[A]\nk=third\n"
       "[B]\nvalueless\nvalueless=later\n=one\n=two\n"},
      {"keys before any section and odd headers",
       "top=1\nboth=pre\n[]\nempty=named\n[ spaced ]\nx=1\n[Files] ; comment\nFile1=a\n"
       "[E]]x]\no=9\n  [Indented]  \ni=1\n[\t tabbed \x0b]\nt=1\n[Files]\nFile2=second Files section\n"},
      {"comments", "[A]\n; comment\n;k=commented\n#hash=1\nk=real\n; File1=x\n"},
      {"long values", longValues},
      {"UTF-8 BOM", "\xEF\xBB\xBF[Settings]\nMenuItemName=Caf\xC3\xA9 \xE2\x82\xAC\n"
                    "[\xD0\x9A\xD0\xB8\xD1\x80]\n\xD0\x9A\xD0\xBB\xD1\x8E\xD1\x87=\xD1\x8F\n"},
      {"UTF-8 BOM, invalid bytes", "\xEF\xBB\xBF[A]\nk=\xC3(\xFF\xFE\nk2=ok\n"},
      {"UTF-8 BOM only", "\xEF\xBB\xBF"},
      {"BOM inside a value", "[A]\nk=\xEF\xBB\xBFx\n"},
      {"UTF-16 LE", utf16le(L"[Settings]\r\nMenuItemName=\u00c9t\u00e9 \u4e2d\r\n"
                            L"[\u00c4rger]\r\n\u00fcber='q'\r\n")},
      {"UTF-16 LE, CR only", utf16le(L"[A]\ra=1\rb=2")},
      {"UTF-16 BE", utf16be(L"[A]\r\nk=\u00e9\r\n")},
      {"UTF-16 BOM only", "\xFF\xFE"},
      {"system code page bytes",
       "[Settings]\nMenuItemName=\xC4pfel \x80 \x81\x8d\n[\xDC" "ber]\n\xDCml=caps\n"
       "\xFCml=small\nx=\xFF\xFE\n"},
      {"NUL bytes",
       datatest::bytesOf("[N]\nk\0ey=v\nab=c\0d\nsp = v \0 x\nname \0tail=w\n[Se\0x]\nz=1\n\0\n[ T \0x ]\ny=2\n"),
       false},
      {"binary garbage", garbage(1, 6000), std::nullopt},
      {"binary garbage 2", garbage(7, 6000), std::nullopt},
      {"UTF-8 BOM garbage", "\xEF\xBB\xBF" + garbage(3, 3000), std::nullopt},
      {"UTF-16 garbage", "\xFF\xFE" + garbage(5, 3000), std::nullopt},
      {"empty file", ""},
      {"whitespace only", " \r\n\t\r\n"},
      {"one byte", "x"},
      {"10,000 entries", manyEntries},
  };
}

// Names worth asking for: what the platform lists, what the snapshot lists,
// every name-like piece of each line, their letter-case and blank variants,
// and names that are missing.
struct Queries {
  std::vector<std::wstring> sections;
  std::vector<std::wstring> keys;
};

Queries queriesFor(const std::wstring& path, const std::string& bytes, const IniFile& ini) {
  Queries q;
  std::vector<std::wstring> sections = platform::sectionNames(path);
  std::vector<std::wstring> keys;
  for (const auto& s : sections)
    for (const auto& k : platform::keyNames(path, s)) datatest::addUnique(keys, k);
  for (const auto& s : sections)
    for (const auto& k : ini.keyNames(s)) datatest::addUnique(keys, k);
  // Pieces of the raw lines, taken the crude way.
  const std::wstring text = fav::toWide(bytes);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of(L"\r\n", pos);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(pos, end - pos);
    pos = end + 1;
    auto trim = [](std::wstring s) {
      const auto b = s.find_first_not_of(L" \t");
      if (b == std::wstring::npos) return std::wstring();
      return s.substr(b, s.find_last_not_of(L" \t") - b + 1);
    };
    line = trim(line);
    if (line.empty()) continue;
    if (line[0] == L'[' && line.rfind(L']') != std::wstring::npos)
      datatest::addUnique(sections, line.substr(1, line.rfind(L']') - 1));
    datatest::addUnique(keys, trim(line.substr(0, line.find(L'='))));
  }
  datatest::addUnique(sections, L"");
  datatest::addUnique(sections, L"NoSuchSection");
  datatest::addUnique(keys, L"");
  datatest::addUnique(keys, L"NoSuchKey");

  constexpr size_t kMaxNames = 60;  // the 10,000-entry file: a sample is enough
  auto widen = [&](const std::vector<std::wstring>& names, std::vector<std::wstring>& out) {
    const size_t step = names.size() > kMaxNames ? names.size() / kMaxNames : 1;
    for (size_t i = 0; i < names.size(); i += step) {
      datatest::addUnique(out, names[i]);
      datatest::addUnique(out, datatest::upper(names[i]));
      datatest::addUnique(out, L" " + names[i] + L"\t");
    }
  };
  widen(sections, q.sections);
  widen(keys, q.keys);
  return q;
}

TEST(IniReaderDifferential, EveryLookupAnswersAsThePlatform) {
  testsupport::TempDir dir;
  int fixtureNo = 0;
  for (const Fixture& fixture : corpus()) {
    SCOPED_TRACE(fixture.name);
    // A fresh name per fixture: the platform caches the files it has read.
    const std::wstring path = (dir / (L"corpus" + std::to_wstring(++fixtureNo) + L".ini")).wstring();
    testsupport::writeFile(path, fixture.bytes);
    const IniFile ini = IniFile::load(path);
    if (fixture.writable) {
      EXPECT_EQ(ini.openFailed(), !*fixture.writable);
    }
    const Queries q = queriesFor(path, fixture.bytes, ini);
    std::vector<std::string> diffs;
    size_t asked = 0;
    for (const auto& section : q.sections) {
      for (const auto& key : q.keys) {
        for (const wchar_t* def : {L"'dflt' ", L""}) {
          ++asked;
          const std::wstring expected = platform::readText(path, section, key, def);
          std::wstring actual = ini.readText(section, key, def);
          // The platform's answer stops at its buffer (and may lose one more
          // character there); ours is whole, so only what it gave is compared.
          if (expected.size() >= platform::kBufferChars - 2) actual.resize(std::min(actual.size(), expected.size()));
          if (expected != actual) {
            std::string line = "[";
            line.append(show(section)).append("] ").append(show(key)).append(" (default '");
            line.append(show(def)).append("'): platform '").append(show(expected));
            line.append("', snapshot '").append(show(actual)).append("'");
            diffs.push_back(std::move(line));
          }
        }
      }
    }
    EXPECT_GT(asked, 0u);
    EXPECT_TRUE(diffs.empty()) << diffs.size() << " of " << asked << " lookups differ:\n"
                               << datatest::joined(diffs);
  }
}

TEST(IniReaderDifferential, FilesThatCannotBeReadAnswerAsThePlatform) {
  testsupport::TempDir dir;
  const std::wstring folder = (dir / L"Favorites.ini").wstring();
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring missing = (dir / L"missing.ini").wstring();
  const std::wstring noFolder = (dir / L"no such folder" / L"x.ini").wstring();
  for (const std::wstring& path : {folder, missing, noFolder}) {
    SCOPED_TRACE(show(path));
    const IniFile ini = IniFile::load(path);
    for (const wchar_t* def : {L"", L"plain", L"'quoted'  ", L"\"q\"", L" "})
      EXPECT_EQ(ini.readText(L"Settings", L"Left", def),
                platform::readText(path, L"Settings", L"Left", def));
    EXPECT_EQ(ini.readNumber(L"Settings", L"Left", 200), 200);
    EXPECT_TRUE(ini.readFlag(L"Settings", L"ShowFullPath", true));
    EXPECT_FALSE(ini.hasKey(L"Settings", L"Left"));
  }
  EXPECT_TRUE(IniFile::load(folder).openFailed());
  EXPECT_FALSE(IniFile::load(missing).openFailed());
}

TEST(IniReader, PresentEmptyValueIsNotMissing) {
  const IniFile ini = IniFile::fromBytes("[S]\nempty=\nvalueless\n");
  EXPECT_EQ(ini.readText(L"S", L"empty", L"d"), L"");
  EXPECT_TRUE(ini.hasKey(L"S", L"empty"));
  EXPECT_EQ(ini.readText(L"S", L"valueless", L"d"), L"d");
  EXPECT_FALSE(ini.hasKey(L"S", L"valueless"));
  EXPECT_EQ(ini.readText(L"S", L"missing", L"d"), L"d");
  EXPECT_EQ(ini.readNumber(L"S", L"empty", 7), 7);
}

TEST(IniReader, KeyNamesListFirstOccurrencesWithValues) {
  const IniFile ini = IniFile::fromBytes("[Files]\nFile1=a\nfile1=b\nnovalue\n;c=1\nFile3=\n[files]\nFile9=x\n");
  EXPECT_EQ(ini.keyNames(L"FILES"), (std::vector<std::wstring>{L"File1", L";c", L"File3"}));
}

TEST(SettingsNumbers, ReadNumberAndFlagUseTheValueAsTheReaderGivesIt) {
  const IniFile ini = IniFile::fromBytes(
      "[S]\nquoted=\"42\"\nspaced=   -3   \nhex=$10\nyes=yes\nzero=0\nnonzero=-2\n"
      "empty=\nvalueless\nhexflag=0x0\n");
  EXPECT_EQ(ini.readNumber(L"S", L"quoted", 1), 42);
  EXPECT_EQ(ini.readNumber(L"s", L"SPACED", 1), -3);
  EXPECT_EQ(ini.readNumber(L"S", L"hex", 1), 16);
  EXPECT_EQ(ini.readNumber(L"S", L"yes", 1), 1);
  EXPECT_EQ(ini.readNumber(L"S", L"missing", 9), 9);
  EXPECT_EQ(ini.readNumber(L"S", L"valueless", 9), 9);
  // Flags: non-zero is true, what does not parse keeps the default.
  EXPECT_TRUE(ini.readFlag(L"S", L"yes", true));
  EXPECT_FALSE(ini.readFlag(L"S", L"yes", false));
  EXPECT_FALSE(ini.readFlag(L"S", L"zero", true));
  EXPECT_TRUE(ini.readFlag(L"S", L"nonzero", false));
  EXPECT_TRUE(ini.readFlag(L"S", L"empty", true));
  EXPECT_FALSE(ini.readFlag(L"S", L"hexflag", true));
}

TEST(IniReader, LongValuesReadBackWhole) {
  testsupport::TempDir dir;
  for (size_t length : {2047u, 2048u, 40000u, 100u * 1024}) {
    SCOPED_TRACE(length);
    const std::wstring path = (dir / (L"long" + std::to_wstring(length) + L".ini")).wstring();
    testsupport::writeFile(path, "[A]\nk=" + std::string(length, 'x') + "\nq='" +
                                     std::string(length, 'y') + "'\nnext=1\n");
    const IniFile ini = IniFile::load(path);
    EXPECT_EQ(ini.readText(L"A", L"k", L""), std::wstring(length, L'x'));
    EXPECT_EQ(ini.readText(L"A", L"q", L""), std::wstring(length, L'y'));
    EXPECT_EQ(ini.readNumber(L"A", L"next", 0), 1);
  }
}

TEST(IniReader, HostileFilesGiveAnswersNotCrashes) {

  // UTF-16 with an odd byte count: the half character at the end is dropped.
  const IniFile odd = IniFile::fromBytes(utf16le(L"[A]\r\nk=v") + "x");
  EXPECT_EQ(odd.readText(L"A", L"k", L""), L"v");

  for (unsigned seed = 10; seed < 40; ++seed) {
    const std::string bytes = garbage(seed, 2000 + seed * 37);
    const IniFile ini = IniFile::fromBytes(bytes);
    ini.readText(L"Settings", L"Left", L"");
    ini.keyNames(L"Files");
    EXPECT_EQ(ini.toBytes(), bytes);
    EXPECT_EQ(ini.openFailed(), bytes.find('\0') != std::string::npos);
  }
}

}  // namespace

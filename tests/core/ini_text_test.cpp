// The settings text model on its own, natively: what comes back byte for
// byte, what a write changes, values of any length, and the files it reads
// but will not write.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ini_text.h"
#include "string_cipher.h"

namespace {

const ByteCodePage kCodePage;

IniText parse(const std::string& bytes) { return IniText::fromBytes(bytes, kCodePage); }

template <size_t N>
std::string bytesOf(const char (&s)[N]) {
  return std::string(s, N - 1);
}

std::string utf16(const std::u16string& text, bool little) {
  std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out.push_back(little ? lo : hi);
    out.push_back(little ? hi : lo);
  }
  return out;
}

struct BytesCase {
  const char* name;
  std::string bytes;
};

std::vector<BytesCase> untouchedFiles() {
  return {
      {"CRLF", "[Settings]\r\nLeft=1\r\n\r\n[Files]\r\nFile1=a\r\n"},
      {"LF, CR and mixed line ends", "[A]\na=1\rb=2\r\n\n\r\r\nc=3\n\r[B]\rd=4"},
      {"no final line end", "[A]\r\nk=v"},
      {"blanks and comments kept as typed", "  [ A ] ;x\r\n\t k  =  v  \r\n;c=1\r\n#h\r\nnovalue\r\n"},
      {"invalid UTF-8 in a foreign section", "\xEF\xBB\xBF[Other]\r\nk=\xC3(\xFF\xFE\xED\xA0\x80\r\n[A]\r\nk=1\r\n"},
      {"code page bytes", "[S]\r\nName=\xC4pfel \x80\x81\x8d\xFF\r\n"},
      {"UTF-16 LE", utf16(u"[A]\r\nk=\u00e9\u4e2d\r\n", true)},
      {"UTF-16 BE, CR only", utf16(u"[A]\rk=v\r", false)},
      {"UTF-16, odd last byte", utf16(u"[A]\r\nk=v", true) + "x"},
      {"UTF-16, unpaired surrogate", utf16(u"[A]\r\nk=\xD800x\r\n", true)},
      {"BOM only", "\xEF\xBB\xBF"},
      {"empty", ""},
      {"NUL bytes", bytesOf("[N]\r\nk\0ey=v\r\n")},
      {"UTF-32", bytesOf("\xFF\xFE\0\0[\0\0\0A\0\0\0]\0\0\0")},
  };
}

TEST(IniTextBytes, AnUntouchedFileComesBackByteForByte) {
  for (const BytesCase& c : untouchedFiles()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(parse(c.bytes).toBytes(), c.bytes);
  }
}

struct WriteCase {
  const char* name;
  std::string before;
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* value;
  std::string after;
};

TEST(IniTextBytes, AWriteChangesOnlyItsOwnLine) {
  const WriteCase cases[] = {
      {"replaced in place, neighbours kept", "[A]\nx=\xFF\xFE\nk=old\n  y = 2 \n", L"A", L"K", L"new",
       "[A]\nx=\xFF\xFE\nk=new\r\n  y = 2 \n"},
      {"added after the last key, blank lines stay", "[A]\r\nk=1\r\n\r\n[B]\r\n", L"a", L"n", L"2",
       "[A]\r\nk=1\r\nn=2\r\n\r\n[B]\r\n"},
      {"added to a last line without a line end", "[A]\nk=1", L"A", L"n", L"2",
       "[A]\nk=1\r\nn=2\r\n"},
      {"new section at the end", "[A]\nk=1", L"B", L"n", L"2", "[A]\nk=1\r\n[B]\r\nn=2\r\n"},
      {"invalid UTF-8 elsewhere survives", "\xEF\xBB\xBF[O]\nz=\xC3(\n[A]\nk=1\n", L"A", L"k",
       L"\u00e9", "\xEF\xBB\xBF[O]\nz=\xC3(\n[A]\nk=\xC3\xA9\r\n"},
      {"UTF-16 line in the file's encoding", utf16(u"[A]\nk=1\n", true), L"A", L"k", L"2",
       utf16(u"[A]\nk=2\r\n", true)},
      {"line breaks in a value stay one line", "[A]\n", L"A", L"k", L"a\r\nb\nc",
       "[A]\nk=a b c\r\n"},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.name);
    IniText ini = parse(c.before);
    ini.writeText(c.section, c.key, c.value);
    EXPECT_EQ(ini.toBytes(), c.after);
  }
}

TEST(IniTextBytes, ErasedSectionsGoWholeAndTheRestStays) {
  IniText ini = parse("top=1\n[A]\nk=\x81\n[B]\nb=2\n[a]\nk=3\n[C]\nc=\xFF");
  ini.eraseSection(L"A");
  EXPECT_EQ(ini.toBytes(), "top=1\n[B]\nb=2\n[C]\nc=\xFF");
}

TEST(IniTextValues, LongValuesReadBackWhole) {
  for (size_t length : {2047u, 2048u, 40000u}) {
    SCOPED_TRACE(length);
    const std::wstring value(length, L'v');
    const IniText plain = parse("[A]\nk=" + std::string(length, 'v') + "\nnext=1\n");
    EXPECT_EQ(plain.readText(L"A", L"k", L""), value);
    EXPECT_EQ(plain.readNumber(L"A", L"next", 0), 1);
    const IniText quoted = parse("[A]\nk=\"" + std::string(length, 'v') + "\"\n");
    EXPECT_EQ(quoted.readText(L"A", L"k", L""), value);
    IniText written = parse("");
    written.writeText(L"A", L"k", value);
    EXPECT_EQ(parse(written.toBytes()).readText(L"A", L"k", L""), value);
  }
}

TEST(IniTextValues, LookupsFoldCaseTrimBlanksAndDropOneQuotePair) {
  const IniText ini = parse(
      "[Settings]\n  Name  =  \"quoted\"  \nsingle='s'\nmixed=\"a'\nempty=\nvalueless\n"
      "[settings]\nName=second section\n[\xDC]\nk=1\n");
  struct Row {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* expected;
  };
  const Row rows[] = {
      {L"SETTINGS", L"name", L"quoted"}, {L" Settings\t", L" NAME ", L"quoted"},
      {L"Settings", L"single", L"s"},    {L"Settings", L"mixed", L"\"a'"},
      {L"Settings", L"empty", L""},      {L"Settings", L"valueless", L"<default>"},
      {L"Settings", L"missing", L"<default>"}, {L"\u00dc", L"k", L"1"},
      {L"\u00fc", L"k", L"<default>"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.key);
    EXPECT_EQ(ini.readText(r.section, r.key, L"<default>"), r.expected);
  }
  EXPECT_EQ(ini.sectionNames(), (std::vector<std::wstring>{L"Settings", L"\u00dc"}));
}

struct RefusalCase {
  const char* name;
  std::string bytes;
  const wchar_t* reason;
  const wchar_t* readable;  // what [A] k reads as
};

TEST(IniTextRefusals, FilesWeCannotWriteBackAreReadAsFarAsTheyGo) {
  const RefusalCase cases[] = {
      {"UTF-32 LE", bytesOf("\xFF\xFE\0\0[\0\0\0A\0\0\0]\0\0\0\n\0\0\0k\0\0\0=\0\0\0v\0\0\0"),
       L"the file's encoding (UTF-32) is not supported", L"v"},
      {"UTF-32 BE", bytesOf("\0\0\xFE\xFF\0\0\0[\0\0\0A\0\0\0]\0\0\0\n\0\0\0k\0\0\0=\0\0\0v"),
       L"the file's encoding (UTF-32) is not supported", L"v"},
      {"NUL in a line", bytesOf("[A]\nk=v\0tail\n"), L"the file holds NUL characters", L"v"},
      {"NUL in UTF-16", utf16(std::u16string(u"[A]\nk=v\0x", 9), true),
       L"the file holds NUL characters", L"v"},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.name);
    const IniText ini = parse(c.bytes);
    EXPECT_EQ(ini.writeRefusal(), c.reason);
    EXPECT_EQ(ini.readText(L"A", L"k", L"?"), c.readable);
  }
  for (const BytesCase& c : untouchedFiles()) {
    if (std::string(c.name) == "NUL bytes" || std::string(c.name) == "UTF-32") continue;
    SCOPED_TRACE(c.name);
    EXPECT_EQ(parse(c.bytes).writeRefusal(), L"");
  }
}

TEST(IniTextPasswords, A1024BytePasswordRoundTripsThroughTheFile) {
  std::string password;
  for (int i = 0; i < 1024; ++i) password.push_back(static_cast<char>(1 + i % 255));
  IniText ini = parse("[Passwords]\r\n");
  ini.writeText(L"Passwords", L"Password1",
                encipherText(bytesAsCodes(password), kPasswordKey, kPasswordMinFill,
                             kPasswordMaxFill));
  const IniText back = parse(ini.toBytes());
  EXPECT_EQ(codesAsBytes(decipherText(back.readText(L"Passwords", L"Password1", L""), kPasswordKey)),
            password);
}

}  // namespace

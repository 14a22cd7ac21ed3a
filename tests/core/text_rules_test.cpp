// The text rules every part shares: numbers in settings and setup files,
// ASCII letter case, replacing all occurrences, joining paths and the
// "%path%" form of a favorite's file name.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "ascii_case.h"
#include "file_path.h"
#include "settings_number.h"
#include "shown_text.h"

namespace {

using testsupport::show;

// The settings file, the dialogs' settings frame and the installer's setup
// file all read numbers through this one rule.
TEST(SettingsNumbers, ParseByTheSettingsRule) {
  const struct {
    const wchar_t* text;
    std::optional<int> expected;
  } cases[] = {
      {L"0", 0},
      {L"200", 200},
      {L"00012", 12},
      {L"+7", 7},
      {L"-15", -15},
      {L"2147483647", 2147483647},
      {L"-2147483648", INT_MIN},
      {L"2147483648", std::nullopt},
      {L"-2147483649", std::nullopt},
      {L"99999999999999999999", std::nullopt},
      {L"0x1F", 31},
      {L"0X1f", 31},
      {L"$ff", 255},
      {L"$7FFFFFFF", 2147483647},
      {L"$FFFFFFFF", -1},
      {L"0xFFFFFFFF", -1},
      {L"0x80000000", INT_MIN},
      {L"0x100000000", std::nullopt},
      {L"$100000000", std::nullopt},
      {L"-$10", -16},
      {L"-0x1", -1},
      {L"0x", std::nullopt},
      {L"$", std::nullopt},
      {L"0xG", std::nullopt},
      {L"0x1G", std::nullopt},
      {L"0X1_0", std::nullopt},
      {L"x1F", std::nullopt},
      {L"12a", std::nullopt},
      {L"1 2", std::nullopt},
      {L" 5", std::nullopt},
      {L"5 ", std::nullopt},
      {L"", std::nullopt},
      {L"-", std::nullopt},
      {L"+-1", std::nullopt},
      {L"++1", std::nullopt},
      {L"1.5", std::nullopt},
      {L"yes", std::nullopt},
      {L"true", std::nullopt},
      {L"\u0663", std::nullopt},  // a digit, but not an ASCII one
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(show(c.text));
    EXPECT_EQ(parseSettingsNumber(c.text), c.expected);
  }
}

TEST(AsciiCase, OnlyAToZFold) {
  const struct {
    const wchar_t* a;
    const wchar_t* b;
    bool equal;
  } cases[] = {
      {L"File12", L"fILE12", true},
      {L"", L"", true},
      {L"CONIN$", L"conin$", true},
      {L"\u00DCbung", L"\u00FCbung", false},  // no locale decides
      {L"I", L"\u0131", false},
      {L"[", L"{", false},  // 0x5B and 0x7B differ by the case bit but are no letters
      {L"abc", L"abcd", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(show(c.a) + " / " + show(c.b));
    EXPECT_EQ(fav::equalsIgnoringAsciiCase(c.a, c.b), c.equal);
    EXPECT_EQ(fav::equalsIgnoringAsciiCase(c.b, c.a), c.equal);
  }
  EXPECT_TRUE(fav::startsWithIgnoringAsciiCase(L"FILE7", L"file"));
  EXPECT_FALSE(fav::startsWithIgnoringAsciiCase(L"Fil", L"file"));
}

TEST(ReplaceAll, EveryOccurrenceLeftToRightNeverLoopingOnItsOwnOutput) {
  using fav::LetterCase;
  const struct {
    const wchar_t* text;
    const wchar_t* from;
    const wchar_t* to;
    LetterCase match;
    const wchar_t* expected;
  } cases[] = {
      {L"a-A-a", L"a", L"x", LetterCase::Exact, L"x-A-x"},
      {L"a-A-a", L"a", L"x", LetterCase::IgnoreAscii, L"x-x-x"},
      {L"aaaa", L"aa", L"b", LetterCase::Exact, L"bb"},
      {L"aaa", L"aa", L"b", LetterCase::Exact, L"ba"},
      {L"ab", L"a", L"aa", LetterCase::Exact, L"aab"},  // the new text is not searched again
      {L"abc", L"", L"x", LetterCase::IgnoreAscii, L"abc"},
      {L"", L"a", L"x", LetterCase::Exact, L""},
      {L"\u00DC-\u00FC", L"\u00FC", L"u", LetterCase::IgnoreAscii, L"\u00DC-u"},
      {L"ABC", L"abc", L"", LetterCase::IgnoreAscii, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(show(c.text) + " / " + show(c.from));
    EXPECT_EQ(fav::replaceAll(c.text, c.from, c.to, c.match), c.expected);
  }
}

TEST(JoinPath, OneSeparatorBetweenFolderAndName) {
  const struct {
    const wchar_t* folder;
    const wchar_t* name;
    const wchar_t* expected;
  } cases[] = {
      {L"d:\\src", L"a.sql", L"d:\\src\\a.sql"},
      {L"d:\\src\\", L"a.sql", L"d:\\src\\a.sql"},
      {L"d:/src/", L"a.sql", L"d:/src/a.sql"},
      {L"C:\\", L"a.sql", L"C:\\a.sql"},  // a drive root
      {L"\\\\server\\share", L"*", L"\\\\server\\share\\*"},
      {L"", L"a.sql", L"a.sql"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fav::joinPath(c.folder, c.name), c.expected) << show(c.folder);
}

// A click opens the stored name with "%path%" expanded exactly as written.
TEST(PathMarker, ExpandsEveryMarkerInExactLetterCaseWhateverThePath) {
  const struct {
    const wchar_t* stored;
    const wchar_t* replacement;
    const wchar_t* opened;
  } cases[] = {
      {L"%path%\\x.sql", L"d:\\src", L"d:\\src\\x.sql"},
      {L"%path%\\x.sql", L"c:\\", L"c:\\\\x.sql"},  // the default is expanded too
      {L"%PATH%\\x.sql", L"d:\\src", L"%PATH%\\x.sql"},
      {L"%path%\\x.sql", L"", L"\\x.sql"},
      {L"%path%\\a\\%path%.sql", L"e:", L"e:\\a\\e:.sql"},
      {L"%path%\\x.sql", L"%path%", L"%path%\\x.sql"},
      {L"c:\\plain.sql", L"d:\\src", L"c:\\plain.sql"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fav::expandPathMarker(c.stored, c.replacement), c.opened) << show(c.stored);
}

// Add, Load and Add Current store a new file in its "%path%" form.
TEST(PathMarker, NewFilesTakeTheMarkerIgnoringAsciiCaseExceptForTheDefaultOrNothing) {
  const struct {
    const wchar_t* file;
    const wchar_t* replacement;
    const wchar_t* stored;
  } cases[] = {
      {L"d:\\work\\a.sql", L"D:\\Work", L"%path%\\a.sql"},
      {L"D:\\WORK\\x\\D:\\work\\a.sql", L"d:\\work", L"%path%\\x\\%path%\\a.sql"},
      {L"c:\\x\\a.sql", L"c:\\", L"c:\\x\\a.sql"},    // the default means none
      {L"C:\\x\\a.sql", L"C:\\", L"%path%x\\a.sql"},  // only "c:\" exactly is the default
      {L"e:\\x\\a.sql", L"d:\\work", L"e:\\x\\a.sql"},
      {L"e:\\x\\a.sql", L"", L"e:\\x\\a.sql"},  // an empty path replaces nothing
      {L"d:\\\u00FCbung\\a.sql", L"D:\\\u00DCbung", L"d:\\\u00FCbung\\a.sql"},  // ASCII only
      {L"d:\\\u00FCbung\\a.sql", L"D:\\\u00FCBUNG", L"%path%\\a.sql"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fav::toPathMarkerForm(c.file, c.replacement), c.stored) << show(c.file);
}

}  // namespace

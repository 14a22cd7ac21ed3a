#include "string_cipher.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

const std::wstring kKey = kPasswordKey;
const std::wstring kFailure(1, kDecipherFailure);

std::wstring fillerOf(const std::wstring& key) {
  std::wstring filler;
  for (const wchar_t* c = kCipherAlphabet; *c; ++c)
    if (key.find(*c) == std::wstring::npos) filler += *c;
  return filler;
}

// A cipher text split into its parts: the leading filler run, then each digit
// with the filler run after it.
struct Parsed {
  std::wstring lead;
  std::wstring digits;
  std::vector<std::wstring> runs;
  bool foreign = false;  // a character that is neither digit nor filler
};

Parsed parse(const std::wstring& cipher, const std::wstring& key) {
  const std::wstring filler = fillerOf(key);
  Parsed p;
  std::wstring* run = &p.lead;
  for (wchar_t c : cipher) {
    if (key.find(c) != std::wstring::npos) {
      p.digits += c;
      p.runs.emplace_back();
      run = &p.runs.back();
    } else {
      if (filler.find(c) == std::wstring::npos) p.foreign = true;
      *run += c;
    }
  }
  return p;
}

bool hasRepeat(const std::wstring& run) {
  return std::set<wchar_t>(run.begin(), run.end()).size() != run.size();
}

std::wstring allCodes(int from, int to) {
  std::wstring text;
  for (int c = from; c <= to; ++c) text += static_cast<wchar_t>(c);
  return text;
}

class CipherTest : public ::testing::Test {
 protected:
  void SetUp() override { seedCipherRandom(20240307); }
};

TEST_F(CipherTest, FormatWithinNormalisedBounds) {
  struct Row {
    int minFill, maxFill;
    size_t leadLow, leadHigh, runLow, runHigh;
  } rows[] = {
      {4, 12, 5, 12, 4, 11},    // the plug-in's bounds
      {12, 4, 5, 12, 4, 11},    // swapped first
      {-3, 2, 1, 2, 0, 1},      // minimum raised to 0
      {6, 6, 7, 7, 6, 6},       // equal bounds: fixed lengths
      {0, 0, 1, 1, 0, 0},
      {-10, -5, 1, 1, 0, 0},    // still inverted: both 0
      {150, 200, 48, 48, 48, 48},  // both 100, capped at the 48 filler characters
  };
  const std::wstring plains[] = {L"", L"a", L"Secret pass 1", allCodes(0, 255)};
  for (const Row& row : rows) {
    for (const std::wstring& plain : plains) {
      for (int draw = 0; draw < 20; ++draw) {
        const std::wstring cipher = encipherText(plain, kKey, row.minFill, row.maxFill);
        const Parsed p = parse(cipher, kKey);
        SCOPED_TRACE(::testing::Message() << "bounds " << row.minFill << "," << row.maxFill
                                          << " plain length " << plain.size());
        ASSERT_FALSE(p.foreign);
        ASSERT_EQ(p.digits.size(), 2 * plain.size());
        EXPECT_GE(p.lead.size(), row.leadLow);
        EXPECT_LE(p.lead.size(), row.leadHigh);
        EXPECT_FALSE(hasRepeat(p.lead));
        for (const std::wstring& run : p.runs) {
          EXPECT_GE(run.size(), row.runLow);
          EXPECT_LE(run.size(), row.runHigh);
          EXPECT_FALSE(hasRepeat(run));
        }
        EXPECT_EQ(decipherText(cipher, kKey), plain);
      }
    }
  }
}

TEST_F(CipherTest, LengthWithThePluginBounds) {
  for (size_t n : {0u, 1u, 8u, 30u}) {
    const std::wstring plain(n, L'x');
    for (int draw = 0; draw < 50; ++draw) {
      const size_t len = encipherText(plain, kKey, 4, 12).size();
      EXPECT_GE(len, 5 + 10 * n);
      EXPECT_LE(len, 12 + 24 * n);
    }
  }
}

TEST_F(CipherTest, BoundsReachTheirExtremes) {
  // Guards against an off-by-one that keeps runs inside the bounds but never
  // at them.
  std::set<size_t> leads, runs;
  for (int draw = 0; draw < 400; ++draw) {
    const Parsed p = parse(encipherText(L"ab", kKey, 4, 12), kKey);
    leads.insert(p.lead.size());
    for (const auto& r : p.runs) runs.insert(r.size());
  }
  EXPECT_EQ(*leads.begin(), 5u);
  EXPECT_EQ(*leads.rbegin(), 12u);
  EXPECT_EQ(*runs.begin(), 4u);
  EXPECT_EQ(*runs.rbegin(), 11u);
}

TEST_F(CipherTest, DigitsFollowTheRotatingKeyTable) {
  const struct {
    std::wstring plain;
    const wchar_t* digits;
  } rows[] = {
      {L"A", L"qV"},
      {L"AA", L"qVaq"},  // the same character, other digits: the table rotated
      {std::wstring(1, L'\0'), L"Pa"},
      {L"\u00ff", L"a6"},
      {L"Pass1", L"PtaVa4JPx2"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(parse(encipherText(row.plain, kKey, 4, 12), kKey).digits, row.digits);
}

TEST_F(CipherTest, RoundTripsEveryCodeBelow256) {
  for (int c = 0; c <= 255; ++c) {
    const std::wstring plain(1, static_cast<wchar_t>(c));
    EXPECT_EQ(decipherText(encipherText(plain, kKey, 4, 12), kKey), plain) << "code " << c;
  }
  const std::wstring all = allCodes(1, 255);
  EXPECT_EQ(decipherText(encipherText(all, kKey, 0, 3), kKey), all);
}

TEST_F(CipherTest, EmptyTextIsALoneLeadingRun) {
  const std::wstring cipher = encipherText(L"", kKey, 4, 12);
  EXPECT_GE(cipher.size(), 5u);
  EXPECT_LE(cipher.size(), 12u);
  EXPECT_TRUE(parse(cipher, kKey).digits.empty());
  EXPECT_EQ(decipherText(cipher, kKey), L"");
  EXPECT_EQ(decipherText(L"", kKey), L"");
}

TEST_F(CipherTest, SameTextTwiceGivesDifferentCipherTexts) {
  EXPECT_NE(encipherText(L"password", kKey, 4, 12), encipherText(L"password", kKey, 4, 12));
}

TEST_F(CipherTest, InvalidKeysFailBothWays) {
  const std::wstring keys[] = {
      kKey.substr(0, 15),        // too short
      L"Pq4Vt8NcRx2SfJ6P",       // 'P' twice
      L"Pq4Vt8NcRx2SfJ6-",       // outside the alphabet
      L"Pq4Vt8NcRx2SfJ6\u00e9",
      L"",
  };
  const std::wstring valid = encipherText(L"abc", kKey, 4, 12);
  for (const std::wstring& key : keys) {
    EXPECT_EQ(encipherText(L"abc", key, 4, 12), L"") << "key length " << key.size();
    EXPECT_EQ(decipherText(valid, key), kFailure) << "key length " << key.size();
  }
}

TEST_F(CipherTest, LongerKeyWorksAndLimitsCodesToSixteenTimesItsLength) {
  const std::wstring key = L"Pq4Vt8NcRx2SfJ6aBCDE";  // 20 characters: codes up to 319
  const std::wstring plain = L"x\u013f";
  const std::wstring cipher = encipherText(plain, key, 4, 12);
  EXPECT_FALSE(parse(cipher, key).foreign);
  EXPECT_EQ(decipherText(cipher, key), plain);
  EXPECT_EQ(encipherText(L"x\u0140", key, 4, 12), L"");
}

TEST_F(CipherTest, CodesWithoutAHighDigitAreRejected) {
  EXPECT_EQ(encipherText(L"ok\u0100", kKey, 4, 12), L"");
  EXPECT_EQ(encipherText(L"\u20ac", kKey, 4, 12), L"");
}

TEST_F(CipherTest, OddDigitCountFails) {
  const std::wstring cipher = encipherText(L"secret", kKey, 4, 12);
  const size_t digit = cipher.find_first_of(kKey);
  ASSERT_NE(digit, std::wstring::npos);
  EXPECT_EQ(decipherText(std::wstring(cipher).erase(digit, 1), kKey), kFailure);
  EXPECT_EQ(decipherText(cipher + L"P", kKey), kFailure);
  EXPECT_EQ(decipherText(L"q", kKey), kFailure);
}

TEST_F(CipherTest, ForeignCharactersAreIgnored) {
  const std::wstring cipher = encipherText(L"pa55", kKey, 4, 12);
  std::wstring noisy;
  for (wchar_t c : cipher) noisy += std::wstring(L" -\r\n\u00e9") + c;
  EXPECT_EQ(decipherText(noisy, kKey), L"pa55");
  EXPECT_EQ(decipherText(L"bdeg hikl\r\n", kKey), L"");  // filler and blanks only
}

TEST(PickRandomChars, DrawsFromTheSourceWithoutRepeating) {
  seedCipherRandom(7);
  const std::wstring source = fillerOf(kKey);
  const struct {
    int count;
    size_t expected;
  } rows[] = {{0, 0}, {-2, 0}, {1, 1}, {12, 12}, {48, 48}, {60, 48}};
  for (const auto& row : rows) {
    const std::wstring picked = pickRandomChars(source, row.count);
    EXPECT_EQ(picked.size(), row.expected) << "count " << row.count;
    EXPECT_FALSE(hasRepeat(picked));
    for (wchar_t c : picked) EXPECT_NE(source.find(c), std::wstring::npos);
  }
  EXPECT_EQ(pickRandomChars(L"", 3), L"");
}

TEST(PickRandomChars, EveryCharacterCanBePicked) {
  seedCipherRandom(11);
  const std::wstring source = L"abcdef";
  std::set<wchar_t> seen;
  for (int draw = 0; draw < 200; ++draw) seen.insert(pickRandomChars(source, 1)[0]);
  EXPECT_EQ(seen.size(), source.size());
}

TEST(CipherBytes, HostBytesRoundTripThroughTheCipher) {
  std::string bytes;
  for (int b = 1; b <= 255; ++b) bytes += static_cast<char>(b);
  EXPECT_EQ(bytesAsCodes("\xe9\x01" "A"), std::wstring(L"\u00e9\u0001A"));
  EXPECT_EQ(codesAsBytes(bytesAsCodes(bytes)), bytes);
  EXPECT_EQ(codesAsBytes(decipherText(encipherText(bytesAsCodes(bytes), kKey, 4, 12), kKey)),
            bytes);
  EXPECT_EQ(codesAsBytes(L"a\u0140b"), "a?b");
  EXPECT_EQ(codesAsBytes(kFailure), "\x01");
}

}  // namespace

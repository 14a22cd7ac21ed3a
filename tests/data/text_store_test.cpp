// The texts handed to the host: an equal text shares its buffer, a text stays
// good through the refresh after the one that returned it, and a day of
// refreshes with changing captions holds no more than the store's bound.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "text_store.h"

namespace {

std::string caption(int refresh, int index) {
  return "File / Favorite Files / c:\\work\\project\\script_" + std::to_string(index) + ".sql [" +
         std::to_string(refresh) + "]";
}

class TextStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { plugin::releaseHostTexts(); }
  void TearDown() override { plugin::releaseHostTexts(); }
};

TEST_F(TextStoreTest, AnEqualTextSharesItsBuffer) {
  const std::string separator = "File / Favorite Files / -";
  const char* first = plugin::hostText(separator);
  // Asked again in every refresh, it is never dropped, however many other
  // texts come and go.
  for (int refresh = 0; refresh < 100; ++refresh) {
    for (int index = 6; index <= 99; ++index) plugin::hostText(caption(refresh, index));
    ASSERT_EQ(plugin::hostText(separator), first);
  }
  EXPECT_EQ(plugin::hostText(std::wstring(L"File / Favorite Files / -")), first);
  EXPECT_STREQ(first, "File / Favorite Files / -");
}

TEST_F(TextStoreTest, ADayOfRefreshesWithChangingCaptionsStaysBounded) {
  std::vector<const char*> previous(100, nullptr);
  for (int refresh = 1; refresh <= 10'000; ++refresh) {
    std::vector<const char*> now(100, nullptr);
    for (int index = 1; index <= 99; ++index)
      now[index] = plugin::hostText(index < 6 ? "fixed " + std::to_string(index) : caption(refresh, index));
    // What the refresh before returned is still there as it was.
    if (refresh % 997 == 0) {
      for (int index = 6; index <= 99; ++index)
        ASSERT_EQ(std::string(previous[index]), caption(refresh - 1, index));
    }
    previous = now;
  }
  const plugin::HostTextUse use = plugin::hostTextUse();
  EXPECT_LE(use.peakTexts, plugin::kKeptTexts);
  EXPECT_LE(use.peakBytes, plugin::kKeptBytes);
  // An unbounded store would hold 940,005 texts by now.
  std::printf("host text store after 10,000 refreshes: peak %zu texts, %zu bytes\n", use.peakTexts,
              use.peakBytes);
}

TEST_F(TextStoreTest, LongTextsAreBoundedByBytesButTwoRefreshesAlwaysStay) {
  std::vector<const char*> last;
  for (int i = 0; i < 600; ++i) last.push_back(plugin::hostText(std::string(64 * 1024, 'a' + i % 26) + std::to_string(i)));
  const plugin::HostTextUse use = plugin::hostTextUse();
  EXPECT_EQ(use.texts, plugin::kMinKeptTexts);
  for (size_t i = last.size() - plugin::kMinKeptTexts; i < last.size(); ++i)
    EXPECT_EQ(std::string(last[i]), std::string(64 * 1024, 'a' + i % 26) + std::to_string(i));
}

}  // namespace

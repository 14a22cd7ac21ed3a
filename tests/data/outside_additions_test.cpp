// What the Configure dialog's Ok stores when the file gained favorites
// elsewhere while the dialog was open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_file.h"

namespace {

using Names = std::vector<std::wstring>;

TFavoriteItems list(const Names& names) {
  TFavoriteItems items;
  for (const std::wstring& name : names) items.Add().FileName(name);
  return items;
}

Names names(const TFavoriteItems& items) {
  Names out;
  for (int i = 0; i < items.Count(); ++i) out.push_back(items.Items(i).FileName());
  return out;
}

TEST(OutsideAdditions, AreAppendedUnlessTheDialogHoldsTheFileOrHadItAtLoad) {
  const struct {
    const char* why;
    Names loaded, now, dialog, merged;
  } cases[] = {
      {"nothing changed", {L"a", L"b"}, {L"a", L"b"}, {L"b", L"c"}, {L"b", L"c"}},
      {"one added elsewhere", {L"a"}, {L"a", L"x"}, {L"a", L"c"}, {L"a", L"c", L"x"}},
      {"removed in the dialog stays removed", {L"a", L"b"}, {L"a", L"b", L"x"}, {L"a"},
       {L"a", L"x"}},
      {"removed elsewhere: the dialog wins", {L"a", L"b"}, {L"a"}, {L"a", L"b"}, {L"a", L"b"}},
      {"added in both", {L"a"}, {L"a", L"x"}, {L"a", L"X"}, {L"a", L"X"}},
      {"the other path form", {}, {L"D:\\Src\\q.sql", L"%path%\\r.sql"},
       {L"%path%\\q.sql", L"d:\\src\\r.sql"}, {L"%path%\\q.sql", L"d:\\src\\r.sql"}},
      {"the same file twice elsewhere", {}, {L"x", L"X", L"y"}, {}, {L"x", L"y"}},
      {"in file order", {L"a"}, {L"z", L"a", L"y"}, {L"a"}, {L"a", L"z", L"y"}},
  };
  for (const auto& c : cases) {
    const TFavoriteItems merged = keepOutsideAdditions(list(c.loaded), list(c.now), list(c.dialog),
                                                       L"d:\\src", L"d:\\src");
    EXPECT_EQ(names(merged), c.merged) << c.why;
  }
}

TEST(OutsideAdditions, KeepEveryFieldAndEachListItsOwnReplacementPath) {
  TFavoriteItems now = list({L"%path%\\x.sql", L"%path%\\y.sql"});
  now.Items(1).Username(L"scott");
  now.Items(1).Password(L"tiger");
  now.Items(1).SubMenu(L"Dev");
  // The file says e:\old, the dialog's own list d:\new: %path%\x.sql in the
  // dialog is d:\new\x.sql, not the file's e:\old\x.sql.
  const TFavoriteItems merged =
      keepOutsideAdditions(list({}), now, list({L"e:\\old\\y.sql", L"%path%\\x.sql"}),
                           L"e:\\old", L"d:\\new");
  EXPECT_EQ(names(merged), (Names{L"e:\\old\\y.sql", L"%path%\\x.sql", L"%path%\\x.sql"}));

  const TFavoriteItems kept = keepOutsideAdditions(list({}), now, list({}), L"e:", L"e:");
  ASSERT_EQ(kept.Count(), 2);
  EXPECT_EQ(kept.Items(1), now.Items(1));
}

}  // namespace

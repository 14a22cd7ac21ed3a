// The submenu list as the Submenus dialog edits it, without a window.
#include <gtest/gtest.h>

#include "submenu_list.h"

using submenus::SubmenuListEdit;
using Strings = std::vector<std::wstring>;

namespace {

TSubMenuItems listOf(const Strings& names) {
  TSubMenuItems list;
  for (const auto& n : names) list.Add().SubMenu(n);
  return list;
}

Strings namesOf(const TSubMenuItems& list) {
  Strings names;
  for (int i = 0; i < list.Count(); ++i) names.push_back(list.Items(i).SubMenu());
  return names;
}

}  // namespace

TEST(SubmenuSort, TheBlankEntryStaysFirstEvenBeforeNamesThatSortAheadOfIt) {
  TSubMenuItems list = listOf({L"", L"b", L"!first", L"A"});
  submenus::sortKeepingBlankFirst(list);
  EXPECT_EQ(namesOf(list), (Strings{L"", L"!first", L"A", L"b"}));
}

TEST(SubmenuAdd, TrimmedNewNamesGoInSortedPlace) {
  TSubMenuItems list = listOf({L"", L"Dev"});
  const struct {
    const wchar_t* name;
    int row;
  } cases[] = {{L"", -1}, {L"   ", -1}, {L"Dev", -1}, {L" Dev ", -1}, {L"  Alpha ", 1}, {L"dev", 3}};
  for (const auto& c : cases)
    EXPECT_EQ(submenus::addSubmenuSorted(list, c.name, L"fav_x.bmp"), c.row) << c.name;
  EXPECT_EQ(namesOf(list), (Strings{L"", L"Alpha", L"Dev", L"dev"}));
  EXPECT_EQ(list.Items(1).Image(), L"fav_x.bmp");
}

TEST(SubmenuEdits, RenamesAreFollowedAndOnlyRemovalsDetach) {
  SubmenuListEdit edit;
  edit.assign(listOf({L"", L"A", L"B", L"C"}));
  EXPECT_FALSE(edit.rename(0, L"x"));   // the blank row is read-only
  EXPECT_FALSE(edit.remove(0));
  EXPECT_FALSE(edit.setImage(0, L"fav_x.bmp"));
  EXPECT_FALSE(edit.rename(3, L"  "));  // blank names are refused
  EXPECT_FALSE(edit.remove(4));
  EXPECT_TRUE(edit.rename(1, L" Z "));
  EXPECT_TRUE(edit.remove(2));          // B
  EXPECT_EQ(edit.add(L"D", L""), 2);  // sorted in, the renamed entry with the rest
  EXPECT_EQ(namesOf(edit.items()), (Strings{L"", L"C", L"D", L"Z"}));

  TFavoriteItems favorites;
  for (const wchar_t* s : {L"A", L"B", L"C", L"", L"Unlisted"}) favorites.Add().SubMenu(s);
  submenus::followSubmenuEdits(favorites, edit.fates());
  Strings after;
  for (int i = 0; i < favorites.Count(); ++i) after.push_back(favorites.Items(i).SubMenu());
  EXPECT_EQ(after, (Strings{L"Z", L"", L"C", L"", L"Unlisted"}));
}

TEST(SubmenuEdits, UndoBringsTheLastRemovalBackInSortedPlace) {
  SubmenuListEdit edit;
  edit.assign(listOf({L"", L"B", L"D"}));
  EXPECT_EQ(edit.undoRemove(), -1);
  ASSERT_TRUE(edit.remove(1));
  EXPECT_EQ(edit.add(L"A", L""), 1);
  EXPECT_EQ(edit.undoRemove(), 2);
  EXPECT_FALSE(edit.canUndo());  // one level
  EXPECT_EQ(namesOf(edit.items()), (Strings{L"", L"A", L"B", L"D"}));
  // Restored, B keeps its identity: its favorites stay with it.
  EXPECT_EQ(edit.fates().at(L"B"), std::optional<std::wstring>(L"B"));
}

TEST(SubmenuNames, ASlashOrADoubleAngleWouldSplitTheMenuAndIsRefused) {
  const struct {
    const wchar_t* name;
    const wchar_t* part;
  } cases[] = {{L"Reports", L""},       {L"a/b", L"/"},     {L"/", L"/"},
               {L"x>>y", L">>"},        {L"x > y", L""},    {L"a>>b/c", L"/"},
               {L"Tools \\ Dev", L""}};
  for (const auto& c : cases) EXPECT_EQ(submenus::menuBreakingPart(c.name), c.part) << c.name;
  TSubMenuItems list = listOf({L"", L"Dev"});
  EXPECT_EQ(submenus::addSubmenuSorted(list, L"a/b", L""), -1);
  SubmenuListEdit edit;
  edit.assign(list);
  EXPECT_EQ(edit.add(L"x>>y", L""), -1);
  EXPECT_FALSE(edit.rename(1, L"Dev/2"));
  EXPECT_EQ(namesOf(edit.items()), (Strings{L"", L"Dev"}));
}

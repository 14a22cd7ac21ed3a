// The favorite and submenu collections: Exists, Sort and SortBySubmenu.
#include <gtest/gtest.h>

#include "un_favoriteCollections.h"

namespace {

TFavoriteItems favoritesIn(const std::vector<std::pair<std::wstring, std::wstring>>& submenuAndFile) {
  TFavoriteItems items;
  for (const auto& [submenu, file] : submenuAndFile) {
    TFavoriteItem& f = items.Add();
    f.fSubMenu = submenu;
    f.fFileName = file;
  }
  return items;
}

std::vector<std::wstring> fileOrder(const TFavoriteItems& items) {
  std::vector<std::wstring> out;
  for (int i = 0; i < items.Count(); ++i) out.push_back(items.Items(i).fFileName);
  return out;
}

TEST(Collections, AddGivesEmptyItems) {
  TFavoriteItems favorites;
  const TFavoriteItem& f = favorites.Add();
  EXPECT_EQ(f, TFavoriteItem{});
  EXPECT_EQ(f.fFileType, 0);
  TSubMenuItems submenus;
  EXPECT_EQ(submenus.Add(), TSubMenuItem{});
  EXPECT_EQ(submenus.Count(), 1);
}

TEST(Collections, ExistsIsExactAndCaseSensitive) {
  TSubMenuItems submenus;
  EXPECT_FALSE(submenus.Exists(L""));
  submenus.Add();  // the blank entry
  submenus.Add().fSubMenu = L"Alpha";
  EXPECT_TRUE(submenus.Exists(L""));
  EXPECT_TRUE(submenus.Exists(L"Alpha"));
  EXPECT_FALSE(submenus.Exists(L"alpha"));
  EXPECT_FALSE(submenus.Exists(L"Alpha "));
}

TEST(Collections, SortOrdersNameAndImageIgnoringCaseBlankFirst) {
  TSubMenuItems submenus;
  for (const auto& [name, image] : std::vector<std::pair<std::wstring, std::wstring>>{
           {L"beta", L""}, {L"Alpha", L"fav_z.bmp"}, {L"", L""}, {L"alpha", L"fav_a.bmp"},
           {L"2nd", L""}, {L"Gamma", L""}}) {
    TSubMenuItem& s = submenus.Add();
    s.fSubMenu = name;
    s.fImage = image;
  }
  submenus.Sort();
  std::vector<std::pair<std::wstring, std::wstring>> order;
  for (int i = 0; i < submenus.Count(); ++i)
    order.emplace_back(submenus.Items(i).fSubMenu, submenus.Items(i).fImage);
  // Each entry keeps its own image; the images decide between equal names.
  const std::vector<std::pair<std::wstring, std::wstring>> expected{
      {L"", L""}, {L"2nd", L""}, {L"alpha", L"fav_a.bmp"}, {L"Alpha", L"fav_z.bmp"},
      {L"beta", L""}, {L"Gamma", L""}};
  EXPECT_EQ(order, expected);
}

TEST(Collections, SortBySubmenuCases) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::wstring, std::wstring>> before;
    std::vector<std::wstring> after;
  };
  const Case cases[] = {
      {"empty", {}, {}},
      {"blank first, blocks in name order, order kept within a block",
       {{L"beta", L"b1"}, {L"Alpha", L"a"}, {L"", L"none"}, {L"beta", L"b2"}},
       {L"none", L"a", L"b1", L"b2"}},
      {"names differing in case are two adjacent blocks",
       {{L"dev", L"d1"}, {L"", L"x"}, {L"Dev", L"D1"}, {L"dev", L"d2"}, {L"Tools", L"t"}},
       {L"x", L"d1", L"d2", L"D1", L"t"}},
      {"already grouped stays as it is",
       {{L"", L"1"}, {L"", L"2"}, {L"A", L"3"}, {L"B", L"4"}},
       {L"1", L"2", L"3", L"4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFavoriteItems items = favoritesIn(c.before);
    EXPECT_TRUE(items.SortBySubmenu());
    EXPECT_EQ(fileOrder(items), c.after);
  }
}

TEST(Collections, SortBySubmenuMovesAllNineFields) {
  TFavoriteItems items;
  TFavoriteItem& later = items.Add();
  later = TFavoriteItem{L"Z", L"z.sql", 3, L"fav_z.bmp", L"scott", L"tiger", L"orcl", L"SysDBA", L"zed"};
  TFavoriteItem& first = items.Add();
  first = TFavoriteItem{L"", L"a.sql", 1, L"fav_a.bmp", L"u", L"p", L"db", L"Normal", L"ay"};
  const TFavoriteItem zCopy = items.Items(0);
  const TFavoriteItem aCopy = items.Items(1);
  items.SortBySubmenu();
  EXPECT_EQ(items.Items(0), aCopy);
  EXPECT_EQ(items.Items(1), zCopy);
}

}  // namespace

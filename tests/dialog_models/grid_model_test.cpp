// What the favorites grid decides without a window: the enabled rule, the
// filter's effect on the selection, the submenu blocks, the connection
// column and the undo history.
#include <gtest/gtest.h>

#include "favorites_grid_model.h"

using gridmodel::Command;
using gridmodel::GridState;

namespace {

GridState state(int count, int selected, bool visible = true, bool filter = false) {
  GridState s;
  s.count = count;
  s.selected = selected;
  s.selectedVisible = visible;
  s.filterActive = filter;
  s.renameArmed = true;
  return s;
}

TEST(GridRule, CommandsNeedAVisibleSelectedRowAndMovesNeedNoFilter) {
  const struct {
    const char* name;
    GridState s;
    bool up, down, remove, connection, rename;
  } cases[] = {
      {"empty list", state(0, -1, false), false, false, false, false, false},
      {"nothing selected", state(3, -1, false), false, false, false, false, false},
      {"first row", state(3, 0), false, true, true, true, true},
      {"middle row", state(3, 1), true, true, true, true, true},
      {"last row", state(3, 2), true, false, true, true, true},
      {"only row", state(1, 0), false, false, true, true, true},
      {"hidden by the filter", state(3, 1, false, true), false, false, false, false, false},
      {"shown through the filter", state(3, 1, true, true), false, false, true, true, true},
      {"index past the end", state(2, 5), false, false, false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(gridmodel::isEnabled(Command::Up, c.s), c.up) << c.name;
    EXPECT_EQ(gridmodel::isEnabled(Command::Down, c.s), c.down) << c.name;
    EXPECT_EQ(gridmodel::isEnabled(Command::Remove, c.s), c.remove) << c.name;
    EXPECT_EQ(gridmodel::isEnabled(Command::Pick, c.s), c.remove) << c.name;
    EXPECT_EQ(gridmodel::isEnabled(Command::ConnectionInfo, c.s), c.connection) << c.name;
    EXPECT_EQ(gridmodel::isEnabled(Command::Rename, c.s), c.rename) << c.name;
  }
  GridState separator = state(3, 1);
  separator.selectedIsSeparator = true;
  EXPECT_FALSE(gridmodel::isEnabled(Command::ConnectionInfo, separator));
  GridState unarmed = state(3, 1);
  unarmed.renameArmed = false;
  EXPECT_FALSE(gridmodel::isEnabled(Command::Rename, unarmed));
}

TEST(GridFilter, TheSelectionSurvivesOnlyWhenItsRowIsShown) {
  EXPECT_EQ(gridmodel::selectionAfterFilter(2, {0, 2, 5}), 2);
  EXPECT_EQ(gridmodel::selectionAfterFilter(1, {0, 2, 5}), -1);
  EXPECT_EQ(gridmodel::selectionAfterFilter(-1, {0, 1}), -1);
  EXPECT_EQ(gridmodel::selectionAfterFilter(0, {}), -1);
}

TEST(GridBlocks, EachSubmenuBlockGetsADividerAndItsNameOnItsFirstRowOnly) {
  const std::vector<std::wstring> rows{L"", L"", L"Dev", L"Dev", L"Dev", L"Test", L""};
  const auto looks = gridmodel::submenuBlocks(rows);
  ASSERT_EQ(looks.size(), rows.size());
  const bool starts[] = {true, false, true, false, false, true, true};
  const bool dividers[] = {false, false, true, false, false, true, true};
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(looks[i].blockStart, starts[i]) << i;
    EXPECT_EQ(looks[i].dividerBefore, dividers[i]) << i;
  }
  EXPECT_TRUE(gridmodel::submenuBlocks({}).empty());
}

TEST(GridConnectionColumn, AliasAndLogonAsMode) {
  const struct {
    const wchar_t *alias, *user, *database, *mode, *expected;
  } cases[] = {
      {L"", L"", L"", L"", L""},
      {L"Daily", L"", L"", L"", L"Daily"},
      {L"", L"scott", L"orcl", L"", L"scott@orcl"},
      {L"", L"sys", L"orcl", L"SYSDBA", L"sys@orcl as SYSDBA"},
      {L"Night", L"hr", L"test", L"Normal", L"Night (hr@test as Normal)"},
      {L"", L"", L"orcl", L"SYSDBA", L""},  // no user: no logon
  };
  for (const auto& c : cases) {
    TFavoriteItem f;
    f.Alias(c.alias);
    f.Username(c.user);
    f.Database(c.database);
    f.ConnectAs(c.mode);
    EXPECT_EQ(gridmodel::connectionText(f), c.expected);
  }
}

TEST(GridHistory, UndoAndRedoWalkTheSnapshotsAndANewEditDropsRedo) {
  TFavoriteItems favorites;
  TSubMenuItems submenus;
  submenus.Add();
  auto names = [&] {
    std::wstring all;
    for (int i = 0; i < favorites.Count(); ++i) all += favorites.Items(i).FileName();
    return all;
  };
  auto edit = [&](gridmodel::ListHistory& h, const wchar_t* name) {
    h.record(gridmodel::snapshotOf(favorites, submenus, favorites.Count() - 1));
    favorites.Add().FileName(name);
  };
  auto apply = [&](std::optional<gridmodel::ListSnapshot> s) {
    ASSERT_TRUE(s.has_value());
    gridmodel::copyFavorites(s->favorites, favorites);
  };
  gridmodel::ListHistory history;
  EXPECT_FALSE(history.canUndo());
  edit(history, L"a");
  edit(history, L"b");
  EXPECT_EQ(names(), L"ab");
  apply(history.undo(gridmodel::snapshotOf(favorites, submenus, -1)));
  EXPECT_EQ(names(), L"a");
  apply(history.undo(gridmodel::snapshotOf(favorites, submenus, -1)));
  EXPECT_EQ(names(), L"");
  EXPECT_FALSE(history.undo(gridmodel::snapshotOf(favorites, submenus, -1)).has_value());
  apply(history.redo(gridmodel::snapshotOf(favorites, submenus, -1)));
  EXPECT_EQ(names(), L"a");
  EXPECT_TRUE(history.canRedo());
  edit(history, L"c");
  EXPECT_FALSE(history.canRedo());
  EXPECT_EQ(names(), L"ac");
}

}  // namespace

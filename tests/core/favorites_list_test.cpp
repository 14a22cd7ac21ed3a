// The favorites list model without a window: every list command with its
// effect, its selection and its undo; the enabled rule of every action; the
// filter; the submenu blocks and the connection column. Built natively
// (core_native_tests) and with MinGW (commands_tests).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "favorites_list.h"

using favlist::Action;
using favlist::FavoritesList;

namespace {

// A row as the tables write it: "Submenu|file#image", where "Submenu|" and
// "#image" are left out when empty; "@3" ends the file of a program unit and
// "(alias)" follows a favorite's alias.
TFavoriteItem parseRow(const std::wstring& row) {
  TFavoriteItem favorite;
  std::wstring rest = row;
  if (const size_t bar = rest.find(L'|'); bar != std::wstring::npos) {
    favorite.SubMenu(rest.substr(0, bar));
    rest = rest.substr(bar + 1);
  }
  if (const size_t hash = rest.find(L'#'); hash != std::wstring::npos) {
    favorite.Image(rest.substr(hash + 1));
    rest = rest.substr(0, hash);
  }
  favorite.FileName(rest);
  return favorite;
}

std::wstring rowText(const TFavoriteItem& favorite) {
  std::wstring text = favorite.SubMenu().empty() ? L"" : favorite.SubMenu() + L"|";
  text += favorite.FileName();
  if (favorite.FileType() != 0) text += L"@" + std::to_wstring(favorite.FileType());
  if (!favorite.Image().empty()) text += L"#" + favorite.Image();
  if (!favorite.Alias().empty()) text += L"(" + favorite.Alias() + L")";
  return text;
}

using Rows = std::vector<std::wstring>;

Rows rowsOf(const FavoritesList& list) {
  Rows rows;
  for (int i = 0; i < list.count(); ++i) rows.push_back(rowText(*list.at(i)));
  return rows;
}

Rows submenusOf(const FavoritesList& list) {
  Rows names;
  for (int i = 0; i < list.submenus().Count(); ++i) names.push_back(list.submenus().Items(i).SubMenu());
  return names;
}

// A loaded list: the rows (grouped by submenu as loading does) and the
// submenus after the blank entry.
FavoritesList listOf(const Rows& rows, const Rows& submenuNames = {}) {
  TFavoriteItems favorites;
  for (const std::wstring& row : rows) favorites.Add() = parseRow(row);
  TSubMenuItems submenus;
  submenus.Add();
  for (const std::wstring& name : submenuNames) submenus.Add().SubMenu(name);
  FavoritesList list;
  list.load(std::move(favorites), std::move(submenus));
  return list;
}

favfiles::AddRules addRules() {
  favfiles::AddRules rules;
  rules.replacementPath = L"c:\\src";
  rules.extensions = {L"pck", L"sql"};
  // The test's code page holds Latin-1 only.
  rules.fitsCodePage = [](const std::wstring& name) {
    for (wchar_t c : name)
      if (static_cast<unsigned>(c) > 0xFF) return false;
    return true;
  };
  return rules;
}

struct CommandCase {
  const char* name;
  Rows rows;
  int selected;
  std::function<bool(FavoritesList&)> command;  // what the command said
  bool says;
  Rows after;
  int selectedAfter;
  Rows submenusAfter = {};  // checked when not empty
};

TEST(FavoritesListCommands, EachCommandChangesTheListMovesTheSelectionAndUndoesAsOneStep) {
  const Rows three = {L"a.sql", L"b.sql", L"c.sql"};
  const Rows blocks = {L"x.sql", L"Dev|d1.sql", L"Dev|d2.sql", L"Test|t.sql"};
  const CommandCase cases[] = {
      {"up", three, 1, [](FavoritesList& l) { return l.moveUp(); }, true,
       {L"b.sql", L"a.sql", L"c.sql"}, 0},
      {"up at the top", three, 0, [](FavoritesList& l) { return l.moveUp(); }, false, three, 0},
      {"up without a selection", three, -1, [](FavoritesList& l) { return l.moveUp(); }, false,
       three, -1},
      {"down", three, 1, [](FavoritesList& l) { return l.moveDown(); }, true,
       {L"a.sql", L"c.sql", L"b.sql"}, 2},
      {"down at the bottom", three, 2, [](FavoritesList& l) { return l.moveDown(); }, false,
       three, 2},
      {"drag down", three, 0, [](FavoritesList& l) { return l.move(0, 2); }, true,
       {L"b.sql", L"c.sql", L"a.sql"}, 2},
      {"drag up", three, 2, [](FavoritesList& l) { return l.move(2, 0); }, true,
       {L"c.sql", L"a.sql", L"b.sql"}, 0},
      {"drag outside the list", three, 0, [](FavoritesList& l) { return l.move(0, 3); }, false,
       three, 0},
      {"remove from the middle", three, 1,
       [](FavoritesList& l) { return !l.remove().empty(); }, true, {L"a.sql", L"c.sql"}, 1},
      {"remove the last row", three, 2,
       [](FavoritesList& l) { return !l.remove().empty(); }, true, {L"a.sql", L"b.sql"}, 1},
      {"remove the only row", {L"a.sql"}, 0,
       [](FavoritesList& l) { return !l.remove().empty(); }, true, {}, -1},
      {"remove without a selection", three, -1,
       [](FavoritesList& l) { return !l.remove().empty(); }, false, three, -1},
      {"separator", three, 1, [](FavoritesList& l) { return l.addSeparator() == 3; }, true,
       {L"a.sql", L"b.sql", L"c.sql", L"-"}, 1},
      {"add files", {L"%path%\\b.sql"}, -1,
       [](FavoritesList& l) {
         const favfiles::AddOutcome outcome = l.addFiles(
             {L"c:\\src\\a.pck", L"C:\\SRC\\a.pck", L"c:\\src\\b.sql", L"d:\\notes.txt",
              L"d:\\\x0436.sql", L"d:\\notes.txt"},
             addRules());
         return outcome.added == 2 && outcome.duplicates == 3 &&
                outcome.unstorable == Rows{L"d:\\\x0436.sql"};
       },
       true, {L"%path%\\b.sql", L"%path%\\a.pck@3", L"d:\\notes.txt"}, -1},
      {"rename", three, -1, [](FavoritesList& l) { return l.rename(1, L"B2.sql"); }, true,
       {L"a.sql", L"B2.sql", L"c.sql"}, -1},
      {"rename to blanks is refused", three, -1,
       [](FavoritesList& l) { return l.rename(1, L" \t "); }, false, three, -1},
      {"image", three, -1, [](FavoritesList& l) { return l.setImage(2, L"i.bmp"); }, true,
       {L"a.sql", L"b.sql", L"c.sql#i.bmp"}, -1},
      {"submenu from the list", three, 0, [](FavoritesList& l) { return l.setSubmenu(0, 1); },
       true, {L"Dev|a.sql", L"b.sql", L"c.sql"}, 0},
      {"duplicate images cleared after the first", {L"a.sql#i.bmp", L"b.sql#i.bmp", L"c.sql#j.bmp"},
       -1, [](FavoritesList& l) { return l.clearDuplicateImages(); }, true,
       {L"a.sql#i.bmp", L"b.sql", L"c.sql#j.bmp"}, -1},
      {"connection of one favorite", three, 0,
       [](FavoritesList& l) {
         return l.editFavorite(0, [](TFavoriteItem& f) { f.Alias(L"Daily"); });
       },
       true, {L"a.sql(Daily)", L"b.sql", L"c.sql"}, 0},
      {"typed submenu, trimmed, in sorted place", blocks, -1,
       [](FavoritesList& l) { return l.addSubmenu(L"  Beta ", L"b.bmp") == 1; }, true, blocks, -1,
       {L"", L"Beta", L"Dev", L"Test"}},
      {"typed submenu already there", blocks, -1,
       [](FavoritesList& l) { return l.addSubmenu(L"Dev", L"") >= 0; }, false, blocks, -1,
       {L"", L"Dev", L"Test"}},
      {"submenus edited elsewhere: a rename carries, a removal detaches", blocks, 1,
       [](FavoritesList& l) {
         TSubMenuItems edited;
         edited.Add();
         edited.Add().SubMenu(L"Prod");
         l.applySubmenuEdits(edited, {{L"Dev", L"Prod"}, {L"Test", std::nullopt}});
         return true;
       },
       true, {L"x.sql", L"Prod|d1.sql", L"Prod|d2.sql", L"t.sql"}, 1, {L"", L"Prod"}},
  };
  for (const CommandCase& c : cases) {
    SCOPED_TRACE(c.name);
    FavoritesList list = listOf(c.rows, {L"Dev", L"Test"});
    list.select(c.selected);
    const Rows before = rowsOf(list);
    const Rows submenusBefore = submenusOf(list);
    EXPECT_EQ(c.command(list), c.says);
    EXPECT_EQ(rowsOf(list), c.after);
    EXPECT_EQ(list.selected(), c.selectedAfter);
    if (!c.submenusAfter.empty()) {
      EXPECT_EQ(submenusOf(list), c.submenusAfter);
    }
    const bool changed = rowsOf(list) != before || submenusOf(list) != submenusBefore;
    EXPECT_EQ(list.canUndo(), changed);
    EXPECT_EQ(list.hasChanges(), changed);
    if (!changed) continue;
    const Rows after = rowsOf(list);
    const Rows submenusAfter = submenusOf(list);
    ASSERT_TRUE(list.undo());
    EXPECT_EQ(rowsOf(list), before);
    EXPECT_EQ(submenusOf(list), submenusBefore);
    EXPECT_EQ(list.selected(), c.selected);
    EXPECT_FALSE(list.hasChanges());
    ASSERT_TRUE(list.redo());
    EXPECT_EQ(rowsOf(list), after);
    EXPECT_EQ(submenusOf(list), submenusAfter);
  }
}

TEST(FavoritesListCommands, SortBySubmenuGroupsBlocksAndKeepsTheSelectedFavorite) {
  FavoritesList list = listOf({L"x.sql", L"Dev|d1.sql", L"Dev|d2.sql", L"Test|t.sql"}, {L"Dev", L"Test"});
  list.setSubmenu(0, 2);  // x.sql joins Test, out of block order
  list.select(0);
  const Rows unsorted = rowsOf(list);
  list.sortBySubmenu();
  EXPECT_EQ(rowsOf(list), (Rows{L"Dev|d1.sql", L"Dev|d2.sql", L"Test|x.sql", L"Test|t.sql"}));
  EXPECT_EQ(list.selected(), 2);
  ASSERT_TRUE(list.undo());
  EXPECT_EQ(rowsOf(list), unsorted);
  EXPECT_EQ(list.selected(), 0);
}

TEST(FavoritesListCommands, RemoveSaysWhatWentByAliasOrFile) {
  FavoritesList list = listOf({L"a.sql", L"b.sql"});
  list.editFavorite(1, [](TFavoriteItem& f) { f.Alias(L"Nightly"); });
  list.select(1);
  EXPECT_EQ(list.remove(), L"Removed Nightly (Ctrl+Z to undo)");
  list.select(0);
  EXPECT_EQ(list.remove(), L"Removed a.sql (Ctrl+Z to undo)");
  EXPECT_EQ(list.remove(), L"");
}

TEST(FavoritesListCommands, LoadGroupsBySubmenuAndForgetsHistoryAndANewEditDropsRedo) {
  FavoritesList list = listOf({L"Test|t.sql", L"a.sql", L"Dev|d.sql", L"b.sql"});
  EXPECT_EQ(rowsOf(list), (Rows{L"a.sql", L"b.sql", L"Dev|d.sql", L"Test|t.sql"}));
  EXPECT_FALSE(list.canUndo());
  EXPECT_FALSE(list.hasChanges());
  list.addSeparator();
  list.select(0);
  list.remove();
  ASSERT_TRUE(list.undo());
  EXPECT_TRUE(list.canRedo());
  list.addSeparator();
  EXPECT_FALSE(list.canRedo());
  EXPECT_EQ(rowsOf(list), (Rows{L"a.sql", L"b.sql", L"Dev|d.sql", L"Test|t.sql", L"-", L"-"}));
  // Edits inside one change are one step back.
  list.change([&] {
    list.select(0);
    list.remove();
    list.remove();
  });
  EXPECT_EQ(list.count(), 4);
  ASSERT_TRUE(list.undo());
  EXPECT_EQ(list.count(), 6);
  list.markUnchanged();
  EXPECT_FALSE(list.hasChanges());
}

TEST(FavoritesListRule, CommandsNeedAVisibleSelectedRowAndMovesNeedNoFilter) {
  const struct {
    const char* name;
    int count;
    int selected;
    const wchar_t* filter;
    bool up, down, remove, connection, rename;
  } cases[] = {
      {"empty list", 0, -1, L"", false, false, false, false, false},
      {"nothing selected", 3, -1, L"", false, false, false, false, false},
      {"first row", 3, 0, L"", false, true, true, true, true},
      {"middle row", 3, 1, L"", true, true, true, true, true},
      {"last row", 3, 2, L"", true, false, true, true, true},
      {"only row", 1, 0, L"", false, false, true, true, true},
      {"hidden by the filter", 3, 1, L"f0", false, false, false, false, false},
      {"shown through the filter", 3, 1, L"F1", false, false, true, true, true},
      {"index past the end", 2, 5, L"", false, false, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rows rows;
    for (int i = 0; i < c.count; ++i) rows.push_back(L"f" + std::to_wstring(i) + L".sql");
    FavoritesList list = listOf(rows);
    list.select(c.selected);
    list.setFilter(c.filter);
    EXPECT_EQ(list.isEnabled(Action::Up), c.up);
    EXPECT_EQ(list.isEnabled(Action::Down), c.down);
    EXPECT_EQ(list.isEnabled(Action::Remove), c.remove);
    EXPECT_EQ(list.isEnabled(Action::Pick), c.remove);
    EXPECT_EQ(list.isEnabled(Action::ConnectionInfo), c.connection);
    EXPECT_EQ(list.isEnabled(Action::Rename, true), c.rename);
    EXPECT_FALSE(list.isEnabled(Action::Rename, false));
    for (Action always : {Action::Add, Action::AddSeparator, Action::SortBySubmenu, Action::Load,
                          Action::AddSubmenu, Action::Import})
      EXPECT_TRUE(list.isEnabled(always));
    // Export needs something to write, whatever is selected or filtered.
    EXPECT_EQ(list.isEnabled(Action::Export), c.count > 0);
  }
  FavoritesList separator = listOf({L"a.sql", L"-"});
  separator.select(1);
  EXPECT_FALSE(separator.isEnabled(Action::ConnectionInfo)) << "an alias would make it an item";
  EXPECT_TRUE(separator.isEnabled(Action::Remove));
  EXPECT_FALSE(separator.isEnabled(Action::Undo));
  separator.remove();
  EXPECT_TRUE(separator.isEnabled(Action::Undo));
  separator.undo();
  EXPECT_TRUE(separator.isEnabled(Action::Redo));
}

TEST(FavoritesListFilter, MatchesFileAliasOrSubmenuIgnoringCaseAndDropsAHiddenSelection) {
  FavoritesList list = listOf({L"c:\\src\\report.sql", L"notes.txt", L"Dev|build.pck"});
  list.editFavorite(1, [](TFavoriteItem& f) { f.Alias(L"Weekly"); });
  const struct {
    const wchar_t* filter;
    std::vector<int> visible;
  } cases[] = {
      {L"", {0, 1, 2}}, {L"REPORT", {0}}, {L"dev", {2}},        {L"week", {1}},
      {L"SQL", {0}},    {L"zzz", {}},     {L".", {0, 1, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.filter)));
    EXPECT_FALSE(list.setFilter(c.filter)) << "nothing selected, nothing dropped";
    EXPECT_EQ(list.visible(), c.visible);
    EXPECT_EQ(list.filtered(), c.filter[0] != L'\0');
  }
  list.setFilter(L"");
  list.select(2);
  EXPECT_FALSE(list.setFilter(L"build")) << "still shown, still selected";
  EXPECT_EQ(list.selected(), 2);
  EXPECT_TRUE(list.setFilter(L"report"));
  EXPECT_EQ(list.selected(), -1);
  EXPECT_FALSE(list.moveUp()) << "no moves while filtered";
  EXPECT_FALSE(list.move(0, 1));
}

TEST(FavoritesListLook, EachSubmenuBlockGetsADividerAndItsNameOnItsFirstRowOnly) {
  const std::vector<std::wstring> rows{L"", L"", L"Dev", L"Dev", L"Dev", L"Test", L""};
  const auto looks = favlist::submenuBlocks(rows);
  ASSERT_EQ(looks.size(), rows.size());
  const bool starts[] = {true, false, true, false, false, true, true};
  const bool dividers[] = {false, false, true, false, false, true, true};
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(looks[i].blockStart, starts[i]) << i;
    EXPECT_EQ(looks[i].dividerBefore, dividers[i]) << i;
  }
  EXPECT_TRUE(favlist::submenuBlocks({}).empty());
}

TEST(FavoritesListLook, ConnectionColumnAndRowHintShowAliasAndLogonAsMode) {
  const struct {
    const wchar_t *alias, *user, *database, *mode, *column, *hint;
  } cases[] = {
      {L"", L"", L"", L"", L"", L""},
      {L"Daily", L"", L"", L"", L"Daily", L""},
      {L"", L"scott", L"orcl", L"", L"scott@orcl", L"scott@orcl"},
      {L"", L"sys", L"orcl", L"SYSDBA", L"sys@orcl as SYSDBA", L"sys@orcl as SYSDBA"},
      {L"Night", L"hr", L"test", L"Normal", L"Night (hr@test as Normal)", L"hr@test as Normal"},
      {L"", L"", L"orcl", L"SYSDBA", L"", L""},  // no user: no logon
  };
  for (const auto& c : cases) {
    TFavoriteItem f;
    f.Alias(c.alias);
    f.Username(c.user);
    f.Database(c.database);
    f.ConnectAs(c.mode);
    EXPECT_EQ(favlist::connectionText(f), c.column);
    EXPECT_EQ(favlist::logonText(f), c.hint);
  }
}

TEST(FavoritesListActions, EveryActionHasOneEntryInTheTable) {
  for (const favlist::ActionInfo& info : favlist::kActions) {
    int entries = 0;
    for (const favlist::ActionInfo& other : favlist::kActions) entries += other.action == info.action;
    EXPECT_EQ(entries, 1) << static_cast<int>(info.action);
    EXPECT_STREQ(favlist::hintOf(info.action), info.hint);
  }
}

}  // namespace

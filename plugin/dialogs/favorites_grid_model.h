// What the favorites grid decides without a window: which commands a row
// state allows, what a filter does to the selection, how the submenu blocks
// are set apart, the texts of the connection column, and the undo history of
// the lists (favorites and submenus) as whole snapshots.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "un_favoriteCollections.h"

namespace gridmodel {

enum class Command { Up, Down, Remove, ConnectionInfo, Rename, Pick, Undo, Redo };

struct GridState {
  int count = 0;                     // favorites in the list
  int selected = -1;                 // index of the selected favorite, -1 none
  bool selectedVisible = false;      // its row is on screen (not filtered out)
  bool filterActive = false;
  bool selectedIsSeparator = false;
  bool renameArmed = false;          // a row is armed for Rename (popup menu)
  bool canUndo = false;
  bool canRedo = false;
};

// A command that needs a row needs one the user can see: a filter must never
// let Remove take a favorite that is not on screen.
bool isEnabled(Command command, const GridState& state);

// The selection once a filter shows only the favorites visible (indexes in
// list order): kept when its row is still shown, else none.
int selectionAfterFilter(int selected, const std::vector<int>& visible);

// How each row of a block-ordered list is drawn: a divider line above the
// first row of a block (not above the very first row), the submenu name, in
// bold, on that first row only.
struct RowLook {
  bool dividerBefore = false;
  bool blockStart = false;
};
std::vector<RowLook> submenuBlocks(const std::vector<std::wstring>& rowSubmenus);
// One row's look from the submenu of the row above (null for the first row).
RowLook rowLook(const std::wstring* previousSubmenu, const std::wstring& submenu);

// The connection column: "alias", "user@database as mode", or both as
// "alias (user@database as mode)"; empty for neither.
std::wstring connectionText(const TFavoriteItem& favorite);

// Deep copies of the lists the grid edits.
void copyFavorites(const TFavoriteItems& from, TFavoriteItems& to);
void copySubmenus(const TSubMenuItems& from, TSubMenuItems& to);
bool sameFavorites(const TFavoriteItems& a, const TFavoriteItems& b);
bool sameSubmenus(const TSubMenuItems& a, const TSubMenuItems& b);

struct ListSnapshot {
  TFavoriteItems favorites;
  TSubMenuItems submenus;
  int selected = -1;
};
ListSnapshot snapshotOf(const TFavoriteItems& favorites, const TSubMenuItems& submenus,
                        int selected);

// Undo and redo of grid edits: record() the state before each edit; undo()
// and redo() take the state now and give the one to go back (or on) to.
class ListHistory {
 public:
  void record(ListSnapshot before);
  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  std::optional<ListSnapshot> undo(ListSnapshot now);
  std::optional<ListSnapshot> redo(ListSnapshot now);
  // The snapshot the next undo would bring back.
  const ListSnapshot* lastRecorded() const { return undo_.empty() ? nullptr : &undo_.back(); }

 private:
  // A long session must not grow without end.
  static constexpr size_t kLimit = 200;
  std::vector<ListSnapshot> undo_;
  std::vector<ListSnapshot> redo_;
};

}  // namespace gridmodel

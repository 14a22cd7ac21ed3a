#include "favorites_grid_model.h"

namespace gridmodel {

bool isEnabled(Command command, const GridState& s) {
  const bool row = s.selected >= 0 && s.selected < s.count && s.selectedVisible;
  switch (command) {
    // Moving rows of a filtered list would say nothing about the rows hidden.
    case Command::Up: return row && !s.filterActive && s.selected > 0;
    case Command::Down: return row && !s.filterActive && s.selected < s.count - 1;
    case Command::Remove: return row;
    case Command::Pick: return row;
    // An alias would turn a separator into a menu item.
    case Command::ConnectionInfo: return row && !s.selectedIsSeparator;
    case Command::Rename: return row && s.renameArmed;
    case Command::Undo: return s.canUndo;
    case Command::Redo: return s.canRedo;
  }
  return false;
}

int selectionAfterFilter(int selected, const std::vector<int>& visible) {
  for (int index : visible)
    if (index == selected) return selected;
  return -1;
}

RowLook rowLook(const std::wstring* previousSubmenu, const std::wstring& submenu) {
  RowLook look;
  look.blockStart = !previousSubmenu || *previousSubmenu != submenu;
  look.dividerBefore = look.blockStart && previousSubmenu;
  return look;
}

std::vector<RowLook> submenuBlocks(const std::vector<std::wstring>& rowSubmenus) {
  std::vector<RowLook> looks;
  for (size_t row = 0; row < rowSubmenus.size(); ++row)
    looks.push_back(rowLook(row ? &rowSubmenus[row - 1] : nullptr, rowSubmenus[row]));
  return looks;
}

std::wstring connectionText(const TFavoriteItem& favorite) {
  std::wstring logon;
  if (!favorite.Username().empty()) {
    logon = favorite.Username() + L"@" + favorite.Database();
    if (!favorite.ConnectAs().empty()) logon += L" as " + favorite.ConnectAs();
  }
  if (favorite.Alias().empty()) return logon;
  return logon.empty() ? favorite.Alias() : favorite.Alias() + L" (" + logon + L")";
}

void copyFavorites(const TFavoriteItems& from, TFavoriteItems& to) {
  to.Clear();
  for (int i = 0; i < from.Count(); ++i) to.Add() = from.Items(i);
}

void copySubmenus(const TSubMenuItems& from, TSubMenuItems& to) {
  to.Clear();
  for (int i = 0; i < from.Count(); ++i) to.Add() = from.Items(i);
}

bool sameFavorites(const TFavoriteItems& a, const TFavoriteItems& b) {
  if (a.Count() != b.Count()) return false;
  for (int i = 0; i < a.Count(); ++i)
    if (!(a.Items(i) == b.Items(i))) return false;
  return true;
}

bool sameSubmenus(const TSubMenuItems& a, const TSubMenuItems& b) {
  if (a.Count() != b.Count()) return false;
  for (int i = 0; i < a.Count(); ++i)
    if (!(a.Items(i) == b.Items(i))) return false;
  return true;
}

ListSnapshot snapshotOf(const TFavoriteItems& favorites, const TSubMenuItems& submenus,
                        int selected) {
  ListSnapshot snapshot;
  copyFavorites(favorites, snapshot.favorites);
  copySubmenus(submenus, snapshot.submenus);
  snapshot.selected = selected;
  return snapshot;
}

void ListHistory::record(ListSnapshot before) {
  undo_.push_back(std::move(before));
  if (undo_.size() > kLimit) undo_.erase(undo_.begin());
  redo_.clear();
}

std::optional<ListSnapshot> ListHistory::undo(ListSnapshot now) {
  if (undo_.empty()) return std::nullopt;
  ListSnapshot back = std::move(undo_.back());
  undo_.pop_back();
  redo_.push_back(std::move(now));
  return back;
}

std::optional<ListSnapshot> ListHistory::redo(ListSnapshot now) {
  if (redo_.empty()) return std::nullopt;
  ListSnapshot next = std::move(redo_.back());
  redo_.pop_back();
  undo_.push_back(std::move(now));
  return next;
}

}  // namespace gridmodel

// The submenu list as the Submenus dialog edits it, without a window: the
// blank entry kept first and read-only, names trimmed, one-level undo of a
// removal, and what became of each submenu handed in, so the favorites can
// follow renames and only removed submenus detach their favorites.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "un_favoriteCollections.h"

namespace submenus {

// The part of a submenu name that the host would take as a menu path
// separator ("/" of the older layout, or ">>"), or empty when there is none.
std::wstring menuBreakingPart(const std::wstring& name);
// What the user is told when a typed name holds such a part.
std::wstring menuBreakingMessage(const std::wstring& part);

// Leading and trailing blanks and control characters removed.
std::wstring trimName(const std::wstring& name);

// Sort (name + "#^" + image, locale order ignoring case), then the blank
// entry back to the front: a name such as "!x" sorts before it, and the
// settings file never reads entry 0 back.
void sortKeepingBlankFirst(TSubMenuItems& list);

// Appends name (trimmed) with image and sorts, unless the trimmed name is
// empty or already there (exact). The new entry's position, or -1.
int addSubmenuSorted(TSubMenuItems& list, const std::wstring& name, const std::wstring& image);

// For each name that was in the list handed in: its name now, or nothing
// when it was removed.
using Fates = std::map<std::wstring, std::optional<std::wstring>>;

// Favorites whose submenu was renamed take the new name; those whose
// submenu was removed get none; others keep theirs.
void followSubmenuEdits(TFavoriteItems& favorites, const Fates& fates);

class SubmenuListEdit {
 public:
  // A copy of list; its names are the ones whose fate is tracked.
  void assign(const TSubMenuItems& list);
  const TSubMenuItems& items() const { return list_; }
  int count() const { return list_.Count(); }

  // Row 0 is the blank entry: no rename, removal or icon.
  bool isEditable(int row) const { return row > 0 && row < list_.Count(); }

  // The new row, or -1 (empty or existing name).
  int add(const std::wstring& name, const std::wstring& image);
  // False when the row is not editable or the trimmed name is empty.
  bool rename(int row, const std::wstring& name);
  bool setImage(int row, const std::wstring& image);
  // Remembers the removed entry for undo (one level).
  bool remove(int row);
  bool canUndo() const { return undo_.has_value(); }
  // The restored row, or -1 when there was nothing to undo.
  int undoRemove();

  Fates fates() const;

 private:
  struct Removed {
    int row;
    TSubMenuItem item;
    std::optional<std::wstring> origin;
  };
  void sortTracked();

  TSubMenuItems list_;
  // The name each row had when handed in; nothing for rows added here.
  std::vector<std::optional<std::wstring>> origins_;
  std::vector<std::wstring> handedIn_;
  std::optional<Removed> undo_;
};

}  // namespace submenus

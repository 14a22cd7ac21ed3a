// The favorites list the Configure dialog edits, without a window: the
// favorites and submenus, the selection, the filter, every list command with
// the rule that enables it and the hint it shows, and the undo history of
// the lists as whole snapshots. The dialog turns clicks and keys into calls
// here and redraws from what it finds.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "favorite_add.h"
#include "relink.h"
#include "submenu_list.h"
#include "un_favoriteCollections.h"

namespace favlist {

// The commands of the list, as buttons, keys and the grid's popup menu
// offer them.
enum class Action {
  Up,
  Down,
  Add,
  AddSeparator,
  Remove,
  ConnectionInfo,
  SortBySubmenu,
  Load,
  AddSubmenu,
  Rename,
  Pick,  // the icon or submenu picker of a row
  Undo,
  Redo,
  Export,  // the selected favorites, or all, to a file to share
  Import,  // the favorites of such a file, or of a whole settings file
  RelinkMissing,
};

struct ActionInfo {
  Action action;
  const wchar_t* hint;  // what the hint panel says over its button; may be empty
};

// Every action with its hint, in button order.
inline constexpr ActionInfo kActions[] = {
    {Action::Up, L"Move favorite up"},
    {Action::Down, L"Move favorite down"},
    {Action::Add, L"Add a favorite file"},
    {Action::AddSeparator, L"Add a separator"},
    {Action::Remove, L"Remove current favorite"},
    {Action::ConnectionInfo, L"Edit the connection settings"},
    {Action::SortBySubmenu, L""},
    {Action::Load, L"Add all favorites in a folder"},
    {Action::AddSubmenu, L"Add submenu to the list (Hold CTRL to edit the list)"},
    {Action::Rename, L""},
    {Action::Pick, L""},
    {Action::Undo, L""},
    {Action::Redo, L""},
    {Action::Export, L""},
    {Action::Import, L""},
    {Action::RelinkMissing, L""},
};

constexpr const wchar_t* hintOf(Action action) {
  for (const ActionInfo& info : kActions)
    if (info.action == action) return info.hint;
  return L"";
}

// The text a separator stores as its file name.
inline constexpr wchar_t kSeparator[] = L"-";
inline bool isSeparator(const TFavoriteItem& favorite) { return favorite.FileName() == kSeparator; }

// The connection column: "alias", "user@database as mode", or both as
// "alias (user@database as mode)"; empty for neither.
std::wstring connectionText(const TFavoriteItem& favorite);
// The hint over a row: "user@database as mode", or empty without a user.
std::wstring logonText(const TFavoriteItem& favorite);

// Whether a favorite's file is there, as the dialog's background check last
// answered: Unknown when the system could not tell in time (a network path
// that does not answer), which is never taken for missing.
enum class Presence { Unchecked, Present, Missing, Unknown };

// The hint over a missing favorite's row.
std::wstring fileNotFoundText(const std::wstring& path);

// How each row of a block-ordered list is drawn: a divider line above the
// first row of a block (not above the very first row), the submenu name, in
// bold, on that first row only.
struct RowLook {
  bool dividerBefore = false;
  bool blockStart = false;
};
// One row's look from the submenu of the row above (null for the first row).
RowLook rowLook(const std::wstring* previousSubmenu, const std::wstring& submenu);
std::vector<RowLook> submenuBlocks(const std::vector<std::wstring>& rowSubmenus);

struct Snapshot {
  TFavoriteItems favorites;
  TSubMenuItems submenus;
  int selected = -1;
};

// Undo and redo of list edits: record() the state before each edit; undo()
// and redo() take the state now and give the one to go back (or on) to.
class History {
 public:
  void record(Snapshot before);
  bool canUndo() const { return !undo_.empty(); }
  bool canRedo() const { return !redo_.empty(); }
  std::optional<Snapshot> undo(Snapshot now);
  std::optional<Snapshot> redo(Snapshot now);
  void clear();

 private:
  // A long session must not grow without end.
  static constexpr size_t kLimit = 200;
  std::vector<Snapshot> undo_;
  std::vector<Snapshot> redo_;
};

class FavoritesList {
 public:
  // Empty lists, the submenus with their blank entry first.
  FavoritesList();

  // The lists as read: grouped by submenu, nothing selected, no history,
  // and what "unsaved changes" are measured against.
  void load(TFavoriteItems favorites, TSubMenuItems submenus);
  // Whether the lists differ from the ones "unsaved changes" are measured
  // against: those loaded, or those at the last markUnchanged().
  bool hasChanges() const;
  void markUnchanged();

  const TFavoriteItems& favorites() const { return favorites_; }
  const TSubMenuItems& submenus() const { return submenus_; }
  int count() const { return favorites_.Count(); }
  const TFavoriteItem* at(int index) const;

  // --- selection and filter ---------------------------------------------------
  int selected() const { return selected_; }
  // An index outside the list selects nothing.
  void select(int index);
  // Favorites whose file name, alias or submenu hold the text, ignoring case.
  // A selected favorite the filter hides is no longer selected; true when
  // that happened.
  bool setFilter(std::wstring text);
  const std::wstring& filter() const { return filter_; }
  bool filtered() const { return !filter_.empty(); }
  bool matches(const TFavoriteItem& favorite) const;
  // The indexes of the favorites shown, in list order.
  std::vector<int> visible() const;
  bool selectedVisible() const;

  // Whether the action may run now. Rename also needs a row armed for it
  // (a second click, or the popup menu), which only the grid knows.
  bool isEnabled(Action action, bool renameArmed = false) const;

  // --- commands: each one that changes the lists can be undone ---------------
  // The selected favorite one up or down; refused while filtered.
  bool moveUp();
  bool moveDown();
  // A dragged favorite from one place to another; the selection follows it.
  bool move(int from, int to);
  // Appends a separator; its index.
  int addSeparator();
  // Add, Load and dropped files (see favorite_add.h).
  favfiles::AddOutcome addFiles(std::vector<std::wstring> paths,
                                const favfiles::AddRules& rules);
  // Removes the selected favorite; the row below, else the new last row,
  // becomes the selection. The hint that says so, or empty.
  std::wstring remove();
  // One block per submenu in submenu order, blank first; the selected
  // favorite stays selected where the grouping puts it.
  void sortBySubmenu();
  // A blank name is refused: the favorite keeps its file.
  bool rename(int index, const std::wstring& fileName);
  bool setImage(int index, const std::wstring& image);
  // The submenu of entry `entry` of the submenu list.
  bool setSubmenu(int index, int entry);
  // With duplicates no longer allowed, each icon stays with its first user.
  bool clearDuplicateImages();
  // Adds a typed submenu (trimmed, sorted, blank entry first); its entry or -1.
  int addSubmenu(const std::wstring& name, const std::wstring& image);
  // The submenu list as the Submenus dialog left it: renamed submenus take
  // their favorites along, removed ones let them go.
  void applySubmenuEdits(const TSubMenuItems& edited, const submenus::Fates& fates);
  // Any other edit of one favorite (its connection), recorded like the rest.
  template <typename Edit>
  bool editFavorite(int index, Edit edit) {
    if (!at(index)) return false;
    return change([&] { edit(favorites_.Items(index)); });
  }

  // An edit of both lists at once (Import), recorded like the rest.
  template <typename Edit>
  bool editLists(Edit edit) {
    return change([&] { edit(favorites_, submenus_); });
  }
  // --- whether the files are there ------------------------------------------------
  // The answer for a stored file name and the path that was checked; it
  // holds for every favorite with that name. Not an edit.
  void setPresence(const std::wstring& fileName, Presence presence, std::wstring checkedPath);
  // Separators are never checked.
  Presence presence(int index) const;
  // The hint over a row: "File not found: <path>" for a missing file, else
  // the logon.
  std::wstring rowHint(int index) const;
  // The missing favorites with the paths checked, in list order.
  std::vector<relink::Missing> missingFavorites() const;
  // New file names for favorites, as (index, stored name): one step to undo.
  // The files were just found, so they count as present.
  bool relink(const std::vector<std::pair<int, std::wstring>>& fileNames,
              const std::vector<std::wstring>& foundPaths);

  bool canUndo() const { return history_.canUndo(); }
  bool canRedo() const { return history_.canRedo(); }
  bool undo();
  bool redo();

  // Runs an edit and records the state before it when the lists changed;
  // edits inside an edit are one step.
  template <typename Edit>
  bool change(Edit edit) {
    Snapshot before = snapshot();
    ++depth_;
    try {
      edit();
    } catch (...) {
      --depth_;
      throw;
    }
    --depth_;
    return recordIfChanged(std::move(before));
  }

 private:
  Snapshot snapshot() const;
  bool recordIfChanged(Snapshot before);
  void restore(Snapshot snapshot);

  TFavoriteItems favorites_;
  TSubMenuItems submenus_;
  int selected_ = -1;
  std::wstring filter_;
  History history_;
  Snapshot baseline_;
  int depth_ = 0;
  struct PresenceAnswer {
    Presence presence = Presence::Unchecked;
    std::wstring path;
  };
  std::map<std::wstring, PresenceAnswer> presence_;  // by stored file name
};

}  // namespace favlist

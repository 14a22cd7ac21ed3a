#include "favorites_list.h"

#include <algorithm>
#include <cwctype>

#include "text_order.h"

namespace favlist {

std::wstring logonText(const TFavoriteItem& favorite) {
  if (favorite.Username().empty()) return {};
  std::wstring logon = favorite.Username() + L"@" + favorite.Database();
  if (!favorite.ConnectAs().empty()) logon += L" as " + favorite.ConnectAs();
  return logon;
}

std::wstring connectionText(const TFavoriteItem& favorite) {
  const std::wstring logon = logonText(favorite);
  if (favorite.Alias().empty()) return logon;
  return logon.empty() ? favorite.Alias() : favorite.Alias() + L" (" + logon + L")";
}

std::wstring fileNotFoundText(const std::wstring& path) { return L"File not found: " + path; }

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

// --- history -------------------------------------------------------------------

void History::record(Snapshot before) {
  undo_.push_back(std::move(before));
  if (undo_.size() > kLimit) undo_.erase(undo_.begin());
  redo_.clear();
}

std::optional<Snapshot> History::undo(Snapshot now) {
  if (undo_.empty()) return std::nullopt;
  Snapshot back = std::move(undo_.back());
  undo_.pop_back();
  redo_.push_back(std::move(now));
  return back;
}

std::optional<Snapshot> History::redo(Snapshot now) {
  if (redo_.empty()) return std::nullopt;
  Snapshot next = std::move(redo_.back());
  redo_.pop_back();
  undo_.push_back(std::move(now));
  return next;
}

void History::clear() {
  undo_.clear();
  redo_.clear();
}

// --- the list --------------------------------------------------------------------

FavoritesList::FavoritesList() {
  submenus_.Add();  // the blank entry: no submenu
  baseline_ = snapshot();
}

void FavoritesList::load(TFavoriteItems favorites, TSubMenuItems submenus) {
  favorites_ = std::move(favorites);
  submenus_ = std::move(submenus);
  selected_ = -1;
  favorites_.SortBySubmenu();
  history_.clear();
  baseline_ = snapshot();
}

bool FavoritesList::hasChanges() const {
  return !(favorites_ == baseline_.favorites) || !(submenus_ == baseline_.submenus);
}

void FavoritesList::markUnchanged() { baseline_ = snapshot(); }

const TFavoriteItem* FavoritesList::at(int index) const {
  return index >= 0 && index < favorites_.Count() ? &favorites_.Items(index) : nullptr;
}

void FavoritesList::select(int index) { selected_ = at(index) ? index : -1; }

bool FavoritesList::matches(const TFavoriteItem& favorite) const {
  return filter_.empty() || containsIgnoringCase(favorite.FileName(), filter_) ||
         containsIgnoringCase(favorite.Alias(), filter_) ||
         containsIgnoringCase(favorite.SubMenu(), filter_);
}

bool FavoritesList::setFilter(std::wstring text) {
  filter_ = std::move(text);
  // No command may act on a row the user cannot see.
  if (selected_ < 0 || selectedVisible()) return false;
  selected_ = -1;
  return true;
}

std::vector<int> FavoritesList::visible() const {
  std::vector<int> shown;
  for (int i = 0; i < favorites_.Count(); ++i)
    if (matches(favorites_.Items(i))) shown.push_back(i);
  return shown;
}

bool FavoritesList::selectedVisible() const {
  const TFavoriteItem* favorite = at(selected_);
  return favorite && matches(*favorite);
}

bool FavoritesList::isEnabled(Action action, bool renameArmed) const {
  const bool row = selectedVisible();
  switch (action) {
    // Moving rows of a filtered list would say nothing about the rows hidden.
    case Action::Up: return row && !filtered() && selected_ > 0;
    case Action::Down: return row && !filtered() && selected_ < count() - 1;
    case Action::Remove: return row;
    case Action::Pick: return row;
    // An alias would turn a separator into a menu item.
    case Action::ConnectionInfo: return row && !isSeparator(*at(selected_));
    case Action::Rename: return row && renameArmed;
    case Action::Undo: return canUndo();
    case Action::Redo: return canRedo();
    case Action::RelinkMissing: return !missingFavorites().empty();
    case Action::Export: return count() > 0;
    case Action::Import:
    case Action::Add:
    case Action::AddSeparator:
    case Action::SortBySubmenu:
    case Action::Load:
    case Action::AddSubmenu: return true;
  }
  return false;
}

bool FavoritesList::move(int from, int to) {
  if (filtered() || !at(from) || !at(to) || from == to) return false;
  return change([&] {
    favorites_.Move(from, to);
    selected_ = to;
  });
}

bool FavoritesList::moveUp() {
  if (!isEnabled(Action::Up)) return false;
  return move(selected_, selected_ - 1);
}

bool FavoritesList::moveDown() {
  if (!isEnabled(Action::Down)) return false;
  return move(selected_, selected_ + 1);
}

int FavoritesList::addSeparator() {
  change([&] {
    TFavoriteItem& separator = favorites_.Add();
    separator.FileName(kSeparator);
    separator.FileType(0);
  });
  return count() - 1;
}

favfiles::AddOutcome FavoritesList::addFiles(std::vector<std::wstring> paths,
                                            const favfiles::AddRules& rules) {
  favfiles::AddOutcome outcome;
  change([&] { outcome = favfiles::addFavoriteFiles(favorites_, std::move(paths), rules); });
  return outcome;
}

std::wstring FavoritesList::remove() {
  const TFavoriteItem* chosen = at(selected_);
  if (!chosen) return {};
  const TFavoriteItem gone = *chosen;
  change([&] {
    const int n = count();
    favorites_.Delete(selected_);
    if (selected_ >= n - 1) selected_ = n - 2;  // the new last row, or none
  });
  return L"Removed " + (gone.Alias().empty() ? gone.FileName() : gone.Alias()) +
         L" (Ctrl+Z to undo)";
}

void FavoritesList::sortBySubmenu() {
  change([&] {
    const TFavoriteItem* chosen = at(selected_);
    const std::optional<TFavoriteItem> keep =
        chosen ? std::optional<TFavoriteItem>(*chosen) : std::nullopt;
    favorites_.SortBySubmenu();
    if (!keep) return;
    for (int i = 0; i < count(); ++i)
      if (favorites_.Items(i) == *keep) {
        selected_ = i;
        break;
      }
  });
}

bool FavoritesList::rename(int index, const std::wstring& fileName) {
  const bool blank = std::all_of(fileName.begin(), fileName.end(), [](wchar_t c) {
    return c <= L' ' || std::iswspace(static_cast<wint_t>(c));
  });
  if (!at(index) || blank) return false;
  return change([&] { favorites_.Items(index).FileName(fileName); });
}

bool FavoritesList::setImage(int index, const std::wstring& image) {
  if (!at(index)) return false;
  return change([&] { favorites_.Items(index).Image(image); });
}

bool FavoritesList::setSubmenu(int index, int entry) {
  if (!at(index) || entry < 0 || entry >= submenus_.Count()) return false;
  return change([&] { favorites_.Items(index).SubMenu(submenus_.Items(entry).SubMenu()); });
}

bool FavoritesList::clearDuplicateImages() {
  return change([&] {
    const int n = count();
    for (int i = 0; i < n; ++i) {
      const std::wstring image = favorites_.Items(i).Image();
      if (image.empty()) continue;
      for (int j = i + 1; j < n; ++j)
        if (favorites_.Items(j).Image() == image) favorites_.Items(j).Image(L"");
    }
  });
}

int FavoritesList::addSubmenu(const std::wstring& name, const std::wstring& image) {
  int entry = -1;
  change([&] {
    entry = submenus::addSubmenuSorted(submenus_, name, image);
    submenus::sortKeepingBlankFirst(submenus_);
  });
  return entry;
}

void FavoritesList::applySubmenuEdits(const TSubMenuItems& edited, const submenus::Fates& fates) {
  change([&] {
    submenus_ = edited;
    submenus::followSubmenuEdits(favorites_, fates);
    submenus::sortKeepingBlankFirst(submenus_);
  });
}

void FavoritesList::setPresence(const std::wstring& fileName, Presence presence,
                                std::wstring checkedPath) {
  presence_[fileName] = PresenceAnswer{presence, std::move(checkedPath)};
}

Presence FavoritesList::presence(int index) const {
  const TFavoriteItem* favorite = at(index);
  if (!favorite || isSeparator(*favorite)) return Presence::Unchecked;
  const auto it = presence_.find(favorite->FileName());
  return it == presence_.end() ? Presence::Unchecked : it->second.presence;
}

std::wstring FavoritesList::rowHint(int index) const {
  const TFavoriteItem* favorite = at(index);
  if (!favorite) return {};
  if (presence(index) == Presence::Missing)
    return fileNotFoundText(presence_.find(favorite->FileName())->second.path);
  return logonText(*favorite);
}

std::vector<relink::Missing> FavoritesList::missingFavorites() const {
  std::vector<relink::Missing> missing;
  for (int i = 0; i < count(); ++i)
    if (presence(i) == Presence::Missing)
      missing.push_back(relink::Missing{i, presence_.find(favorites_.Items(i).FileName())->second.path});
  return missing;
}

bool FavoritesList::relink(const std::vector<std::pair<int, std::wstring>>& fileNames,
                           const std::vector<std::wstring>& foundPaths) {
  bool changed = false;
  for (size_t k = 0; k < fileNames.size(); ++k)
    if (k < foundPaths.size()) setPresence(fileNames[k].second, Presence::Present, foundPaths[k]);
  change([&] {
    for (const auto& [index, fileName] : fileNames)
      if (at(index) && !fileName.empty()) {
        favorites_.Items(index).FileName(fileName);
        changed = true;
      }
  });
  return changed;
}

bool FavoritesList::undo() {
  auto back = history_.undo(snapshot());
  if (!back) return false;
  restore(std::move(*back));
  return true;
}

bool FavoritesList::redo() {
  auto again = history_.redo(snapshot());
  if (!again) return false;
  restore(std::move(*again));
  return true;
}

Snapshot FavoritesList::snapshot() const { return Snapshot{favorites_, submenus_, selected_}; }

bool FavoritesList::recordIfChanged(Snapshot before) {
  if (before.favorites == favorites_ && before.submenus == submenus_) return false;
  if (depth_ == 0) history_.record(std::move(before));
  return true;
}

void FavoritesList::restore(Snapshot snapshot) {
  favorites_ = std::move(snapshot.favorites);
  submenus_ = std::move(snapshot.submenus);
  selected_ = snapshot.selected;
}

}  // namespace favlist

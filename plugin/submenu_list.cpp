#include "submenu_list.h"

#include <algorithm>

namespace submenus {

std::wstring menuBreakingPart(const std::wstring& name) {
  if (name.find(L'/') != std::wstring::npos) return L"/";
  if (name.find(L">>") != std::wstring::npos) return L">>";
  return {};
}

std::wstring menuBreakingMessage(const std::wstring& part) {
  return L"A submenu name cannot contain \"" + part +
         L"\": the IDE would split the name there into nested menus.";
}

namespace {

bool isBlank(wchar_t c) { return c <= L' '; }

// Copies of the entries in their order.
std::vector<TSubMenuItem> snapshot(const TSubMenuItems& list) {
  std::vector<TSubMenuItem> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.Items(i));
  return items;
}

}  // namespace

std::wstring trimName(const std::wstring& name) {
  size_t first = 0;
  size_t last = name.size();
  while (first < last && isBlank(name[first])) ++first;
  while (last > first && isBlank(name[last - 1])) --last;
  return name.substr(first, last - first);
}

void sortKeepingBlankFirst(TSubMenuItems& list) {
  list.Sort();
  for (int i = 1; i < list.Count(); ++i) {
    if (list.Items(i).SubMenu().empty()) {
      list.Move(i, 0);
      break;
    }
  }
}

int addSubmenuSorted(TSubMenuItems& list, const std::wstring& name, const std::wstring& image) {
  const std::wstring trimmed = trimName(name);
  if (trimmed.empty() || list.Exists(trimmed) || !menuBreakingPart(trimmed).empty()) return -1;
  TSubMenuItem& added = list.Add();
  added.SubMenu(trimmed);
  added.Image(image);
  sortKeepingBlankFirst(list);
  for (int i = 0; i < list.Count(); ++i)
    if (list.Items(i).SubMenu() == trimmed) return i;
  return -1;
}

void followSubmenuEdits(TFavoriteItems& favorites, const Fates& fates) {
  for (int i = 0; i < favorites.Count(); ++i) {
    TFavoriteItem& favorite = favorites.Items(i);
    if (favorite.SubMenu().empty()) continue;
    const auto fate = fates.find(favorite.SubMenu());
    if (fate == fates.end()) continue;  // never in the list: nothing happened to it
    favorite.SubMenu(fate->second.value_or(std::wstring()));
  }
}

void SubmenuListEdit::assign(const TSubMenuItems& list) {
  list_.Clear();
  origins_.clear();
  handedIn_.clear();
  undo_.reset();
  for (int i = 0; i < list.Count(); ++i) {
    list_.Add() = list.Items(i);
    origins_.push_back(list.Items(i).SubMenu());
    handedIn_.push_back(list.Items(i).SubMenu());
  }
  if (list_.Count() == 0) {
    list_.Add();  // the blank entry is always there
    origins_.push_back(std::wstring());
  }
}

void SubmenuListEdit::sortTracked() {
  // Sort moves whole entries; each origin goes with the first unclaimed
  // entry of equal name and image (equal entries are interchangeable).
  std::vector<TSubMenuItem> before = snapshot(list_);
  std::vector<bool> claimed(before.size(), false);
  sortKeepingBlankFirst(list_);
  std::vector<std::optional<std::wstring>> origins(origins_.size());
  for (int row = 0; row < list_.Count(); ++row) {
    for (size_t j = 0; j < before.size(); ++j) {
      if (!claimed[j] && before[j] == list_.Items(row)) {
        claimed[j] = true;
        origins[static_cast<size_t>(row)] = origins_[j];
        break;
      }
    }
  }
  origins_ = std::move(origins);
}

int SubmenuListEdit::add(const std::wstring& name, const std::wstring& image) {
  const std::wstring trimmed = trimName(name);
  if (trimmed.empty() || list_.Exists(trimmed) || !menuBreakingPart(trimmed).empty()) return -1;
  TSubMenuItem& added = list_.Add();
  added.SubMenu(trimmed);
  added.Image(image);
  origins_.push_back(std::nullopt);
  sortTracked();
  for (int i = 0; i < list_.Count(); ++i)
    if (list_.Items(i).SubMenu() == trimmed) return i;
  return -1;
}

bool SubmenuListEdit::rename(int row, const std::wstring& name) {
  const std::wstring trimmed = trimName(name);
  if (!isEditable(row) || trimmed.empty() || !menuBreakingPart(trimmed).empty()) return false;
  list_.Items(row).SubMenu(trimmed);
  return true;
}

bool SubmenuListEdit::setImage(int row, const std::wstring& image) {
  if (!isEditable(row)) return false;
  list_.Items(row).Image(image);
  return true;
}

bool SubmenuListEdit::remove(int row) {
  if (!isEditable(row)) return false;
  undo_ = Removed{row, list_.Items(row), origins_[static_cast<size_t>(row)]};
  list_.Delete(row);
  origins_.erase(origins_.begin() + row);
  return true;
}

int SubmenuListEdit::undoRemove() {
  if (!undo_) return -1;
  Removed removed = std::move(*undo_);
  undo_.reset();
  const int row = std::clamp(removed.row, 1, list_.Count());
  TSubMenuItem& restored = list_.Add();
  restored = removed.item;
  list_.Move(list_.Count() - 1, row);
  origins_.insert(origins_.begin() + row, removed.origin);
  // Whatever was added since, the list stays in its sorted order.
  sortTracked();
  for (int i = 1; i < list_.Count(); ++i)
    if (list_.Items(i) == removed.item) return i;
  return row;
}

Fates SubmenuListEdit::fates() const {
  Fates result;
  for (const std::wstring& name : handedIn_) result.emplace(name, std::nullopt);
  for (int row = 0; row < list_.Count(); ++row) {
    const auto& origin = origins_[static_cast<size_t>(row)];
    if (origin) result[*origin] = list_.Items(row).SubMenu();
  }
  return result;
}

}  // namespace submenus

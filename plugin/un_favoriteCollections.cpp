#include "un_favoriteCollections.h"

#include <algorithm>

bool TSubMenuItems::Exists(const std::wstring& AValue) const {
  return std::any_of(items_.begin(), items_.end(),
                     [&](const auto& item) { return item->fSubMenu == AValue; });
}

void TSubMenuItems::Sort() {
  // The sort text is the name and the image joined by "#^"; a stable sort keeps
  // entries that compare equal (Dev and dev with one image) in their order.
  std::vector<std::pair<std::wstring, std::unique_ptr<TSubMenuItem>>> keyed;
  keyed.reserve(items_.size());
  for (auto& item : items_) {
    std::wstring text = item->fSubMenu + L"#^" + item->fImage;
    keyed.emplace_back(std::move(text), std::move(item));
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& x, const auto& y) {
    return compareTextLocale(x.first, y.first) < 0;
  });
  for (size_t i = 0; i < keyed.size(); ++i) items_[i] = std::move(keyed[i].second);
}

bool TFavoriteItems::SortBySubmenu() {
  TSubMenuItems submenus;
  submenus.Add();  // the blank entry: favorites without a submenu
  for (const auto& favorite : items_)
    if (!submenus.Exists(favorite->fSubMenu)) submenus.Add().fSubMenu = favorite->fSubMenu;
  submenus.Sort();

  std::vector<TFavoriteItem> grouped;
  grouped.reserve(items_.size());
  for (int j = 0; j < submenus.Count(); ++j) {
    const std::wstring& name = submenus.Items(j).fSubMenu;
    for (const auto& favorite : items_)
      if (favorite->fSubMenu == name) grouped.push_back(*favorite);
  }
  for (size_t i = 0; i < grouped.size() && i < items_.size(); ++i) *items_[i] = grouped[i];
  return true;
}

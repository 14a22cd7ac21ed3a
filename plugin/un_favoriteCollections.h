// The favorites and submenu lists held in memory while the Configure dialog
// edits them. Plain values, no Windows headers.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "text_order.h"

class TSubMenuItem {
 public:
  const std::wstring& SubMenu() const { return fSubMenu; }
  void SubMenu(std::wstring v) { fSubMenu = std::move(v); }
  const std::wstring& Image() const { return fImage; }
  void Image(std::wstring v) { fImage = std::move(v); }

  std::wstring fSubMenu;
  std::wstring fImage;

  bool operator==(const TSubMenuItem&) const = default;
};

class TFavoriteItem {
 public:
  const std::wstring& SubMenu() const { return fSubMenu; }
  void SubMenu(std::wstring v) { fSubMenu = std::move(v); }
  const std::wstring& FileName() const { return fFileName; }
  void FileName(std::wstring v) { fFileName = std::move(v); }
  int FileType() const { return fFileType; }
  void FileType(int v) { fFileType = v; }
  const std::wstring& Image() const { return fImage; }
  void Image(std::wstring v) { fImage = std::move(v); }
  const std::wstring& Username() const { return fUsername; }
  void Username(std::wstring v) { fUsername = std::move(v); }
  const std::wstring& Password() const { return fPassword; }
  void Password(std::wstring v) { fPassword = std::move(v); }
  const std::wstring& Database() const { return fDatabase; }
  void Database(std::wstring v) { fDatabase = std::move(v); }
  const std::wstring& ConnectAs() const { return fConnectAs; }
  void ConnectAs(std::wstring v) { fConnectAs = std::move(v); }
  const std::wstring& Alias() const { return fAlias; }
  void Alias(std::wstring v) { fAlias = std::move(v); }
  bool AskLogon() const { return fAskLogon; }
  void AskLogon(bool v) { fAskLogon = v; }

  std::wstring fSubMenu;
  std::wstring fFileName;
  int fFileType = 0;
  std::wstring fImage;
  std::wstring fUsername;
  std::wstring fPassword;  // plain text while in memory
  std::wstring fDatabase;
  std::wstring fConnectAs;
  std::wstring fAlias;
  bool fAskLogon = false;  // asks before logging on

  bool operator==(const TFavoriteItem&) const = default;
};

// An ordered collection that owns its items; items are reached by position.
template <typename Item>
class TOwnedCollection {
 public:
  TOwnedCollection() = default;
  // Copies are deep: each copy owns items of its own.
  TOwnedCollection(const TOwnedCollection& other) { Assign(other); }
  TOwnedCollection& operator=(const TOwnedCollection& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  TOwnedCollection(TOwnedCollection&&) noexcept = default;
  TOwnedCollection& operator=(TOwnedCollection&&) noexcept = default;
  // The same items, field by field, in the same order.
  bool operator==(const TOwnedCollection& other) const {
    if (items_.size() != other.items_.size()) return false;
    for (size_t i = 0; i < items_.size(); ++i)
      if (!(*items_[i] == *other.items_[i])) return false;
    return true;
  }

  Item& Add() {
    items_.push_back(std::make_unique<Item>());
    return *items_.back();
  }
  Item& Items(int index) { return *items_.at(static_cast<size_t>(index)); }
  const Item& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  Item& GetItem(int index) { return Items(index); }
  int Count() const { return static_cast<int>(items_.size()); }
  void Clear() { items_.clear(); }
  // Becomes a copy of other, item by item.
  void Assign(const TOwnedCollection& other) {
    if (this == &other) return;
    Clear();
    for (const auto& item : other.items_) Add() = *item;
  }
  void Delete(int index) { items_.erase(items_.begin() + index); }
  void Move(int from, int to) {
    auto item = std::move(items_.at(static_cast<size_t>(from)));
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
  }

 protected:
  std::vector<std::unique_ptr<Item>> items_;
};

class TSubMenuItems : public TOwnedCollection<TSubMenuItem> {
 public:
  // Exact, case-sensitive name match.
  bool Exists(const std::wstring& AValue) const;
  // Locale-aware, case-insensitive order of name + "#^" + image.
  void Sort();
};

class TFavoriteItems : public TOwnedCollection<TFavoriteItem> {
 public:
  // One block per submenu in Sort order, blank submenu first; order kept
  // within a block. Always true.
  bool SortBySubmenu();
};


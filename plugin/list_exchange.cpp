#include "list_exchange.h"

#include <algorithm>
#include <unordered_set>

#include "favorites_list.h"
#include "file_path.h"
#include "ini_text.h"
#include "list_sections.h"
#include "submenu_list.h"

namespace exchange {
namespace {

// A shared list never carries a password, so nothing is ever enciphered.
std::wstring noPassword(const std::wstring&) { return {}; }

// The submenus the chosen favorites use, in the order of the list they come
// from and with its icons, after the blank entry; a name the list lacks
// goes last without an icon.
TSubMenuItems submenusUsed(const TFavoriteItems& chosen, const TSubMenuItems& submenus) {
  std::unordered_set<std::wstring> used;
  for (int i = 0; i < chosen.Count(); ++i)
    if (!chosen.Items(i).SubMenu().empty()) used.insert(chosen.Items(i).SubMenu());
  TSubMenuItems out;
  out.Add();  // the blank entry, never written
  for (int j = 0; j < submenus.Count(); ++j) {
    const TSubMenuItem& item = submenus.Items(j);
    if (used.erase(item.SubMenu())) out.Add() = item;
  }
  for (int i = 0; i < chosen.Count() && !used.empty(); ++i)
    if (used.erase(chosen.Items(i).SubMenu())) out.Add().SubMenu(chosen.Items(i).SubMenu());
  return out;
}

void addSubmenuIfMissing(TSubMenuItems& submenus, const std::wstring& name,
                         const std::wstring& image, bool& added) {
  if (name.empty() || submenus.Exists(name)) return;
  TSubMenuItem& item = submenus.Add();
  item.SubMenu(name);
  item.Image(image);
  added = true;
}

}  // namespace

std::string exportText(const TFavoriteItems& chosen, const TSubMenuItems& submenus,
                       const std::wstring& replacementPath, int hostVersion,
                       const std::wstring& writtenAt, const CodePage& codePage) {
  TFavoriteItems shared;
  for (int i = 0; i < chosen.Count(); ++i) {
    TFavoriteItem& f = shared.Add() = chosen.Items(i);
    f.Password(L"");
    if (!favlist::isSeparator(f)) f.FileName(fav::toPathMarkerForm(f.FileName(), replacementPath));
  }
  // The comment goes in as the file's first line, so the model keeps it
  // before the sections it writes.
  const std::wstring comment =
      L"; Favorites export: a list of favorite files to import, written " + writtenAt + L"\r\n";
  IniText text = IniText::fromBytes(codePage.toNarrow(comment), codePage);
  lists::write(text, submenusUsed(shared, submenus), shared, hostVersion,
               lists::Passwords::LeftOut, noPassword, 1);
  return text.toBytes();
}

ImportOutcome importList(std::string_view bytes, const CodePage& codePage,
                         TFavoriteItems& favorites, TSubMenuItems& submenus,
                         const std::wstring& replacementPath) {
  ImportOutcome outcome;
  // The settings file's own limits: never parse what could stall the host.
  if (bytes.size() > IniText::kMaxFileBytes) {
    outcome.refusal = IniText::tooLargeReason();
    return outcome;
  }
  const IniText text = IniText::fromBytes(bytes, codePage);
  if (!text.writeRefusal().empty()) {
    outcome.refusal = text.writeRefusal();
    return outcome;
  }
  TSubMenuItems theirSubmenus;
  theirSubmenus.Add();
  TFavoriteItems theirs;
  // Passwords are never imported: a [Passwords] section is not even deciphered.
  lists::read(text, theirSubmenus, theirs, nullptr, noPassword);
  if (theirs.Count() == 0) {
    outcome.refusal = L"it names no favorite files";
    return outcome;
  }

  std::unordered_set<std::wstring> known;
  for (int i = 0; i < favorites.Count(); ++i)
    known.insert(fav::sameFileKey(favorites.Items(i).FileName(), replacementPath));
  // A name the submenu box would refuse would split into nested menus in
  // the IDE: it is left out, and its favorites come without a submenu.
  const auto splits = [&](const std::wstring& name) {
    if (submenus::menuBreakingPart(name).empty()) return false;
    auto& seen = outcome.splitSubmenus;
    if (std::find(seen.begin(), seen.end(), name) == seen.end()) seen.push_back(name);
    return true;
  };
  bool submenusAdded = false;
  for (int j = 1; j < theirSubmenus.Count(); ++j)
    if (!splits(theirSubmenus.Items(j).SubMenu()))
      addSubmenuIfMissing(submenus, theirSubmenus.Items(j).SubMenu(),
                          theirSubmenus.Items(j).Image(), submenusAdded);
  for (int i = 0; i < theirs.Count(); ++i) {
    TFavoriteItem favorite = theirs.Items(i);
    favorite.Password(L"");
    if (splits(favorite.SubMenu())) favorite.SubMenu(L"");
    // Separators are not files: each one comes along where the file has it.
    if (!favlist::isSeparator(favorite)) {
      // A UTF-8 or UTF-16 file may name what the host's code page cannot.
      if (codePage.toWide(codePage.toNarrow(favorite.FileName())) != favorite.FileName()) {
        outcome.unstorable.push_back(favorite.FileName());
        continue;
      }
      favorite.FileName(fav::toPathMarkerForm(favorite.FileName(), replacementPath));
      if (!known.insert(fav::sameFileKey(favorite.FileName(), replacementPath)).second) {
        ++outcome.alreadyThere;
        continue;
      }
      ++outcome.imported;
    }
    addSubmenuIfMissing(submenus, favorite.SubMenu(), L"", submenusAdded);
    favorites.Add() = std::move(favorite);
  }
  if (submenusAdded) submenus::sortKeepingBlankFirst(submenus);
  return outcome;
}

namespace {

std::wstring splitSubmenusText(const std::vector<std::wstring>& names) {
  if (names.empty()) return {};
  const bool one = names.size() == 1;
  std::wstring text = one ? L"\n\nThe submenu " : L"\n\nThe submenus ";
  for (size_t i = 0; i < names.size(); ++i)
    text += (i == 0 ? L"\"" : i + 1 == names.size() ? L" and \"" : L", \"") + names[i] + L"\"";
  text += one ? L" was left out: the IDE would split the name into nested menus. Its"
             : L" were left out: the IDE would split those names into nested menus. Their";
  return text + L" favorites come without a submenu.";
}

}  // namespace

std::wstring summary(const ImportOutcome& outcome) {
  return L"Imported " + std::to_wstring(outcome.imported) +
         (outcome.imported == 1 ? L" favorite; " : L" favorites; ") +
         std::to_wstring(outcome.alreadyThere) +
         (outcome.alreadyThere == 1 ? L" was" : L" were") + L" already in the list." +
         splitSubmenusText(outcome.splitSubmenus);
}

std::wstring refusalMessage(const std::wstring& path, const std::wstring& reason) {
  return path + L" is not a favorites list: " + reason;
}

}  // namespace exchange

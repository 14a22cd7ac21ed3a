// The one-icon-per-entry rule shared by the favorites grid and the Submenus
// dialog: an icon that another entry already uses is moved only after the user
// says Yes, unless duplicates are allowed.
#pragma once

#include <windows.h>

#include <string>

#include "ui_seam.h"

namespace icons {

// Whether entry `selected` may take icon `chosen`. The first entry using it is
// the owner; with duplicates not allowed the user is asked, by ownerName of
// that entry, and on Yes the owner's icon is cleared through clearImage. No
// when the entry already has the icon, or the user says No.
template <typename ImageAt, typename NameAt, typename ClearImage>
bool mayTakeIcon(HWND dialog, int count, int selected, const std::wstring& chosen,
                 bool allowDuplicates, ImageAt imageAt, NameAt ownerName, ClearImage clearImage) {
  int owner = -1;
  if (!chosen.empty())
    for (int i = 0; i < count && owner < 0; ++i)
      if (imageAt(i) == chosen) owner = i;
  if (owner == selected) return false;
  if (owner >= 0 && !allowDuplicates) {
    const std::wstring question = L"Icon already used for " + ownerName(owner) + L". Clear existing?";
    if (showMessageBox(dialog, question.c_str(), L"Favorites", MB_YESNO | MB_ICONQUESTION) != IDYES)
      return false;
    clearImage(owner);
  }
  return true;
}

}  // namespace icons

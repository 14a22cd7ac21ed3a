// The icon files both grids offer: one listing, so one folder gives the
// Configure and Submenus dialogs the same icons in the same order.
#pragma once

#include <string>
#include <vector>

namespace dialogs {

// The names (not paths) of the files directly in folder whose names start
// with prefix and end in ".bmp", ignoring case. Folders, hidden and system
// files are left out, as Load leaves them out. Sorted by name ignoring case
// (ordinal), names equal but for case in a fixed order.
std::vector<std::wstring> listIconFiles(const std::wstring& folder, const std::wstring& prefix);

}  // namespace dialogs

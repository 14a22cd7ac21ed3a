// The texts the favorites plug-in puts into the About dialog. No Windows
// headers: the information text is a box of equal-width lines.
#pragma once

#include <string>
#include <vector>

namespace about {

// Every information line is this wide, "//" at both ends.
inline constexpr size_t kInfoLineWidth = 41;

std::wstring titleLine();              // "Favorites plug-in for PL/SQL Developer"
std::wstring ownerLine(int year);      // "© <year> The Favorites authors"
// "// " + content padded to the box + "//"; content too long is cut.
std::wstring boxLine(const std::wstring& content);
std::wstring frameLine();              // 41 "/"

// The whole information text: banner, owner, contact and web lines, the
// description and menu items, thanks, and the revision history.
std::vector<std::wstring> infoText(int year);

}  // namespace about

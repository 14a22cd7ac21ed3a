// What Add, Load and dropped files do to a file before it becomes a
// favorite: its window type from the host's program-unit extensions, the
// "%path%" form, the duplicate check in either form, and names the code page
// cannot hold. No Windows headers.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "un_favoriteCollections.h"

namespace favfiles {

// The extension of the file name's last component, without its dot; empty
// when it has none.
std::wstring extensionOf(const std::wstring& fileName);
// 3 (program unit) when the extension is in the list, ignoring letter case;
// otherwise 0. An empty extension never matches, even if the host listed one.
int FileTypeOf(const std::wstring& fileName, const std::vector<std::wstring>& extensions);

// A favorite has exactly this FileName.
bool FavoriteExists(const TFavoriteItems& favorites, const std::wstring& fileName);

struct AddOutcome {
  int added = 0;
  int duplicates = 0;
  // Names the system code page cannot hold: never stored, the host could not
  // open them.
  std::vector<std::wstring> unstorable;
};

struct AddRules {
  std::wstring replacementPath = L"c:\\";
  std::vector<std::wstring> extensions;
  // Whether a name survives the system code page (the host's text form).
  std::function<bool(const std::wstring&)> fitsCodePage;
};

// Appends a new file favorite for each path in order. A path is skipped when
// it, or its "%path%" form, is already stored (including earlier paths of the
// same call), or when its name does not fit the code page.
AddOutcome addFavoriteFiles(TFavoriteItems& favorites, std::vector<std::wstring> paths,
                            const AddRules& rules);

}  // namespace favfiles

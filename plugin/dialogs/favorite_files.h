// What the Configure dialog's Add and Load do to a file before it becomes a
// favorite: its window type from the host's program-unit extensions, the
// "%path%" form, the duplicate check, and the folder listing of Load. No
// window involved.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "un_favoriteCollections.h"

namespace favfiles {

// The object types whose extensions mark program-unit sources, in the order
// they are asked for.
extern const char* const kObjectTypes[10];

// Splits the host's answer at every ",": each piece before a comma counts
// (empty ones too), the rest after the last comma only when not empty.
std::vector<std::wstring> splitExtensions(std::string_view hostText);

// The host's answer for one object type (narrow), split.
using ExtensionsForType = std::function<std::string(const std::string& objectType)>;
std::vector<std::wstring> GetTypeExtensions(const std::string& objectType,
                                            const ExtensionsForType& host);
// All ten types in order, duplicates kept.
std::vector<std::wstring> collectTypeExtensions(const ExtensionsForType& host);

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
AddOutcome addFavoriteFiles(TFavoriteItems& favorites, const std::vector<std::wstring>& paths,
                            const AddRules& rules);

// The plain files directly in folder (no folders, no hidden or system
// files), as full paths, in name order ignoring letter case. folder may end
// with "\" or not.
std::vector<std::wstring> listPlainFiles(const std::wstring& folder);

// The texts of a "text\0text\0\0" list, in order; reading stops at the
// capacity when the list is not terminated.
std::vector<std::wstring> splitNullList(const wchar_t* buffer, size_t capacity);
// The multi-select open-file dialog's answer as full paths in order: one
// entry is a full path; several are the folder followed by names in it.
std::vector<std::wstring> openFileDialogPaths(const std::vector<std::wstring>& entries);

}  // namespace favfiles

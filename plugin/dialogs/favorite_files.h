// Where the Configure dialog's Add and Load find their files: the host's
// program-unit extensions, the folder listing of Load and the open-file
// dialog's answer. What a file becomes as a favorite is favorite_add.h.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "favorite_add.h"

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

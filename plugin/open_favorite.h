// A click on a favorite (menu index 6..99) and on Add Current.
#pragma once

#include <string>

#include "un_plugincommon.h"

namespace favorites {

// Opens list entry index - 5: brings its window forward when the file is
// open, else opens it and logs on with the stored connection unless the held
// modifier keys match the stored suppression flags.
void OpenFavorite(int menuIndex, const KeyboardState& keys);
void OpenFavorite(int menuIndex);

// Appends the current window's file (and connection) as a new favorite. The
// file is replaced in one step; on failure nothing is refreshed.
void AddCurrent();

// Case-insensitive replacement of every occurrence of from (never empty).
std::wstring replaceIgnoringCase(const std::wstring& text, const std::wstring& from,
                                 const std::wstring& to);
// Exact replacement of every occurrence of from (never empty).
std::wstring replaceExact(const std::wstring& text, const std::wstring& from,
                          const std::wstring& to);

}  // namespace favorites

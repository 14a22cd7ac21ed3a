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

// How many window numbers a click probes for a host window count: 0..N
// inclusive, none for a count below 0, never more than kMaxProbedWindows.
inline constexpr int kMaxProbedWindows = 10000;
int probedWindowCount(int hostCount);

// Appends the current window's file (and connection) as a new favorite. The
// file is replaced in one step; on failure nothing is refreshed.
void AddCurrent();

}  // namespace favorites

// Entry points of the Configure dialog's list commands that its window
// procedure can call from outside the action table.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

class TfrmConfigureFavorites;

// Adds the files as Add adds chosen files (duplicates and names outside the
// code page skipped), then refills the grid.
void addFavoriteFiles(TfrmConfigureFavorites& dialog, const std::vector<std::wstring>& paths);
// Files dropped from Explorer onto the grid: added as Add adds them (folders
// in the drop are left out). Releases the drop.
void addDroppedFiles(TfrmConfigureFavorites& dialog, HDROP drop);

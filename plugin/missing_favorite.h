// A click on a favorite whose file is gone: the question (Locate..., Remove
// from favorites, Cancel), the picker that finds the file again, and the two
// changes to the settings file that follow.
#pragma once

#include <windows.h>

#include <string>

#include "ini_file.h"

namespace missing {

enum class Choice { Locate, Remove, Cancel };

// The task dialog over owner: "Favorite not found" and the full path.
Choice askAboutMissingFile(HWND owner, const std::wstring& path);

// The open-file dialog titled "Locate <file name>", starting in the nearest
// folder of oldPath that still exists, offering oldPath's extension first.
// The chosen full path, or empty when cancelled.
std::wstring locateFile(HWND owner, const std::wstring& oldPath);

// The folder nearest to path that exists (path itself excluded); empty when
// none does.
std::wstring nearestExistingFolder(const std::wstring& path);

// The favorite stored as storedFile at entry n, found again in the file as
// it is now: n itself, else the first entry holding that file; 0 when it is
// gone (changed elsewhere meanwhile).
int findEntry(const IniFile& ini, int n, const std::wstring& storedFile);

// Entry n's file becomes newPath (in "%path%" form under the replacement
// path), saved and refreshed. False when nothing was saved; the user has
// been told why.
bool relinkFavorite(HWND owner, int n, const std::wstring& storedFile, const std::wstring& newPath);

// Entry n removed, the entries after it renumbered as the Configure dialog
// numbers them, saved and refreshed. False when nothing was saved.
bool removeFavorite(HWND owner, int n, const std::wstring& storedFile);

}  // namespace missing

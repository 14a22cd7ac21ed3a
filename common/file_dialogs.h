// The platform's single-file open and save dialogs, through the test seam
// when the host offers one. filter is in the platform's
// "name\0pattern\0...\0" form; each answers the chosen full path, or empty
// when the user cancelled.
#pragma once

#include <windows.h>

#include <string>

namespace fav {

std::wstring chooseFileToOpen(HWND owner, const std::wstring& title, const std::wstring& folder,
                              const std::wstring& filter);
// Proposes defaultName in folder; asks before replacing a file, and adds the
// first pattern's extension to a name typed without one.
std::wstring chooseFileToSave(HWND owner, const std::wstring& title, const std::wstring& folder,
                              const std::wstring& defaultName, const std::wstring& filter);

}  // namespace fav

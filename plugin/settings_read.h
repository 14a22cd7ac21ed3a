// A settings file that exists but cannot be read (held by another program,
// an encoding we do not know, too large) is never taken for the list: what
// would change it asks the user first.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ini_file.h"

namespace plugin {

// The warning that names the file and the reason, for Retry and Cancel.
std::wstring readFailureMessage(const std::wstring& path, const std::wstring& reason);

// Loads path; while the file cannot be read, says so over owner with Retry
// and Cancel and loads again on Retry. Nothing after Cancel.
std::optional<IniFile> loadForChange(const std::wstring& path, HWND owner);

}  // namespace plugin

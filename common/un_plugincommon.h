// Small helpers the plug-in and the installer share. Free functions without
// state; every failure is swallowed and answered with an empty text, false or
// a default.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "string_cipher.h"

// Resolves the plug-in folder and the settings file (beside the DLL when that
// folder is writable, else under %APPDATA%\<host tail>\). hostKeyPath is asked
// only when needed. Outputs keep what was assigned when something fails.
void getIniFileLocation(const std::string& hostRootFolder, const std::string& pluginName,
                        std::string& pluginFolder, std::string& iniFileName,
                        const std::function<std::string()>& hostKeyPath);
// The decision behind getIniFileLocation with the platform's answers passed
// in: modulePath is the library's full path (empty when unknown), appData the
// value of APPDATA. An empty APPDATA leaves the settings file name unassigned,
// so the caller tries again later instead of using the root of the drive.
void resolveIniLocation(const std::wstring& modulePath, const std::wstring& appData,
                        const std::string& hostRootFolder, const std::string& pluginName,
                        const std::function<std::string()>& hostKeyPath,
                        std::string& pluginFolder, std::string& iniFileName);
// True when a file can be created in folder; leaves no "chk.tmp" behind.
bool isFolderWritable(const std::wstring& folder);
void moveOldIniFile(const std::string& oldIniFileName, const std::string& newIniFileName);

// FileVersion of the module this code is linked into (the DLL or the exe).
std::wstring getPluginVersion();
// FileVersion (string table 040904E4) of any file; empty when it has none.
std::wstring readFileVersion(const std::wstring& fileName);
std::wstring getPluginName(const std::wstring& fileName);

using KeyboardState = std::array<unsigned char, 256>;
KeyboardState readKeyboardState();  // GetKeyboardState, zeros on failure
bool isShiftDown(KeyboardState state);
bool isCtrlDown(KeyboardState state);
bool isAltDown(KeyboardState state);

// A fresh zero-terminated system-code-page copy; never freed by the caller.
char* allocNarrowText(const std::wstring& text);

// The shell folder browser; the path chosen, or empty. Answered through the
// UI seam when a test host provides one.
std::wstring browseForFolder(const std::wstring& title, unsigned flags, HWND owner = nullptr,
                             const std::wstring& startFolder = {});

bool between(int value, int low, int high);

// Module handle of the binary this code is linked into.
HMODULE thisModule();
std::wstring modulePath(HMODULE module);

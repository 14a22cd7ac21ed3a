// The installer's text logic that needs no window and no Windows headers:
// reading setup-file values, the host's registered open command, version
// texts, and which package paths the copy may touch.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The lines of a section as the private-profile service hands them over:
// zero-terminated lines, the list ended by an empty one.
std::vector<std::wstring> splitSectionBuffer(std::wstring_view buffer);

// The value of a key=value line: the text after its first "=" (empty when
// the line has none).
std::wstring entryValue(const std::wstring& line);

// The value of the n-th line (0-based), empty when the list is shorter.
std::wstring entryValueAt(const std::vector<std::wstring>& lines, size_t n);

// The host's open command, taken apart as the location lookup traces it.
struct HostLocation {
  int quotePosition = 0;     // 1-based position of the first '"' followed by a blank, or 0
  std::wstring programPath;  // between the opening quote and that closing quote
  std::wstring pluginFolder; // the program's folder followed by "PlugIns\"
};
HostLocation locationFromOpenCommand(const std::wstring& command);

// Everything up to and including the last '\' or ':'; empty when neither occurs.
std::wstring extractFilePath(const std::wstring& path);

std::wstring withTrailingDelimiter(const std::wstring& path);

// Leading and trailing blanks and control characters removed.
std::wstring trimVersionText(const std::wstring& text);

// True for one path component that Windows opens as a device rather than a
// file: CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9 (and the superscript
// 1 to 3 forms), CONIN$ and CONOUT$, in any case, with or without an
// extension and with trailing dots or blanks.
bool isDeviceName(std::wstring_view component);

// Why a package entry may not be copied.
enum class PackagePathProblem {
  None,
  Empty,
  Outside,  // rooted, a drive or stream colon, or a ".." component
  Device,   // a component is a device name
};
PackagePathProblem packagePathProblem(const std::wstring& path);

// True for a path that stays below the folder it is relative to and names
// files only: packagePathProblem is None. Package entries that fail this are
// refused by the copy.
bool isPackageRelativePath(const std::wstring& path);

// True for a full folder path the installer may copy into: a drive letter
// with its root ("C:\...") or a network share ("\\server\share..."), and no
// component that is a device name. Empty, relative, drive-relative ("C:x")
// and rooted-without-drive ("\x") paths depend on the current folder.
bool isInstallFolderPath(const std::wstring& path);

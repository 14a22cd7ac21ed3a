#include "un_tolvanesetup.h"

#include "ascii_case.h"

std::vector<std::wstring> splitSectionBuffer(std::wstring_view buffer) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  while (start < buffer.size()) {
    size_t end = buffer.find(L'\0', start);
    if (end == std::wstring_view::npos) end = buffer.size();
    if (end == start) break;  // the empty line that ends the list
    lines.emplace_back(buffer.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::wstring entryValue(const std::wstring& line) {
  const size_t eq = line.find(L'=');
  return eq == std::wstring::npos ? std::wstring() : line.substr(eq + 1);
}

std::wstring entryValueAt(const std::vector<std::wstring>& lines, size_t n) {
  return n < lines.size() ? entryValue(lines[n]) : std::wstring();
}

std::wstring extractFilePath(const std::wstring& path) {
  const size_t last = path.find_last_of(L"\\:");
  return last == std::wstring::npos ? std::wstring() : path.substr(0, last + 1);
}

HostLocation locationFromOpenCommand(const std::wstring& command) {
  HostLocation location;
  const size_t quoteBlank = command.find(L"\" ");
  location.quotePosition = quoteBlank == std::wstring::npos ? 0 : static_cast<int>(quoteBlank) + 1;
  // The characters from position 2 to p - 1: the path inside the quotes.
  if (location.quotePosition > 2)
    location.programPath = command.substr(1, static_cast<size_t>(location.quotePosition) - 2);
  location.pluginFolder = extractFilePath(location.programPath) + L"PlugIns\\";
  return location;
}

std::wstring withTrailingDelimiter(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\') return path;
  return path + L'\\';
}

std::wstring trimVersionText(const std::wstring& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && text[first] <= L' ') ++first;
  while (last > first && text[last - 1] <= L' ') --last;
  return text.substr(first, last - first);
}

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// Calls visit for every component of path from position start on; stops and
// answers false as soon as visit does.
template <typename Visit>
bool eachComponent(const std::wstring& path, size_t start, Visit visit) {
  while (start <= path.size()) {
    size_t end = path.find_first_of(L"\\/", start);
    if (end == std::wstring::npos) end = path.size();
    if (!visit(std::wstring_view(path.data() + start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

bool isDeviceName(std::wstring_view component) {
  // Windows keeps the device whatever follows the first dot, and ignores
  // blanks before it: "nul.txt" and "CON .ini" are devices too.
  std::wstring_view base = component.substr(0, component.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  for (std::wstring_view name : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
    if (fav::equalsIgnoringAsciiCase(base, name)) return true;
  if (base.size() != 4) return false;
  const std::wstring_view prefix = base.substr(0, 3);
  if (!fav::equalsIgnoringAsciiCase(prefix, L"COM") && !fav::equalsIgnoringAsciiCase(prefix, L"LPT")) return false;
  const wchar_t digit = base[3];
  return (digit >= L'1' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
         digit == L'\u00B3';
}

PackagePathProblem packagePathProblem(const std::wstring& path) {
  if (path.empty()) return PackagePathProblem::Empty;
  if (isSeparator(path[0]) || path.find(L':') != std::wstring::npos)
    return PackagePathProblem::Outside;
  PackagePathProblem problem = PackagePathProblem::None;
  eachComponent(path, 0, [&](std::wstring_view part) {
    if (isDeviceName(part)) {
      problem = PackagePathProblem::Device;
      return false;
    }
    // Trailing dots and blanks are dropped by the file system, so ".. " is "..".
    while (!part.empty() && (part.back() == L' ' || part.back() == L'.') && part != L"..")
      part.remove_suffix(1);
    if (part == L"..") {
      problem = PackagePathProblem::Outside;
      return false;
    }
    return true;
  });
  return problem;
}

bool isPackageRelativePath(const std::wstring& path) {
  return packagePathProblem(path) == PackagePathProblem::None;
}

bool isInstallFolderPath(const std::wstring& path) {
  size_t rest = 0;
  const bool driveRoot = path.size() >= 3 &&
                         ((path[0] >= L'A' && path[0] <= L'Z') ||
                          (path[0] >= L'a' && path[0] <= L'z')) &&
                         path[1] == L':' && isSeparator(path[2]);
  if (driveRoot) {
    rest = 3;
  } else if (path.size() >= 5 && isSeparator(path[0]) && isSeparator(path[1])) {
    // A share needs a server and a share name.
    const size_t serverEnd = path.find_first_of(L"\\/", 2);
    if (serverEnd == std::wstring::npos || serverEnd == 2) return false;
    if (serverEnd + 1 >= path.size() || isSeparator(path[serverEnd + 1])) return false;
    rest = serverEnd + 1;
  } else {
    return false;
  }
  return eachComponent(path, rest, [](std::wstring_view part) { return !isDeviceName(part); });
}

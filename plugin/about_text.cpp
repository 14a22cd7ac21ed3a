#include "about_text.h"

namespace about {
namespace {

constexpr size_t kContentWidth = kInfoLineWidth - 5;  // "// " ... "//"

struct Revision {
  const wchar_t* version;
  const wchar_t* what;  // lines of the what-column, '\n' between them
};

// Oldest first.
constexpr Revision kRevisions[] = {
    {L"0.1", L"first version"},
    {L"0.2", L"saves position and size of\nthe configuration window"},
    {L"0.3", L"favorites menu on the main\nmenu"},
    {L"0.4", L"show or hide the path in\nthe menu"},
    {L"0.5", L"menu name of your choice"},
    {L"0.6", L"button to load the files\nof a folder"},
    {L"0.7", L"separators"},
    {L"0.8", L"button to select single\nfiles"},
    {L"0.9", L"an open file is brought to\nthe front"},
    {L"0.10", L"supports host version 10"},
    {L"0.11", L"custom toolbar buttons"},
    {L"0.12", L"saves connection details"},
    {L"0.13", L"alias for a favorite file"},
    {L"0.14", L"replaces %path% with a\ncustom path"},
    {L"0.15", L"path for the images"},
    {L"0.16", L"sorted submenu list"},
    {L"0.17", L"option not to save the\nconnection on open"},
    {L"0.18", L"supports host version 12\nand its ribbon"},
    {L"0.19", L"icons on submenus"},
    {L"1.0", L"grid follows the light and\ndark modes"},
};

std::wstring padded(std::wstring text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), L' ');
  return text;
}

// "ver  who  what" with the first two columns 5 wide.
void addRevision(std::vector<std::wstring>& lines, const Revision& r) {
  std::wstring what = r.what;
  bool first = true;
  for (size_t start = 0;;) {
    const size_t end = what.find(L'\n', start);
    const std::wstring part = what.substr(start, end == std::wstring::npos ? end : end - start);
    lines.push_back(boxLine(padded(first ? r.version : L"", 5) + padded(first ? L"team" : L"", 5) +
                            part));
    first = false;
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
}

}  // namespace

std::wstring titleLine() { return L"Favorites plug-in for PL/SQL Developer"; }

std::wstring ownerLine(int year) {
  return L"\u00A9 " + std::to_wstring(year) + L" The Favorites authors";
}

std::wstring boxLine(const std::wstring& content) {
  return L"// " + padded(content.substr(0, kContentWidth), kContentWidth) + L"//";
}

std::wstring frameLine() { return std::wstring(kInfoLineWidth, L'/'); }

std::vector<std::wstring> infoText(int year) {
  std::vector<std::wstring> lines = {
      frameLine(),
      boxLine(L"PL/SQL Developer Plug-In"),
      boxLine(ownerLine(year)),
      boxLine(L"Contact: see the README"),
      boxLine(L"Web: https://example.org/favorites"),
      boxLine(L"     https://favorites.example.org"),
      frameLine(),
      boxLine(L"Use this plug-in to keep favorite"),
      boxLine(L"files available"),
      boxLine(L""),
      boxLine(L"Installs menu-items:"),
      boxLine(L""),
      boxLine(L"File / Favorite Files / Add Current"),
      boxLine(L"File / Favorite Files / Configure..."),
      boxLine(L""),
      boxLine(L"Thanks to everyone who tested it"),
      boxLine(L"and told us what went wrong."),
      frameLine(),
      boxLine(L"Revision history"),
      boxLine(L""),
      boxLine(L"ver  who  what"),
  };
  for (const Revision& r : kRevisions) addRevision(lines, r);
  lines.push_back(frameLine());
  return lines;
}

}  // namespace about

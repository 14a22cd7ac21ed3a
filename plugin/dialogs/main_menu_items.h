// The entries of the "To the right of" list, made from the host's main-menu
// captions. No Windows headers.
#pragma once

#include <string>
#include <vector>

// One entry per CR LF terminated line (text after the last CR LF counts as a
// final line). A line with leading or trailing blanks or control characters
// is skipped; an empty line gives an empty entry.
std::vector<std::wstring> mainMenuEntries(const std::wstring& names);

// Index of the first entry equal to value ignoring letter case, or -1.
int findMainMenuEntry(const std::vector<std::wstring>& entries, const std::wstring& value);

// Conversions between our UTF-16 texts and the host's narrow texts, always in
// the system code page (the form every text crossing the host boundary has).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "code_page.h"

namespace fav {

// Characters the code page cannot hold become its substitute character.
std::string toNarrow(std::wstring_view text);
std::wstring toWide(std::string_view text);

// True when every character of the text survives a round trip through the
// system code page (a file name outside it could never be opened by the host).
bool fitsCodePage(std::wstring_view text);
// The characters of text that do not survive that round trip, each once, in
// the order they first appear (a surrogate pair is one character).
std::vector<std::wstring> charactersOutsideCodePage(std::wstring_view text);

// The system code page as the settings core converts through it.
const CodePage& systemCodePage();

}  // namespace fav

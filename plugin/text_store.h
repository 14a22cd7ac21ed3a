// Texts handed to the host. The host may keep a returned pointer for as long as
// it likes, so buffers are never freed while the library is loaded; an equal
// text gets the same buffer back, so a day of menu refreshes does not grow
// memory without bound. Everything is released when the library unloads.
#pragma once

#include <string>

namespace plugin {

// A stable zero-terminated narrow copy of text.
const char* hostText(const std::string& text);
// The same for a UTF-16 text, converted to the system code page.
const char* hostText(const std::wstring& text);

void releaseHostTexts();

}  // namespace plugin

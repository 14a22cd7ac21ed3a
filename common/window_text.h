// The whole text of a window or control.
#pragma once

#include <windows.h>

#include <string>

namespace fav {

// Empty for no window, an empty text or a failure.
std::wstring windowText(HWND window);

}  // namespace fav

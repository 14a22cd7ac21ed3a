// What a part of the screen shows, saved as a 24-bit BMP (scripts turn them
// into PNG). Shared by the demo host's tour and the dialog tests.
#pragma once

#include <windows.h>

#include <filesystem>

namespace hostsim {

// Repaints the window and its children, then saves its rectangle on screen
// (including whatever lies on top of it, such as an open menu).
bool saveWindowShot(HWND window, const std::filesystem::path& bmpFile);
bool saveScreenRect(const RECT& rect, const std::filesystem::path& bmpFile);

}  // namespace hostsim

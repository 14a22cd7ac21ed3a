// Where a child dialog of the Configure dialog appears.
#pragma once

#include <windows.h>

// Centres dialog on around (the screen when null), kept inside the work area
// of around's monitor.
void centreOnWindow(HWND dialog, HWND around);

// Where a window of that size goes to be centred so.
RECT centredRect(SIZE size, HWND around);

// Sizes dialog so that its client area is width x height pixels.
void setClientSize(HWND dialog, int width, int height);

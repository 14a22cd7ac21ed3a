// Painting of one owner-drawn tab of a page (tab) control.
#pragma once

#include <windows.h>

// Fills rect (the active tab in the highlight colour, others in button face);
// with a tab index of 0 or more, draws that tab's caption in the matching
// text colour, clipped to rect, 4 by 2 pixels (at 96 DPI) from its corner.
void drawPageControlTab(HWND pageControl, HDC dc, int tabIndex, const RECT& rect, bool active);

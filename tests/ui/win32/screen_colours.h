// screen_colours.h
// What the Windows tests read of the screen: a window's pixels as the
// screen shows them, what a control is drawn in, and system colours set
// apart from each other first, since under Wine's defaults the texts are all
// black and a control in the wrong one would look right.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

// The pixels of a window's client area as the screen shows them, row by row.
std::vector<COLORREF> screenPixelsOf(HWND window);

// A colour as "rrggbb".
std::string hexOf(COLORREF colour);

// What a control shows on the screen: the colour most of it has, and the
// one farthest from that, its text's (the stems of a glyph take the full
// colour, however its edges are smoothed).
struct Drawn {
    COLORREF background = 0;
    COLORREF ink = 0;
    std::map<COLORREF, int> seen;  // pixels of each colour
    bool shows(COLORREF colour) const { return seen.count(colour) == 1; }
};
Drawn drawnOf(HWND control);

// Gives the texts and backgrounds the window uses colours all different
// from each other (under Wine, for every program started after too), and
// returns whether Windows now hands them out so.
bool setDistinctSystemColours();

// Whether an icon is shown inside a window, told from the screen's pixels: icon handles
// of another process cannot be examined.
#pragma once

#include <windows.h>

// True when `icon`, drawn at size x size pixels, appears pixel for pixel somewhere within
// the screen rectangle of `window` (its transparent pixels are not compared).
bool IsIconShownIn(HWND window, HICON icon, int size);

// Whether an icon is shown inside a window, told from the screen's pixels: icon handles
// of another process cannot be examined.
#pragma once

#include <windows.h>

// True when `icon`, drawn at size x size pixels, appears pixel for pixel somewhere within
// the screen rectangle of `window` (its transparent pixels are not compared).
bool IsIconShownIn(HWND window, HICON icon, int size);

// The same, polled until it holds or `timeoutMs` has passed: a window that has just
// become visible may not have painted yet.
bool WaitUntilIconShownIn(HWND window, HICON icon, int size, DWORD timeoutMs);

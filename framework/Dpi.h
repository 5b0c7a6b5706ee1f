// What the program sizes itself follows the DPI of its window, which under
// per-monitor awareness is that of the window's monitor. The functions for it
// are newer than Windows 7 and are looked up where the system has them.
#pragma once

#include <windows.h>

// The DPI of the window; the system DPI where Windows cannot say (before
// Windows 10, version 1607).
UINT WindowDpi(HWND window);

// A system metric (SM_CXICON, ...) at the DPI.
int SystemMetricForDpi(int index, UINT dpi);

// The icon resource at this size in pixels, scaled down from a larger image
// rather than up from a smaller one; null when it cannot be loaded. The
// caller destroys it.
HICON LoadIconOfSize(HINSTANCE module, const wchar_t* name, int size);

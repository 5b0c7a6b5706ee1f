// The main dialog's icons, at the sizes of its window's DPI.
#pragma once

#include <windows.h>

struct WindowIcons {
    HICON bigIcon = nullptr;    // SM_CXICON: Alt+Tab, the minimised window
    HICON smallIcon = nullptr;  // SM_CXSMICON: the taskbar, the caption
};

// Loads the application icon at the sizes of the DPI and gives both to the
// window; the icons held before are destroyed. Where an icon cannot be
// loaded, the window keeps the one it had.
void SetWindowIconsForDpi(HWND window, UINT dpi, WindowIcons& icons);

void DestroyWindowIcons(WindowIcons& icons);

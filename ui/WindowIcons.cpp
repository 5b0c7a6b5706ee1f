#include "ui/WindowIcons.h"

#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "res/resource.h"

namespace {

void Replace(HWND window, WPARAM kind, HICON made, HICON& held)
{
    if (made == nullptr)
        return;
    ::SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(made));
    if (held != nullptr)
        ::DestroyIcon(held);
    held = made;
}

}  // namespace

void SetWindowIconsForDpi(HWND window, UINT dpi, WindowIcons& icons)
{
    const wchar_t* name = MAKEINTRESOURCEW(IDR_MAINFRAME);
    HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON);
    if (module == nullptr)
        return;
    Replace(window, ICON_BIG, LoadIconOfSize(module, name, SystemMetricForDpi(SM_CXICON, dpi)), icons.bigIcon);
    Replace(window, ICON_SMALL, LoadIconOfSize(module, name, SystemMetricForDpi(SM_CXSMICON, dpi)), icons.smallIcon);
}

void DestroyWindowIcons(WindowIcons& icons)
{
    for (HICON* icon : {&icons.bigIcon, &icons.smallIcon}) {
        if (*icon != nullptr)
            ::DestroyIcon(*icon);
        *icon = nullptr;
    }
}

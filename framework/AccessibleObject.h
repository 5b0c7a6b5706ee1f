// What a screen reader learns of a control: the standard accessible object
// that Windows makes for any window, with a few answers laid over it.
// Dynamic annotation (IAccPropServices::SetHwndPropStr) would give a name
// alone; Wine 8 and 10 answer it E_NOTIMPL, while an answer to WM_GETOBJECT
// reaches a client in another process on both, as on Windows.
#pragma once

#include <windows.h>

#include <string>

struct AccessibleFacts {
    std::wstring name;           // empty: the standard name
    long role = 0;               // 0: the standard role
    std::wstring value;          // empty: the standard value
    std::wstring defaultAction;  // empty: the standard default action
    // Runs for the default action given above; the window may be gone by then.
    void (*doDefaultAction)(HWND window) = nullptr;
};

// The answer to WM_GETOBJECT for the window's client area; 0, to be left to
// the default procedure, for any other object or when no object can be made.
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam, LPARAM lParam, const AccessibleFacts& facts);

// Gives a control of a standard class its own accessible name, for as long
// as the control lives.
void GiveAccessibleName(HWND control, const std::wstring& name);

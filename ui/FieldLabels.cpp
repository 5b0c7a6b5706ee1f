#include "ui/FieldLabels.h"

#include <string>

#include "framework/AccessibleObject.h"
#include "res/resource.h"

namespace {

// The progress field keeps the standard name: it is shown only during an
// automatic run, whose dialog never appears.
const int kLabelledFields[] = {IDC_DECIMAL_EDIT, IDC_BINARY_EDIT, IDC_EXE_PATH};

RECT RectInDialog(HWND dialog, HWND control)
{
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool IsStaticText(HWND window)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return _wcsicmp(className, L"Static") == 0;
}

// The static text nearest above the field whose left edge is the field's;
// null when there is none.
HWND FindLabelAbove(HWND dialog, HWND field)
{
    const RECT fieldRect = RectInDialog(dialog, field);
    HWND label = nullptr;
    LONG labelBottom = 0;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!IsStaticText(child))
            continue;
        const RECT rect = RectInDialog(dialog, child);
        if (rect.left == fieldRect.left && rect.bottom <= fieldRect.top && (label == nullptr || rect.bottom > labelBottom)) {
            label = child;
            labelBottom = rect.bottom;
        }
    }
    return label;
}

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

}  // namespace

void NameFieldsByTheirLabels(HWND dialog)
{
    for (int id : kLabelledFields) {
        HWND field = ::GetDlgItem(dialog, id);
        HWND label = field != nullptr ? FindLabelAbove(dialog, field) : nullptr;
        if (label != nullptr)
            GiveAccessibleName(field, TextOf(label));
    }
}

#include "framework/StyledControls.h"

#include <oleacc.h>
#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "framework/AccessibleObject.h"
#include "framework/DlgInitData.h"
#include "framework/Dpi.h"

namespace {

const wchar_t kLinkClassName[] = L"MfcLink";
WNDPROC g_buttonProc = nullptr;

// A push button in every respect; it accepts its initial properties, whose
// appearance settings the native look covers.
LRESULT CALLBACK MfcButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kInitControlMessage)
        return TRUE;
    return ::CallWindowProcW(g_buttonProc, window, message, wParam, lParam);
}

struct LinkState {
    HFONT font = nullptr;            // as WM_SETFONT gave it
    LOGFONTW givenFont{};            // what it is, made for givenFontDpi
    UINT givenFontDpi = USER_DEFAULT_SCREEN_DPI;
    UINT dpi = USER_DEFAULT_SCREEN_DPI;  // the window's, as last told
    HFONT underlinedFont = nullptr;  // the given font underlined, at dpi
    std::wstring url;     // from the initial properties; empty: the caption
    std::wstring prefix;  // put before the address when it lacks it
    bool pressed = false;
};

LinkState* GetLinkState(HWND window) { return reinterpret_cast<LinkState*>(::GetWindowLongPtrW(window, GWLP_USERDATA)); }

std::wstring WidenAscii(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring WindowText(HWND window)
{
    wchar_t buffer[1024] = {};
    ::GetWindowTextW(window, buffer, 1024);
    return buffer;
}

std::wstring LinkAddress(HWND window, const LinkState& state)
{
    std::wstring address = state.url.empty() ? WindowText(window) : state.url;
    if (!state.prefix.empty() && address.compare(0, state.prefix.size(), state.prefix) != 0)
        address = state.prefix + address;
    return address;
}

void OpenLink(HWND window, const LinkState& state)
{
    ::ShellExecuteW(nullptr, L"open", LinkAddress(window, state).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenLinkOfWindow(HWND window)
{
    if (const LinkState* state = GetLinkState(window))
        OpenLink(window, *state);
}

// A screen reader announces a link with its address, and follows it through
// its default action as a click does.
LRESULT AnswerLinkObject(HWND window, WPARAM wParam, LPARAM lParam, const LinkState& state)
{
    AccessibleFacts facts;
    facts.name = LinkAddress(window, state);
    facts.value = facts.name;
    facts.role = ROLE_SYSTEM_LINK;
    facts.defaultAction = L"open";
    facts.doDefaultAction = OpenLinkOfWindow;
    return AnswerAccessibleObject(window, wParam, lParam, facts);
}

void MakeUnderlinedFont(LinkState& state)
{
    if (state.underlinedFont != nullptr)
        ::DeleteObject(state.underlinedFont);
    LOGFONTW logFont = state.givenFont;
    logFont.lfHeight = ::MulDiv(logFont.lfHeight, static_cast<int>(state.dpi), static_cast<int>(state.givenFontDpi));
    logFont.lfWidth = ::MulDiv(logFont.lfWidth, static_cast<int>(state.dpi), static_cast<int>(state.givenFontDpi));
    logFont.lfUnderline = TRUE;
    state.underlinedFont = ::CreateFontIndirectW(&logFont);
}

// The font given is taken to be made for the DPI the link last knew, which
// is also the one Windows makes a dialog's font for.
void SetLinkFont(LinkState& state, HFONT font)
{
    state.font = font;
    ::GetObjectW(font != nullptr ? font : ::GetStockObject(DEFAULT_GUI_FONT), sizeof state.givenFont, &state.givenFont);
    state.givenFontDpi = state.dpi;
    MakeUnderlinedFont(state);
}

void SetLinkDpi(LinkState& state, UINT dpi)
{
    state.dpi = dpi;
    MakeUnderlinedFont(state);
}

bool IsLink(HWND window)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return wcscmp(className, kLinkClassName) == 0;
}

void PaintLink(HWND window, const LinkState& state)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT client;
    ::GetClientRect(window, &client);
    // The parent supplies the background, as it does for its static texts.
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(window), WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    ::FillRect(dc, &client, brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE));

    HGDIOBJ oldFont = ::SelectObject(dc, state.underlinedFont);
    ::SetBkMode(dc, TRANSPARENT);
    // The system's hyperlink colour, read at every paint: a high-contrast
    // theme is nothing but another set of system colours.
    ::SetTextColor(dc, ::GetSysColor(COLOR_HOTLIGHT));
    const std::wstring caption = WindowText(window);
    RECT textRect = client;
    ::DrawTextW(dc, caption.c_str(), -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (::GetFocus() == window) {
        RECT focus = textRect;
        ::DrawTextW(dc, caption.c_str(), -1, &focus, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        ::OffsetRect(&focus, 0, (textRect.bottom - focus.bottom) / 2);
        // A gap keeps the dotted frame off the underline; like the text, it
        // grows with the window's DPI.
        const int gap = ::MulDiv(1, static_cast<int>(state.dpi), USER_DEFAULT_SCREEN_DPI);
        ::InflateRect(&focus, gap, gap);
        ::IntersectRect(&focus, &focus, &client);
        ::DrawFocusRect(dc, &focus);
    }
    ::SelectObject(dc, oldFont);
    ::EndPaint(window, &ps);
}

LRESULT CALLBACK MfcLinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LinkState* state = GetLinkState(window);
    switch (message) {
    case WM_NCCREATE:
        state = new LinkState;
        state->dpi = WindowDpi(window);
        SetLinkFont(*state, nullptr);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        break;
    case WM_NCDESTROY:
        if (state != nullptr) {
            ::DeleteObject(state->underlinedFont);
            delete state;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        }
        break;
    case WM_SETFONT:
        SetLinkFont(*state, reinterpret_cast<HFONT>(wParam));
        if (LOWORD(lParam))
            ::InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case WM_PAINT:
        PaintLink(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;  // painted whole in WM_PAINT
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SYSCOLORCHANGE:  // forwarded by the dialog, which alone is told
    case WM_THEMECHANGED:
        ::InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_SETCURSOR:
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_GETDLGCODE:
        return DLGC_BUTTON;
    case WM_LBUTTONDOWN:
        ::SetFocus(window);
        ::SetCapture(window);
        state->pressed = true;
        return 0;
    case WM_LBUTTONUP: {
        const bool wasPressed = state->pressed && ::GetCapture() == window;
        state->pressed = false;
        ::ReleaseCapture();
        RECT client;
        ::GetClientRect(window, &client);
        const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (wasPressed && ::PtInRect(&client, at))
            OpenLink(window, *state);
        return 0;
    }
    case WM_KEYUP:
        if (wParam == VK_SPACE)
            OpenLink(window, *state);
        return 0;
    case BM_CLICK:
        OpenLink(window, *state);
        return 0;
    case WM_GETOBJECT:
        if (state != nullptr)
            if (const LRESULT answer = AnswerLinkObject(window, wParam, lParam, *state))
                return answer;
        break;
    default:
        if (message == kInitControlMessage) {
            const std::string properties(reinterpret_cast<const char*>(lParam), wParam);
            state->url = WidenAscii(FindControlProperty(properties, "MFCLink_Url"));
            state->prefix = WidenAscii(FindControlProperty(properties, "MFCLink_UrlPrefix"));
            return TRUE;
        }
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void RegisterStyledControlClasses(HINSTANCE instance)
{
    WNDCLASSEXW button{};
    button.cbSize = sizeof button;
    if (::GetClassInfoExW(nullptr, L"Button", &button)) {
        g_buttonProc = button.lpfnWndProc;
        button.lpfnWndProc = MfcButtonProc;
        button.hInstance = instance;
        button.lpszClassName = L"MfcButton";
        ::RegisterClassExW(&button);
    }

    WNDCLASSEXW link{};
    link.cbSize = sizeof link;
    link.lpfnWndProc = MfcLinkProc;
    link.hInstance = instance;
    link.hCursor = ::LoadCursorW(nullptr, IDC_HAND);
    link.lpszClassName = kLinkClassName;
    ::RegisterClassExW(&link);
}

void ScaleLinksToDpi(HWND dialog, UINT dpi)
{
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        LinkState* state = IsLink(child) ? GetLinkState(child) : nullptr;
        if (state == nullptr)
            continue;
        SetLinkDpi(*state, dpi);
        ::InvalidateRect(child, nullptr, TRUE);
    }
}

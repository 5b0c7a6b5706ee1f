#include "framework/Dialog.h"

#include <cstring>
#include <vector>

#include "framework/DialogPlacement.h"
#include "framework/DlgInitData.h"
#include "framework/StyledControls.h"
#include "framework/WinApp.h"

namespace {

const wchar_t kDialogObjectProperty[] = L"NumveraDialogObject";
const wchar_t* const RT_DLGINIT_TYPE = MAKEINTRESOURCEW(NUMVERA_RT_DLGINIT);

// A copy of the template without WS_VISIBLE: the dialog is shown when its
// queue first goes idle, never while its initialisation may still end it.
std::vector<DWORD> LoadHiddenTemplate(HINSTANCE module, UINT templateId)
{
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    HGLOBAL loaded = resource != nullptr ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return {};
    const DWORD size = ::SizeofResource(module, resource);
    std::vector<DWORD> copy((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    std::memcpy(copy.data(), bytes, size);

    auto* words = reinterpret_cast<WORD*>(copy.data());
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    DWORD* style = extended ? &copy[3] : &copy[0];  // DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style
    *style &= ~static_cast<DWORD>(WS_VISIBLE);
    return copy;
}

POINT WindowOrigin(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return POINT{rect.left, rect.top};
}

bool AsksForItsOwnPosition(HWND dialog)
{
    const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
    return (style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) != 0;
}

ScreenRect ToScreenRect(const RECT& rect)
{
    return {static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
            static_cast<int>(rect.bottom)};
}

// Centres a dialog over its owner, or on its monitor when it has none
// (PlaceDialog says how).
void CentreDialog(HWND dialog)
{
    HWND owner = ::GetWindow(dialog, GW_OWNER);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTONEAREST), &info);
    const MonitorRects monitor{ToScreenRect(info.rcMonitor), ToScreenRect(info.rcWork)};
    RECT ownerRect{};
    if (owner != nullptr)
        ::GetWindowRect(owner, &ownerRect);
    const ScreenRect around = ToScreenRect(ownerRect);

    RECT rect{};
    ::GetWindowRect(dialog, &rect);
    const ScreenPoint at =
        PlaceDialog(rect.right - rect.left, rect.bottom - rect.top, monitor, owner != nullptr ? &around : nullptr);
    ::SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void DDX_Control(CDataExchange* pDX, int controlId, CWnd& control)
{
    if (control.m_hWnd == nullptr)
        control.m_hWnd = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, controlId);
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog* CDialog::FromHandle(HWND window)
{
    return window != nullptr ? static_cast<CDialog*>(::GetPropW(window, kDialogObjectProperty)) : nullptr;
}

HWND CDialog::GetSafeOwner() const
{
    if (m_pParentWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    // Like the framework: without a parent, the main window owns the dialog.
    CWnd* mainWnd = AfxGetApp()->m_pMainWnd;
    if (mainWnd == nullptr || mainWnd == this || mainWnd->m_hWnd == nullptr)
        return nullptr;
    return ::GetAncestor(mainWnd->m_hWnd, GA_ROOT);
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(m_templateId), RT_DIALOG);
    std::vector<DWORD> dialogTemplate = LoadHiddenTemplate(module, m_templateId);
    if (dialogTemplate.empty())
        return -1;

    HWND owner = GetSafeOwner();
    const bool disableOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);

    m_nModalResult = -1;
    m_continueModal = true;
    HWND window = ::CreateDialogIndirectParamW(module, reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
                                               owner, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    if (window != nullptr && m_continueModal)
        RunModalLoop();

    if (disableOwner) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    if (window != nullptr)
        ::DestroyWindow(window);
    m_hWnd = nullptr;
    if (AfxGetApp()->m_pMainWnd == this)
        AfxGetApp()->m_pMainWnd = nullptr;
    return window != nullptr ? m_nModalResult : -1;
}

void CDialog::RunModalLoop()
{
    CWinApp* app = AfxGetApp();
    bool showPending = true;
    while (m_continueModal) {
        MSG peek;
        if (showPending && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            ::UpdateWindow(m_hWnd);
            showPending = false;
            continue;
        }
        if (!app->PumpMessage())
            break;  // WM_QUIT, which stays for the loop outside
    }
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_continueModal = false;
    if (m_hWnd != nullptr)
        ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the modal loop
}

// Either way the exchange only binds controls, so the direction does not matter.
BOOL CDialog::UpdateData(BOOL /*saveAndValidate*/)
{
    CDataExchange dx(this);
    DoDataExchange(&dx);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange* /*pDX*/) {}

BOOL CDialog::OnInitDialog()
{
    ExecuteDlgInit();
    UpdateData(FALSE);
    return TRUE;
}

// A dialog comes up where the framework puts it: centred, unless its
// initialisation placed or showed it, or its template asks for a position
// of its own. The template's own coordinates (0, 0) would put it in a
// corner. A dialog already ended is left alone: it is never shown.
BOOL CDialog::InitDialog()
{
    const POINT before = WindowOrigin(m_hWnd);
    const BOOL result = OnInitDialog();
    const POINT after = WindowOrigin(m_hWnd);
    const bool moved = before.x != after.x || before.y != after.y;
    if (m_continueModal && !moved && !::IsWindowVisible(m_hWnd) && !AsksForItsOwnPosition(m_hWnd))
        CentreDialog(m_hWnd);
    return result;
}

// Sends each control its initial properties from the dialog-init resource
// that carries the template's id.
void CDialog::ExecuteDlgInit()
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(m_templateId), RT_DLGINIT_TYPE);
    if (module == nullptr)
        return;
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(m_templateId), RT_DLGINIT_TYPE);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const auto* bytes = static_cast<const unsigned char*>(::LockResource(loaded));
    if (bytes == nullptr)
        return;
    for (const DlgInitItem& item : ParseDlgInitResource(bytes, ::SizeofResource(module, resource))) {
        ::SendDlgItemMessageW(m_hWnd, item.controlId, item.message, item.data.size(),
                              reinterpret_cast<LPARAM>(item.data.c_str()));
    }
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    const bool input = (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) ||
                       (msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST);
    if (!input || m_hWnd == nullptr)
        return FALSE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, msg);
}

void CDialog::OnOK()
{
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnPaint() { ::DefWindowProcW(m_hWnd, WM_PAINT, 0, 0); }

HCURSOR CDialog::OnQueryDragIcon() { return nullptr; }

void CDialog::OnDpiChanged(UINT dpi, const RECT* suggested)
{
    if (suggested != nullptr)
        ::SetWindowPos(m_hWnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ScaleLinksToDpi(m_hWnd, dpi);
}

const AFX_MSGMAP* CDialog::GetMessageMap() const
{
    static const AFX_MSGMAP_ENTRY entries[] = {
        {IDOK, BN_CLICKED, static_cast<AFX_PMSG>(&CDialog::OnOK)},
        {IDCANCEL, BN_CLICKED, static_cast<AFX_PMSG>(&CDialog::OnCancel)},
    };
    static const AFX_MSGMAP map(CCmdTarget::GetMessageMap(), entries);
    return &map;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        dialog->m_hWnd = window;
        ::SetPropW(window, kDialogObjectProperty, dialog);
        return dialog->InitDialog();
    }
    // Messages such as WM_SETFONT arrive before WM_INITDIALOG: no object yet.
    CDialog* dialog = FromHandle(window);
    if (dialog == nullptr)
        return FALSE;
    if (message == WM_NCDESTROY) {
        ::RemovePropW(window, kDialogObjectProperty);
        return FALSE;
    }
    return dialog->HandleMessage(message, wParam, lParam);
}

INT_PTR CDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        // Commands the dialog does not map go on to the application object.
        return OnCmdMsg(LOWORD(wParam), HIWORD(wParam)) || AfxGetApp()->OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
    case WM_PAINT:
        OnPaint();
        return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
    case WM_SETCURSOR:
        // Keeps the wait cursor while messages are drained during long work.
        if (AfxGetApp()->WaitCursorCount() > 0) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
            ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_DPICHANGED:
        // A DPI of 0 says nothing. Not handled either way: the dialog
        // manager's own scaling follows.
        if (HIWORD(wParam) != 0)
            OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return FALSE;
    case WM_SYSCOLORCHANGE:
        // Only top-level windows are told; the controls draw with the colours too.
        for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
            ::SendMessageW(child, WM_SYSCOLORCHANGE, wParam, lParam);
        return FALSE;
    default:
        return FALSE;
    }
}

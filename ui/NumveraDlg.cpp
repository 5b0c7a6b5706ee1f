#include "ui/NumveraDlg.h"

#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "ui/IconPlacement.h"

CNumveraDlg::CNumveraDlg(CWnd* parent)
    : CDialogEx(IDD_MAIN, parent),
      m_hIcon(::LoadIconW(AfxFindResourceHandle(MAKEINTRESOURCEW(IDR_MAINFRAME), RT_GROUP_ICON),
                          MAKEINTRESOURCEW(IDR_MAINFRAME)))
{
}

CNumveraDlg::~CNumveraDlg() { DestroyWindowIcons(m_windowIcons); }

const AFX_MSGMAP* CNumveraDlg::GetMessageMap() const
{
    static const AFX_MSGMAP_ENTRY entries[] = {
        {IDC_ABOUT, BN_CLICKED, static_cast<AFX_PMSG>(&CNumveraDlg::OnAbout)},
        {IDOK, BN_CLICKED, static_cast<AFX_PMSG>(&CNumveraDlg::OnExit)},
        {IDC_CONVERT, BN_CLICKED, static_cast<AFX_PMSG>(&CNumveraDlg::OnConvert)},
        {IDC_AUTO_RUN, BN_CLICKED, static_cast<AFX_PMSG>(&CNumveraDlg::OnAutoRunClicked)},
    };
    static const AFX_MSGMAP map(CDialogEx::GetMessageMap(), entries);
    return &map;
}

void CNumveraDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialogEx::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DECIMAL_EDIT, m_decimalEdit);
    DDX_Control(pDX, IDC_BINARY_EDIT, m_binaryEdit);
    DDX_Control(pDX, IDC_PROGRESS_TEXT, m_progressTextEdit);
    DDX_Control(pDX, IDC_PROGRESS, m_progressBar);
    DDX_Control(pDX, IDOK, m_exitButton);
    DDX_Control(pDX, IDC_SHOW_MESSAGES, m_showMessagesCheck);
    DDX_Control(pDX, IDC_AUTO_RUN, m_autoRunCheck);
    DDX_Control(pDX, IDC_EXE_PATH, m_exePathEdit);
}

// Key-downs never reach the dialog manager: Tab, the arrow keys, Enter and
// Esc neither move the focus nor press the default or cancel button. They go
// to the focused control like in an ordinary window.
BOOL CNumveraDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN)
        return FALSE;
    return CDialogEx::PreTranslateMessage(msg);
}

void CNumveraDlg::OnPaint()
{
    if (!IsIconic()) {
        CDialogEx::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const UINT dpi = WindowDpi(m_hWnd);
    const int iconWidth = SystemMetricForDpi(SM_CXICON, dpi);
    const int iconHeight = SystemMetricForDpi(SM_CYICON, dpi);
    RECT client;
    GetClientRect(&client);
    const IconOrigin at = CenterIconInClient(client.right - client.left, client.bottom - client.top, iconWidth, iconHeight);
    HICON icon = m_windowIcons.bigIcon != nullptr ? m_windowIcons.bigIcon : m_hIcon;
    ::DrawIconEx(dc.GetSafeHdc(), at.x, at.y, icon, iconWidth, iconHeight, 0, nullptr, DI_NORMAL);
}

HCURSOR CNumveraDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

// Windows has rescaled the template's controls and fonts by itself; the
// icons are the program's own to make again.
void CNumveraDlg::OnDpiChanged(UINT dpi, const RECT* suggested)
{
    CDialogEx::OnDpiChanged(dpi, suggested);
    SetWindowIconsForDpi(m_hWnd, dpi, m_windowIcons);
}

// Fetches and dispatches whatever is waiting in the thread's queue; stops at
// the quit message, which stays queued, and the run goes on.
void CNumveraDlg::PumpPendingMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!AfxGetApp()->PumpMessage())
            break;
    }
}

void CNumveraDlg::OnAbout()
{
    CDialog about(IDD_ABOUTBOX);
    about.DoModal();
}

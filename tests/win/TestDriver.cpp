#include "tests/win/TestDriver.h"

#include "tests/win/NumveraTestEnvironment.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdio>

namespace driver {

namespace {

struct WindowSearch {
    DWORD processId;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && (!search->visibleOnly || ::IsWindowVisible(window)))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, bool visibleOnly)
{
    WindowSearch search{processId, visibleOnly, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Renders the standard icon the way a message box draws it, for comparison.
std::vector<COLORREF> RenderIcon(HICON icon, int size, COLORREF background)
{
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HBRUSH brush = ::CreateSolidBrush(background);
    RECT all{0, 0, size, size};
    ::FillRect(memory, &all, brush);
    ::DrawIconEx(memory, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            pixels.push_back(::GetPixel(memory, x, y));
    ::SelectObject(memory, old);
    ::DeleteObject(brush);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

int ColorDistance(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
           std::abs(GetBValue(a) - GetBValue(b));
}

// {618736E0-3C3D-11CF-810C-00AA00389B71}, spelled out: MinGW's, linked
// statically, resolves to another value.
constexpr GUID kIAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// A single-threaded apartment for the span of one look at an accessible object.
class ComApartment {
public:
    ComApartment() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_result;
};

std::wstring TakeText(BSTR text)
{
    std::wstring taken = text != nullptr ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return taken;
}

VARIANT Self()
{
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

}  // namespace

DWORD StartProcess(const std::wstring& exePath, std::wstring commandLine, const std::wstring& documentsDir,
                   STARTUPINFOW& startup, bool inheritHandles, PROCESS_INFORMATION* process)
{
    std::vector<wchar_t> environment = testenv::EnvironmentWithDocuments(documentsDir);
    DWORD error = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (::CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, inheritHandles,
                             CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup, process))
            return 0;
        error = ::GetLastError();
        *process = PROCESS_INFORMATION{};
        ::Sleep(200);
    }
    return error;
}

Program::Program(const std::wstring& exePath, const std::wstring& documentsDir, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + exePath + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    m_startError = StartProcess(exePath, commandLine, documentsDir, startup, false, &m_process);
}

Program::~Program()
{
    if (m_process.hProcess == nullptr)
        return;
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process.hProcess, 99);
        ::WaitForSingleObject(m_process.hProcess, 5000);
    }
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
}

HWND Program::WaitForWindow(const std::wstring& caption, DWORD timeoutMs) const
{
    HWND result = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : VisibleTopLevelWindows(m_process.dwProcessId)) {
                if (WindowCaption(window) == caption) {
                    result = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return result;
}

bool Program::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const
{
    if (::WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    ::GetExitCodeProcess(m_process.hProcess, exitCode);
    return true;
}

std::vector<MessageBoxInfo> Program::MessageBoxes() const { return ProcessMessageBoxes(m_process.dwProcessId); }

bool Program::AnswerMessageBox(DWORD timeoutMs, MessageBoxInfo* seen) const
{
    std::vector<MessageBoxInfo> boxes;
    if (!WaitUntil([&] { return !(boxes = MessageBoxes()).empty(); }, timeoutMs))
        return false;
    ::Sleep(200);  // the icon is told apart by what the screen shows
    MessageBoxInfo box = boxes.front();
    box.icon = ClassifyMessageIcon(box.window);
    box.foreground = ::GetForegroundWindow() == box.window;
    PressOk(box.window);
    if (seen != nullptr)
        *seen = box;
    return WaitUntil([&] { return !::IsWindow(box.window) || !::IsWindowVisible(box.window); }, timeoutMs);
}

std::vector<MessageBoxInfo> ProcessMessageBoxes(DWORD processId)
{
    std::vector<MessageBoxInfo> boxes;
    for (HWND window : VisibleTopLevelWindows(processId)) {
        // A message box is a dialog whose text is the static control 0xFFFF.
        HWND textControl = ::GetDlgItem(window, 0xFFFF);
        if (ClassNameOf(window) != L"#32770" || textControl == nullptr)
            continue;
        boxes.push_back({window, WindowCaption(window), ControlText(window, 0xFFFF), ClassifyMessageIcon(window),
                         ::GetWindow(window, GW_OWNER), ::GetForegroundWindow() == window});
    }
    return boxes;
}

std::vector<HWND> VisibleTopLevelWindows(DWORD processId) { return TopLevelWindows(processId, true); }

std::vector<HWND> AllTopLevelWindows(DWORD processId) { return TopLevelWindows(processId, false); }

std::wstring WindowCaption(HWND window)
{
    wchar_t buffer[512] = {};
    ::GetWindowTextW(window, buffer, 512);
    return buffer;
}

std::wstring ClassNameOf(HWND window)
{
    wchar_t buffer[256] = {};
    ::GetClassNameW(window, buffer, 256);
    return buffer;
}

std::wstring ControlText(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    const LRESULT length = ::SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return text;
}

void SetControlText(HWND dialog, int id, const std::wstring& text)
{
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PostClick(HWND dialog, int id) { ::PostMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

int CheckState(HWND dialog, int id) { return static_cast<int>(::SendMessageW(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0)); }

bool IsControlVisible(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE; }

bool IsControlEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

void FocusControl(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, id)), TRUE);
}

int FocusedControlId(HWND dialog)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &info) || info.hwndFocus == nullptr)
        return 0;
    return ::GetDlgCtrlID(info.hwndFocus);
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// A message box shows its icon in a static control of style SS_ICON (id
// 0x14 on Windows, 0x440 under Wine). The icon handle belongs to the other
// process, so the icon is told apart by its pixels on screen, compared with
// the standard icons drawn here. Needs a display.
MessageIcon ClassifyMessageIcon(HWND messageBox)
{
    HWND iconControl = nullptr;
    for (HWND child : ChildWindows(messageBox)) {
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        if (ClassNameOf(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(child))
            iconControl = child;
    }
    if (iconControl == nullptr)
        return MessageIcon::None;
    RECT rect;
    ::GetWindowRect(iconControl, &rect);
    const int size = std::min<int>(rect.right - rect.left, rect.bottom - rect.top);
    if (size <= 0)
        return MessageIcon::None;
    HDC screen = ::GetDC(nullptr);
    const COLORREF background = ::GetPixel(screen, rect.left, rect.top);
    std::vector<COLORREF> shown;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            shown.push_back(::GetPixel(screen, rect.left + x, rect.top + y));
    ::ReleaseDC(nullptr, screen);

    const struct {
        LPCWSTR id;
        MessageIcon kind;
    } candidates[] = {{IDI_HAND, MessageIcon::Error}, {IDI_ASTERISK, MessageIcon::Information},
                      {IDI_EXCLAMATION, MessageIcon::Other}, {IDI_QUESTION, MessageIcon::Other}};
    MessageIcon best = MessageIcon::Other;
    long long bestDistance = -1;
    for (const auto& candidate : candidates) {
        HICON icon = static_cast<HICON>(::LoadImageW(nullptr, candidate.id, IMAGE_ICON, size, size, LR_SHARED));
        const std::vector<COLORREF> reference = RenderIcon(icon, size, background);
        long long distance = 0;
        for (size_t i = 0; i < shown.size(); ++i)
            distance += ColorDistance(shown[i], reference[i]);
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = candidate.kind;
        }
    }
    return best;
}

void PressOk(HWND messageBox) { ::PostMessageW(::GetDlgItem(messageBox, IDOK), BM_CLICK, 0, 0); }


bool PressKeysThroughX(HWND topLevel, const std::vector<std::string>& keys)
{
    const auto xWindow = reinterpret_cast<ULONG_PTR>(::GetPropW(topLevel, L"__wine_x11_whole_window"));
    if (xWindow == 0)
        return false;
    std::vector<std::string> command{"xdotool", "windowfocus", "--sync", std::to_string(xWindow), "key", "--delay", "30"};
    command.insert(command.end(), keys.begin(), keys.end());
    return testenv::RunUnixCommand(command);
}

bool ClickThroughX(HWND control)
{
    RECT rect;
    if (!::GetWindowRect(control, &rect))
        return false;
    // Unmanaged Wine windows sit on the X screen at their Windows position.
    return testenv::RunUnixCommand({"xdotool", "mousemove", "--sync", std::to_string((rect.left + rect.right) / 2),
                           std::to_string((rect.top + rect.bottom) / 2), "click", "1"});
}

AccessibleView ViewOf(HRESULT found, IAccessible* object)
{
    AccessibleView view{found, {}, 0, {}, {}};
    if (FAILED(found) || object == nullptr)
        return view;
    BSTR text = nullptr;
    if (object->get_accName(Self(), &text) == S_OK)
        view.name = TakeText(text);
    VARIANT role;
    ::VariantInit(&role);
    if (object->get_accRole(Self(), &role) == S_OK && role.vt == VT_I4)
        view.role = role.lVal;
    ::VariantClear(&role);
    text = nullptr;
    if (object->get_accValue(Self(), &text) == S_OK)
        view.value = TakeText(text);
    text = nullptr;
    if (object->get_accDefaultAction(Self(), &text) == S_OK)
        view.defaultAction = TakeText(text);
    object->Release();
    return view;
}

AccessibleView ReadAccessibleObject(HWND control)
{
    ComApartment apartment;
    IAccessible* object = nullptr;
    const HRESULT found = ::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                                       reinterpret_cast<void**>(&object));
    return ViewOf(found, object);
}

AccessibleView ReadStandardAccessibleObject(HWND control)
{
    ComApartment apartment;
    IAccessible* object = nullptr;
    const HRESULT found = ::CreateStdAccessibleObject(control, OBJID_CLIENT, kIAccessible, reinterpret_cast<void**>(&object));
    return ViewOf(found, object);
}

HRESULT DoAccessibleDefaultAction(HWND control)
{
    ComApartment apartment;
    IAccessible* object = nullptr;
    HRESULT result = ::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), kIAccessible,
                                                  reinterpret_cast<void**>(&object));
    if (FAILED(result))
        return result;
    result = object->accDoDefaultAction(Self());
    object->Release();
    return result;
}

ScopedSystemColours::ScopedSystemColours(const std::vector<std::pair<int, COLORREF>>& colours)
{
    std::vector<COLORREF> wanted;
    for (const auto& [index, colour] : colours) {
        m_indexes.push_back(index);
        m_before.push_back(::GetSysColor(index));
        wanted.push_back(colour);
    }
    ::SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), wanted.data());
}

ScopedSystemColours::~ScopedSystemColours()
{
    ::SetSysColors(static_cast<int>(m_indexes.size()), m_indexes.data(), m_before.data());
}

WindowPixels CaptureWindow(HWND window)
{
    WindowPixels image;
    RECT rect;
    if (!::GetWindowRect(window, &rect))
        return image;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = rect.right - rect.left;
    header.biHeight = -(rect.bottom - rect.top);  // top-down
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    if (bits != nullptr && ::BitBlt(memory, 0, 0, header.biWidth, -header.biHeight, screen, rect.left, rect.top, SRCCOPY)) {
        ::GdiFlush();
        image.width = header.biWidth;
        image.height = -header.biHeight;
        const auto* quads = static_cast<const RGBQUAD*>(bits);
        for (int i = 0; i < image.width * image.height; ++i)
            image.pixels.push_back(RGB(quads[i].rgbRed, quads[i].rgbGreen, quads[i].rgbBlue));
    }
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return image;
}

ColumnSpan ColumnsShowing(const WindowPixels& image, COLORREF colour)
{
    ColumnSpan span{-1, -1};
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        if (image.pixels[i] != colour)
            continue;
        const int column = static_cast<int>(i % static_cast<size_t>(image.width));
        span.first = span.first < 0 ? column : std::min(span.first, column);
        span.last = std::max(span.last, column);
    }
    return span;
}

size_t CountPixels(const WindowPixels& image, COLORREF colour)
{
    return static_cast<size_t>(std::count(image.pixels.begin(), image.pixels.end(), colour));
}

std::vector<SIZE> IconSizesOnX(HWND topLevel)
{
    const auto xWindow = reinterpret_cast<ULONG_PTR>(::GetPropW(topLevel, L"__wine_x11_whole_window"));
    wchar_t temp[MAX_PATH] = {};
    if (xWindow == 0 || ::GetTempPathW(MAX_PATH, temp) == 0)
        return {};
    const std::wstring listing = temp + std::wstring(L"icon-sizes-") + std::to_wstring(::GetCurrentProcessId()) + L".txt";
    const std::string tool = testenv::UnixPathOf(testenv::BesideTestProgram(L"window-icon-sizes"));
    std::vector<SIZE> sizes;
    if (testenv::RunUnixCommand({tool, std::to_string(xWindow), testenv::UnixPathOf(listing)})) {
        const std::string text = testenv::ReadFileBytes(listing);
        for (size_t at = 0; at < text.size();) {
            SIZE size{};
            int taken = 0;
            if (std::sscanf(text.c_str() + at, "%ldx%ld\n%n", &size.cx, &size.cy, &taken) < 2 || taken == 0)
                break;
            sizes.push_back(size);
            at += static_cast<size_t>(taken);
        }
    }
    ::DeleteFileW(listing.c_str());
    return sizes;
}

bool SendDpiChanged(HWND window, UINT dpi, const RECT* suggested)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr)
        return false;
    void* remote = nullptr;
    bool written = suggested == nullptr;
    if (suggested != nullptr) {
        remote = ::VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        written = remote != nullptr && ::WriteProcessMemory(process, remote, suggested, sizeof(RECT), nullptr);
    }
    DWORD_PTR result = 0;
    const bool sent = written && ::SendMessageTimeoutW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                                                       reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 10000, &result) != 0;
    if (remote != nullptr)
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
    return sent;
}

bool SaveWindowImage(HWND window, const std::wstring& bmpPath)
{
    RECT rect;
    if (!::GetWindowRect(window, &rect))
        return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as BMP files store rows
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    header.biSizeImage = rowBytes * static_cast<DWORD>(height);

    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const bool copied = ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
    ::GdiFlush();

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    bool written = false;
    HANDLE output = ::CreateFileW(bmpPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (copied && output != INVALID_HANDLE_VALUE) {
        DWORD done = 0;
        written = ::WriteFile(output, &file, sizeof file, &done, nullptr) &&
                  ::WriteFile(output, &header, sizeof header, &done, nullptr) &&
                  ::WriteFile(output, bits, header.biSizeImage, &done, nullptr);
    }
    if (output != INVALID_HANDLE_VALUE)
        ::CloseHandle(output);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return written;
}

}  // namespace driver

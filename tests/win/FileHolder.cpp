#include "tests/win/FileHolder.h"

#include "tests/win/NumveraTestEnvironment.h"

#include <atomic>
#include <string>

namespace {

constexpr DWORD kOpenTimeoutMs = 10000;
constexpr DWORD kQuitTimeoutMs = 10000;

std::wstring Hex(DWORD value)
{
    wchar_t text[16] = {};
    ::swprintf(text, 16, L"0x%lX", static_cast<unsigned long>(value));
    return text;
}

// Names unique across processes and across holders of one process.
std::wstring EventName(const wchar_t* role)
{
    static std::atomic<unsigned> counter{0};
    return L"Local\\NumveraHoldFile-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter) + L"-" + role;
}

// Starts the helper on named events made here; its process, or null.
HANDLE StartHolder(const std::wstring& path, DWORD access, DWORD share, DWORD creation, HANDLE* ready, HANDLE* quit,
                   const std::wstring& lettingGoAfter)
{
    const std::wstring readyName = EventName(L"ready");
    const std::wstring quitName = EventName(L"quit");
    *ready = ::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    *quit = ::CreateEventW(nullptr, TRUE, FALSE, quitName.c_str());
    if (*ready == nullptr || *quit == nullptr)
        return nullptr;

    const std::wstring helper = testenv::BesideTestProgram(L"numvera_hold_file.exe");
    std::wstring commandLine = testenv::QuotedArgument(helper) + L" " + testenv::QuotedArgument(path) + L" " +
                               Hex(access) + L" " + Hex(share) + L" " + Hex(creation) + L" " +
                               testenv::QuotedArgument(readyName) + L" " + testenv::QuotedArgument(quitName) +
                               lettingGoAfter;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(helper.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process))
        return nullptr;
    ::CloseHandle(process.hThread);
    return process.hProcess;
}

// The helper either signals that it holds the file or ends.
bool HoldsTheFile(HANDLE ready, HANDLE process)
{
    const HANDLE waitFor[] = {ready, process};
    return ::WaitForMultipleObjects(2, waitFor, FALSE, kOpenTimeoutMs) == WAIT_OBJECT_0;
}

void CloseIfOpen(HANDLE handle)
{
    if (handle != nullptr)
        ::CloseHandle(handle);
}

}  // namespace

bool HoldFileFor(DWORD ms, const std::wstring& path, DWORD access, DWORD share)
{
    HANDLE ready = nullptr, quit = nullptr;
    HANDLE process = StartHolder(path, access, share, OPEN_EXISTING, &ready, &quit, L" " + std::to_wstring(ms));
    const bool holding = process != nullptr && HoldsTheFile(ready, process);
    for (HANDLE handle : {process, quit, ready})
        CloseIfOpen(handle);
    return holding;
}

FileHolder::FileHolder(const std::wstring& path, DWORD access, DWORD share, DWORD creation)
{
    m_process = StartHolder(path, access, share, creation, &m_ready, &m_quit, L"");
    m_holding = m_process != nullptr && HoldsTheFile(m_ready, m_process);
}

FileHolder::~FileHolder()
{
    if (m_process != nullptr) {
        ::SetEvent(m_quit);
        if (::WaitForSingleObject(m_process, kQuitTimeoutMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(m_process, 1);
            ::WaitForSingleObject(m_process, INFINITE);
        }
        ::CloseHandle(m_process);
    }
    CloseIfOpen(m_quit);
    CloseIfOpen(m_ready);
}

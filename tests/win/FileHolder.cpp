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

}  // namespace

FileHolder::FileHolder(const std::wstring& path, DWORD access, DWORD share, DWORD creation, DWORD letGoAfterMs)
    : m_lettingGoItself(letGoAfterMs != INFINITE)
{
    const std::wstring readyName = EventName(L"ready");
    const std::wstring quitName = EventName(L"quit");
    m_ready = ::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    m_quit = ::CreateEventW(nullptr, TRUE, FALSE, quitName.c_str());
    if (m_ready == nullptr || m_quit == nullptr)
        return;

    const std::wstring helper = testenv::BesideTestProgram(L"numvera_hold_file.exe");
    std::wstring commandLine = testenv::QuotedArgument(helper) + L" " + testenv::QuotedArgument(path) + L" " +
                               Hex(access) + L" " + Hex(share) + L" " + Hex(creation) + L" " +
                               testenv::QuotedArgument(readyName) + L" " + testenv::QuotedArgument(quitName) +
                               (m_lettingGoItself ? L" " + std::to_wstring(letGoAfterMs) : L"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(helper.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process))
        return;
    ::CloseHandle(process.hThread);
    m_process = process.hProcess;

    // The helper either signals that it holds the file or ends.
    const HANDLE waitFor[] = {m_ready, m_process};
    m_holding = ::WaitForMultipleObjects(2, waitFor, FALSE, kOpenTimeoutMs) == WAIT_OBJECT_0;
}

FileHolder::~FileHolder()
{
    if (m_process != nullptr && !m_lettingGoItself) {
        ::SetEvent(m_quit);
        if (::WaitForSingleObject(m_process, kQuitTimeoutMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(m_process, 1);
            ::WaitForSingleObject(m_process, INFINITE);
        }
    }
    if (m_process != nullptr)
        ::CloseHandle(m_process);
    if (m_quit != nullptr)
        ::CloseHandle(m_quit);
    if (m_ready != nullptr)
        ::CloseHandle(m_ready);
}

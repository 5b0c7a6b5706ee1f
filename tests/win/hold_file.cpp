// Test helper run as a second process: opens a file and keeps it open until
// told to stop, so that tests meet share modes the way another program
// imposes them.
//
//   numvera_hold_file.exe PATH ACCESS SHARE CREATION READY-EVENT QUIT-EVENT [MS]
//
// ACCESS, SHARE, CREATION and MS are numbers (0x prefix for hex). On a
// successful open READY-EVENT is signalled and the file stays open until
// QUIT-EVENT is signalled or MS milliseconds have passed; a failed open ends
// the process with the error code.
#include <windows.h>

#include <cwchar>

namespace {

constexpr int kUsage = 2;

DWORD Number(const wchar_t* text) { return static_cast<DWORD>(std::wcstoul(text, nullptr, 0)); }

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 7 && argc != 8)
        return kUsage;
    HANDLE ready = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[5]);
    HANDLE quit = ::OpenEventW(SYNCHRONIZE, FALSE, argv[6]);
    if (ready == nullptr || quit == nullptr)
        return kUsage;
    HANDLE file = ::CreateFileW(argv[1], Number(argv[2]), Number(argv[3]), nullptr, Number(argv[4]),
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error != 0 ? static_cast<int>(error) : 1;
    }
    ::SetEvent(ready);
    ::WaitForSingleObject(quit, argc == 8 ? Number(argv[7]) : INFINITE);
    ::CloseHandle(file);
    return 0;
}

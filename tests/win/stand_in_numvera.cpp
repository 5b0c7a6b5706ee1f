// A stand-in for Numvera.exe in the tests of numvera-drive.exe, started by
// the client through --exe. It takes the request the way a faulty program,
// or a file system with other programs about, might; the variable
// NUMVERA_STAND_IN says which:
//   forget        removes the input and writes no result
//   wrong-digits  answers with the last binary digit of every number flipped
//   a-line-more   answers with one line more than the numbers asked for
//   crash         answers, then ends with the status of a crash
//   linger        answers while another process holds the input open for a
//                 moment, letting it be removed: its name outlives the removal
//   refuse-held   refuses while another process holds the input open for a
//                 moment without letting it be removed
//   refuse-held-long  the same, the input held for longer than anyone waits
//   answer-and-rewrite  answers, and then the same bytes are written anew as a
//                 new input file, as a second driving program may do right
//                 after Numvera.exe has ended
//   end-with      ends with the status NUMVERA_STAND_IN_STATUS, touching nothing
// That other process is numvera_hold_file.exe (FileHolder.h), which lies
// beside the stand-in.
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "protocol/FileProtocol.h"
#include "tests/win/FileHolder.h"
#include "tests/win/NumveraTestEnvironment.h"

namespace {

constexpr DWORD kMomentMs = 300;
constexpr DWORD kLongerThanAnyWaitMs = 4000;
constexpr int kUsage = 2;
constexpr DWORD kCrash = 0xC0000005;  // an access violation

std::wstring Documents()
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

std::vector<uint32_t> ValuesOf(const std::string& input)
{
    std::vector<uint32_t> values;
    std::string line;
    for (char c : input + "\n") {
        if (c == '\n') {
            if (!line.empty())
                values.push_back(static_cast<uint32_t>(std::stoul(line)));
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    return values;
}

std::string ResultOf(const std::vector<uint32_t>& values, bool flipLastDigit)
{
    std::string result;
    for (uint32_t value : values) {
        std::string digits = testenv::BinaryDigits(value);
        if (flipLastDigit)
            digits.back() = digits.back() == '0' ? '1' : '0';
        result += digits + "\r\n";
    }
    return result;
}

// Another program holds the input for ms milliseconds, reading; the
// stand-in goes on at once.
bool HoldFor(DWORD ms, const std::wstring& path, DWORD share)
{
    return FileHolder(path, GENERIC_READ, share, OPEN_EXISTING, ms).Holding();
}

}  // namespace

int wmain(int, wchar_t**)
{
    wchar_t mode[64] = {};
    ::GetEnvironmentVariableW(L"NUMVERA_STAND_IN", mode, 64);
    const std::wstring documents = Documents();
    const std::wstring input = documents + kAutoSuffix + kInputFileSuffix;
    const std::wstring result = documents + kResultSuffix + kResultFileSuffix;
    const std::string bytes = testenv::ReadFileBytes(input);
    const std::vector<uint32_t> values = ValuesOf(bytes);
    const std::wstring behaviour = mode;
    if (behaviour == L"end-with") {
        wchar_t status[16] = {};
        ::GetEnvironmentVariableW(L"NUMVERA_STAND_IN_STATUS", status, 16);
        return static_cast<int>(std::wcstoul(status, nullptr, 10));
    }
    const bool known = behaviour == L"forget" || behaviour == L"wrong-digits" || behaviour == L"a-line-more" ||
                       behaviour == L"crash" ||
                       behaviour == L"linger" || behaviour == L"refuse-held" ||
                       behaviour == L"refuse-held-long" || behaviour == L"answer-and-rewrite";
    if (!known || documents.empty() || values.empty())
        return kUsage;
    ::CreateDirectoryW((documents + kResultSuffix).c_str(), nullptr);

    if (behaviour == L"refuse-held" || behaviour == L"refuse-held-long") {
        const DWORD ms = behaviour == L"refuse-held" ? kMomentMs : kLongerThanAnyWaitMs;
        return HoldFor(ms, input, FILE_SHARE_READ | FILE_SHARE_WRITE) ? static_cast<int>(Refusal::ResultNotWritten)
                                                                      : kUsage;
    }
    const std::string lineMore = behaviour == L"a-line-more" ? "1\r\n" : "";
    if (behaviour != L"forget" &&
        !testenv::WriteFileBytes(result, ResultOf(values, behaviour == L"wrong-digits") + lineMore))
        return kUsage;
    if (behaviour == L"linger" && !HoldFor(kMomentMs, input, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE))
        return kUsage;
    if (behaviour == L"answer-and-rewrite") {
        // Moved away before it is removed, its name is free at once on both
        // Wine lines, as Numvera.exe's removal frees it on Windows 10: where a
        // removal waits for the last handle, the client's would keep it.
        const std::wstring answered = input + L".answered";
        return ::MoveFileExW(input.c_str(), answered.c_str(), 0) && ::DeleteFileW(answered.c_str()) &&
                       testenv::WriteFileBytes(input, bytes)
                   ? 0
                   : kUsage;
    }
    if (!::DeleteFileW(input.c_str()))
        return kUsage;
    return behaviour == L"crash" ? static_cast<int>(kCrash) : 0;
}

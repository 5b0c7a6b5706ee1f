// A stand-in for Numvera.exe in the tests of numvera-drive.exe, started by
// the client through --exe. It takes the request the way a faulty program
// might; the variable NUMVERA_STAND_IN says which:
//   forget        removes the input and writes no result
//   wrong-digits  answers with the last binary digit of every number flipped
//   crash         answers, then ends with the status of a crash
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <string>
#include <vector>

#include "protocol/FileProtocol.h"
#include "tests/win/NumveraTestEnvironment.h"

namespace {

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

}  // namespace

int wmain()
{
    wchar_t mode[64] = {};
    ::GetEnvironmentVariableW(L"NUMVERA_STAND_IN", mode, 64);
    const std::wstring documents = Documents();
    const std::wstring input = documents + kAutoSuffix + kInputFileSuffix;
    const std::wstring result = documents + kResultSuffix + kResultFileSuffix;
    const std::vector<uint32_t> values = ValuesOf(testenv::ReadFileBytes(input));
    const std::wstring behaviour = mode;
    const bool known = behaviour == L"forget" || behaviour == L"wrong-digits" || behaviour == L"crash";
    if (!known || documents.empty() || values.empty())
        return kUsage;
    ::CreateDirectoryW((documents + kResultSuffix).c_str(), nullptr);

    if (behaviour != L"forget" && !testenv::WriteFileBytes(result, ResultOf(values, behaviour == L"wrong-digits")))
        return kUsage;
    if (!::DeleteFileW(input.c_str()))
        return kUsage;
    return behaviour == L"crash" ? static_cast<int>(kCrash) : 0;
}

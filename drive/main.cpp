// numvera-drive.exe: hands decimal numbers to Numvera.exe through its files
// and prints the binary lines it answers with. See docs/driving.md, "The
// driving client".
#include <windows.h>

#include <string>
#include <vector>

#include "drive/Console.h"
#include "drive/ExitStatus.h"
#include "drive/NumberList.h"
#include "drive/Request.h"

namespace {

using console::Say;

const wchar_t kUsageText[] =
    L"usage: numvera-drive [--exe PATH] [--answer-messages] [--verbose] NUMBER...\n"
    L"       numvera-drive [--exe PATH] [--answer-messages] [--verbose] --file PATH\n"
    L"       numvera-drive [--exe PATH] [--answer-messages] [--verbose] < NUMBERS\n"
    L"Converts decimal numbers from 0 to " NUMVERA_TEXT_OF(NUMVERA_LARGEST_VALUE) L" to binary through Numvera.exe\n"
    L"and prints one line of binary digits per number.\n"
    L"  --exe PATH         Numvera.exe to run (default: the one beside numvera-drive.exe)\n"
    L"  --file PATH        read the numbers from a file, one a line\n"
    L"  --answer-messages  copy Numvera.exe's message boxes to standard error and\n"
    L"                     answer them, for runs that nobody watches\n"
    L"  --verbose          also say Numvera.exe's exit status\n"
    L"Exit status: 0 answered, 1 refused by Numvera.exe, 2 usage, 3 numbers refused\n"
    L"before any file was touched, 4 cannot run the request, 5 another request is\n"
    L"in progress, 6 the result does not answer the request.\n";

int Usage(const std::wstring& problem)
{
    if (!problem.empty())
        Say(problem);
    std::wstring text = kUsageText;
    for (size_t at = 0; (at = text.find(L'\n', at)) != std::wstring::npos; at += 2)
        text.replace(at, 1, L"\r\n");
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &bytes[0], size, nullptr, nullptr);
    bytes.pop_back();
    if (problem.empty()) {
        console::WriteOut(bytes);
        return kAnswered;
    }
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return kUsage;
}

// Reads the stream to its end or to the first refused byte; false, with the
// problem said, when it cannot be read or its numbers are refused.
bool ReadStream(HANDLE stream, const std::wstring& name, NumberList* numbers)
{
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(stream, buffer, sizeof buffer, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_BROKEN_PIPE)
                break;  // the writing end closed: the end of a pipe
            Say(L"could not read " + name + L" " + console::ErrorText(error));
            return false;
        }
        if (got == 0)
            break;
        if (!numbers->AddStreamBytes(buffer, got))
            break;
    }
    if (numbers->Problem().empty())
        numbers->FinishStream();
    if (!numbers->Problem().empty()) {
        Say(name + L", " + numbers->Problem());
        return false;
    }
    return true;
}

std::wstring Beside(const std::wstring& name)
{
    std::vector<wchar_t> path(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring own(path.data(), length);
    const size_t slash = own.find_last_of(L"\\/");
    return (slash == std::wstring::npos ? std::wstring() : own.substr(0, slash + 1)) + name;
}

bool IsPlainFile(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// What the command line asks for.
struct CommandLine {
    RequestOptions options;
    std::vector<std::wstring> numbers;  // given as arguments
    std::wstring file;                  // --file, when haveFile
    bool haveFile = false;
};

// The exit status when the command line is wrong or asks for help; kGoOn
// when it names a request.
int ParseCommandLine(int argc, wchar_t** argv, CommandLine* line)
{
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (optionsEnded || argument.compare(0, 2, L"--") != 0) {
            line->numbers.push_back(argument);
        } else if (argument == L"--") {
            optionsEnded = true;
        } else if (argument == L"--help") {
            return Usage(L"");
        } else if (argument == L"--answer-messages") {
            line->options.answerMessages = true;
        } else if (argument == L"--verbose") {
            line->options.verbose = true;
        } else if (argument == L"--exe" || argument == L"--file") {
            if (i + 1 >= argc || argv[i + 1][0] == L'\0')
                return Usage(argument + L" needs a path");
            (argument == L"--exe" ? line->options.numveraExe : line->file) = argv[++i];
            line->haveFile = line->haveFile || argument == L"--file";
        } else {
            return Usage(L"unknown option " + argument);
        }
    }
    if (line->haveFile && !line->numbers.empty())
        return Usage(L"give numbers either as arguments or with --file, not both");
    return kGoOn;
}

// The numbers from the arguments, the file or standard input, every one
// checked before anything is written; an exit status, or kGoOn.
int CollectNumbers(const CommandLine& line, NumberList* numbers)
{
    if (!line.numbers.empty()) {
        for (size_t i = 0; i < line.numbers.size(); ++i) {
            if (!numbers->AddArgument(line.numbers[i], static_cast<int>(i + 1))) {
                Say(numbers->Problem());
                return kInputRefused;
            }
        }
    } else if (line.haveFile) {
        HANDLE stream = ::CreateFileW(line.file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (stream == INVALID_HANDLE_VALUE) {
            Say(L"could not open " + line.file + L" " + console::ErrorText(::GetLastError()));
            return kInputRefused;
        }
        const bool read = ReadStream(stream, line.file, numbers);
        ::CloseHandle(stream);
        if (!read)
            return kInputRefused;
    } else {
        HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
        // Nothing piped in: someone typed the bare command and wants to know how.
        if (input == nullptr || input == INVALID_HANDLE_VALUE || ::GetFileType(input) == FILE_TYPE_CHAR)
            return Usage(L"no numbers given");
        if (!ReadStream(input, L"standard input", numbers))
            return kInputRefused;
    }
    if (numbers->Count() == 0) {
        Say(L"no numbers to convert: the input holds none (Numvera.exe would refuse an empty input file)");
        return kInputRefused;
    }
    return kGoOn;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    CommandLine line;
    const int parsed = ParseCommandLine(argc, argv, &line);
    if (parsed != kGoOn)
        return parsed;
    NumberList numbers;
    const int collected = CollectNumbers(line, &numbers);
    if (collected != kGoOn)
        return collected;

    if (line.options.numveraExe.empty())
        line.options.numveraExe = Beside(L"Numvera.exe");
    if (!IsPlainFile(line.options.numveraExe)) {
        Say(L"Numvera.exe is not at " + line.options.numveraExe + L"; name it with --exe PATH");
        return kCannotRun;
    }
    return RunRequest(numbers, line.options);
}

#include "drive/Request.h"

#include <windows.h>
#include <shlobj.h>
#include <knownfolders.h>

#include <set>
#include <vector>

#include "drive/Console.h"
#include "drive/Endings.h"
#include "drive/ExitStatus.h"
#include "drive/Files.h"
#include "drive/Patience.h"
#include "drive/ResultCheck.h"
#include "protocol/FileProtocol.h"

namespace {

using console::ErrorText;
using console::Say;

size_t AnsiLength(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    return size > 0 ? static_cast<size_t>(size) : 0;
}

// The documents folder by its wide name, which Numvera.exe also takes where
// its ANSI lookup would name another folder.
bool FindDocuments(std::wstring* documents)
{
    PWSTR known = nullptr;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &known)) && known != nullptr)
        *documents = known;
    ::CoTaskMemFree(known);
    if (documents->empty()) {
        Say(L"Windows names no documents folder for this user, so Numvera.exe has nowhere to look for a request");
        return false;
    }
    return true;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

// Why Numvera.exe refused a request, by its exit status, in English and in Japanese.
struct RefusalReason {
    Refusal refusal;
    const wchar_t* english;
    const wchar_t* japanese;
};
constexpr RefusalReason kRefusalReasons[] = {
    {Refusal::InputMissing, L"it found no input file", L"入力ファイルが見つかりませんでした"},
    {Refusal::InputEmpty, L"the input file was empty", L"入力ファイルが空でした"},
    {Refusal::InputNotNumbers, L"the input file held characters other than digits and line breaks",
     L"入力ファイルに数字と改行以外の文字がありました"},
    {Refusal::InputTooLarge, L"the input file was too large", L"入力ファイルが大きすぎました"},
    {Refusal::InputUnreadable, L"it could not open the input file; another program held it open",
     L"入力ファイルを開けませんでした。ほかのプログラムが開いていました"},
    {Refusal::ValueTooLarge, L"a number was above 2147483647", L"2147483647 を超える数値がありました"},
    {Refusal::ResultNotWritten, L"it could not write the result file", L"結果ファイルに書き込めませんでした"},
    {Refusal::InputNotRemoved, L"it wrote the result file but could not remove the input file",
     L"結果ファイルは書き込みましたが、入力ファイルを削除できませんでした"},
    {Refusal::InUse, L"another run of Numvera.exe kept the folders busy for more than a minute",
     L"ほかの Numvera.exe の処理が1分以上終わりませんでした"},
    {Refusal::NoTurn, L"it could not open its lock file temp\\BivoA.lock (temp is not a folder, or access is refused)",
     L"ロックファイル temp\\BivoA.lock を開けませんでした（temp がフォルダーでないか、アクセスが拒否されました）"},
    {Refusal::DialogNotCreated, L"it could not create its dialog, and read and wrote nothing",
     L"ダイアログを作成できず、何も読み書きしませんでした"},
};

// The one line that says why, in the user's language. A status outside
// Numvera.exe's own is not its answer: it was ended from outside or crashed.
std::wstring RefusalLine(DWORD status)
{
    const bool japanese = console::SpeaksJapanese();
    for (const RefusalReason& reason : kRefusalReasons) {
        if (static_cast<DWORD>(reason.refusal) == status)
            return japanese ? std::wstring(L"Numvera.exe は要求を処理しませんでした: ") + reason.japanese
                            : std::wstring(L"Numvera.exe refused the request: ") + reason.english;
    }
    const std::wstring number = std::to_wstring(status);
    return japanese ? L"Numvera.exe は自分で終了しませんでした（終了コード " + number +
                          L"）。外から終了させられたか、異常終了しました。結果は読みません"
                    : L"Numvera.exe did not end by itself (status " + number +
                          L"): it was ended from outside or crashed; its result is not read";
}

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

std::wstring WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, &text[0], length + 1)));
    return text;
}

std::wstring OnOneLine(std::wstring text)
{
    for (size_t at; (at = text.find(L"\r\n")) != std::wstring::npos;)
        text.replace(at, 2, L" ");
    return text;
}

// One line on what could not be put back, and what that means for the user.
void SayWhatStays(const std::wstring& input, const std::wstring& inputLeft, bool othersInput,
                  const std::wstring& folder, bool folderLeft)
{
    const std::wstring automatic = L"while it is there, every start of Numvera.exe is an automatic one";
    if (othersInput) {
        Say(L"the input file " + input + L" was left for whoever wrote it: " + inputLeft +
            (folderLeft ? L"; the folder made for this request stays with it" : L""));
    } else if (!inputLeft.empty()) {
        Say(L"the input file " + input + L" was left in place: " + inputLeft + L", most likely as another program "
            L"holds it; " + automatic + L" and the next request is refused as in progress, so remove it" +
            (folderLeft ? L" and its folder" : L"") + L" once that program has let go");
    } else if (folderLeft) {
        const std::wstring held = FirstEntryOf(folder);
        Say(L"the folder " + folder + L", made for this request, was left in place" +
            (held.empty() ? L"" : L": it still holds " + held) + L"; " + automatic + L", so remove it once it is empty");
    }
}

class Request {
public:
    Request(const NumberList& numbers, const RequestOptions& options) : m_numbers(numbers), m_options(options) {}
    ~Request() { PutThingsBack(); }
    int Run();

private:
    // Each step answers with an exit status, or kGoOn.
    int FindFolders();
    int TakeClientLock();
    int MakeFolders();
    int WriteInput();
    bool Launch(PROCESS_INFORMATION* process);
    void Await(const PROCESS_INFORMATION& process);
    void LookAtWindows(DWORD processId);
    int ReportAnswer();
    int ReportRefusal();
    void PutThingsBack();
    std::wstring RemoveOwnInput(bool* othersInput);
    bool RemoveMadeFolder();

    const NumberList& m_numbers;
    const RequestOptions& m_options;
    std::wstring m_product, m_temp, m_autoFolder, m_input, m_result, m_lockFile;
    HANDLE m_lock = INVALID_HANDLE_VALUE;
    bool m_madeAutoFolder = false;
    bool m_wroteInput = false;
    std::set<HWND> m_seenWindows;
    DWORD m_numveraStatus = 0;
};

int Request::FindFolders()
{
    std::wstring documents;
    if (!FindDocuments(&documents))
        return kCannotRun;
    const std::wstring maker = documents + kMakerSuffix;
    if (!IsFolder(maker)) {
        Say(L"the maker folder " + maker + L" is missing; Numvera.exe keeps its files below it and never makes it "
            L"(its installer does), so it is not set up for this user");
        return kCannotRun;
    }
    m_product = documents + kProductSuffix;
    m_temp = documents + kTempSuffix;
    m_lockFile = m_temp + kClientLockFileSuffix;
    m_autoFolder = documents + kAutoSuffix;
    m_input = m_autoFolder + kInputFileSuffix;
    m_result = documents + kResultSuffix + kResultFileSuffix;
    if (AnsiLength(m_result) >= MAX_PATH) {
        Say(L"the path " + m_result + L" is too long for Numvera.exe (" + std::to_wstring(MAX_PATH) + L" bytes at most)");
        return kCannotRun;
    }
    if (Exists(m_autoFolder) && !IsFolder(m_autoFolder)) {
        Say(m_autoFolder + L" is a file, not a folder, so Numvera.exe would start interactively; it was left as it is");
        return kCannotRun;
    }
    return kGoOn;
}

// One request at a time per product folder, among clients of any session or
// machine that share it: a second one would overwrite the first one's result
// before it is read. The turn is a file held open without sharing, which the
// system lets go of however the client ends; the file that stays on disk
// means nothing. Numvera.exe makes the product folder and temp at every
// start; the client needs them now.
int Request::TakeClientLock()
{
    if (!MakeFolder(m_product) || !MakeFolder(m_temp))
        return kCannotRun;
    m_lock = ::CreateFileW(m_lockFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_lock == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION) {
            Say(L"another numvera-drive request for " + m_product + L" is in progress; try again when it has ended");
            return kBusy;
        }
        Say(L"could not open the lock file " + m_lockFile + L" " + ErrorText(error));
        return kCannotRun;
    }
    HoldEndings();
    return kGoOn;
}

// One level: the product folder is there.
int Request::MakeFolders()
{
    if (IsFolder(m_autoFolder))
        return kGoOn;
    if (!MakeFolder(m_autoFolder))
        return kCannotRun;
    m_madeAutoFolder = true;
    return kGoOn;
}

// Written under another name and then renamed, never replacing: Numvera.exe,
// started by someone else meanwhile, sees the whole file or none, and an
// input that is already there is never overwritten.
int Request::WriteInput()
{
    // An earlier input that is still being removed is gone within moments.
    TryPatiently([this] { return !Exists(m_input) || !IsBeingRemoved(m_input); });
    if (Exists(m_input)) {
        Say(L"another request is in progress: " + m_input + L" is already there (another driving program's, or one "
            L"that Numvera.exe refused earlier); it was left as it is");
        return kBusy;
    }
    const std::wstring staging = m_product + L"\\numvera-drive." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    const DWORD error = WriteNewFile(staging, m_numbers.FileBytes());
    if (error != 0) {
        Say(L"could not write " + staging + L" " + ErrorText(error));
        return kCannotRun;
    }
    if (!::MoveFileExW(staging.c_str(), m_input.c_str(), 0)) {
        const DWORD moveError = ::GetLastError();
        ::DeleteFileW(staging.c_str());
        if (moveError == ERROR_ALREADY_EXISTS || moveError == ERROR_FILE_EXISTS) {
            Say(L"another request is in progress: " + m_input + L" appeared meanwhile; it was left as it is");
            return kBusy;
        }
        Say(L"could not write " + m_input + L" " + ErrorText(moveError));
        return kCannotRun;
    }
    m_wroteInput = true;
    return kGoOn;
}

bool Request::Launch(PROCESS_INFORMATION* process)
{
    std::wstring commandLine = L"\"" + m_options.numveraExe + L"\"";
    std::wstring folder = m_options.numveraExe;
    const size_t slash = folder.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
    // No standard handles: whatever Numvera.exe starts could otherwise keep this
    // client's pipes open after it has ended, and a reader would never see their end.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    if (::CreateProcessW(m_options.numveraExe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                         folder.empty() ? nullptr : folder.c_str(), &startup, process))
        return true;
    Say(L"could not start " + m_options.numveraExe + L" " + ErrorText(::GetLastError()));
    return false;
}

// Message boxes of Numvera.exe appear only when its user asked for messages;
// they hold the program until answered, so say what they say. When the
// console closes or the session ends nobody is left to answer them, and the
// request must end within moments: they are answered then.
void Request::LookAtWindows(DWORD processId)
{
    WindowSearch search{processId, {}};
    ::EnumWindows(CollectVisibleWindow, reinterpret_cast<LPARAM>(&search));
    const bool answer = m_options.answerMessages || IsEndingAsked();
    for (HWND window : search.found) {
        const bool seen = !m_seenWindows.insert(window).second;
        HWND text = ::GetDlgItem(window, 0xFFFF);  // the text of a message box
        if (text != nullptr) {
            if (!seen)
                Say(L"Numvera.exe says: " + OnOneLine(WindowText(text)));
            if (answer)
                ::PostMessageW(::GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
            else if (!seen)
                Say(L"it waits until the message is answered (--answer-messages answers it)");
        } else if (!seen && WindowText(window) == L"Binarok") {
            Say(L"Numvera.exe opened its dialog instead of taking the request; it waits until the dialog is closed");
        }
    }
}

void Request::Await(const PROCESS_INFORMATION& process)
{
    while (::WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT)
        LookAtWindows(process.dwProcessId);
    ::GetExitCodeProcess(process.hProcess, &m_numveraStatus);
    if (m_options.verbose)
        Say(L"Numvera.exe ended with status " + std::to_wstring(m_numveraStatus));
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

// Numvera.exe said it answered: its result must be the binary digits of the
// numbers, or it is an earlier result, or another request's.
int Request::ReportAnswer()
{
    bool read = false;
    const std::string result = ReadBytes(m_result, &read);
    const std::wstring why = read ? WhyResultDoesNotAnswer(result, m_numbers.Values())
                                  : L"it cannot be read " + ErrorText(::GetLastError());
    if (!why.empty()) {
        Say(L"Numvera.exe said it answered, but its result " + m_result + L" does not answer the request: " + why);
        return kBadResult;
    }
    if (!console::WriteOut(result)) {
        Say(L"could not write the result to standard output " + ErrorText(::GetLastError()));
        return kCannotRun;
    }
    return kAnswered;
}

int Request::ReportRefusal()
{
    Say(RefusalLine(m_numveraStatus));
    return kRefused;
}

// A refused input stays for its owner to look at. This client is its owner
// and keeps the numbers itself, so it removes the file, also when it was
// answered and another program still holds it: left there, it would make
// every later start of Numvera.exe an automatic one and block the next
// request. Empty when it is gone; otherwise why not, with *othersInput set
// when it holds another request now.
std::wstring Request::RemoveOwnInput(bool* othersInput)
{
    std::wstring why;
    TryPatiently([&] {
        why = TryRemovingOwnInput(m_input, m_numbers.FileBytes(), othersInput);
        return why.empty() || *othersInput;
    });
    return why;
}

bool Request::RemoveMadeFolder()
{
    return ::RemoveDirectoryW(m_autoFolder.c_str()) || !Exists(m_autoFolder);
}

// However the request ended: its own input and the AutoFile folder it made
// are removed, and what cannot be is said.
void Request::PutThingsBack()
{
    bool othersInput = false;
    const std::wstring inputLeft = m_wroteInput ? RemoveOwnInput(&othersInput) : std::wstring();
    // A folder that still holds the input cannot go; one that did may take a moment.
    const bool folderLeft =
        m_madeAutoFolder && !(inputLeft.empty() ? TryPatiently([this] { return RemoveMadeFolder(); }) : RemoveMadeFolder());
    SayWhatStays(m_input, inputLeft, othersInput, m_autoFolder, folderLeft);
    if (m_lock != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_lock);
    SignalPutBack();
}

int Request::Run()
{
    int status = FindFolders();
    if (status == kGoOn)
        status = TakeClientLock();
    if (status == kGoOn)
        status = MakeFolders();
    if (status == kGoOn)
        status = WriteInput();
    if (status != kGoOn)
        return status;
    PROCESS_INFORMATION process{};
    if (!Launch(&process))
        return kCannotRun;
    Await(process);
    // Its status says whether it answered; only then is a result read. The
    // input's name may outlive an answer while another program holds it.
    return m_numveraStatus == static_cast<DWORD>(Refusal::None) ? ReportAnswer() : ReportRefusal();
}

}  // namespace

int RunRequest(const NumberList& numbers, const RequestOptions& options)
{
    Request request(numbers, options);
    return request.Run();
}

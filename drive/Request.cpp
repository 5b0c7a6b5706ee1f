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
using console::SayInTheUsersLanguage;

// How long a withdrawn request waits for the Numvera.exe it ended: a process
// ended from outside is gone within moments, and the ending's few seconds
// must still hold the putting back.
constexpr DWORD kEndedNumveraWaitMs = 1000;
// The exit status Numvera.exe gets when a withdrawn request ends it, the one
// Windows gives a program ended from Task Manager.
constexpr UINT kEndedFromOutside = 1;

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
static_assert(kRunLockWaitMs == 60000, "the InUse reason below says a minute");
constexpr RefusalReason kRefusalReasons[] = {
    {Refusal::InputMissing, L"it found no input file", L"入力ファイルが見つかりませんでした"},
    {Refusal::InputEmpty, L"the input file was empty", L"入力ファイルが空でした"},
    {Refusal::InputNotNumbers, L"the input file held characters other than digits and line breaks",
     L"入力ファイルに数字と改行以外の文字がありました"},
    {Refusal::InputTooLarge, L"the input file was too large", L"入力ファイルが大きすぎました"},
    {Refusal::InputUnreadable, L"it could not open the input file; another program held it open",
     L"入力ファイルを開けませんでした。ほかのプログラムが開いていました"},
    {Refusal::ValueTooLarge, L"a number was above " NUMVERA_TEXT_OF(NUMVERA_LARGEST_VALUE),
     NUMVERA_TEXT_OF(NUMVERA_LARGEST_VALUE) L" を超える数値がありました"},
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
        const std::vector<std::wstring> held = EntriesOf(folder);
        Say(L"the folder " + folder + L", made for this request, was left in place" +
            (held.empty() ? L"" : L": it still holds " + held.front()) + L"; " + automatic +
            L", so remove it once it is empty");
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
    bool Withdraw(HANDLE numvera);
    void LookAtWindows(DWORD processId);
    int ReportAnswer();
    int ReportRefusal();
    int ReportWithdrawal();
    void PutThingsBack();
    std::wstring RemoveOwnInput(bool* othersInput);
    DWORD RemoveMadeFolder(bool inputRemoved);

    const NumberList& m_numbers;
    const RequestOptions& m_options;
    std::wstring m_product, m_temp, m_autoFolder, m_input, m_result, m_lockFile;
    HANDLE m_lock = INVALID_HANDLE_VALUE;
    HANDLE m_ownInput = INVALID_HANDLE_VALUE;  // the input file written, whatever has its name
    bool m_madeAutoFolder = false;
    bool m_withdrawn = false;
    std::set<HWND> m_seenWindows;
    bool m_numveraSpoke = false;  // a message box: it has let go of the request
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
// means nothing. A scanner that opens it for a moment is waited out like
// any brief holder. Numvera.exe makes the product folder and temp at every
// start; the client needs them now.
int Request::TakeClientLock()
{
    if (!MakeFolder(m_product) || !MakeFolder(m_temp))
        return kCannotRun;
    const DWORD error = TryPatiently([this] {
        m_lock = ::CreateFileW(m_lockFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return m_lock != INVALID_HANDLE_VALUE ? 0 : ::GetLastError();
    });
    if (error != 0) {
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
    // An earlier input that is still being removed is gone within moments;
    // a file or a folder that opens stays.
    const DWORD there = TryPatiently([this] { return CheckNameIsFree(m_input); });
    if (there == ERROR_DIRECTORY) {
        SayInTheUsersLanguage(
            L"a folder stands where the input file belongs: " + m_input + L"; Numvera.exe refuses every request "
                L"while it is there (\"no input file\"), so remove it; nothing was touched",
            L"入力ファイルの場所にフォルダーがあります: " + m_input +
                L"。これがある間、Numvera.exe はどの要求も「入力ファイルがない」として処理しないので、削除してください。"
                L"何も変更していません");
        return kCannotRun;
    }
    if (there == ERROR_ALREADY_EXISTS || IsBriefHoldError(there)) {
        Say(L"another request is in progress: " + m_input + L" is already there (another driving program's, or one "
            L"that Numvera.exe refused earlier); it was left as it is");
        return kBusy;
    }
    if (there != 0) {
        Say(L"could not look at " + m_input + L" " + ErrorText(there));
        return kCannotRun;
    }
    const std::wstring staging = m_product + L"\\numvera-drive." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    const DWORD error = WriteInputFile(staging, m_input, m_numbers.FileBytes(), &m_ownInput);
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        Say(L"another request is in progress: " + m_input + L" appeared meanwhile; it was left as it is");
        return kBusy;
    }
    if (error != 0) {
        Say(L"could not write " + m_input + L" " + ErrorText(error));
        return kCannotRun;
    }
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
            m_numveraSpoke = true;
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
    while (::WaitForSingleObject(process.hProcess, 100) == WAIT_TIMEOUT) {
        if (IsEndingAsked() && !m_numveraSpoke && Withdraw(process.hProcess))
            break;
        LookAtWindows(process.dwProcessId);
    }
    ::GetExitCodeProcess(process.hProcess, &m_numveraStatus);
    if (m_options.verbose && !m_withdrawn)
        Say(L"Numvera.exe ended with status " + std::to_wstring(m_numveraStatus));
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

// The console is being closed or the session ends: nobody will read an
// answer, and Windows ends this client within seconds. Numvera.exe takes
// the input by opening it for removal while sharing only reading, and holds
// it until it has answered and removed it. A request that it does not hold
// is withdrawn, so that nothing is answered for nobody and the next start is
// interactive. One that it holds is left to it and waited for as long as the
// ending allows, and so is one it has let go of with a message box up: its
// run is over then (and Wine, which does not tell that a removal waits for
// the last handle, would show an answered input as free). The order is safe:
// 1. The own input is opened for removal. From then on Numvera.exe cannot
//    take it: its open fails against this handle (and would end in a refusal,
//    15, after its brief waits). When this open fails, Numvera.exe holds the
//    input, or has removed it, or another program holds it a moment: the
//    client goes on waiting and tries again at its next look.
// 2. Numvera.exe is ended. It holds no request then: it writes nothing before
//    it has taken an input (only the folders it makes at every start and its
//    lock file temp\BivoA.lock, each in one step), and the system lets go of
//    its turn, that lock, as it ends, so nothing is lost or half done. Ended
//    before the input goes, it cannot take another program's request written
//    meanwhile (the input's name is still this one's), open its dialog for
//    nobody (had it not yet looked for AutoFile) or show a "missing input"
//    message that nobody answers.
// 3. The input is removed through that handle; the AutoFile folder the
//    client made goes as things are put back.
bool Request::Withdraw(HANDLE numvera)
{
    DWORD error = 0;
    HANDLE input = OpenOwnInput(m_input, m_ownInput, &error);
    if (input == INVALID_HANDLE_VALUE)
        return false;
    ::TerminateProcess(numvera, kEndedFromOutside);
    ::WaitForSingleObject(numvera, kEndedNumveraWaitMs);
    RemoveThrough(input);  // what fails here is tried again as things are put back
    m_withdrawn = true;
    return true;
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

// Numvera.exe did not answer: it was ended, as it did not hold the request.
int Request::ReportWithdrawal()
{
    SayInTheUsersLanguage(
        L"the request was withdrawn, as the console is being closed or the session ends: Numvera.exe did not hold "
        L"it, so it was ended and the input file removed; nothing was answered",
        L"コンソールが閉じられるかセッションが終了するため、要求を取り下げました。Numvera.exe はまだ要求を受け取っていな"
        L"かったので終了させ、入力ファイルを削除しました。何も処理されていません");
    return kRefused;
}

// A refused input stays for its owner to look at. This client is its owner
// and keeps the numbers itself, so it removes the file, also when it was
// answered and another program still holds it: left there, it would make
// every later start of Numvera.exe an automatic one and block the next
// request. The file is known by itself, not by its bytes: another driving
// program may have written the same numbers anew under that name. Empty when
// it is gone; otherwise why not, with *othersInput set when another file has
// its name now.
std::wstring Request::RemoveOwnInput(bool* othersInput)
{
    const DWORD error = TryPatiently([this] {
        DWORD openError = 0;
        HANDLE input = OpenOwnInput(m_input, m_ownInput, &openError);
        return input != INVALID_HANDLE_VALUE ? RemoveThrough(input) : openError;
    });
    if (error == 0)
        return std::wstring();
    *othersInput = error == ERROR_FILE_EXISTS;
    return *othersInput ? L"it is another file than the one this request wrote" : L"it could not be removed " + ErrorText(error);
}

// 0 once the folder is gone. A folder whose only entry is the removed
// input's name is waited for like a brief holder: that name stays listed
// while a program that has the file open lets go.
DWORD Request::RemoveMadeFolder(bool inputRemoved)
{
    if (::RemoveDirectoryW(m_autoFolder.c_str()))
        return 0;
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return 0;
    if (error == ERROR_DIR_NOT_EMPTY && inputRemoved &&
        EntriesOf(m_autoFolder) == std::vector<std::wstring>{kInputFileSuffix + 1})
        return ERROR_SHARING_VIOLATION;
    return error;
}

// However the request ended: its own input and the AutoFile folder it made
// are removed, and what cannot be is said.
void Request::PutThingsBack()
{
    const bool wroteInput = m_ownInput != INVALID_HANDLE_VALUE;
    bool othersInput = false;
    const std::wstring inputLeft = wroteInput ? RemoveOwnInput(&othersInput) : std::wstring();
    // Where a removal waits for the last handle, this one too keeps the name.
    if (wroteInput)
        ::CloseHandle(m_ownInput);
    m_ownInput = INVALID_HANDLE_VALUE;
    const bool folderLeft =
        m_madeAutoFolder && TryPatiently([&] { return RemoveMadeFolder(wroteInput && inputLeft.empty()); }) != 0;
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
    if (m_withdrawn)
        return ReportWithdrawal();
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

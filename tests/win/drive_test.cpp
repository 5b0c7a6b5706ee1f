// numvera-drive.exe against the real Numvera.exe: the client is started the
// way a script starts it, with pipes for its standard streams and its own
// documents folder, and what it prints and leaves on disk is compared.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cstdint>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "drive/Request.h"
#include "tests/win/ExpectedTexts.h"
#include "tests/win/FileHolder.h"
#include "tests/win/NumveraFixture.h"

namespace {

using Args = std::vector<std::wstring>;
using Names = std::vector<std::wstring>;
using Tree = std::map<std::wstring, std::string>;

constexpr DWORD kClientTimeoutMs = 300000;  // a guard against hanging, not a measure

constexpr int kAnswered = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;
constexpr int kInputRefused = 3;
constexpr int kCannotRun = 4;
constexpr int kBusy = 5;
constexpr int kBadResult = 6;

using expected::kCompleted;
// Its first line: the client repeats a message on one line.
const std::wstring kNotWrittenLine(expected::kNotWritten, std::wcscspn(expected::kNotWritten, L"\r"));
const wchar_t* const kNotWritten = kNotWrittenLine.c_str();

std::wstring DriveExe()
{
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"NUMVERA_DRIVE", path, MAX_PATH * 2);
    return length > 0 && length < MAX_PATH * 2 ? path : L"";
}

std::string ReferenceResult(const std::vector<uint32_t>& values)
{
    std::string lines;
    for (uint32_t value : values)
        lines += testenv::BinaryDigits(value) + "\r\n";
    return lines;
}

std::string ReadAll(HANDLE pipe)
{
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    return bytes;
}

struct ClientOutcome {
    bool ended = false;
    DWORD exitCode = 0;
    std::string out;
    std::string err;
};

// A running numvera-drive.exe whose standard streams are pipes of this test.
class Client {
public:
    Client(const std::wstring& exe, const Args& arguments, const std::wstring& documents, const std::string& input)
    {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE inRead = nullptr, inWrite = nullptr, outRead = nullptr, outWrite = nullptr, errRead = nullptr,
               errWrite = nullptr;
        ::CreatePipe(&inRead, &inWrite, &inheritable, 0);
        ::CreatePipe(&outRead, &outWrite, &inheritable, 0);
        ::CreatePipe(&errRead, &errWrite, &inheritable, 0);
        for (HANDLE own : {inWrite, outRead, errRead})
            ::SetHandleInformation(own, HANDLE_FLAG_INHERIT, 0);

        std::wstring commandLine = testenv::QuotedArgument(exe);
        for (const std::wstring& argument : arguments)
            commandLine += L" " + testenv::QuotedArgument(argument);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inRead;
        startup.hStdOutput = outWrite;
        startup.hStdError = errWrite;
        m_started = driver::StartProcess(exe, commandLine, documents, startup, true, &m_process) == 0;
        for (HANDLE theirs : {inRead, outWrite, errWrite})
            ::CloseHandle(theirs);

        m_writer = std::thread([inWrite, input] {
            DWORD written = 0;
            for (size_t done = 0; done < input.size(); done += written) {
                if (!::WriteFile(inWrite, input.data() + done, static_cast<DWORD>(input.size() - done), &written, nullptr))
                    break;
            }
            ::CloseHandle(inWrite);
        });
        m_outReader = std::thread([this, outRead] {
            m_outcome.out = ReadAll(outRead);
            ::CloseHandle(outRead);
        });
        m_errReader = std::thread([this, errRead] {
            char buffer[4096];
            DWORD got = 0;
            while (::ReadFile(errRead, buffer, sizeof buffer, &got, nullptr) && got > 0) {
                std::lock_guard<std::mutex> lock(m_errMutex);
                m_outcome.err.append(buffer, got);
            }
            ::CloseHandle(errRead);
        });
    }

    ~Client() { Finish(0); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Waits for the end; a client still running then is ended and reported.
    ClientOutcome Finish(DWORD timeoutMs)
    {
        if (m_started && !m_finished) {
            if (::WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
                m_outcome.ended = true;
                ::GetExitCodeProcess(m_process.hProcess, &m_outcome.exitCode);
            } else {
                ::TerminateProcess(m_process.hProcess, 99);
                ::WaitForSingleObject(m_process.hProcess, 10000);
            }
            ::CloseHandle(m_process.hThread);
            ::CloseHandle(m_process.hProcess);
        }
        if (!m_finished) {
            m_finished = true;
            m_writer.join();
            m_outReader.join();
            m_errReader.join();
        }
        return m_outcome;
    }

    bool Started() const { return m_started; }
    HANDLE Process() const { return m_process.hProcess; }
    DWORD ProcessId() const { return m_process.dwProcessId; }

    // What the client has said on standard error so far.
    std::string ErrSoFar()
    {
        std::lock_guard<std::mutex> lock(m_errMutex);
        return m_outcome.err;
    }

private:
    PROCESS_INFORMATION m_process{};
    bool m_started = false;
    bool m_finished = false;
    ClientOutcome m_outcome;
    std::mutex m_errMutex;
    std::thread m_writer, m_outReader, m_errReader;
};

// Every folder and file below the root, with the files' bytes.
void Snapshot(const std::wstring& root, const std::wstring& relative, Tree* tree)
{
    for (const std::wstring& name : testenv::FolderEntries(root + relative)) {
        const std::wstring path = relative + L"\\" + name;
        const DWORD attributes = ::GetFileAttributesW((root + path).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            (*tree)[path] = "<folder>";
            Snapshot(root, path, tree);
        } else {
            (*tree)[path] = testenv::ReadFileBytes(root + path);
        }
    }
}

Tree Snapshot(const std::wstring& root)
{
    Tree tree;
    Snapshot(root, L"", &tree);
    return tree;
}

bool Contains(const std::string& text, const std::wstring& part) { return text.find(testenv::Utf8(part)) != std::string::npos; }

class Drive : public NumveraFixture {
protected:
    Drive() : NumveraFixture(L"drive-") {}

    void SetUp() override
    {
        NumveraFixture::SetUp();
        ASSERT_FALSE(DriveExe().empty()) << "NUMVERA_DRIVE names the client";
        NewDocuments();
    }

    // A fresh documents folder as an installation leaves it: the maker folder only.
    void NewDocuments(bool withMaker = true, const std::wstring& name = L"")
    {
        ASSERT_TRUE(NumveraFixture::NewDocuments(withMaker ? Folders{kMakerSuffix} : Folders{}, name));
    }

    std::wstring LockFile() const { return TempFolder() + kClientLockFileSuffix; }

    void MakeProductFolders(bool withAutoFolder)
    {
        ::CreateDirectoryW(Product().c_str(), nullptr);
        if (withAutoFolder)
            ::CreateDirectoryW(AutoFolder().c_str(), nullptr);
    }
    // A plain file where the Result folder belongs: Numvera.exe cannot answer.
    void BlockTheResult()
    {
        MakeProductFolders(false);
        ASSERT_TRUE(testenv::WriteFileBytes(ResultFolder(), "not a folder"));
    }

    ClientOutcome RunClient(const Args& arguments, const std::string& input = "", const std::wstring& exe = L"")
    {
        Client client(exe.empty() ? DriveExe() : exe, arguments, m_documents, input);
        EXPECT_TRUE(client.Started());
        const ClientOutcome outcome = client.Finish(kClientTimeoutMs);
        EXPECT_TRUE(outcome.ended) << "the client did not end";
        return outcome;
    }

    // What every answered request leaves: the lines on standard output and in
    // the result file, no input, and the folders Numvera.exe makes itself.
    void ExpectAnswered(const ClientOutcome& outcome, const std::string& expected)
    {
        EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kAnswered)) << outcome.err;
        EXPECT_EQ(outcome.out, expected);
        EXPECT_EQ(testenv::ReadFileBytes(Result()), expected);
        EXPECT_FALSE(testenv::PathExists(Input()));
    }
};

TEST_F(Drive, NumbersAsArgumentsAreAnsweredLineByLine)
{
    const std::vector<std::vector<uint32_t>> cases = {
        {12, 34}, {0}, {2147483647, 1, 2}, {255, 255, 0, 65536},
    };
    for (const auto& values : cases) {
        Args arguments;
        for (uint32_t value : values)
            arguments.push_back(std::to_wstring(value));
        SCOPED_TRACE(testenv::Utf8(arguments.front()) + "...");
        NewDocuments();
        const ClientOutcome outcome = RunClient(arguments);
        ExpectAnswered(outcome, ReferenceResult(values));
        EXPECT_EQ(outcome.err, "");
        EXPECT_EQ(testenv::FolderEntries(Product()), (Names{L"Result", L"temp"}))
            << "the AutoFile folder made for the request is gone, and no file of the client is left";
    }
}

TEST_F(Drive, LeadingZerosAndTheLimitsAreTakenAsNumveraTakesThem)
{
    NewDocuments();
    const ClientOutcome outcome = RunClient({L"007", L"0000000000000000000002147483647", L"00"});
    ExpectAnswered(outcome, ReferenceResult({7, 2147483647, 0}));
}

TEST_F(Drive, StandardInputAndAFileGiveTheSameAnswer)
{
    const struct {
        const char* what;
        std::string text;
        std::vector<uint32_t> values;
    } cases[] = {
        {"CR LF lines", "12\r\n34\r\n", {12, 34}},
        {"LF lines without a final break", "12\n34", {12, 34}},
        {"blank lines skipped", "\n\n5\r\n\r\n7\n\n", {5, 7}},
        {"mixed line ends and leading zeros", "0007\r\n8\n2147483647", {7, 8, 2147483647}},
    };
    for (const auto& c : cases) {
        for (const bool fromFile : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (fromFile ? ", --file" : ", standard input"));
            NewDocuments();
            const std::wstring file = m_documents + L"\\numbers.txt";
            ClientOutcome outcome;
            if (fromFile) {
                ASSERT_TRUE(testenv::WriteFileBytes(file, c.text));
                outcome = RunClient({L"--file", file});
                EXPECT_EQ(testenv::ReadFileBytes(file), c.text) << "the user's file is left as it was";
            } else {
                outcome = RunClient({}, c.text);
            }
            ExpectAnswered(outcome, ReferenceResult(c.values));
        }
    }
}

// Whatever Numvera.exe would refuse is refused by the client before it looks
// at any folder: also without the maker folder, the refusal is about the
// numbers, and nothing on disk changes.
TEST_F(Drive, NumbersNumveraWouldRefuseAreRefusedBeforeAnyFileIsTouched)
{
    const std::string byteOrderMark = "\xEF\xBB\xBF";
    const struct {
        const char* what;
        Args arguments;
        std::string input;  // standard input, when there are no numbers as arguments
        const wchar_t* said;
    } cases[] = {
        {"a minus sign", {L"12", L"-5"}, "", L"argument 2"},
        {"a decimal point", {L"1.5"}, "", L"argument 1"},
        {"a value above the largest", {L"2147483648"}, "", L"above 2147483647"},
        {"25 nines", {L"9999999999999999999999999"}, "", L"above 2147483647"},
        {"full-width digits", {L"１２"}, "", L"argument 1"},
        {"an empty argument", {L"3", L""}, "", L"argument 2"},
        {"a trailing space", {L"12 "}, "", L"argument 1"},
        {"a tab in a line", {}, "12\t3\n", L"line 1, column 3"},
        {"a sign on line 3", {}, "1\n2\n-3\n", L"line 3, column 1"},
        {"a byte-order mark", {}, byteOrderMark + "12\r\n", L"line 1, column 1"},
        {"a CR inside a line", {}, "1\r2\n", L"line 1"},
        {"a NUL", {}, std::string("12\0" "34", 5), L"line 1, column 3"},
        {"a value above the largest on line 2", {}, "1\r\n2147483648\r\n", L"line 2"},
        {"nothing", {}, "", L"no numbers"},
        {"only line breaks", {}, "\r\n\n\r\n", L"no numbers"},
    };
    for (const auto& c : cases) {
        for (const bool installed : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (installed ? "" : ", without the maker folder"));
            NewDocuments(installed);
            if (installed)
                MakeProductFolders(true);
            const Tree before = Snapshot(m_documents);
            const ClientOutcome outcome = RunClient(c.arguments, c.input);
            EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kInputRefused));
            EXPECT_TRUE(Contains(outcome.err, c.said)) << outcome.err;
            EXPECT_EQ(outcome.out, "");
            EXPECT_EQ(Snapshot(m_documents), before);
        }
    }
}

// Numvera.exe refuses an input file of 2,077,000 bytes or more. The client
// counts the file it writes (CR LF line ends), not what it was given (LF).
TEST_F(Drive, TheSizeLimitIsThatOfTheInputFileWritten)
{
    const size_t limit = kInputFileSizeLimit;
    std::string ones;
    for (size_t written = 0; written + 3 < limit; written += 3)
        ones += "1\n";  // 3 bytes each once written
    const size_t lines = ones.size() / 2;
    ASSERT_EQ(lines * 3, limit - 1);

    {
        SCOPED_TRACE("one line of two digits more: exactly the limit");
        NewDocuments();
        const Tree before = Snapshot(m_documents);
        const ClientOutcome outcome = RunClient({}, ones.substr(2) + "11\n");
        EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kInputRefused));
        EXPECT_TRUE(Contains(outcome.err, L"bytes")) << outcome.err;
        EXPECT_EQ(Snapshot(m_documents), before);
    }
    {
        SCOPED_TRACE("one byte below the limit");
        NewDocuments();
        const ClientOutcome outcome = RunClient({}, ones);
        ExpectAnswered(outcome, ReferenceResult(std::vector<uint32_t>(lines, 1)));
    }
    {
        SCOPED_TRACE("one line more, through a file");
        NewDocuments();
        const std::wstring file = m_root + L"\\too-large.txt";
        ASSERT_TRUE(testenv::WriteFileBytes(file, ones + "1\n"));
        const Tree before = Snapshot(m_documents);
        const ClientOutcome outcome = RunClient({L"--file", file});
        EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kInputRefused));
        EXPECT_EQ(Snapshot(m_documents), before);
    }
}

TEST_F(Drive, AWrongCommandLineIsAUsageError)
{
    const std::wstring file = m_root + L"\\numbers.txt";
    ASSERT_TRUE(testenv::WriteFileBytes(file, "1\r\n"));
    const struct {
        const char* what;
        Args arguments;
    } cases[] = {
        {"an unknown option", {L"--fast", L"1"}},
        {"--file without a path", {L"--file"}},
        {"--exe without a path", {L"1", L"--exe"}},
        {"numbers and --file", {L"--file", file, L"12"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MakeProductFolders(true);
        const Tree before = Snapshot(m_documents);
        const ClientOutcome outcome = RunClient(c.arguments, "5\r\n");
        EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kUsage));
        EXPECT_TRUE(Contains(outcome.err, L"usage:")) << outcome.err;
        EXPECT_EQ(Snapshot(m_documents), before);
    }
}

// A folder where the input belongs is no request in progress and no
// holder to wait for: Numvera.exe would refuse every request while it is
// there, so the client says so at once, in the user's language (Japanese in
// the run under code page 932), having touched only its own lock file.
// Windows lets nobody open a file whose removal waits for the last program
// holding it, and the client waits a moment for such an earlier input;
// neither Wine line refuses to open one, so that wait is not shown here.
TEST_F(Drive, WhereNumveraCannotTakeARequestNothingIsTouched)
{
    const bool japanese = ::GetACP() == 932;
    enum Setup { kNoMaker, kAutoFileAFile, kInputAFolder };
    const struct {
        const char* what;
        Setup setup;
        int status;
        const wchar_t* said;
        const wchar_t* saidInJapanese;  // null: as said
    } cases[] = {
        {"no maker folder", kNoMaker, kCannotRun, L"Quendral", nullptr},
        {"AutoFile is a plain file", kAutoFileAFile, kCannotRun, L"AutoFile", nullptr},
        {"a folder where the input belongs", kInputAFolder, kCannotRun,
         L"a folder stands where the input file belongs: ", L"入力ファイルの場所にフォルダーがあります: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocuments(c.setup != kNoMaker);
        if (c.setup == kAutoFileAFile) {
            MakeProductFolders(false);
            ASSERT_TRUE(testenv::WriteFileBytes(AutoFolder(), "a file"));
        } else if (c.setup == kInputAFolder) {
            MakeProductFolders(true);
            ASSERT_TRUE(::CreateDirectoryW(Input().c_str(), nullptr));
        }
        Tree expected = Snapshot(m_documents);
        if (c.setup == kInputAFolder) {
            expected[kTempSuffix] = "<folder>";
            expected[LockFile().substr(m_documents.size())] = "";
        }
        const ClientOutcome outcome = RunClient({L"12"});
        EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(c.status)) << outcome.err;
        const std::wstring said = japanese && c.saidInJapanese != nullptr ? c.saidInJapanese : c.said;
        EXPECT_TRUE(Contains(outcome.err, said)) << outcome.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(Snapshot(m_documents), expected);
    }
}

// A documents folder whose name the ANSI code page cannot spell is the one
// that the client and Numvera.exe both use.
TEST_F(Drive, ADocumentsFolderTheAnsiCodePageCannotSpellIsUsed)
{
    NewDocuments(true, L"문서");  // Hangul: in neither code page 1252 nor 932
    ExpectAnswered(RunClient({L"12"}), ReferenceResult({12}));
}

TEST_F(Drive, NumveraExeIsFoundBesideTheClientOrNamed)
{
    // A copy of the client in a folder without Numvera.exe.
    const std::wstring alone = m_root + L"\\alone";
    ASSERT_TRUE(::CreateDirectoryW(alone.c_str(), nullptr));
    const std::wstring copy = alone + L"\\numvera-drive.exe";
    ASSERT_TRUE(::CopyFileW(DriveExe().c_str(), copy.c_str(), FALSE));

    const Tree before = Snapshot(m_documents);
    ClientOutcome outcome = RunClient({L"12"}, "", copy);
    EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kCannotRun));
    EXPECT_TRUE(Contains(outcome.err, L"--exe")) << outcome.err;
    EXPECT_EQ(Snapshot(m_documents), before);

    outcome = RunClient({L"--exe", alone + L"\\Numvera.exe", L"12"});
    EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kCannotRun));
    EXPECT_EQ(Snapshot(m_documents), before);

    outcome = RunClient({L"--exe", testenv::NumveraExe(), L"12"}, "", copy);
    ExpectAnswered(outcome, ReferenceResult({12}));
}

// The AutoFile folder makes every start of Numvera.exe an automatic one: the
// client leaves it as it found it, whether the request was answered or not.
TEST_F(Drive, TheAutoFileFolderIsLeftAsItWasFound)
{
    const struct {
        const char* what;
        bool present;
        const char* otherFile;  // null: none
    } folders[] = {
        {"absent", false, nullptr},
        {"present and empty", true, nullptr},
        {"present with another file", true, "notes"},
    };
    for (const auto& folder : folders) {
        for (const bool refused : {false, true}) {
            SCOPED_TRACE(std::string(folder.what) + (refused ? ", request refused" : ", request answered"));
            NewDocuments();
            MakeProductFolders(folder.present);
            if (folder.otherFile != nullptr)
                ASSERT_TRUE(testenv::WriteFileBytes(AutoFolder() + L"\\notes.txt", folder.otherFile));
            if (refused)
                BlockTheResult();
            const Tree autoBefore = Snapshot(AutoFolder());
            const ClientOutcome outcome = RunClient({L"12", L"34"});
            if (refused) {
                EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kRefused));
                EXPECT_EQ(outcome.out, "");
                EXPECT_EQ(testenv::ReadFileBytes(ResultFolder()), "not a folder");
            } else {
                ExpectAnswered(outcome, ReferenceResult({12, 34}));
            }
            EXPECT_FALSE(testenv::PathExists(Input())) << "the client's own input is not left behind";
            EXPECT_EQ(testenv::PathExists(AutoFolder()), folder.present);
            EXPECT_EQ(Snapshot(AutoFolder()), autoBefore);
        }
    }
}

// Numvera.exe's exit status says why it refused; the client says it in one
// line, in Japanese where the console's code page is 932 (the run under code
// page 932 here), and with --verbose gives the number too. A status that
// Numvera.exe does not end with is no answer. The real Numvera.exe refuses
// for two rows; a stand-in ends with each other status.
TEST_F(Drive, ARefusalSaysWhyInTheUsersLanguage)
{
    const bool japanese = ::GetACP() == 932;
    enum Setup { kStandIn, kBlockTheResult, kAFolderNamedLikeTheLock };
    const std::wstring refused = L"Numvera.exe refused the request: ";
    const std::wstring refusedJa = L"Numvera.exe は要求を処理しませんでした: ";
    const struct {
        Setup setup;
        DWORD numveraStatus;
        std::wstring english;
        std::wstring japanese;
    } cases[] = {
        {kStandIn, 11, refused + L"it found no input file", refusedJa + L"入力ファイルが見つかりませんでした"},
        {kStandIn, 12, refused + L"the input file was empty", refusedJa + L"入力ファイルが空でした"},
        {kStandIn, 13, refused + L"the input file held characters other than digits and line breaks",
         refusedJa + L"入力ファイルに数字と改行以外の文字がありました"},
        {kStandIn, 14, refused + L"the input file was too large", refusedJa + L"入力ファイルが大きすぎました"},
        {kStandIn, 15, refused + L"it could not open the input file; another program held it open",
         refusedJa + L"入力ファイルを開けませんでした。ほかのプログラムが開いていました"},
        {kStandIn, 16, refused + L"a number was above 2147483647", refusedJa + L"2147483647 を超える数値がありました"},
        {kBlockTheResult, 17, refused + L"it could not write the result file",
         refusedJa + L"結果ファイルに書き込めませんでした"},
        {kStandIn, 18, refused + L"it wrote the result file but could not remove the input file",
         refusedJa + L"結果ファイルは書き込みましたが、入力ファイルを削除できませんでした"},
        {kStandIn, 19, refused + L"another run of Numvera.exe kept the folders busy for more than a minute",
         refusedJa + L"ほかの Numvera.exe の処理が1分以上終わりませんでした"},
        {kAFolderNamedLikeTheLock, 20,
         refused + L"it could not open its lock file temp\\BivoA.lock (temp is not a folder, or access is refused)",
         refusedJa + L"ロックファイル temp\\BivoA.lock を開けませんでした（temp がフォルダーでないか、アクセスが拒否されました）"},
        {kStandIn, 21, refused + L"it could not create its dialog, and read and wrote nothing",
         refusedJa + L"ダイアログを作成できず、何も読み書きしませんでした"},
        {kStandIn, 1,
         L"Numvera.exe did not end by itself (status 1): it was ended from outside or crashed; its result is not read",
         L"Numvera.exe は自分で終了しませんでした（終了コード 1）。外から終了させられたか、異常終了しました。結果は読みません"},
        {kStandIn, 3221225477,
         L"Numvera.exe did not end by itself (status 3221225477): it was ended from outside or crashed; its result is "
         L"not read",
         L"Numvera.exe は自分で終了しませんでした（終了コード 3221225477）。外から終了させられたか、異常終了しました。"
         L"結果は読みません"},
    };
    const std::wstring standIn = testenv::BesideTestProgram(L"numvera_stand_in.exe");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.numveraStatus);
        NewDocuments();
        Args arguments = {L"--verbose", L"12"};
        if (c.setup == kBlockTheResult) {
            BlockTheResult();
        } else if (c.setup == kAFolderNamedLikeTheLock) {
            MakeProductFolders(false);
            ::CreateDirectoryW(TempFolder().c_str(), nullptr);
            ASSERT_TRUE(::CreateDirectoryW(RunLock().c_str(), nullptr));
        } else {
            arguments.insert(arguments.begin(), {L"--exe", standIn});
            ::SetEnvironmentVariableW(L"NUMVERA_STAND_IN", L"end-with");
            ::SetEnvironmentVariableW(L"NUMVERA_STAND_IN_STATUS", std::to_wstring(c.numveraStatus).c_str());
        }
        const ClientOutcome outcome = RunClient(arguments);
        ::SetEnvironmentVariableW(L"NUMVERA_STAND_IN", nullptr);
        EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kRefused));
        EXPECT_EQ(outcome.out, "");
        EXPECT_TRUE(Contains(outcome.err, (japanese ? c.japanese : c.english) + L"\r\n")) << outcome.err;
        EXPECT_TRUE(Contains(outcome.err, L"Numvera.exe ended with status " + std::to_wstring(c.numveraStatus)))
            << outcome.err;
        EXPECT_FALSE(testenv::PathExists(Input())) << "the client's own input is not left behind";
    }
}

// A request in progress is never disturbed: an input file already there
// belongs to someone else, and the lock file held by another client, of any
// session or machine, is that client's turn. Numvera.exe is not started, and
// nothing changes but the client's own lock file, which stays and means
// nothing while nobody holds it. A program that opens the lock file for a
// moment, as a virus scanner does, is waited out like any brief holder.
TEST_F(Drive, WhileAnotherRequestIsInProgressNothingIsTouched)
{
    // Let go of well within the client's brief waits, which begin as it
    // starts: it has met the lock held by then.
    constexpr DWORD kMomentMs = 1000;
    enum Turn { kFree, kHeldByAnotherClient, kHeldAMoment };
    const struct {
        const char* what;
        const char* input;  // null: none
        Turn turn;
    } cases[] = {
        {"an input of a number", "5\r\n", kFree},
        {"an input Numvera.exe refused", "-5\r\n", kFree},
        {"an empty input", "", kFree},
        {"the lock file held by another client", nullptr, kHeldByAnotherClient},
        {"the lock file held a moment by another program", nullptr, kHeldAMoment},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocuments();
        MakeProductFolders(true);
        if (c.input != nullptr)
            ASSERT_TRUE(testenv::WriteFileBytes(Input(), c.input));
        std::unique_ptr<FileHolder> turn;
        if (c.turn != kFree) {
            ASSERT_TRUE(::CreateDirectoryW(TempFolder().c_str(), nullptr));
            turn = std::make_unique<FileHolder>(LockFile(), GENERIC_READ, 0, OPEN_ALWAYS);
            ASSERT_TRUE(turn->Holding());
        }
        if (c.turn == kHeldAMoment) {
            Client client(DriveExe(), {L"12"}, m_documents, "");
            ASSERT_TRUE(client.Started());
            ::Sleep(kMomentMs);
            turn.reset();
            const ClientOutcome outcome = client.Finish(kClientTimeoutMs);
            EXPECT_TRUE(outcome.ended);
            ExpectAnswered(outcome, ReferenceResult({12}));
            continue;
        }
        Tree expected = Snapshot(m_documents);
        expected[kTempSuffix] = "<folder>";
        expected[LockFile().substr(m_documents.size())] = "";
        const ClientOutcome outcome = RunClient({L"12"});
        EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kBusy));
        EXPECT_TRUE(Contains(outcome.err, L"in progress")) << outcome.err;
        EXPECT_EQ(Snapshot(m_documents), expected) << "no Result folder: Numvera.exe did not run";
    }
}

// The client takes Numvera.exe's word, its exit status, for whether it
// answered, and then only a result of the binary digits of its own numbers:
// an earlier result, wrong digits, a line more than it asked for, or the
// result of a run that crashed is never printed. Whatever Numvera.exe leaves, the client's input and
// AutoFile folder go, also when another program holds the input a moment;
// one that holds it longer keeps both, and the client says so in one line.
// The input is known by the file, not by its bytes: the same numbers written
// anew by another program are that program's request, and stay.
TEST_F(Drive, AResultIsTakenOnlyWhenNumveraAnsweredAndItsLinesCheck)
{
    const std::string answer = ReferenceResult({12, 34});
    enum Left { kNothing, kHeldInput, kAnothersInput };
    const struct {
        const char* what;
        const wchar_t* standIn;     // what the stand-in for Numvera.exe does
        const char* earlierResult;  // null: none
        int status;
        std::string out;
        const wchar_t* said;  // null: not checked
        Left left = kNothing;     // with the folder made for the request
    } cases[] = {
        {"no result written, an earlier one of as many lines in place", L"forget", "1\r\n10\r\n", kBadResult, "",
         L"does not answer the request"},
        {"wrong digits", L"wrong-digits", nullptr, kBadResult, "", L"does not answer the request"},
        {"a line more than the numbers asked for", L"a-line-more", nullptr, kBadResult, "",
         L"does not answer the request"},
        {"a crash after answering", L"crash", nullptr, kRefused, "", nullptr},
        {"the input's name outlives its removal a moment", L"linger", nullptr, kAnswered, answer, nullptr},
        {"refused, another program holding the input a moment", L"refuse-held", nullptr, kRefused, "", nullptr},
        {"refused, another program holding the input longer than the client waits", L"refuse-held-long", nullptr,
         kRefused, "", L"was left in place", kHeldInput},
        {"answered, and the same numbers written anew by another program", L"answer-and-rewrite", nullptr, kAnswered,
         answer, L"was left for whoever wrote it: it is another file", kAnothersInput},
    };
    const std::wstring standIn = testenv::BesideTestProgram(L"numvera_stand_in.exe");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocuments();
        if (c.earlierResult != nullptr) {
            MakeProductFolders(false);
            ASSERT_TRUE(::CreateDirectoryW(ResultFolder().c_str(), nullptr));
            ASSERT_TRUE(testenv::WriteFileBytes(Result(), c.earlierResult));
        }
        ::SetEnvironmentVariableW(L"NUMVERA_STAND_IN", c.standIn);
        const ClientOutcome outcome = RunClient({L"--exe", standIn, L"12", L"34"});
        ::SetEnvironmentVariableW(L"NUMVERA_STAND_IN", nullptr);
        EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(c.status)) << outcome.err;
        EXPECT_EQ(outcome.out, c.out);
        if (c.said != nullptr)
            EXPECT_TRUE(Contains(outcome.err, c.said)) << outcome.err;
        EXPECT_EQ(Contains(outcome.err, L"left in place"), c.left == kHeldInput) << outcome.err;
        EXPECT_EQ(testenv::PathExists(Input()), c.left != kNothing);
        EXPECT_EQ(testenv::PathExists(AutoFolder()), c.left != kNothing) << "the folder made for the request goes with it";
        if (c.left == kHeldInput) {
            EXPECT_TRUE(Contains(outcome.err, L"remove it and its folder")) << outcome.err;
            EXPECT_TRUE(driver::WaitUntil([&] { return ::DeleteFileW(Input().c_str()) != FALSE; }, 10000));
        }
        if (c.left == kAnothersInput)
            EXPECT_EQ(testenv::ReadFileBytes(Input()), "12\r\n34\r\n");
        if (c.earlierResult != nullptr)
            EXPECT_EQ(testenv::ReadFileBytes(Result()), c.earlierResult);
    }
}

// With the user's messages on, Numvera.exe shows a message box and waits. The
// client says what it says, and with --answer-messages answers it.
TEST_F(Drive, NumverasMessagesAreCopiedAndAnsweredWhenAsked)
{
    const struct {
        const char* what;
        bool refused;
        int status;
        const wchar_t* message;
    } cases[] = {
        {"answered", false, kAnswered, kCompleted},
        {"refused", true, kRefused, kNotWritten},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocuments();
        OpenGate();
        if (c.refused)
            BlockTheResult();
        const ClientOutcome outcome = RunClient({L"--answer-messages", L"9"});
        EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(c.status));
        EXPECT_TRUE(Contains(outcome.err, c.message)) << outcome.err;
        EXPECT_EQ(outcome.out, c.refused ? "" : ReferenceResult({9}));
        EXPECT_FALSE(testenv::PathExists(AutoFolder()));
    }
}

// Numvera.exe message boxes of any process, by caption and text control.
std::vector<HWND> NumveraMessageBoxes()
{
    std::vector<HWND> boxes;
    ::EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            if (::IsWindowVisible(window) && driver::WindowCaption(window) == L"Numvera" &&
                ::GetDlgItem(window, 0xFFFF) != nullptr)
                reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

// The input file is gone as soon as Numvera.exe has answered, but the result
// is not read yet: a second client must not start a request then. Where a
// removal waits for the last handle, as on Wine 8 (and FAT), the answered
// input's name stays until the first client, which keeps the file it wrote
// open to know it by, lets go. The first client's turn is its lock file,
// which nobody else can open in any way while it is held; a second client
// that took it all the same would wait for the first's answer, so every wait
// here is bounded, and the second is not started when the lock is shared.
TEST_F(Drive, ASecondRequestWhileOneIsInProgressIsRefused)
{
    constexpr DWORD kBoundedWaitMs = 30000;  // a guard against hanging, not a measure
    OpenGate();  // the completion message holds the first request open
    Client first(DriveExe(), {L"12", L"34"}, m_documents, "");
    ASSERT_TRUE(first.Started());
    std::vector<HWND> boxes;
    ASSERT_TRUE(driver::WaitUntil([&] { return !(boxes = NumveraMessageBoxes()).empty(); }, kBoundedWaitMs));
    EXPECT_EQ(driver::ControlText(boxes.front(), 0xFFFF), kCompleted);
    EXPECT_EQ(testenv::PathExists(Input()), testenv::WineLine() == 8) << "the first input has been answered";

    // The client looks for boxes every 100 ms; it must have seen this one
    // before it is answered here.
    ASSERT_TRUE(driver::WaitUntil([&] { return Contains(first.ErrSoFar(), kCompleted); }, kBoundedWaitMs));

    bool lockShared = false;
    for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}, DWORD{DELETE}}) {
        HANDLE other = ::CreateFileW(LockFile().c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = ::GetLastError();
        EXPECT_EQ(other, INVALID_HANDLE_VALUE) << "the held lock file opens for access " << std::hex << access;
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << "for access " << std::hex << access;
        if (other != INVALID_HANDLE_VALUE) {
            lockShared = true;
            ::CloseHandle(other);
        }
    }

    if (!lockShared) {
        const Tree before = Snapshot(m_documents);
        Client secondClient(DriveExe(), {L"5"}, m_documents, "");
        EXPECT_TRUE(secondClient.Started());
        const ClientOutcome second = secondClient.Finish(kBoundedWaitMs);
        EXPECT_TRUE(second.ended) << "the second client did not end";
        EXPECT_EQ(second.exitCode, static_cast<DWORD>(kBusy));
        EXPECT_TRUE(Contains(second.err, L"in progress")) << second.err;
        EXPECT_EQ(Snapshot(m_documents), before);
    }

    driver::PressOk(boxes.front());
    const ClientOutcome outcome = first.Finish(kBoundedWaitMs);
    EXPECT_TRUE(outcome.ended);
    EXPECT_EQ(outcome.exitCode, static_cast<DWORD>(kAnswered)) << outcome.err;
    EXPECT_EQ(outcome.out, ReferenceResult({12, 34}));
    EXPECT_FALSE(testenv::PathExists(AutoFolder()));
}

// A console event as Windows delivers it: a new thread of the process that
// starts at kernelbase's CtrlRoutine and calls the handlers; whether it
// returned. Windows ends the process then. Wine has no other way to these
// events: its console sends none when its window closes, and none at logoff
// or shutdown.
bool DeliverConsoleEvent(HANDLE process, DWORD processId, DWORD event)
{
    HMODULE own = ::GetModuleHandleW(L"kernelbase.dll");
    const BYTE* routine = own != nullptr ? reinterpret_cast<const BYTE*>(
                                               reinterpret_cast<void*>(::GetProcAddress(own, "CtrlRoutine")))
                                         : nullptr;
    BYTE* base = nullptr;  // of kernelbase in the other process
    HANDLE modules = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    for (BOOL more = ::Module32FirstW(modules, &module); more; more = ::Module32NextW(modules, &module)) {
        if (_wcsicmp(module.szModule, L"kernelbase.dll") == 0)
            base = module.modBaseAddr;
    }
    ::CloseHandle(modules);
    if (routine == nullptr || base == nullptr)
        return false;
    const auto start =
        reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(base + (routine - reinterpret_cast<BYTE*>(own))));
    HANDLE thread = ::CreateRemoteThread(process, nullptr, 0, start, reinterpret_cast<void*>(static_cast<uintptr_t>(event)),
                                         0, nullptr);
    if (thread == nullptr)
        return false;
    const bool returned = ::WaitForSingleObject(thread, kClientTimeoutMs) == WAIT_OBJECT_0;
    ::CloseHandle(thread);
    return returned;
}

// The end of the session as Windows and Wine's wineboot bring it to a
// program with windows: WM_QUERYENDSESSION and then WM_ENDSESSION to each of
// its top-level windows; the process is ended once they have returned.
void EndSession(DWORD processId)
{
    const std::vector<HWND> windows = driver::AllTopLevelWindows(processId);
    for (const UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION}) {
        for (HWND window : windows) {
            DWORD_PTR answer = 0;
            ::SendMessageTimeoutW(window, message, message == WM_ENDSESSION ? TRUE : 0, 0, SMTO_NORMAL,
                                  kClientTimeoutMs, &answer);
        }
    }
}

// The Numvera.exe that the client started, or null when there is none.
HANDLE OpenNumveraStartedBy(DWORD clientId)
{
    HANDLE numvera = nullptr;
    HANDLE processes = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W process{};
    process.dwSize = sizeof process;
    for (BOOL more = ::Process32FirstW(processes, &process); more && numvera == nullptr;
         more = ::Process32NextW(processes, &process)) {
        if (process.th32ParentProcessID == clientId && _wcsicmp(process.szExeFile, L"Numvera.exe") == 0)
            numvera = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process.th32ProcessID);
    }
    ::CloseHandle(processes);
    return numvera;
}

// Closing the console, logging off and shutting down end the client soon
// after it is told; it puts everything back first. A message box of
// Numvera.exe, which nobody would answer any more, holds an answered
// request: the client answers it and waits. A request that Numvera.exe has
// not taken yet, as it waits for its turn while another start runs, is
// withdrawn: nothing is answered for nobody, no AutoFile folder makes the
// next start automatic, and no Numvera.exe is left to show a message that
// nobody answers (messages are on in every row).
TEST_F(Drive, EveryEndingPutsThingsBack)
{
    constexpr DWORD kSessionMessages = 0xFFFF;  // not a console event
    constexpr DWORD kEndedBySystem = 0xC000013A;
    constexpr DWORD kNumveraEndMs = 10000;  // a guard: one left showing a message never ends
    const bool japanese = ::GetACP() == 932;
    enum Holder { kMessageBox, kTurnHeldElsewhere };
    const struct {
        const char* what;
        DWORD ending;
        Holder holder;
    } cases[] = {
        {"the console closed", CTRL_CLOSE_EVENT, kMessageBox},
        {"logoff", CTRL_LOGOFF_EVENT, kMessageBox},
        {"shutdown", CTRL_SHUTDOWN_EVENT, kMessageBox},
        {"the session ending, told to the windows", kSessionMessages, kMessageBox},
        {"the console closed while Numvera.exe waits for a turn another process holds", CTRL_CLOSE_EVENT,
         kTurnHeldElsewhere},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocuments();
        OpenGate();
        std::unique_ptr<FileHolder> turn;
        if (c.holder == kTurnHeldElsewhere) {
            turn = std::make_unique<FileHolder>(RunLock(), GENERIC_READ, 0, OPEN_ALWAYS);
            ASSERT_TRUE(turn->Holding());
        }
        Client client(DriveExe(), {L"12", L"34"}, m_documents, "");
        ASSERT_TRUE(client.Started());
        HANDLE numvera = nullptr;
        if (c.holder == kMessageBox) {
            ASSERT_TRUE(driver::WaitUntil([&] { return Contains(client.ErrSoFar(), kCompleted); }, 60000));
        } else {
            // Numvera.exe makes the Result folder as it starts, before it
            // looks for AutoFile; the pause takes it into its wait for a turn.
            ASSERT_TRUE(driver::WaitUntil([&] { return testenv::PathExists(ResultFolder()); }, 60000));
            numvera = OpenNumveraStartedBy(client.ProcessId());
            ASSERT_NE(numvera, nullptr);
            ::Sleep(300);
        }
        if (c.ending == kSessionMessages) {
            ASSERT_TRUE(
                driver::WaitUntil([&] { return !driver::AllTopLevelWindows(client.ProcessId()).empty(); }, 60000));
            EndSession(client.ProcessId());
        } else {
            EXPECT_TRUE(DeliverConsoleEvent(client.Process(), client.ProcessId(), c.ending));
        }
        ::TerminateProcess(client.Process(), kEndedBySystem);
        const ClientOutcome outcome = client.Finish(kClientTimeoutMs);
        for (HWND box : NumveraMessageBoxes())
            driver::PressOk(box);  // left only by a client that did not answer it
        EXPECT_FALSE(testenv::PathExists(Input()));
        EXPECT_FALSE(testenv::PathExists(AutoFolder())) << outcome.err;
        if (c.holder == kMessageBox) {
            EXPECT_EQ(outcome.out, ReferenceResult({12, 34}));
            continue;
        }
        EXPECT_EQ(outcome.out, "");
        EXPECT_TRUE(Contains(outcome.err, japanese ? L"要求を取り下げました" : L"the request was withdrawn"))
            << outcome.err;
        // Its turn free now, a Numvera.exe still waiting would answer.
        turn.reset();
        const bool ended = ::WaitForSingleObject(numvera, kNumveraEndMs) == WAIT_OBJECT_0;
        EXPECT_TRUE(ended) << "Numvera.exe is still running";
        if (!ended)
            ::TerminateProcess(numvera, 1);
        ::CloseHandle(numvera);
        EXPECT_FALSE(testenv::PathExists(Result())) << "nothing is answered for nobody";
    }
}

}  // namespace

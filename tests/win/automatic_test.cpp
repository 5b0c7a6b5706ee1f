// Automatic processing through the real executable, worked the way a driving
// program does: the input file written, the program launched, its message
// boxes noted and answered, its end awaited, the files compared byte for byte.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tests/win/ExpectedTexts.h"
#include "tests/win/FileHolder.h"
#include "tests/win/NumveraFixture.h"

namespace {

using Names = std::vector<std::wstring>;
using driver::MessageIcon;

using namespace expected;

// Numvera.exe's exit status for each way an automatic run ends.
// Written out here, not taken from the protocol header, so that a changed
// number fails.
enum Status : DWORD {
    kAnswered = 0,
    kInputMissing = 11,
    kInputEmpty = 12,
    kInputNotNumbers = 13,
    kInputTooLarge = 14,
    kInputUnreadable = 15,
    kValueTooLarge = 16,
    kResultNotWritten = 17,
    kRunInProgress = 19,
    kNoTurn = 20,
    kDialogNotCreated = 21,
};

using Outcome = RunOutcome;

class Automatic : public NumveraFixture {
protected:
    Automatic() : NumveraFixture(L"automatic-") {}

    void SetUp() override
    {
        NumveraFixture::SetUp();
        NewDocuments();
    }

    // A fresh documents folder with the maker, product and AutoFile folders.
    void NewDocuments() { NumveraFixture::NewDocuments({kMakerSuffix, kProductSuffix, kAutoSuffix}); }

    // The common end of a request: one message box and the exit status.
    void ExpectOneMessage(const Outcome& outcome, const std::wstring& text, MessageIcon icon, DWORD status)
    {
        EXPECT_TRUE(outcome.ended);
        EXPECT_EQ(outcome.exitCode, status);
        EXPECT_FALSE(outcome.dialogShown);
        ASSERT_EQ(outcome.messages.size(), 1u);
        EXPECT_EQ(outcome.messages[0].text, text) << testenv::Utf8(outcome.messages[0].text);
        EXPECT_EQ(outcome.messages[0].icon, icon);
        EXPECT_EQ(outcome.messages[0].caption, L"Numvera");
        // The dialog of an automatic run is never shown: a box it owned would
        // have no taskbar button and could open behind other windows. Wine
        // brings every new window to the front, so that the box is in front
        // here does not show that it asked to be, as Windows needs.
        EXPECT_EQ(outcome.messages[0].owner, nullptr);
        EXPECT_TRUE(outcome.messages[0].foreground);
    }

};

TEST_F(Automatic, CompletedRequestsGiveOneBinaryLinePerDecimalLine)
{
    const struct {
        const char* what;
        std::string input;
        std::string result;
    } cases[] = {
        {"CR LF lines", "12\r\n34\r\n", "1100\r\n100010\r\n"},
        {"LF lines without a final break", "12\n34", "1100\r\n100010\r\n"},
        {"blank lines dropped", "5\n\n\n7\n\n", "101\r\n111\r\n"},
        {"a CR inside a line joins the digits", "1\r0\n", "1010\r\n"},
        {"leading zeros", "007", "111\r\n"},
        {"24 zeros and 7", std::string(24, '0') + "7", "111\r\n"},
        {"zero", "0", "0\r\n"},
        {"only line breaks", "\r\n\r\n", ""},
        {"the largest value", "2147483647\r\n0\r\n", std::string(31, '1') + "\r\n0\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocuments();
        WriteInput(c.input);
        const Outcome outcome = Run();
        EXPECT_TRUE(outcome.ended);
        EXPECT_EQ(outcome.exitCode, 0u);
        EXPECT_FALSE(outcome.dialogShown);
        EXPECT_TRUE(outcome.messages.empty()) << "the gate is closed without a settings file";
        EXPECT_EQ(testenv::ReadFileBytes(Result()), c.result);
        EXPECT_TRUE(testenv::PathExists(Result()));
        EXPECT_FALSE(testenv::PathExists(Input())) << "a completed request's input is removed";
        EXPECT_EQ(testenv::FolderEntries(AutoFolder()), Names{}) << "the AutoFile folder stays, empty";
        EXPECT_EQ(testenv::FolderEntries(ResultFolder()), Names{L"BivoResult.tbin"});
        EXPECT_FALSE(testenv::PathExists(Settings())) << "an automatic run saves no settings";
    }
}

TEST_F(Automatic, CompletionIsReportedWhenTheUserAskedForMessages)
{
    OpenGate();
    WriteInput("12\r\n34\r\n");
    const Outcome outcome = Run();
    ExpectOneMessage(outcome, kCompleted, MessageIcon::Information, kAnswered);
    EXPECT_EQ(testenv::ReadFileBytes(Result()), "1100\r\n100010\r\n");
    EXPECT_EQ(testenv::ReadFileBytes(Settings()), "1\r\n1") << "the settings file is not rewritten";
}

TEST_F(Automatic, RefusedRequestsKeepTheirInputAndSayWhy)
{
    const std::string fullWidthOne = "\xEF\xBC\x91";  // the UTF-8 bytes of a full-width 1
    const struct {
        const char* what;
        const char* input;  // null: no input file
        size_t length;      // of input, which may hold NUL bytes
        const wchar_t* message;
        DWORD status;
    } cases[] = {
        {"no input file", nullptr, 0, kM1, kInputMissing},
        {"an empty input file", "", 0, kM2, kInputEmpty},
        {"12 and a space", "12 ", 3, kM3, kInputNotNumbers},
        {"a minus sign", "-5", 2, kM3, kInputNotNumbers},
        {"a plus sign", "+1", 2, kM3, kInputNotNumbers},
        {"a decimal point", "1.5", 3, kM3, kInputNotNumbers},
        {"a comma", "1,5", 3, kM3, kInputNotNumbers},
        {"a tab", "1\t2", 3, kM3, kInputNotNumbers},
        {"a byte-order mark", "\xEF\xBB\xBF" "12", 5, kM3, kInputNotNumbers},
        {"a full-width digit in UTF-8", fullWidthOne.c_str(), 3, kM3, kInputNotNumbers},
        {"a full-width digit in Shift-JIS", "\x82\x50", 2, kM3, kInputNotNumbers},
        {"a Japanese word in Shift-JIS", "12\r\n\x83\x65\x83\x58\x83\x67\r\n", 12, kM3, kInputNotNumbers},
        {"a NUL between digits", "12\0" "34", 5, kM3, kInputNotNumbers},
        {"a NUL at the start", "\0" "1", 2, kM3, kInputNotNumbers},
        {"one value above the limit", "1\r\n2147483648\r\n3\r\n", 18, kTooLargeValue, kValueTooLarge},
        {"25 nines", "9999999999999999999999999", 25, kTooLargeValue, kValueTooLarge},
    };
    // A refused run lets go of its turn and its input before its message: the
    // box may stay up for a long time, and meanwhile another start or the
    // driving program must be able to act.
    m_whileABoxIsUp = [this] {
        for (const std::wstring& path : {RunLock(), Input()}) {
            HANDLE taken = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            const DWORD error = ::GetLastError();
            EXPECT_TRUE(taken != INVALID_HANDLE_VALUE || error == ERROR_FILE_NOT_FOUND)
                << testenv::Utf8(path) << " is still held: error " << error;
            if (taken != INVALID_HANDLE_VALUE)
                ::CloseHandle(taken);
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocuments();
        OpenGate();
        if (c.input != nullptr)
            WriteInput(std::string(c.input, c.length));
        ::CreateDirectoryW(ResultFolder().c_str(), nullptr);
        ASSERT_TRUE(testenv::WriteFileBytes(Result(), "earlier result\r\n"));
        const Outcome outcome = Run();
        ExpectOneMessage(outcome, c.message, MessageIcon::Error, c.status);
        if (c.input != nullptr)
            EXPECT_EQ(testenv::ReadFileBytes(Input()), std::string(c.input, c.length)) << "the input stays as it was";
        else
            EXPECT_FALSE(testenv::PathExists(Input()));
        EXPECT_EQ(testenv::ReadFileBytes(Result()), "earlier result\r\n") << "an earlier result stays";
        EXPECT_TRUE(testenv::PathExists(AutoFolder()));
    }
}

TEST_F(Automatic, AFolderNamedLikeTheInputIsNoInput)
{
    OpenGate();
    ASSERT_TRUE(::CreateDirectoryW(Input().c_str(), nullptr));
    ExpectOneMessage(Run(), kM1, MessageIcon::Error, kInputMissing);
    EXPECT_TRUE(testenv::PathExists(Input()));
}

TEST_F(Automatic, AnInputOfTheReadLimitOrMoreIsRefusedNotCut)
{
    OpenGate();
    std::string input;
    while (input.size() < kInputFileSizeLimit)
        input += "1\r\n";
    input.resize(kInputFileSizeLimit);
    WriteInput(input);
    ExpectOneMessage(Run(), kTooLargeFile, MessageIcon::Error, kInputTooLarge);
    EXPECT_EQ(testenv::ReadFileBytes(Input()).size(), kInputFileSizeLimit);
    EXPECT_FALSE(testenv::PathExists(Result()));
}

TEST_F(Automatic, WithTheGateClosedRefusalsAreSilent)
{
    const struct {
        const char* what;
        const char* settings;  // null: no settings file
    } gates[] = {
        {"no settings file", nullptr},
        {"show-messages line off", "1\r\n0"},
        {"auto-run line off: the box is not checked", "0\r\n1"},
    };
    for (const auto& gate : gates) {
        SCOPED_TRACE(gate.what);
        NewDocuments();
        if (gate.settings != nullptr)
            WriteSettings(gate.settings);
        WriteInput("-5\r\n");
        const Outcome outcome = Run();
        EXPECT_TRUE(outcome.ended);
        EXPECT_FALSE(outcome.dialogShown) << "the start is automatic whatever the settings";
        EXPECT_TRUE(outcome.messages.empty());
        EXPECT_EQ(outcome.exitCode, kInputNotNumbers) << "the exit status tells without a message";
        EXPECT_EQ(testenv::ReadFileBytes(Input()), "-5\r\n");
    }
}

TEST_F(Automatic, ASettingsFileOfOneLineOpensTheGate)
{
    WriteSettings("1");  // line 1 is missing, so empty, so on
    ExpectOneMessage(Run(), kM1, MessageIcon::Error, kInputMissing);
}

TEST_F(Automatic, AReadOnlyInputIsRemovedAllTheSame)
{
    WriteInput("6\r\n");
    ASSERT_TRUE(::SetFileAttributesW(Input().c_str(), FILE_ATTRIBUTE_READONLY));
    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.ended);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(testenv::ReadFileBytes(Result()), "110\r\n");
    EXPECT_FALSE(testenv::PathExists(Input()));
}

// Another program holds the input or the result. One that lets go within a
// moment, as a virus scanner, the indexer or a sync client does with a fresh
// file, or a driving program that closes its input a little late, is waited
// out. One that holds on refuses the request and loses nothing: what is
// removed must be what was read, so a writer, or a reader that does not
// allow removing the input, keeps it from being taken (and it is not taken
// for empty). The settings file held for a moment is waited out too: the
// run still does as the settings say, silent when they close the gate.
TEST_F(Automatic, FilesHeldByAnotherProgramAreWaitedOutOrKeepTheRequest)
{
    const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    // A reader that allows removal does not keep the input's name on Windows:
    // it goes as the program closes its handle (FILE_DISPOSITION_FLAG_POSIX_
    // SEMANTICS, Windows 10 1809 and later), and so on Wine 10. Wine 8 refuses
    // that removal, and the program's fallback leaves the name until the
    // reader lets go, as Windows does on file systems without it (FAT, exFAT).
    const bool nameGoesAtOnce = testenv::WineLine() != 8;
    const struct {
        const char* what;
        bool result;  // else the input is held, or the settings file
        DWORD access;
        DWORD share;
        DWORD letGoAfterMs;  // after the start; 0: held until the program has ended
        const char* writtenMeanwhile;  // null: the input "12" is there before the start
        const wchar_t* message;
        MessageIcon icon;
        DWORD status;
        // Settings written and held instead, let go a moment after the dialog
        // is made; null: the gate is open. A run that missed them would have
        // the gate open, as with no line.
        const char* settings = nullptr;
    } holders[] = {
        {"result held, sharing everything, for a moment", true, GENERIC_READ, shareAll, 700, nullptr, kCompleted,
         MessageIcon::Information, kAnswered},
        {"result held against replacing it", true, GENERIC_READ, FILE_SHARE_READ, 0, nullptr, kNotWritten,
         MessageIcon::Error, kResultNotWritten},
        {"input held for writing", false, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, 0, nullptr, kUnreadable,
         MessageIcon::Error, kInputUnreadable},
        {"input held against removal", false, GENERIC_READ, FILE_SHARE_READ, 0, nullptr, kUnreadable,
         MessageIcon::Error, kInputUnreadable},
        // Its removal allowed, a writer could still change what is answered.
        {"input held for writing by a program that allows removal", false, GENERIC_WRITE, shareAll, 0, nullptr,
         kUnreadable, MessageIcon::Error, kInputUnreadable},
        {"input held by a reader that allows removal", false, GENERIC_READ, shareAll, 0, nullptr, kCompleted,
         MessageIcon::Information, kAnswered},
        {"input read for a moment, sharing only reading", false, GENERIC_READ, FILE_SHARE_READ, 700, nullptr,
         kCompleted, MessageIcon::Information, kAnswered},
        {"input empty at the start, written and closed a moment later", false, GENERIC_WRITE, FILE_SHARE_READ, 700,
         "12\r\n", kCompleted, MessageIcon::Information, kAnswered},
        {"settings closing the gate, read for a moment by a program that shares nothing", false, GENERIC_READ, 0, 700,
         nullptr, nullptr, MessageIcon::Information, kAnswered, "1\r\n0"},
    };
    for (const auto& holding : holders) {
        SCOPED_TRACE(holding.what);
        NewDocuments();
        OpenGate();
        if (holding.settings != nullptr)
            WriteSettings(holding.settings);
        WriteInput(holding.writtenMeanwhile != nullptr ? "" : "12\r\n");
        ::CreateDirectoryW(ResultFolder().c_str(), nullptr);
        ASSERT_TRUE(testenv::WriteFileBytes(Result(), "earlier\r\n"));
        const std::wstring heldPath = holding.settings != nullptr ? Settings() : holding.result ? Result() : Input();
        HANDLE held = ::CreateFileW(heldPath.c_str(), holding.access, holding.share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        Start();
        if (holding.letGoAfterMs != 0) {
            // The settings are read as the dialog is made, however long the start takes.
            if (holding.settings != nullptr)
                EXPECT_TRUE(driver::WaitUntil(
                    [&] { return !driver::AllTopLevelWindows(m_program->ProcessId()).empty(); }, kRunTimeoutMs));
            ::Sleep(holding.letGoAfterMs);
            DWORD written = 0;
            if (holding.writtenMeanwhile != nullptr)
                EXPECT_TRUE(::WriteFile(held, holding.writtenMeanwhile, 4, &written, nullptr));
            ::CloseHandle(held);
        }
        const Outcome outcome = Finish();
        if (holding.message != nullptr) {
            ExpectOneMessage(outcome, holding.message, holding.icon, holding.status);
        } else {
            EXPECT_TRUE(outcome.ended);
            EXPECT_EQ(outcome.exitCode, holding.status);
            EXPECT_TRUE(outcome.messages.empty()) << "the settings closed the gate";
        }
        const bool answered = holding.status == kAnswered;
        if (holding.letGoAfterMs == 0) {
            // An answered input is gone, unless it is the input that is held
            // and its name waits for the holder.
            EXPECT_EQ(testenv::PathExists(Input()), !answered || (!holding.result && !nameGoesAtOnce))
                << "while still held";
            ::CloseHandle(held);
        }
        EXPECT_EQ(testenv::ReadFileBytes(Result()), answered ? "1100\r\n" : "earlier\r\n");
        EXPECT_EQ(testenv::FolderEntries(ResultFolder()), Names{L"BivoResult.tbin"}) << "no temporary file left";
        EXPECT_EQ(testenv::PathExists(Input()), !answered);
        if (!answered)
            EXPECT_EQ(testenv::ReadFileBytes(Input()), "12\r\n");
    }
}

// The ANSI name of a documents folder that the code page cannot spell names
// another folder ("Łukasz" becomes "Lukasz" under code page 1252): the
// request is taken in the user's own folder, and the other is not touched.
TEST_F(Automatic, ADocumentsFolderTheCodePageCannotSpellIsTheUsersOwn)
{
    const std::wstring own = m_root + L"\\Łukasz";
    const std::wstring lookalike = m_root + L"\\Lukasz";
    for (const std::wstring& documents : {lookalike, own}) {
        for (const wchar_t* folder : {L"", kMakerSuffix, kProductSuffix, kAutoSuffix})
            ASSERT_TRUE(::CreateDirectoryW((documents + folder).c_str(), nullptr));
    }
    ASSERT_TRUE(testenv::WriteFileBytes(lookalike + kAutoSuffix + kInputFileSuffix, "7\r\n"));
    m_documents = own;
    WriteInput("12\r\n");
    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.ended);
    EXPECT_EQ(outcome.exitCode, kAnswered);
    EXPECT_EQ(testenv::ReadFileBytes(Result()), "1100\r\n");
    EXPECT_FALSE(testenv::PathExists(Input()));
    EXPECT_EQ(testenv::FolderEntries(lookalike + kProductSuffix), Names{L"AutoFile"}) << "nothing made there";
    EXPECT_EQ(testenv::ReadFileBytes(lookalike + kAutoSuffix + kInputFileSuffix), "7\r\n");
}

// One automatic run per product folder at a time: a start waits while another
// holds the lock, then takes the request that is there when it gets the lock.
TEST_F(Automatic, AStartWaitsForAnotherRunAndThenTakesTheInputAsItIsThen)
{
    OpenGate();
    ASSERT_TRUE(testenv::WriteFileBytes(RunLock(), "left by a start that ended"));
    WriteInput("1\r\n");
    ExpectOneMessage(Run(), kCompleted, MessageIcon::Information, kAnswered);
    EXPECT_EQ(testenv::ReadFileBytes(Result()), "1\r\n") << "a lock file nobody holds is no lock";

    WriteInput("2\r\n");
    {
        FileHolder holder(RunLock(), GENERIC_READ, 0, OPEN_ALWAYS);
        ASSERT_TRUE(holder.Holding());
        Start();
        DWORD exitCode = 0;
        EXPECT_FALSE(m_program->WaitForExit(3000, &exitCode)) << "the start did not wait";
        EXPECT_TRUE(m_program->MessageBoxes().empty());
        EXPECT_EQ(testenv::ReadFileBytes(Input()), "2\r\n");
        WriteInput("3\r\n");  // the other run answered 2 and a new request came
    }
    ExpectOneMessage(Finish(), kCompleted, MessageIcon::Information, kAnswered);
    EXPECT_EQ(testenv::ReadFileBytes(Result()), "11\r\n");
    EXPECT_FALSE(testenv::PathExists(Input()));
}

// A start that cannot have its turn touches nothing. Another start that
// holds the turn too long is 19, which a driving program may try again; a
// lock file that cannot be opened at all is 20, which waiting will not mend.
TEST_F(Automatic, ARunLockThatCannotBeHadRefusesAndTouchesNothing)
{
    enum Block { kHeldPastAMinute, kFolderOfItsName, kTempAPlainFile };
    const struct {
        const char* what;
        Block block;
        const wchar_t* message;  // null: none, since no settings file can be read
        DWORD status;
    } cases[] = {
        {"a folder named like the lock file", kFolderOfItsName, kNoTurnMessage, kNoTurn},
        {"temp is a plain file", kTempAPlainFile, nullptr, kNoTurn},
        {"held by another start past a minute", kHeldPastAMinute, kInUse, kRunInProgress},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // The wait is a minute, so it is timed once, not again under code page 932.
        if (c.block == kHeldPastAMinute && ::GetACP() == 932)
            continue;
        NewDocuments();
        if (c.block == kTempAPlainFile)
            ASSERT_TRUE(testenv::WriteFileBytes(TempFolder(), "not a folder"));
        else
            OpenGate();
        WriteInput("5\r\n");
        ::CreateDirectoryW(ResultFolder().c_str(), nullptr);
        ASSERT_TRUE(testenv::WriteFileBytes(Result(), "earlier\r\n"));
        std::unique_ptr<FileHolder> holder;
        if (c.block == kHeldPastAMinute) {
            holder = std::make_unique<FileHolder>(RunLock(), GENERIC_READ, 0, OPEN_ALWAYS);
            ASSERT_TRUE(holder->Holding());
        } else if (c.block == kFolderOfItsName) {
            ASSERT_TRUE(::CreateDirectoryW(RunLock().c_str(), nullptr));
        }
        const Outcome outcome = Run();
        if (c.message != nullptr) {
            ExpectOneMessage(outcome, c.message, MessageIcon::Error, c.status);
        } else {
            EXPECT_TRUE(outcome.ended);
            EXPECT_EQ(outcome.exitCode, c.status);
            EXPECT_TRUE(outcome.messages.empty());
        }
        EXPECT_EQ(testenv::ReadFileBytes(Input()), "5\r\n");
        EXPECT_EQ(testenv::ReadFileBytes(Result()), "earlier\r\n");
    }
}

// A dialog that cannot be created ends the program before anything is read
// or written, without a message: Numvera.exe built without its resources
// stands in for a system that refuses to create it.
TEST_F(Automatic, ADialogThatCannotBeCreatedTouchesNothing)
{
    OpenGate();
    WriteInput("5\r\n");
    driver::Program program(testenv::BesideTestProgram(L"numvera_without_dialog.exe"), m_documents);
    ASSERT_TRUE(program.Started());
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(kRunTimeoutMs, &exitCode)) << "a message box or a dialog holds it";
    EXPECT_EQ(exitCode, kDialogNotCreated);
    EXPECT_EQ(testenv::ReadFileBytes(Input()), "5\r\n");
    EXPECT_EQ(testenv::FolderEntries(Product()), (Names{L"AutoFile", L"temp"})) << "no folder made";
}

TEST_F(Automatic, AResultThatCannotBeWrittenKeepsTheInput)
{
    const struct {
        const char* what;
        bool resultIsFolder;  // else the Result folder is a plain file
    } cases[] = {{"the result path is a folder", true}, {"the Result folder is a plain file", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocuments();
        OpenGate();
        WriteInput("3\r\n");
        if (c.resultIsFolder) {
            ::CreateDirectoryW(ResultFolder().c_str(), nullptr);
            ASSERT_TRUE(::CreateDirectoryW(Result().c_str(), nullptr));
        } else {
            ASSERT_TRUE(testenv::WriteFileBytes(ResultFolder(), "not a folder"));
        }
        ExpectOneMessage(Run(), kNotWritten, MessageIcon::Error, kResultNotWritten);
        EXPECT_EQ(testenv::ReadFileBytes(Input()), "3\r\n");
    }
}

TEST_F(Automatic, RandomRequestsMatchAReferenceConversion)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<uint32_t> values(0, 2147483647u);
    const char* breaks[] = {"\r\n", "\n", "\r\n\r\n", "\n\n"};
    for (int request = 0; request < 3; ++request) {
        NewDocuments();
        std::string input, expected;
        for (int line = 0; line < 2000; ++line) {
            const uint32_t value = random() % 3 == 0 ? random() % 16 : values(random);
            std::string digits = std::string(random() % 2, '0') + std::to_string(value);
            if (random() % 8 == 0 && digits.size() > 1)
                digits.insert(1, "\r");
            input += digits + breaks[random() % 4];
            expected += testenv::BinaryDigits(value) + "\r\n";
        }
        WriteInput(input);
        const Outcome outcome = Run();
        EXPECT_TRUE(outcome.ended);
        EXPECT_TRUE(outcome.messages.empty());
        EXPECT_EQ(testenv::ReadFileBytes(Result()), expected) << "request " << request;
    }
}

TEST_F(Automatic, TheLargestAcceptedInputIsConvertedWhole)
{
    std::mt19937 random(77);
    std::string input, expected;
    for (;;) {
        const uint32_t value = random() % 2147483648u;
        const std::string line = std::to_string(value) + "\r\n";
        if (input.size() + line.size() > 2076999)
            break;
        input += line;
        expected += testenv::BinaryDigits(value) + "\r\n";
    }
    input.append(2076999 - input.size(), '\n');  // exactly one byte below the limit
    WriteInput(input);
    const Outcome outcome = Run();
    EXPECT_TRUE(outcome.ended);
    EXPECT_TRUE(outcome.messages.empty());
    EXPECT_EQ(testenv::ReadFileBytes(Result()), expected);
    EXPECT_FALSE(testenv::PathExists(Input()));
}

// Interactive starts: the AutoFile folder alone decides the mode, and the
// settings only set the two check boxes.
class InteractiveStart : public Automatic {
protected:
    HWND StartInteractive()
    {
        const Outcome outcome = Run();
        EXPECT_TRUE(outcome.dialogShown);
        EXPECT_TRUE(outcome.messages.empty());
        return m_program->WaitForWindow(L"Binarok", 0);
    }
};

TEST_F(InteractiveStart, SettingsSetTheBoxesAndTheAutoRunBoxEndsUnchecked)
{
    const struct {
        const char* what;
        const char* settings;  // null: none
        int showMessagesCheck;
    } cases[] = {
        {"both lines on", "1\r\n1", BST_CHECKED},
        {"no settings file", nullptr, BST_UNCHECKED},
        {"auto-run off, messages on", "0\r\n1", BST_UNCHECKED},
        {"auto-run on, messages off", "1\r\n0", BST_UNCHECKED},
        {"a line of 00 means on", "00\r\n 0", BST_CHECKED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        NewDocuments();
        ASSERT_TRUE(::RemoveDirectoryW(AutoFolder().c_str()));
        if (c.settings != nullptr)
            WriteSettings(c.settings);
        HWND dialog = StartInteractive();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(driver::CheckState(dialog, IDC_AUTO_RUN), BST_UNCHECKED);
        EXPECT_FALSE(driver::IsControlVisible(dialog, IDC_SHOW_MESSAGES));
        EXPECT_EQ(driver::CheckState(dialog, IDC_SHOW_MESSAGES), c.showMessagesCheck);
        EXPECT_FALSE(driver::IsControlVisible(dialog, IDC_PROGRESS));
        EXPECT_FALSE(driver::IsControlVisible(dialog, IDC_PROGRESS_TEXT));
        EXPECT_TRUE(driver::IsControlEnabled(dialog, IDOK));
        TearDown();
    }
}

TEST_F(InteractiveStart, APlainFileNamedAutoFileMeansInteractive)
{
    ASSERT_TRUE(::RemoveDirectoryW(AutoFolder().c_str()));
    ASSERT_TRUE(testenv::WriteFileBytes(AutoFolder(), "not a folder"));
    EXPECT_NE(StartInteractive(), nullptr);
}

TEST_F(InteractiveStart, TheStartMakesTheResultAndTempFoldersButNotAutoFile)
{
    ASSERT_TRUE(::RemoveDirectoryW(AutoFolder().c_str()));
    EXPECT_NE(StartInteractive(), nullptr);
    EXPECT_EQ(testenv::FolderEntries(Product()), (Names{L"Result", L"temp"}));
}

TEST_F(InteractiveStart, TheAutoRunSwitchMakesTheFolderAndShowsItsMessagesWhateverTheGate)
{
    ASSERT_TRUE(::RemoveDirectoryW(AutoFolder().c_str()));
    WriteSettings("0\r\n0");  // messages off: the switch's own messages show all the same
    HWND dialog = StartInteractive();
    ASSERT_NE(dialog, nullptr);
    const struct {
        int boxAfter;
        const wchar_t* message;  // null: none
        MessageIcon icon;
        bool showMessagesVisible;
    } clicks[] = {
        {BST_CHECKED, kAutoFolderCreatedMessage, MessageIcon::Information, true},
        {BST_UNCHECKED, nullptr, MessageIcon::None, false},
        {BST_CHECKED, kAutoFolderExistsMessage, MessageIcon::Error, true},
    };
    int number = 0;
    for (const auto& click : clicks) {
        SCOPED_TRACE("click " + std::to_string(++number));
        driver::PostClick(dialog, IDC_AUTO_RUN);
        if (click.message != nullptr) {
            driver::MessageBoxInfo box{};
            ASSERT_TRUE(m_program->AnswerMessageBox(10000, &box));
            EXPECT_EQ(box.text, click.message);
            EXPECT_EQ(box.icon, click.icon);
            EXPECT_EQ(box.owner, dialog) << "a box of the dialog on screen is its own";
        }
        EXPECT_TRUE(driver::WaitUntil(
            [&] { return driver::IsControlVisible(dialog, IDC_SHOW_MESSAGES) == click.showMessagesVisible; }, 10000));
        EXPECT_EQ(driver::CheckState(dialog, IDC_AUTO_RUN), click.boxAfter);
        EXPECT_TRUE(m_program->MessageBoxes().empty());
        EXPECT_TRUE(testenv::PathExists(AutoFolder())) << "clearing the box removes nothing";
        if (number == 1)
            ASSERT_TRUE(testenv::WriteFileBytes(Input(), "5\r\n"));
    }
    EXPECT_EQ(testenv::ReadFileBytes(Input()), "5\r\n");
}

}  // namespace

// Requests under stress and faults: many programs at once, a long run of
// requests from a driving loop, a full disk, a read-only result, an input
// that another program keeps appending to. Whatever happens, a request is
// either answered completely or its input stays, and no program hangs.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/win/ExpectedTexts.h"
#include "tests/win/NumveraFixture.h"

namespace {

using Names = std::vector<std::wstring>;

constexpr DWORD kEndTimeoutMs = 60000;

using expected::kNotWritten;
using expected::kUnreadable;

// The test's own folder is the documents folder, with every folder made.
class Faults : public NumveraFixture {
protected:
    Faults() : NumveraFixture(L"faults-") {}

    void SetUp() override
    {
        NumveraFixture::SetUp();
        m_documents = m_root;
        CreateFolders(m_documents, {kMakerSuffix, kProductSuffix, kAutoSuffix, kResultSuffix, kTempSuffix});
    }

    // Runs one request to its end, answering message boxes; their texts.
    std::vector<std::wstring> RunToEnd(DWORD* exitCode)
    {
        Start();
        const RunOutcome outcome = Finish(kEndTimeoutMs);
        EXPECT_FALSE(outcome.dialogShown) << "an automatic start showed its dialog";
        if (outcome.ended)
            *exitCode = outcome.exitCode;
        std::vector<std::wstring> messages;
        for (const driver::MessageBoxInfo& box : outcome.messages)
            messages.push_back(box.text);
        return messages;
    }
};

TEST_F(Faults, TwentyProgramsStartedAtOnceOnOneRequestAnswerItOnce)
{
    std::string input, expected;
    for (uint32_t value = 0; value < 3000; ++value) {
        input += std::to_string(value * 715827u) + "\r\n";
        expected += testenv::BinaryDigits(value * 715827u) + "\r\n";
    }
    ASSERT_TRUE(testenv::WriteFileBytes(Input(), input));

    std::vector<std::unique_ptr<driver::Program>> programs;
    for (int i = 0; i < 20; ++i)
        programs.push_back(std::make_unique<driver::Program>(testenv::NumveraExe(), m_documents));
    int answered = 0;
    for (auto& program : programs) {
        DWORD exitCode = 1;
        EXPECT_TRUE(program->WaitForExit(kEndTimeoutMs, &exitCode)) << "a program hangs";
        EXPECT_TRUE(exitCode == 0 || exitCode == 11) << exitCode << ": answered, or found no input";
        answered += exitCode == 0 ? 1 : 0;
    }
    EXPECT_EQ(answered, 1);
    // Programs that came late found no input, silently (no settings file).
    EXPECT_EQ(testenv::ReadFileBytes(Result()), expected);
    EXPECT_FALSE(testenv::PathExists(Input()));
    EXPECT_EQ(testenv::FolderEntries(ResultFolder()), Names{L"BivoResult.tbin"}) << "no temporary file is left";
}

TEST_F(Faults, TwoHundredRequestsFromADrivingLoopAreEachAnsweredOrKept)
{
    std::mt19937 random(6);
    int answered = 0, kept = 0;
    for (int request = 0; request < 200; ++request) {
        SCOPED_TRACE("request " + std::to_string(request));
        std::string input, expected;
        const int kind = static_cast<int>(random() % 4);  // 0: a stray character, 1: too large, else valid
        const int lines = 1 + static_cast<int>(random() % 20);
        for (int line = 0; line < lines; ++line) {
            const uint32_t value = random() % 2147483648u;
            input += std::to_string(value) + (random() % 2 ? "\r\n" : "\n");
            expected += testenv::BinaryDigits(value) + "\r\n";
        }
        if (kind == 0)
            input.insert(random() % input.size(), random() % 2 ? "-" : " ");
        else if (kind == 1)
            input += "2147483648\r\n";
        ASSERT_TRUE(testenv::WriteFileBytes(Input(), input));
        ::DeleteFileW(Result().c_str());

        // With the gate closed no message box can hold the program up.
        driver::Program program(testenv::NumveraExe(), m_documents);
        ASSERT_TRUE(program.Started()) << "error " << program.StartError();
        DWORD exitCode = 1;
        ASSERT_TRUE(program.WaitForExit(kEndTimeoutMs, &exitCode)) << "a program hangs";
        EXPECT_EQ(exitCode, kind == 0 ? 13u : kind == 1 ? 16u : 0u) << "not numbers, a value too large, answered";
        if (kind >= 2) {
            ++answered;
            EXPECT_EQ(testenv::ReadFileBytes(Result()), expected);
            EXPECT_FALSE(testenv::PathExists(Input()));
        } else {
            ++kept;
            EXPECT_EQ(testenv::ReadFileBytes(Input()), input) << "a refused request keeps its input";
            EXPECT_FALSE(testenv::PathExists(Result()));
            ASSERT_TRUE(::DeleteFileW(Input().c_str()));
        }
        ASSERT_EQ(testenv::FolderEntries(ResultFolder()), kind >= 2 ? Names{L"BivoResult.tbin"} : Names{});
    }
    EXPECT_GT(answered, 50);
    EXPECT_GT(kept, 50);
}

TEST_F(Faults, AReadOnlyResultFileIsNotReplaced)
{
    OpenGate();
    ASSERT_TRUE(testenv::WriteFileBytes(Result(), "earlier\r\n"));
    ASSERT_TRUE(::SetFileAttributesW(Result().c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(testenv::WriteFileBytes(Input(), "8\r\n"));
    DWORD exitCode = 1;
    EXPECT_EQ(RunToEnd(&exitCode), std::vector<std::wstring>{kNotWritten});
    ::SetFileAttributesW(Result().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testenv::ReadFileBytes(Result()), "earlier\r\n");
    EXPECT_EQ(testenv::ReadFileBytes(Input()), "8\r\n");
}

// The Result folder becomes a small file system with almost no room left.
// Needs root and tmpfs, so the test skips where a mount is not allowed.
TEST_F(Faults, AFullDiskKeepsTheRequestAndLeavesNoTemporaryFile)
{
    const std::string mountPoint = testenv::UnixPathOf(ResultFolder());
    if (mountPoint.empty() || !testenv::RunUnixCommand({"mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", mountPoint}))
        GTEST_SKIP() << "no small file system can be mounted here";
    struct Unmount {
        std::string point;
        ~Unmount() { testenv::RunUnixCommand({"umount", point}); }
    } unmount{mountPoint};

    OpenGate();
    // Fill the disk but a little, then ask for a result larger than that.
    std::string filler(60 * 1024, 'x');
    while (!filler.empty() && !testenv::WriteFileBytes(ResultFolder() + L"\\filler", filler))
        filler.resize(filler.size() - 1024);
    std::string input;
    for (int i = 0; i < 2000; ++i)
        input += "2147483647\r\n";
    ASSERT_TRUE(testenv::WriteFileBytes(Input(), input));
    DWORD exitCode = 1;
    EXPECT_EQ(RunToEnd(&exitCode), std::vector<std::wstring>{kNotWritten});
    EXPECT_EQ(testenv::ReadFileBytes(Input()), input);
    EXPECT_EQ(testenv::FolderEntries(ResultFolder()), Names{L"filler"});
}

// Another program appends whole lines, each with one open, write and close.
// The input stays open from its read to its removal, and no writer can reach
// it meanwhile, so every line written is either answered or still there.
TEST_F(Faults, AnInputThatAnotherProgramAppendsToLosesNoLine)
{
    OpenGate();
    std::atomic<bool> stop{false};
    std::atomic<int> appended{0};
    const std::wstring input = Input();
    std::thread appender([&] {
        while (!stop) {
            HANDLE file = ::CreateFileW(input.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                DWORD written = 0;
                if (::WriteFile(file, "1234567\r\n", 9, &written, nullptr) && written == 9)
                    ++appended;
                ::Sleep(1);  // the file stays open a moment after the write
                ::CloseHandle(file);
            }
            ::Sleep(2);
        }
    });
    const std::string line = testenv::BinaryDigits(1234567) + "\r\n";
    size_t answered = 0;
    int completed = 0;
    for (int run = 0; run < 10; ++run) {
        DWORD exitCode = 1;
        const std::vector<std::wstring> messages = RunToEnd(&exitCode);
        ASSERT_EQ(messages.size(), 1u);
        if (messages[0] == kUnreadable)
            continue;  // the appender had it open just then
        ASSERT_EQ(testenv::Utf8(messages[0]), testenv::Utf8(L"処理を完了しました。"));
        ++completed;
        const std::string result = testenv::ReadFileBytes(Result());
        ASSERT_EQ(result.size() % line.size(), 0u);
        std::string whole;
        while (whole.size() < result.size())
            whole += line;
        EXPECT_EQ(result, whole) << "only complete lines are converted";
        answered += result.size() / line.size();
    }
    stop = true;
    appender.join();
    const size_t kept = testenv::ReadFileBytes(Input()).size() / 9;
    EXPECT_EQ(answered + kept, static_cast<size_t>(appended)) << "every line is answered or kept";
    RecordProperty("completed", completed);
}

// Another program keeps taking the AutoFile folder away and putting it back
// with a fresh input while programs start: each start ends by itself, and a
// result, whenever one is written, is the whole answer to that input.
TEST_F(Faults, AnAutoFileFolderThatComesAndGoesNeverGivesAPartialAnswer)
{
    const std::wstring folder = AutoFolder();
    const std::wstring input = Input();
    std::string request, expected;
    for (uint32_t value = 1; value <= 500; ++value) {
        request += std::to_string(value * 4294967u % 2147483648u) + "\r\n";
        expected += testenv::BinaryDigits(value * 4294967u % 2147483648u) + "\r\n";
    }
    std::atomic<bool> stop{false};
    std::thread flipper([&] {
        while (!stop) {
            ::DeleteFileW(input.c_str());
            ::RemoveDirectoryW(folder.c_str());
            ::Sleep(3);
            ::CreateDirectoryW(folder.c_str(), nullptr);
            testenv::WriteFileBytes(input, request);
            ::Sleep(3);
        }
    });
    for (int run = 0; run < 10; ++run) {
        driver::Program program(testenv::NumveraExe(), m_documents);
        DWORD exitCode = 1;
        HWND dialog = nullptr;  // a start without the folder is interactive
        EXPECT_TRUE(driver::WaitUntil(
            [&] { return program.WaitForExit(0, &exitCode) || (dialog = program.WaitForWindow(L"Binarok", 0)) != nullptr; },
            kEndTimeoutMs))
            << "a program hangs";
        if (dialog != nullptr) {
            driver::PostClick(dialog, IDOK);
            EXPECT_TRUE(program.WaitForExit(kEndTimeoutMs, &exitCode));
        }
        const std::string result = testenv::ReadFileBytes(Result());
        EXPECT_TRUE(result.empty() || result == expected) << "run " << run << ": " << result.size() << " bytes";
    }
    stop = true;
    flipper.join();
}

}  // namespace

// Saving the check boxes when the user leaves Numvera.exe with "終了".
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/win/ExpectedTexts.h"
#include "tests/win/NumveraFixture.h"

namespace {

using Names = std::vector<std::wstring>;

class SettingsFile : public NumveraFixture {
protected:
    SettingsFile() : NumveraFixture(L"settings-") {}

    void Start(const std::wstring& documents) { StartDialog(documents); }

    // Presses "終了" and waits for the process to end normally.
    void Exit()
    {
        driver::PostClick(m_dialog, IDOK);
        DWORD exitCode = 1;
        ASSERT_TRUE(m_program->WaitForExit(kExitTimeoutMs, &exitCode)) << "the dialog did not close";
        EXPECT_EQ(exitCode, 0u);
        EXPECT_TRUE(m_program->MessageBoxes().empty());
    }

    void SetCheck(int id, bool checked)
    {
        if ((driver::CheckState(m_dialog, id) == BST_CHECKED) != checked)
            driver::Click(m_dialog, id);
        ASSERT_EQ(driver::CheckState(m_dialog, id), checked ? BST_CHECKED : BST_UNCHECKED);
    }

    // Checking the auto-run box answers with a message box, which is closed;
    // its text is returned. Clearing the box shows none.
    std::wstring SetAutoRun(bool checked)
    {
        if ((driver::CheckState(m_dialog, IDC_AUTO_RUN) == BST_CHECKED) == checked)
            return std::wstring();
        driver::PostClick(m_dialog, IDC_AUTO_RUN);
        driver::MessageBoxInfo box{};
        if (checked)
            EXPECT_TRUE(m_program->AnswerMessageBox(kStartTimeoutMs, &box));
        EXPECT_TRUE(driver::WaitUntil(
            [&] { return (driver::CheckState(m_dialog, IDC_AUTO_RUN) == BST_CHECKED) == checked; }, kExitTimeoutMs));
        EXPECT_TRUE(driver::WaitUntil(
            [&] { return driver::IsControlVisible(m_dialog, IDC_SHOW_MESSAGES) == checked; }, kExitTimeoutMs));
        return box.text;
    }
};

std::wstring MakeFolders(const std::wstring& root, const std::vector<std::wstring>& relatives)
{
    for (const std::wstring& relative : relatives)
        ::CreateDirectoryW((root + relative).c_str(), nullptr);
    return root;
}

const std::vector<std::wstring> kWorkingFolders = {kMakerSuffix, kProductSuffix, kTempSuffix};

}  // namespace

TEST_F(SettingsFile, ExitSavesBothCheckBoxesInFourBytes)
{
    struct Case {
        const char* what;
        bool showMessages;
        bool autoRunAtExit;  // clearing the box hides the show-messages box
        std::string bytes;
    };
    const Case cases[] = {
        {"auto-run on, messages shown and on", true, true, "1\r\n1"},
        {"auto-run on, messages shown and off", false, true, "1\r\n0"},
        {"auto-run off, messages hidden though checked", true, false, "0\r\n0"},
    };
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring documents = MakeFolders(m_root + L"\\" + std::to_wstring(++run), {L""});
        MakeFolders(documents, kWorkingFolders);
        // A longer, older settings file is replaced whole.
        ASSERT_TRUE(testenv::WriteFileBytes(documents + kTempSuffix + kSettingsFileSuffix, "9\r\n9\r\nold"));
        Start(documents);
        ASSERT_FALSE(HasFatalFailure());
        SetAutoRun(true);
        SetCheck(IDC_SHOW_MESSAGES, c.showMessages);
        SetAutoRun(c.autoRunAtExit);
        Exit();
        EXPECT_EQ(testenv::ReadFileBytes(documents + kTempSuffix + kSettingsFileSuffix), c.bytes);
        EXPECT_EQ(testenv::FolderEntries(documents + kTempSuffix), Names{L"BivoA.tmp"})
            << "no temporary file is left";
    }
}

TEST_F(SettingsFile, ExitMakesAMissingTempFolderBelowTheProductFolder)
{
    const std::wstring documents = MakeFolders(m_root, {kMakerSuffix, kProductSuffix});
    Start(documents);
    ASSERT_FALSE(HasFatalFailure());
    // The start made the working folders; the temp folder goes again.
    EXPECT_EQ(testenv::FolderEntries(documents + kProductSuffix), (Names{L"Result", L"temp"}));
    ASSERT_TRUE(::RemoveDirectoryW((documents + kTempSuffix).c_str()));
    SetAutoRun(true);
    SetCheck(IDC_SHOW_MESSAGES, false);
    Exit();
    EXPECT_EQ(testenv::FolderEntries(documents + kProductSuffix), (Names{L"AutoFile", L"Result", L"temp"}));
    EXPECT_EQ(testenv::ReadFileBytes(documents + kTempSuffix + kSettingsFileSuffix), "1\r\n0");
}

TEST_F(SettingsFile, WithoutTheMakerFolderNothingIsCreatedOrSaved)
{
    const std::wstring documents = MakeFolders(m_root, {L""});
    Start(documents);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(SetAutoRun(true), kAutoFolderNotCreatedMessage);
    Exit();
    EXPECT_TRUE(testenv::FolderEntries(documents).empty());
}

// Wine's lookup fails (ERROR_FILE_NOT_FOUND, empty path) when the documents
// folder does not exist or its variable is not set. The program starts with
// its current directory on a drive whose root holds the working folders, so
// that paths formed from an empty documents folder would reach them.
TEST_F(SettingsFile, AFailedDocumentsLookupCreatesNothingAnywhere)
{
    const std::wstring fakeRoot = MakeFolders(m_root + L"\\root", {L"", kMakerSuffix, kProductSuffix});
    const std::wstring drive = testenv::MapSpareDrive(fakeRoot);
    ASSERT_FALSE(drive.empty()) << "no drive letter could be mapped";
    struct DriveUnmapper {
        std::wstring drive;
        ~DriveUnmapper() { testenv::UnmapDrive(drive); }
    } unmapper{drive};
    ASSERT_TRUE(testenv::PathExists(drive + kProductSuffix));

    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    struct Case {
        const char* what;
        std::wstring documents;  // empty: the variable is not set
    };
    const Case cases[] = {
        {"the documents folder does not exist", m_root + L"\\missing"},
        {"the documents folder is not configured", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(::SetCurrentDirectoryW((drive + L"\\").c_str()));  // inherited by the program
        Start(c.documents);
        ::SetCurrentDirectoryW(previous);
        ASSERT_FALSE(HasFatalFailure());
        EXPECT_EQ(SetAutoRun(true), kAutoFolderNotCreatedMessage);
        Exit();
        EXPECT_EQ(testenv::FolderEntries(m_root), Names{L"root"});
        EXPECT_TRUE(testenv::FolderEntries(fakeRoot + kProductSuffix).empty())
            << "nothing below the root of the current drive";
    }
}

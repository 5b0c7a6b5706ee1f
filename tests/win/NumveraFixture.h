// The fixture the Wine suites derive from: a fresh folder for each test,
// documents folders below it with the product's folders made, the settings
// file that opens the message gate, the paths of the file protocol, the
// program started on them, and a TearDown that leaves nothing running.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "protocol/FileProtocol.h"
#include "res/resource.h"
#include "tests/win/NumveraTestEnvironment.h"
#include "tests/win/TestDriver.h"

class NumveraFixture : public ::testing::Test {
protected:
    using Folders = std::vector<const wchar_t*>;

    static constexpr DWORD kStartTimeoutMs = 20000;
    static constexpr DWORD kExitTimeoutMs = 10000;
    static constexpr DWORD kRunTimeoutMs = 120000;

    // The test's folder is named rootPrefix and the test's name.
    explicit NumveraFixture(std::wstring rootPrefix) : m_rootPrefix(std::move(rootPrefix)) {}

    void SetUp() override
    {
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        m_root = testenv::FreshFolder(m_rootPrefix + std::wstring(name.begin(), name.end()));
    }

    void TearDown() override { EndProgram(); }

    // A new documents folder below the test's folder, numbered unless named,
    // with these folders (suffixes of it) made; false unless all were made.
    bool NewDocuments(const Folders& folders, const std::wstring& name = L"")
    {
        m_documents = m_root + L"\\" + (name.empty() ? std::to_wstring(++m_runs) : name);
        Folders all{L""};
        all.insert(all.end(), folders.begin(), folders.end());
        return CreateFolders(m_documents, all);
    }

    static bool CreateFolders(const std::wstring& documents, const Folders& suffixes)
    {
        bool made = true;
        for (const wchar_t* suffix : suffixes)
            made = ::CreateDirectoryW((documents + suffix).c_str(), nullptr) != FALSE && made;
        return made;
    }

    std::wstring Product() const { return m_documents + kProductSuffix; }
    std::wstring AutoFolder() const { return m_documents + kAutoSuffix; }
    std::wstring Input() const { return AutoFolder() + kInputFileSuffix; }
    std::wstring ResultFolder() const { return m_documents + kResultSuffix; }
    std::wstring Result() const { return ResultFolder() + kResultFileSuffix; }
    std::wstring TempFolder() const { return m_documents + kTempSuffix; }
    std::wstring Settings() const { return TempFolder() + kSettingsFileSuffix; }
    std::wstring RunLock() const { return TempFolder() + kRunLockFileSuffix; }

    void WriteInput(const std::string& bytes) { ASSERT_TRUE(testenv::WriteFileBytes(Input(), bytes)); }
    void WriteSettings(const std::string& bytes) { ASSERT_TRUE(testenv::WriteSettings(m_documents, bytes)); }
    // Messages of automatic mode are shown only when the user asked for them.
    void OpenGate() { WriteSettings(testenv::kGateOpenSettings); }

    // Starts Numvera.exe on the current documents folder.
    void Start()
    {
        m_program = std::make_unique<driver::Program>(testenv::NumveraExe(), m_documents);
        EXPECT_TRUE(m_program->Started());
    }

    // Starts Numvera.exe on this documents folder and waits for its dialog.
    void StartDialog(const std::wstring& documents)
    {
        m_program = std::make_unique<driver::Program>(testenv::NumveraExe(), documents);
        ASSERT_TRUE(m_program->Started());
        m_dialog = m_program->WaitForWindow(L"Binarok", kStartTimeoutMs);
        ASSERT_NE(m_dialog, nullptr) << "the main dialog did not appear";
    }

    // Answers every message box of the started program until it ends. A
    // dialog that comes up means an interactive start; it is left open.
    driver::RunOutcome Finish(DWORD timeoutMs = kRunTimeoutMs)
    {
        const driver::RunOutcome outcome = m_program->RunToEnd(timeoutMs, m_whileABoxIsUp);
        if (!outcome.ended && !outcome.dialogShown)
            ADD_FAILURE() << "the program neither ended nor showed its dialog";
        return outcome;
    }

    driver::RunOutcome Run()
    {
        Start();
        return Finish();
    }

    // Closes a dialog left open with its exit button; what still runs then is ended.
    void EndProgram()
    {
        if (m_program == nullptr)
            return;
        DWORD exitCode = 0;
        HWND dialog = m_program->WaitForWindow(L"Binarok", 0);
        if (dialog != nullptr && !m_program->WaitForExit(0, &exitCode)) {
            driver::PostClick(dialog, IDOK);
            m_program->WaitForExit(kExitTimeoutMs, &exitCode);
        }
        m_program.reset();
        m_dialog = nullptr;
    }

    std::wstring m_rootPrefix;
    std::wstring m_root;
    std::wstring m_documents;
    int m_runs = 0;
    std::unique_ptr<driver::Program> m_program;
    HWND m_dialog = nullptr;
    // Called while each message box is up, before it is answered.
    std::function<void()> m_whileABoxIsUp;
};

// The fixture of the Wine suites: a fresh folder per test, documents folders
// in it, the settings file, the protocol's paths, the program started on them
// and run to its end, and a TearDown that leaves nothing running.
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

// What one start of the program did, as Finish saw it.
struct RunOutcome {
    bool ended = false;
    DWORD exitCode = 0;
    bool dialogShown = false;
    std::vector<driver::MessageBoxInfo> messages;
};

class NumveraFixture : public ::testing::Test {
protected:
    using Folders = std::vector<const wchar_t*>;

    static constexpr DWORD kStartTimeoutMs = 20000;
    static constexpr DWORD kExitTimeoutMs = 10000;
    static constexpr DWORD kRunTimeoutMs = 120000;

    // The test's folder is named rootPrefix and the test's name.
    explicit NumveraFixture(std::wstring rootPrefix = L"") : m_rootPrefix(std::move(rootPrefix)) {}

    void SetUp() override
    {
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        m_root = testenv::FreshFolder(m_rootPrefix + std::wstring(name.begin(), name.end()));
    }

    // A new documents folder below the test's folder, numbered unless named,
    // with these folders (suffixes of it) made; false unless all were made.
    bool NewDocuments(Folders folders, const std::wstring& name = L"")
    {
        m_documents = m_root + L"\\" + (name.empty() ? std::to_wstring(++m_runs) : name);
        folders.insert(folders.begin(), L"");
        return CreateFolders(m_documents, folders);
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
    // The settings file as the dialog saves it; the folders for it are made.
    void WriteSettings(const std::string& bytes)
    {
        CreateFolders(m_documents, {kProductSuffix, kTempSuffix});
        ASSERT_TRUE(testenv::WriteFileBytes(Settings(), bytes));
    }
    // Messages of automatic mode are shown only when the user asked for them.
    void OpenGate() { WriteSettings("1\r\n1"); }

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
    RunOutcome Finish(DWORD timeoutMs = kRunTimeoutMs)
    {
        RunOutcome outcome;
        const ULONGLONG end = ::GetTickCount64() + timeoutMs;
        while (::GetTickCount64() < end) {
            if (m_program->WaitForExit(0, &outcome.exitCode)) {
                outcome.ended = true;
                return outcome;
            }
            if (m_program->WaitForWindow(L"Binarok", 0) != nullptr) {
                outcome.dialogShown = true;
                return outcome;
            }
            if (!m_program->MessageBoxes().empty()) {
                if (m_whileABoxIsUp)
                    m_whileABoxIsUp();
                driver::MessageBoxInfo box{};
                if (m_program->AnswerMessageBox(10000, &box))
                    outcome.messages.push_back(box);
                continue;
            }
            ::Sleep(20);
        }
        ADD_FAILURE() << "the program neither ended nor showed its dialog";
        return outcome;
    }

    RunOutcome Run()
    {
        Start();
        return Finish();
    }

    // Closes a dialog left open with its exit button; what still runs then is ended.
    void TearDown() override
    {
        DWORD exitCode = 0;
        HWND dialog = m_program != nullptr ? m_program->WaitForWindow(L"Binarok", 0) : nullptr;
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

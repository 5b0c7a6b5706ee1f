// Process-wide state shared by the dialog, the settings file and the batch
// run. Plain globals: only the user-interface thread touches them. Portable:
// no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int32_t kSettingLineCapacity = 10000;
constexpr size_t kReadBufferSize = 2077000;

extern std::wstring g_documentsDir;
extern std::wstring g_productDir;
extern std::wstring g_resultDir;
extern std::wstring g_tempDir;
extern std::wstring g_autoDir;
extern std::wstring g_inputText;
extern std::wstring g_settingLines[kSettingLineCapacity];
extern int32_t g_settingLineCount;
extern int32_t g_inputLineCount;
extern int64_t g_maxValue;
extern int32_t g_autoRunSwitchedOn;
extern unsigned char g_readBuffer[kReadBufferSize];

// Working folders and files, appended to the documents folder as they stand.
constexpr wchar_t kProductSuffix[] = L"\\Quendral\\MFCBivoA";
constexpr wchar_t kResultSuffix[] = L"\\Quendral\\MFCBivoA\\Result";
constexpr wchar_t kTempSuffix[] = L"\\Quendral\\MFCBivoA\\temp";
constexpr wchar_t kAutoSuffix[] = L"\\Quendral\\MFCBivoA\\AutoFile";
constexpr wchar_t kSettingsFileSuffix[] = L"\\BivoA.tmp";
constexpr wchar_t kRunLockFileSuffix[] = L"\\BivoA.lock";  // in the temp folder
constexpr wchar_t kInputFileSuffix[] = L"\\DekoKan.tbin";
constexpr wchar_t kResultFileSuffix[] = L"\\BivoResult.tbin";

// Process-wide state shared by the dialog, the settings file and the batch
// run. Plain globals: only the user-interface thread touches them. Portable:
// no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "protocol/FileProtocol.h"

constexpr int32_t kSettingLineCapacity = 10000;
// A file fills the buffer only when it is too large to be taken.
constexpr size_t kReadBufferSize = kInputFileSizeLimit;

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

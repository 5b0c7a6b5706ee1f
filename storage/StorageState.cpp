#include "storage/StorageState.h"

std::wstring g_documentsDir;
std::wstring g_productDir;
std::wstring g_resultDir;
std::wstring g_tempDir;
std::wstring g_autoDir;
std::wstring g_inputText;
std::wstring g_settingLines[kSettingLineCapacity];
int32_t g_settingLineCount = 0;
int32_t g_inputLineCount = 0;
int64_t g_maxValue = 0;
int32_t g_autoRunSwitchedOn = 0;
unsigned char g_readBuffer[kReadBufferSize] = {};

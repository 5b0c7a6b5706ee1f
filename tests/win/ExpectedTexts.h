// The texts the Wine suites expect on screen, taken from Numvera.exe's own
// table, so that each is written once.
#pragma once

#include "autorun/AutomaticMessages.h"

namespace expected {

inline const wchar_t* const kM1 = RefusalMessage(Refusal::InputMissing);
inline const wchar_t* const kM2 = RefusalMessage(Refusal::InputEmpty);
inline const wchar_t* const kM3 = RefusalMessage(Refusal::InputNotNumbers);
inline const wchar_t* const kTooLargeFile = RefusalMessage(Refusal::InputTooLarge);
inline const wchar_t* const kUnreadable = RefusalMessage(Refusal::InputUnreadable);
inline const wchar_t* const kTooLargeValue = RefusalMessage(Refusal::ValueTooLarge);
inline const wchar_t* const kNotWritten = RefusalMessage(Refusal::ResultNotWritten);
inline const wchar_t* const kInUse = RefusalMessage(Refusal::InUse);
inline const wchar_t* const kNoTurnMessage = RefusalMessage(Refusal::NoTurn);
inline const wchar_t* const kCompleted = kCompletedMessage;

}  // namespace expected

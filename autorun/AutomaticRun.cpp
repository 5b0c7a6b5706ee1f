#include "autorun/AutomaticRun.h"

LockAttempt AutomaticRun::TryTakeTurn(const std::wstring& lockFile) { return TryLockFile(lockFile, m_lock); }

ReadOutcome AutomaticRun::ReadAndHoldInput(const std::wstring& inputFile, std::wstring& text)
{
    ReadOutcome outcome = ReadOutcome::Failed;
    text = ReadAndHoldFile(inputFile, m_input, &outcome);
    return outcome;
}

bool AutomaticRun::RemoveInput() { return RemoveHeldFile(m_input); }

void AutomaticRun::LetGo()
{
    m_input.Close();
    m_lock.Close();
}

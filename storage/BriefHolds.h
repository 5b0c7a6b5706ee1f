// Files that other programs touch for a moment: a virus scanner, the search
// indexer or a sync client opens a fresh file for some milliseconds, and an
// open, a replace or a removal then fails with a sharing violation or access
// denied. Such a failure is tried again a few times before it counts.
#pragma once

#include <windows.h>

#include "protocol/FileProtocol.h"

// Whether the error is one that a program holding the file for a moment causes.
bool IsBriefHoldError(DWORD error);

// Calls attempt() until it answers that it is settled (it succeeded, or failed
// for good); a try that is not settled is made again after the next pause of
// kBriefHoldPausesMs only while GetLastError() is a brief holder's error.
// Whether it settled.
template <class Attempt>
bool RetryWhileBrieflyHeld(Attempt attempt)
{
    if (attempt())
        return true;
    for (const unsigned pause : kBriefHoldPausesMs) {
        if (!IsBriefHoldError(::GetLastError()))
            return false;
        ::Sleep(pause);
        if (attempt())
            return true;
    }
    return false;
}

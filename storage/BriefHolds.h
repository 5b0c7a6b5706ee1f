// Files that other programs touch for a moment: a virus scanner, the search
// indexer or a sync client opens a fresh file for some milliseconds, and an
// open, a replace or a removal then fails with a sharing violation or access
// denied. Such a failure is tried again a few times before it counts.
#pragma once

#include <windows.h>

// Whether the error is one that a program holding the file for a moment causes.
bool IsBriefHoldError(DWORD error);

// The pauses before each try: the first try at once, the last after about
// 0.8 s; about 1.6 s in all.
constexpr DWORD kBriefHoldPausesMs[] = {0, 1, 10, 20, 40, 100, 200, 400, 800};

// Calls attempt() until it answers that it is settled (it succeeded, or failed
// for good); a try that is not settled is made again after the next pause
// only while GetLastError() is a brief holder's error. Whether it settled.
template <class Attempt>
bool RetryWhileBrieflyHeld(Attempt attempt)
{
    for (const DWORD pause : kBriefHoldPausesMs) {
        if (pause != 0)
            ::Sleep(pause);
        if (attempt())
            return true;
        if (!IsBriefHoldError(::GetLastError()))
            return false;
    }
    return false;
}

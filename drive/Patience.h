// Brief retries for file steps that another program can hold up for a
// moment: a virus scanner or the indexer that has just opened a file, or a
// removed file whose name stays until the last program holding it lets go.
// Only such a holder is waited for; any other failure is answered at once.
#pragma once

#include <windows.h>

#include <functional>

// Whether the error is one that a program holding the file for a moment
// causes: a sharing violation, a lock violation, or access denied, which is
// also what Windows answers every open of a file being removed with. The
// same three that Numvera.exe waits out (storage/BriefHolds.cpp).
bool IsBriefHoldError(DWORD error);

// Runs the step until it returns 0 (done), trying again after each pause of
// kBriefHoldPausesMs (about 1.6 s in all, as Numvera.exe does) only while it
// fails with a brief holder's error; what it returned last.
DWORD TryPatiently(const std::function<DWORD()>& step);

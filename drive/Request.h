// One request to Numvera.exe through its files, from the driving side: the
// folders prepared, the input file written, the program launched and awaited,
// its answer read, and everything it did not need put back as it was.
#pragma once

#include <string>

#include "drive/NumberList.h"

// In the temp folder: held open without sharing by the client whose turn it
// is, so that requests of any session or machine take turns.
constexpr wchar_t kClientLockFileSuffix[] = L"\\numvera-drive.lock";

struct RequestOptions {
    std::wstring numveraExe;
    // Copy Numvera.exe's message boxes to standard error and press their OK,
    // for runs that nobody watches.
    bool answerMessages = false;
    // Also say Numvera.exe's exit status.
    bool verbose = false;
};

// Prints the binary lines on standard output and reports on standard error;
// returns the exit status.
int RunRequest(const NumberList& numbers, const RequestOptions& options);

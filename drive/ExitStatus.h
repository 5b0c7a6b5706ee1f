// The exit statuses of numvera-drive.exe, one per way a request can end, so
// that a calling script can tell what to do next.
#pragma once

enum ExitStatus : int {
    kAnswered = 0,       // the binary lines are on standard output
    kRefused = 1,        // Numvera.exe ran and left the input file: refused
    kUsage = 2,          // the command line is wrong
    kInputRefused = 3,   // numbers Numvera.exe would refuse; no file touched
    kCannotRun = 4,      // no documents or maker folder, no Numvera.exe, a write failed
    kBusy = 5,           // another request is in progress; nothing touched
    kBadResult = 6,      // the input was taken but the result file does not answer it
};

// Not an exit status: a step that returns it lets the request go on.
constexpr int kGoOn = -1;

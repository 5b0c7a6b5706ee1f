// Starts a Numvera.exe the way a user does, waits for its dialog, saves a
// picture of it and closes it with its exit button. scripts/package runs it
// in a fresh Wine prefix on the program unpacked from the release package.
// Usage: package_check NUMVERA.EXE PICTURE.BMP
#include <windows.h>

#include <cstdio>
#include <string>

#include "res/resource.h"
#include "tests/win/TestDriver.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: package_check NUMVERA.EXE PICTURE.BMP\n");
        return 2;
    }
    driver::Program program(argv[1], L"");
    if (!program.Started()) {
        std::fprintf(stderr, "package_check: the program did not start\n");
        return 1;
    }
    // A fresh prefix may first set itself up; give the dialog time.
    HWND dialog = program.WaitForWindow(L"Binarok", 120000);
    if (dialog == nullptr) {
        std::fprintf(stderr, "package_check: the dialog did not appear\n");
        return 1;
    }
    ::Sleep(1000);  // let it finish drawing
    const bool saved = driver::SaveWindowImage(dialog, argv[2]);
    driver::PostClick(dialog, IDOK);
    DWORD exitCode = 0;
    if (!program.WaitForExit(20000, &exitCode)) {
        std::fprintf(stderr, "package_check: the exit button did not end the program\n");
        return 1;
    }
    std::printf("package_check: the dialog appeared and closed with its exit button\n");
    return saved ? 0 : 1;
}

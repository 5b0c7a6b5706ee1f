// Not a test of the program: a test program that stops in the middle of its
// run, in each way a real one might, built only to show that the guarded
// runner (tests/run-guarded) counts such a run as failed whatever its exit
// status (ctest expects these runs to fail). It is built for Windows, run
// under Wine, and natively. Each run takes one way by its filter, with a
// test after it that never comes.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

int Recurse(int depth)
{
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    return Recurse(depth + 1) + frame[0];
}

// Ends the process at once with the status 0, no destructor or handler run.
void EndWithZero()
{
#ifdef _WIN32
    ::ExitProcess(0);
#else
    ::_exit(0);
#endif
}

}  // namespace

TEST(StopsEarly, ByExitProcessWithZero) { EndWithZero(); }

TEST(StopsEarly, ByAStackOverflow) { EXPECT_NE(Recurse(0), 0); }

TEST(StopsEarly, ZTheTestAfterIt) { SUCCEED(); }

// Not a test of the program: a test program that stops in the middle of its
// run, in each way a real one might, built only to show that the Wine runner
// counts such a run as failed whatever its exit status (ctest expects these
// runs to fail). Each run takes one way by its filter, with a test after it
// that never comes.
#include <gtest/gtest.h>

#include <windows.h>

namespace {

int Recurse(int depth)
{
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    return Recurse(depth + 1) + frame[0];
}

}  // namespace

TEST(StopsEarly, ByExitProcessWithZero) { ::ExitProcess(0); }

TEST(StopsEarly, ByAStackOverflow) { EXPECT_NE(Recurse(0), 0); }

TEST(StopsEarly, ZTheTestAfterIt) { SUCCEED(); }

// In every Windows test program: a run meant for one code page must really
// have it, or its code-page cases would pass unnoticed under another. The
// programs under test inherit the locale of the test program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

TEST(CodePage, IsTheOneThisRunIsMeantFor)
{
    const UINT acp = ::GetACP();
    std::printf("GetACP() = %u\n", acp);
    wchar_t expected[16] = {};
    if (::GetEnvironmentVariableW(L"NUMVERA_EXPECT_ACP", expected, 16) == 0)
        GTEST_SKIP() << "this run does not name a code page (NUMVERA_EXPECT_ACP); GetACP() is " << acp;
    EXPECT_EQ(acp, static_cast<UINT>(_wtoi(expected)));
}

// Where the program under test and the tests' working folders are.
#pragma once

#include <string>

namespace testenv {

// Numvera.exe, from the variable NUMVERA_EXE.
std::wstring NumveraExe();

// A new empty folder for one test below NUMVERA_TEST_ROOT.
std::wstring FreshFolder(const std::wstring& name);

}  // namespace testenv

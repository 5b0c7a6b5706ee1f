// Where the program under test and the tests' working folders are.
#pragma once

#include <string>

namespace testenv {

// Numvera.exe, from the variable NUMVERA_EXE.
std::wstring NumveraExe();

// A new empty folder for one test below NUMVERA_TEST_ROOT.
std::wstring FreshFolder(const std::wstring& name);

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);

}  // namespace testenv

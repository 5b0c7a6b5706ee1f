// Where the program under test and the tests' working folders are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testenv {

// Numvera.exe, from the variable NUMVERA_EXE.
std::wstring NumveraExe();

// A program that lies beside the running test program.
std::wstring BesideTestProgram(const std::wstring& name);

// The Wine line the tests run on, from NUMVERA_WINE_LINE (8 or 10; see
// tests/wine/wine-line.sh); 0 where none is named, as on Windows.
int WineLine();

// A new empty folder for one test below NUMVERA_TEST_ROOT.
std::wstring FreshFolder(const std::wstring& name);

// The bytes of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);

// Creates or replaces a file with exactly these bytes; false on failure.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

// The names in a folder, sorted, without "." and ".."; empty when missing.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

bool PathExists(const std::wstring& path);

// A link at linkPath to the folder target that shows as a reparse point.
// Tries CreateSymbolicLinkW first; Wine answers it with success but makes
// nothing, so under Wine a Unix symbolic link is made instead, which Wine
// reports with FILE_ATTRIBUTE_REPARSE_POINT. False when neither worked.
bool MakeFolderLink(const std::wstring& linkPath, const std::wstring& target);

// Under Wine: a new drive letter whose root is the folder ("T:"), made as a
// link in the prefix's dosdevices; empty when none could be made.
std::wstring MapSpareDrive(const std::wstring& folder);
void UnmapDrive(const std::wstring& drive);

// Removes a link made by MakeFolderLink, never what it points to.
void RemoveFolderLink(const std::wstring& linkPath);

// Under Wine: runs a Unix command and waits for it; true when it exited with
// status 0. False elsewhere.
bool RunUnixCommand(std::vector<std::string> arguments);

// Under Wine: the Unix path of a Windows path whose last component is ASCII;
// empty elsewhere.
std::string UnixPathOf(const std::wstring& path);

// The process environment with NUMVERA_TEST_DOCS, which the test prefix's
// documents folder expands, set to documentsDir (empty: removed); a block
// for CreateProcessW with CREATE_UNICODE_ENVIRONMENT.
std::vector<wchar_t> EnvironmentWithDocuments(const std::wstring& documentsDir);

// One command-line argument, quoted so that CommandLineToArgvW reads it back.
std::wstring QuotedArgument(const std::wstring& argument);

// The binary digits of a value, by a route independent of the program's.
std::string BinaryDigits(uint32_t value);

// UTF-8 for test messages.
std::string Utf8(const std::wstring& text);

}  // namespace testenv

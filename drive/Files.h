// The file steps of a request, one call each, so that the request reads as
// the protocol goes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

bool Exists(const std::wstring& path);
bool IsFolder(const std::wstring& path);

// Makes one folder level when it is missing; says why when it cannot.
bool MakeFolder(const std::wstring& path);

// The bytes of a file, read while others may read, write and remove it.
std::string ReadBytes(const std::wstring& path, bool* ok);

// 0 when nothing stands at the path; ERROR_ALREADY_EXISTS for a file that
// opens, ERROR_DIRECTORY for a folder; otherwise why it cannot be opened,
// access denied while Windows is still removing a file there (its name stays
// until the last program that has it open lets go, and nobody may open it).
DWORD CheckNameIsFree(const std::wstring& path);

// Writes the bytes as a new file under the staging name and renames it to
// path, never over a file there, all through one handle, so that only the
// whole file appears there. *own is then a second handle to that file,
// which reads nothing and keeps nobody from reading, writing or removing it:
// by it the request knows its input later, whatever has that name by then.
// Where a removal waits for the last handle (FAT, exFAT, Windows before 10
// 1809, Wine 8), the removed file's name stays listed until own is closed.
// 0 or the error (ERROR_ALREADY_EXISTS: path is taken); nothing stays behind
// on failure.
DWORD WriteInputFile(const std::wstring& staging, const std::wstring& path, const std::string& bytes, HANDLE* own);

// The input a request wrote, opened to be removed while it still is the file
// behind own: meanwhile nobody may write it or open it for removal,
// Numvera.exe included, whose open asks for removal and shares only reading.
// INVALID_HANDLE_VALUE otherwise, with *error 0 when it is gone or being
// removed already, ERROR_FILE_EXISTS when another file has its name now, or
// why it cannot be opened (a sharing violation while Numvera.exe holds it).
HANDLE OpenOwnInput(const std::wstring& path, HANDLE own, DWORD* error);

// Removes the file behind the handle, which it closes; 0 or the error.
DWORD RemoveThrough(HANDLE file);

// The names in a folder, without "." and "..".
std::vector<std::wstring> EntriesOf(const std::wstring& folder);

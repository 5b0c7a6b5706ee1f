// The file steps of a request, one call each, so that the request reads as
// the protocol goes.
#pragma once

#include <windows.h>

#include <string>

bool Exists(const std::wstring& path);
bool IsFolder(const std::wstring& path);

// Makes one folder level when it is missing; says why when it cannot.
bool MakeFolder(const std::wstring& path);

// The bytes of a file, read while others may read, write and remove it.
std::string ReadBytes(const std::wstring& path, bool* ok);

// Creates the file, never replacing one; the error code on failure, else 0.
DWORD WriteNewFile(const std::wstring& path, const std::string& bytes);

// Windows lets nobody open a file that is being removed ("delete pending")
// until the last program that holds it lets go; then its name goes too.
bool IsBeingRemoved(const std::wstring& path);

// One try at removing the input a request wrote, but only while it holds
// exactly those bytes: anything else is another request's. Empty when the
// input is gone; otherwise why not, with *final set when trying again is of
// no use.
std::wstring TryRemovingOwnInput(const std::wstring& path, const std::string& bytes, bool* final);

// The first name in a folder, to say what keeps it from being removed.
std::wstring FirstEntryOf(const std::wstring& folder);

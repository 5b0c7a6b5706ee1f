// Folder listing with the framework's look-ahead: FindNextFile moves to the
// next entry and answers whether another one follows it, so the entry it
// reaches is valid even when it returns false.
#pragma once

#include <windows.h>

#include <string>

class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind();
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search; false when nothing matches or the folder cannot be listed.
    BOOL FindFile(const wchar_t* pattern);
    BOOL FindNextFile();
    void Close();

    // The entry FindNextFile reached.
    BOOL IsDots() const;
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL MatchesMask(DWORD mask) const;
    std::wstring GetFileName() const;

private:
    HANDLE m_hContext = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW m_found{};
    WIN32_FIND_DATAW m_next{};
    bool m_hasFound = false;
    bool m_hasNext = false;
};

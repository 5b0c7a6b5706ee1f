#include "framework/FileFind.h"

#include <cwchar>

CFileFind::~CFileFind() { Close(); }

BOOL CFileFind::FindFile(const wchar_t* pattern)
{
    Close();
    m_hContext = ::FindFirstFileW(pattern, &m_next);
    m_hasNext = m_hContext != INVALID_HANDLE_VALUE;
    return m_hasNext;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_hasNext)
        return FALSE;
    m_found = m_next;
    m_hasFound = true;
    m_hasNext = ::FindNextFileW(m_hContext, &m_next) != FALSE;
    return m_hasNext;
}

void CFileFind::Close()
{
    if (m_hContext != INVALID_HANDLE_VALUE)
        ::FindClose(m_hContext);
    m_hContext = INVALID_HANDLE_VALUE;
    m_hasFound = false;
    m_hasNext = false;
}

BOOL CFileFind::IsDots() const
{
    if (!m_hasFound)
        return FALSE;
    return std::wcscmp(m_found.cFileName, L".") == 0 || std::wcscmp(m_found.cFileName, L"..") == 0;
}

BOOL CFileFind::MatchesMask(DWORD mask) const { return m_hasFound && (m_found.dwFileAttributes & mask) != 0; }

std::wstring CFileFind::GetFileName() const { return m_hasFound ? m_found.cFileName : L""; }

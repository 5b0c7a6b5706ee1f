#include "framework/File.h"

namespace {

DWORD AccessFor(UINT flags)
{
    switch (flags & 0x3) {
    case CFile::modeWrite:
        return GENERIC_WRITE;
    case CFile::modeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

// What the others who open the file meanwhile may do.
DWORD ShareFor(UINT flags)
{
    switch (flags & 0x70) {
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:  // shareCompat, shareExclusive
        return 0;
    }
}

DWORD CreationFor(UINT flags)
{
    if ((flags & CFile::modeCreate) == 0)
        return OPEN_EXISTING;
    return (flags & CFile::modeNoTruncate) != 0 ? OPEN_ALWAYS : CREATE_ALWAYS;
}

}  // namespace

CFile::~CFile() { Close(); }

BOOL CFile::Open(const wchar_t* fileName, UINT openFlags)
{
    Close();
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    security.bInheritHandle = (openFlags & modeNoInherit) == 0;
    m_hFile = ::CreateFileW(fileName, AccessFor(openFlags), ShareFor(openFlags), &security, CreationFor(openFlags),
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    return m_hFile != INVALID_HANDLE_VALUE;
}

bool CFile::Read(void* buffer, UINT count, UINT* bytesRead)
{
    DWORD got = 0;
    const bool ok = m_hFile != INVALID_HANDLE_VALUE && ::ReadFile(m_hFile, buffer, count, &got, nullptr);
    *bytesRead = ok ? got : 0;
    return ok;
}

bool CFile::Write(const void* buffer, UINT count)
{
    DWORD written = 0;
    return m_hFile != INVALID_HANDLE_VALUE && ::WriteFile(m_hFile, buffer, count, &written, nullptr) &&
           written == count;
}

bool CFile::Flush() { return m_hFile != INVALID_HANDLE_VALUE && ::FlushFileBuffers(m_hFile); }

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}

BOOL CFile::GetStatus(const wchar_t* fileName, CFileStatus& status)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(fileName, GetFileExInfoStandard, &data))
        return FALSE;
    status.m_attribute = static_cast<BYTE>(data.dwFileAttributes & 0xFF);
    status.m_size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return TRUE;
}

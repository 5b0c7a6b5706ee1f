// Files by handle, with the framework's open flags; the handle is closed by
// Close or the destructor. Most files are opened, used and closed within one
// call; an automatic run keeps its lock and its input open for the whole run.
// Unlike the framework, a failed read or write is reported by the result
// instead of a file exception, so that no caller has to catch one.
#pragma once

#include <windows.h>

#include <cstdint>

struct CFileStatus {
    BYTE m_attribute = 0;  // low byte of the file attributes; 0x10 marks a folder
    uint64_t m_size = 0;
};

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
    };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False when the file cannot be opened; no exception either way.
    BOOL Open(const wchar_t* fileName, UINT openFlags);
    // Reads up to count bytes; false on a read error (then *bytesRead is 0).
    bool Read(void* buffer, UINT count, UINT* bytesRead);
    // True only when every byte was written.
    bool Write(const void* buffer, UINT count);
    // Pushes written bytes to the disk; false when that fails.
    bool Flush();
    void Close();

    // False when the path does not exist or cannot be examined.
    static BOOL GetStatus(const wchar_t* fileName, CFileStatus& status);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
};

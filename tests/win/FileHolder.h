// A file held open by a real second process (numvera_hold_file.exe), so that
// share-mode conflicts are those between two programs, not two handles of one.
#pragma once

#include <windows.h>

#include <string>

// Has numvera_hold_file.exe hold the file for ms milliseconds, and returns
// once it holds it without waiting for it to let go, so the holder may
// outlive the caller; false when it did not hold the file within 10 seconds.
bool HoldFileFor(DWORD ms, const std::wstring& path, DWORD access, DWORD share);

class FileHolder {
public:
    // Starts numvera_hold_file.exe from the folder of the running executable,
    // which opens path with CreateFileW(access, share, creation) and keeps it
    // open until this object is destroyed.
    FileHolder(const std::wstring& path, DWORD access, DWORD share, DWORD creation = OPEN_EXISTING);
    // Closes the file: the helper process has ended when this returns.
    ~FileHolder();

    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    // Whether the helper opened the file within 10 seconds.
    bool Holding() const { return m_holding; }

private:
    HANDLE m_ready = nullptr;
    HANDLE m_quit = nullptr;
    HANDLE m_process = nullptr;
    bool m_holding = false;
};

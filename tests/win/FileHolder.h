// A file held open by a real second process (numvera_hold_file.exe), so that
// share-mode conflicts are those between two programs, not two handles of one.
#pragma once

#include <windows.h>

#include <string>

class FileHolder {
public:
    // Starts numvera_hold_file.exe from the folder of the running executable,
    // which opens path with CreateFileW(access, share, creation) and keeps it
    // open until this object is destroyed, or for letGoAfterMs milliseconds.
    FileHolder(const std::wstring& path, DWORD access, DWORD share, DWORD creation = OPEN_EXISTING,
               DWORD letGoAfterMs = INFINITE);
    // Closes the file: the helper process has ended when this returns. One
    // that lets go by itself is left to do so, and may outlive this process.
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
    bool m_lettingGoItself = false;
};

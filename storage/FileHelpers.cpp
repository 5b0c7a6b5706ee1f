#include "storage/FileHelpers.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>

#include "framework/File.h"
#include "framework/FileFind.h"
#include "storage/AnsiText.h"
#include "storage/StorageState.h"

namespace {

constexpr UINT kReadFlags = CFile::modeRead | CFile::shareDenyWrite;                          // 0x0020
constexpr UINT kWriteFlags = CFile::modeCreate | CFile::shareDenyWrite | CFile::modeReadWrite;  // 0x1022

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A new empty file in the folder, named so that nothing else uses it.
std::wstring CreateTemporaryFileIn(const std::wstring& folder)
{
    wchar_t name[MAX_PATH] = {};
    if (::GetTempFileNameW(folder.c_str(), L"nvw", 0, name) == 0)
        return std::wstring();
    return name;
}

bool WriteAndFlush(const std::wstring& path, const std::string& bytes)
{
    CFile file;
    if (!file.Open(path.c_str(), kWriteFlags))
        return false;
    if (!bytes.empty() && !file.Write(bytes.data(), static_cast<UINT>(bytes.size())))
        return false;
    return file.Flush();
}

// An existing target must be writable under the same share rules as a direct
// write: not read-only, and not held by anyone who denies writers. The rename
// alone would not say so everywhere: Wine replaces read-only files, and
// under Wine run as root even opens them for writing.
bool TargetAcceptsWriting(const std::wstring& path)
{
    CFileStatus status;
    if (!CFile::GetStatus(path.c_str(), status))
        return true;  // a missing file is created
    if ((status.m_attribute & FILE_ATTRIBUTE_READONLY) != 0)
        return false;
    CFile probe;
    return probe.Open(path.c_str(), CFile::modeReadWrite | CFile::shareDenyWrite) != FALSE;
}

// path joined with name by PathAppendW in a MAX_PATH buffer; empty when it does not fit.
std::wstring AppendToPath(const std::wstring& path, const wchar_t* name)
{
    wchar_t buffer[MAX_PATH] = {};
    if (path.size() >= MAX_PATH)
        return std::wstring();
    std::memcpy(buffer, path.c_str(), path.size() * sizeof(wchar_t));
    if (!::PathAppendW(buffer, name))
        return std::wstring();
    return buffer;
}

bool IsLink(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

}  // namespace

void QueryDocumentsDir()
{
    char buffer[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PERSONAL, FALSE))
        buffer[0] = '\0';
    g_documentsDir = WidenAnsi(buffer, std::strlen(buffer));
}

std::wstring JoinPath(std::wstring folder, std::wstring suffix) { return folder + suffix; }

bool IsFolder(std::wstring path)
{
    CFileStatus status;
    return CFile::GetStatus(path.c_str(), status) && (status.m_attribute & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsPlainFile(std::wstring path)
{
    CFileStatus status;
    return CFile::GetStatus(path.c_str(), status) && (status.m_attribute & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::wstring ReadWholeFile(std::wstring path, ReadOutcome* outcome)
{
    ReadOutcome ignored;
    ReadOutcome& result = outcome != nullptr ? *outcome : ignored;
    CFile file;
    if (!file.Open(path.c_str(), kReadFlags)) {
        result = ReadOutcome::NotOpened;
        return std::wstring();
    }
    UINT got = 0;
    if (!file.Read(g_readBuffer, static_cast<UINT>(kReadBufferSize), &got)) {
        result = ReadOutcome::Failed;
        return std::wstring();
    }
    // A read that fills the whole buffer may have left bytes behind.
    if (got >= kReadBufferSize) {
        result = ReadOutcome::TooLarge;
        return std::wstring();
    }
    const auto* bytes = reinterpret_cast<const char*>(g_readBuffer);
    const void* nul = std::memchr(bytes, '\0', got);
    result = nul != nullptr ? ReadOutcome::StoppedAtNul : ReadOutcome::Read;
    const size_t length = nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - bytes) : got;
    return WidenAnsi(bytes, length);
}

bool WriteWholeFile(std::wstring path, std::string bytes)
{
    if (bytes.size() > MAXDWORD || !TargetAcceptsWriting(path))
        return false;
    const std::wstring temporary = CreateTemporaryFileIn(FolderOf(path));
    if (temporary.empty())
        return false;
    const bool replaced = WriteAndFlush(temporary, bytes) &&
                          ::MoveFileExW(temporary.c_str(), path.c_str(),
                                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced)
        ::DeleteFileW(temporary.c_str());
    return replaced;
}

bool RemoveFolderTree(std::wstring path)
{
    // A link given as the folder would hand us someone else's folder.
    if (IsLink(path))
        return false;
    const std::wstring pattern = AppendToPath(path, L"*");
    if (pattern.empty())
        return false;
    CFileFind finder;
    if (!finder.FindFile(pattern.c_str()))
        return false;
    bool more = true;
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots() || finder.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        const std::wstring name = finder.GetFileName();
        const std::wstring child = AppendToPath(path, name.c_str());
        if (child.empty())
            continue;
        if (finder.IsDirectory())
            RemoveFolderTree(child);
        else
            ::DeleteFileW(child.c_str());
    }
    finder.Close();  // an open search keeps the folder from being removed
    ::RemoveDirectoryW(path.c_str());
    return true;
}

#include "storage/FileHelpers.h"

#include <windows.h>
#include <direct.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cstring>

#include "framework/File.h"
#include "framework/FileFind.h"
#include "storage/AnsiText.h"
#include "storage/BriefHolds.h"
#include "storage/StorageState.h"

namespace {

constexpr UINT kReadFlags = CFile::modeRead | CFile::shareDenyWrite;                          // 0x0020
constexpr UINT kWriteFlags = CFile::modeCreate | CFile::shareDenyWrite | CFile::modeReadWrite;  // 0x1022
// Not inherited: a child process would keep the lock past its holder's end.
constexpr UINT kLockFlags =
    CFile::modeRead | CFile::shareExclusive | CFile::modeCreate | CFile::modeNoTruncate | CFile::modeNoInherit;

// The text of an open file: one read into the shared buffer, up to its first NUL.
std::wstring ReadOpenFile(CFile& file, ReadOutcome& result)
{
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

void SetHeldFileAttributes(CFile& held, DWORD attributes)
{
    FILE_BASIC_INFO basic{};  // zero times mean "unchanged"
    basic.FileAttributes = attributes;
    ::SetFileInformationByHandle(held.m_hFile, FileBasicInfo, &basic, sizeof basic);
}

// Removal with the name gone as the handle closes, also of a read-only file
// (Windows 10 1809 and later; Wine 10): declared here, since the program
// also runs where it is refused (FAT and exFAT volumes, older Windows, Wine 8).
constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
constexpr DWORD kDispositionDelete = 0x1;
constexpr DWORD kDispositionPosixSemantics = 0x2;
constexpr DWORD kDispositionIgnoreReadOnly = 0x10;

// The name goes as this handle closes where the system allows, even while a
// reader that shares removal still has the file open; elsewhere, when the
// last handle closes. Only a system that does not know the removal at once
// (Windows before 10 1809, FAT, Wine 8) takes the other; one that refuses the
// removal itself is not asked again another way: a removal left to the close
// could fail there unseen.
bool MarkHeldFileForRemoval(CFile& held)
{
    // FILE_DISPOSITION_INFO_EX
    DWORD atOnce = kDispositionDelete | kDispositionPosixSemantics | kDispositionIgnoreReadOnly;
    if (::SetFileInformationByHandle(held.m_hFile, kFileDispositionInfoEx, &atOnce, sizeof atOnce))
        return true;
    if (IsBriefHoldError(::GetLastError()))
        return false;
    FILE_DISPOSITION_INFO onClose{TRUE};
    return ::SetFileInformationByHandle(held.m_hFile, FileDispositionInfo, &onClose, sizeof onClose) != FALSE;
}

// Readers may share the file; writers and removers may not. The removal and
// the clearing of the read-only flag go through this handle. Wine refuses an
// ordinary user attribute writes on a read-only file, and lets them through
// the handle all the same; Windows grants them.
bool OpenToReadAndRemove(const std::wstring& path, CFile& held)
{
    for (const DWORD access : {GENERIC_READ | DELETE | FILE_WRITE_ATTRIBUTES, GENERIC_READ | DELETE}) {
        held.m_hFile =
            ::CreateFileW(path.c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held.m_hFile != INVALID_HANDLE_VALUE)
            return true;
        if (::GetLastError() != ERROR_ACCESS_DENIED)
            return false;
    }
    return false;
}

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

// Opens the file, trying again while another program holds it for a moment.
bool OpenPatiently(CFile& file, const std::wstring& path, UINT flags)
{
    return RetryWhileBrieflyHeld([&] { return file.Open(path.c_str(), flags) != FALSE; });
}

bool WriteAndFlush(const std::wstring& path, const std::string& bytes)
{
    CFile file;
    if (!OpenPatiently(file, path, kWriteFlags))
        return false;
    if (!bytes.empty() && !file.Write(bytes.data(), static_cast<UINT>(bytes.size())))
        return false;
    return file.Flush();
}

// An existing target must be writable under the same share rules as a direct
// write: not read-only, and not held by anyone who denies writers. The rename
// alone would not say so everywhere: Wine 8 replaces read-only files, and
// Wine run as root even opens them for writing.
bool TargetAcceptsWriting(const std::wstring& path)
{
    CFileStatus status;
    if (!CFile::GetStatus(path.c_str(), status))
        return true;  // a missing file is created
    if ((status.m_attribute & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0)
        return false;
    CFile probe;
    return OpenPatiently(probe, path, CFile::modeReadWrite | CFile::shareDenyWrite);
}

std::wstring FullPathOf(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, buffer, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

// The folder and the name joined as they stand. Empty when that does not fit
// MAX_PATH, or when the system would read it as another path: it drops a
// name's final dots and spaces and takes "..." for the parent, so such a
// name would stand for another entry or for a folder outside.
std::wstring ChildPath(const std::wstring& folder, const std::wstring& name)
{
    const std::wstring child = folder + L"\\" + name;
    if (child.size() >= MAX_PATH || FullPathOf(child) != child)
        return std::wstring();
    return child;
}

std::wstring KnownDocumentsFolder()
{
    PWSTR path = nullptr;
    std::wstring folder;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path)) && path != nullptr)
        folder = path;
    ::CoTaskMemFree(path);
    return folder;
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
    // The ANSI name replaces a character the code page cannot spell with a
    // near one ("Łukasz" becomes "Lukasz"), which may be another user's
    // folder or none: then the folder goes by the system's own wide name.
    if (g_documentsDir.empty())
        return;
    const std::wstring known = KnownDocumentsFolder();
    if (!known.empty() && ::CompareStringOrdinal(known.c_str(), -1, g_documentsDir.c_str(), -1, TRUE) != CSTR_EQUAL)
        g_documentsDir = known;
}

std::wstring JoinPath(std::wstring folder, std::wstring suffix) { return folder + suffix; }

bool IsFolder(std::wstring path)
{
    CFileStatus status;
    return CFile::GetStatus(path.c_str(), status) && (status.m_attribute & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeFolderLevel(const std::wstring& path) { return _wmkdir(path.c_str()) == 0; }

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
    if (!OpenPatiently(file, path, kReadFlags)) {
        result = ReadOutcome::NotOpened;
        return std::wstring();
    }
    return ReadOpenFile(file, result);
}

std::wstring ReadAndHoldFile(std::wstring path, CFile& held, ReadOutcome* outcome)
{
    ReadOutcome ignored;
    ReadOutcome& result = outcome != nullptr ? *outcome : ignored;
    held.Close();
    // A writer still closing the file, or a reader that does not share its
    // removal, may let go of it in a moment: only what this open then reads
    // counts, its size included.
    if (!RetryWhileBrieflyHeld([&] { return OpenToReadAndRemove(path, held); })) {
        result = ReadOutcome::NotOpened;
        return std::wstring();
    }
    return ReadOpenFile(held, result);
}

bool RemoveHeldFile(CFile& held)
{
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(held.m_hFile, FileBasicInfo, &basic, sizeof basic)) {
        held.Close();
        return false;
    }
    const DWORD attributes = basic.FileAttributes;
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly)
        SetHeldFileAttributes(held, FILE_ATTRIBUTE_NORMAL);
    const bool removed = RetryWhileBrieflyHeld([&] { return MarkHeldFileForRemoval(held); });
    if (!removed && readOnly)
        SetHeldFileAttributes(held, attributes);
    held.Close();
    return removed;
}

LockAttempt TryLockFile(std::wstring path, CFile& lock)
{
    LockAttempt attempt = LockAttempt::Failed;
    RetryWhileBrieflyHeld([&] {
        if (lock.Open(path.c_str(), kLockFlags))
            attempt = LockAttempt::Taken;
        else if (::GetLastError() == ERROR_SHARING_VIOLATION)
            attempt = LockAttempt::HeldElsewhere;  // another start: the caller waits for it
        return attempt != LockAttempt::Failed;
    });
    return attempt;
}

bool WriteWholeFile(std::wstring path, std::string bytes)
{
    if (bytes.size() > MAXDWORD || !TargetAcceptsWriting(path))
        return false;
    const std::wstring temporary = CreateTemporaryFileIn(FolderOf(path));
    if (temporary.empty())
        return false;
    // A target that a scanner has open, even sharing everything, cannot be
    // replaced until it lets go.
    const bool replaced = WriteAndFlush(temporary, bytes) && RetryWhileBrieflyHeld([&] {
                              return ::MoveFileExW(temporary.c_str(), path.c_str(),
                                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
                          });
    if (!replaced)
        ::DeleteFileW(temporary.c_str());
    return replaced;
}

bool RemoveFolderTree(std::wstring path)
{
    // A link given as the folder would hand us someone else's folder.
    if (IsLink(path))
        return false;
    // Children are joined to the folder's full path, in the form the system reads.
    std::wstring folder = FullPathOf(path);
    if (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    if (folder.empty() || folder.size() + 2 >= MAX_PATH)
        return false;
    CFileFind finder;
    if (!finder.FindFile((folder + L"\\*").c_str()))
        return false;
    bool more = true;
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots() || finder.MatchesMask(FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        const std::wstring child = ChildPath(folder, finder.GetFileName());
        if (child.empty())
            continue;
        if (finder.IsDirectory())
            RemoveFolderTree(child);
        else
            ::DeleteFileW(child.c_str());
    }
    finder.Close();  // an open search keeps the folder from being removed
    ::RemoveDirectoryW(folder.c_str());
    return true;
}

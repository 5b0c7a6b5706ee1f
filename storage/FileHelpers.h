// The file-system layer: the documents folder, path forming, existence tests,
// whole-file read and write, and folder-tree removal. Silent: each helper
// answers with a flag or a possibly empty string and the caller decides.
// Opening, replacing and removing a file wait out a program that holds it
// for a moment (BriefHolds.h) before they fail.
#pragma once

#include <string>

class CFile;

// Stores the user's documents folder in g_documentsDir; empty when the lookup
// fails, so that no working path can fall back to the root of a drive. The
// folder is looked up by its ANSI name; where that name is not the folder's
// own (the code page cannot spell it), by its wide name.
void QueryDocumentsDir();

// The folder immediately followed by the suffix, which begins with a backslash.
std::wstring JoinPath(std::wstring folder, std::wstring suffix);

bool IsFolder(std::wstring path);
// Makes one folder level by its wide path, so that a name the ANSI code page
// cannot spell works too; false when it is not made (it exists, or its parent
// does not).
bool MakeFolderLevel(const std::wstring& path);
bool IsPlainFile(std::wstring path);

enum class ReadOutcome {
    Read,          // the text is the whole file (possibly empty)
    StoppedAtNul,  // the text ends where the file holds a NUL byte
    NotOpened,  // missing, a folder, or held open for writing elsewhere
    Failed,     // opened, but the read failed
    TooLarge,   // kInputFileSizeLimit bytes or more: refused, not cut
};

// The file's text from the ANSI code page: the whole file when the outcome
// is Read, the bytes before the first NUL when it is StoppedAtNul, and empty
// otherwise.
std::wstring ReadWholeFile(std::wstring path, ReadOutcome* outcome = nullptr);

// Like ReadWholeFile, but the file stays open in `held` after the read, and
// until it is closed no other program can write, extend, replace or remove
// it: what is later removed through it is exactly what was read.
std::wstring ReadAndHoldFile(std::wstring path, CFile& held, ReadOutcome* outcome);

// Removes the file held since ReadAndHoldFile, also when it is read-only, and
// closes it. When it cannot be removed it stays as it was; false then.
bool RemoveHeldFile(CFile& held);

enum class LockAttempt {
    Taken,          // `lock` holds the file now
    HeldElsewhere,  // another process has it open
    Failed,         // it cannot be opened at all (no access, a folder of that name)
};

// Opens the lock file, creating it if need be, with no sharing at all, so
// that one process at a time holds it; the system lets go of it when the
// holder closes it or ends in any way. The file itself means nothing: one
// left on disk is taken like a new one.
LockAttempt TryLockFile(std::wstring path, CFile& lock);

// Replaces the file with exactly these bytes in one step; true on success. On
// failure the target is left as it was and no temporary file remains.
bool WriteWholeFile(std::wstring path, std::string bytes);

// Deletes the folder with everything inside that can be deleted. Links and
// junctions are neither followed nor removed; entries whose path would not fit
// MAX_PATH, or that the system would read as another path (names such as
// "..." or ending in a dot or a space), are skipped. False, with nothing removed, when the folder cannot be
// listed or is itself a link.
bool RemoveFolderTree(std::wstring path);

// The file protocol between Numvera.exe and the programs that drive it: where
// its files lie below the user's documents folder, and what a request may
// hold. Numvera.exe, numvera-drive.exe and the tests all read it from here;
// the client shares nothing else with the program. Portable: no Windows header.
#pragma once

#include <cstddef>
#include <cstdint>

// Folders, each a suffix appended as it stands to the documents folder. The
// maker folder is never made by the program; the others are made below it.
#define NUMVERA_MAKER_FOLDER L"\\Quendral"
#define NUMVERA_PRODUCT_FOLDER NUMVERA_MAKER_FOLDER L"\\MFCBivoA"
constexpr wchar_t kMakerSuffix[] = NUMVERA_MAKER_FOLDER;
constexpr wchar_t kProductSuffix[] = NUMVERA_PRODUCT_FOLDER;
constexpr wchar_t kResultSuffix[] = NUMVERA_PRODUCT_FOLDER L"\\Result";
constexpr wchar_t kTempSuffix[] = NUMVERA_PRODUCT_FOLDER L"\\temp";
constexpr wchar_t kAutoSuffix[] = NUMVERA_PRODUCT_FOLDER L"\\AutoFile";  // its presence means automatic mode

// Files, each a suffix appended to its folder.
constexpr wchar_t kInputFileSuffix[] = L"\\DekoKan.tbin";       // in AutoFile, from the driving program
constexpr wchar_t kResultFileSuffix[] = L"\\BivoResult.tbin";  // in Result, the answer
constexpr wchar_t kSettingsFileSuffix[] = L"\\BivoA.tmp";      // in temp, the two check boxes
constexpr wchar_t kRunLockFileSuffix[] = L"\\BivoA.lock";      // in temp, held by the automatic run

// How an automatic run of Numvera.exe ended, which is also its exit status:
// None (0) when the request was answered, and what kept it from being
// answered otherwise. The numbers are fixed for good: driving programs rely
// on them. An interactive start ends with 0 too. Every refusal leaves the
// input file in place; after InputNotRemoved the result is written as well.
// The refusals lie from 11 on, clear of the statuses that Windows gives a
// program ended from outside (1) and the C run-time one that aborts (3): any
// other status means that Numvera.exe did not end by itself.
enum class Refusal : int {
    None = 0,
    InputMissing = 11,       // no plain file DekoKan.tbin
    InputEmpty = 12,         // 0 bytes
    InputNotNumbers = 13,    // a character other than digits, CR and LF
    InputTooLarge = 14,      // kInputFileSizeLimit bytes or more
    InputUnreadable = 15,    // cannot be opened to be read and later removed
    ValueTooLarge = 16,      // a line above kLargestValue
    ResultNotWritten = 17,   // the result file cannot be written
    InputNotRemoved = 18,    // the result is written, but the input stays
    InUse = 19,              // another start's run held the lock too long
    NoTurn = 20,             // the lock file cannot be opened at all
    DialogNotCreated = 21,   // nothing was read or written
};

// A program that holds a file for a moment (a virus scanner, the indexer, a
// sync client) is waited out: a file step it holds up is tried again after
// each of these pauses, about 1.6 s in all, before it counts as failed. Both
// Numvera.exe and numvera-drive.exe wait so long.
constexpr unsigned kBriefHoldPausesMs[] = {1, 10, 20, 40, 100, 200, 400, 800};

// The limits of a request, as numbers and as the texts that the messages
// quote (NUMVERA_TEXT_OF spells a limit out in a wide string literal).
#define NUMVERA_WIDE(text) L##text
#define NUMVERA_WIDE_TEXT(text) NUMVERA_WIDE(#text)
#define NUMVERA_TEXT_OF(limit) NUMVERA_WIDE_TEXT(limit)
#define NUMVERA_INPUT_FILE_SIZE_LIMIT 2077000
#define NUMVERA_LARGEST_VALUE 2147483647
// An input file must be smaller than this many bytes.
constexpr size_t kInputFileSizeLimit = NUMVERA_INPUT_FILE_SIZE_LIMIT;
// The largest value an input line may hold.
constexpr int64_t kLargestValue = NUMVERA_LARGEST_VALUE;

// How long a start of Numvera.exe waits for its turn while another start's
// automatic run holds the product folder; a client waits longer than this.
constexpr unsigned kRunLockWaitMs = 60000;

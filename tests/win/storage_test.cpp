// The file helpers against real files, each test in a fresh folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "framework/File.h"
#include "protocol/FileProtocol.h"
#include "storage/AnsiText.h"
#include "storage/FileHelpers.h"
#include "storage/StorageState.h"
#include "tests/win/FileHolder.h"
#include "tests/win/NumveraTestEnvironment.h"

namespace {

using Names = std::vector<std::wstring>;

class Storage : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        m_folder = testenv::FreshFolder(L"storage-" + std::wstring(name.begin(), name.end()));
    }

    std::wstring At(const std::wstring& relative) const { return m_folder + L"\\" + relative; }

    void MakeFolder(const std::wstring& relative) const { ASSERT_TRUE(::CreateDirectoryW(At(relative).c_str(), nullptr)); }

    void MakeFile(const std::wstring& relative, const std::string& bytes = "x") const
    {
        ASSERT_TRUE(testenv::WriteFileBytes(At(relative), bytes));
    }

    std::wstring m_folder;
};

// Sets NUMVERA_TEST_DOCS, which the test prefix's documents folder expands, for one scope.
class DocumentsFolderOverride {
public:
    explicit DocumentsFolderOverride(const std::wstring& folder)
    {
        ::SetEnvironmentVariableW(L"NUMVERA_TEST_DOCS", folder.c_str());
    }
    ~DocumentsFolderOverride() { ::SetEnvironmentVariableW(L"NUMVERA_TEST_DOCS", nullptr); }
    DocumentsFolderOverride(const DocumentsFolderOverride&) = delete;
    DocumentsFolderOverride& operator=(const DocumentsFolderOverride&) = delete;
};

// Links are removed by the test itself: a general tree removal may not
// manage them, or may reach through them.
struct LinkRemover {
    std::wstring link;
    ~LinkRemover() { testenv::RemoveFolderLink(link); }
};

const char* OutcomeName(ReadOutcome outcome)
{
    switch (outcome) {
    case ReadOutcome::Read:
        return "Read";
    case ReadOutcome::StoppedAtNul:
        return "StoppedAtNul";
    case ReadOutcome::NotOpened:
        return "NotOpened";
    case ReadOutcome::Failed:
        return "Failed";
    case ReadOutcome::TooLarge:
        return "TooLarge";
    }
    return "?";
}

}  // namespace

TEST(JoinPath, PutsTheSuffixRightAfterTheFolder)
{
    EXPECT_EQ(JoinPath(L"C:\\Docs", L"\\Quendral\\MFCBivoA"), L"C:\\Docs\\Quendral\\MFCBivoA");
    EXPECT_EQ(JoinPath(L"C:\\Docs\\", L"\\BivoA.tmp"), L"C:\\Docs\\\\BivoA.tmp") << "nothing is normalised";
    EXPECT_EQ(JoinPath(L"", L"\\Quendral"), L"\\Quendral");
}

TEST_F(Storage, ExistenceTestsTellMissingPathsFilesAndFolders)
{
    MakeFile(L"file.txt");
    MakeFile(L"empty.txt", "");
    MakeFolder(L"folder");
    struct Case {
        std::wstring path;
        bool folder;
        bool plainFile;
    };
    const Case cases[] = {
        {At(L"missing"), false, false},
        {At(L"file.txt"), false, true},
        {At(L"empty.txt"), false, true},
        {At(L"folder"), true, false},
        {At(L"folder\\"), true, false},
        {At(L"file.txt\\inside"), false, false},
        {JoinPath(At(L"folder\\"), L"\\file.txt"), false, false},
        {JoinPath(m_folder + L"\\", L"\\file.txt"), false, true},
        {L"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsFolder(c.path), c.folder) << c.path;
        EXPECT_EQ(IsPlainFile(c.path), c.plainFile) << c.path;
    }
}

TEST_F(Storage, ReadingGivesTheTextUpToTheFirstNul)
{
    struct Case {
        const wchar_t* name;
        const char* what;
        std::string bytes;
        std::wstring text;
        ReadOutcome outcome;
    };
    const Case cases[] = {
        {L"empty", "an empty file", "", L"", ReadOutcome::Read},
        {L"digits", "digits and line breaks", "12\r\n34\n", L"12\r\n34\n", ReadOutcome::Read},
        {L"inner-nul", "digits, NUL, digits", std::string("12\0" "34", 5), L"12", ReadOutcome::StoppedAtNul},
        {L"leading-nul", "a NUL first", std::string("\0" "1", 2), L"", ReadOutcome::StoppedAtNul},
    };
    for (const Case& c : cases) {
        MakeFile(c.name, c.bytes);
        ReadOutcome outcome = ReadOutcome::Failed;
        EXPECT_EQ(ReadWholeFile(At(c.name), &outcome), c.text) << c.what;
        EXPECT_EQ(outcome, c.outcome) << c.what << ": " << OutcomeName(outcome);
    }
}

TEST_F(Storage, ReadingWhatCannotBeOpenedGivesNothing)
{
    MakeFolder(L"folder");
    MakeFile(L"busy", "12");
    FileHolder writer(At(L"busy"), GENERIC_WRITE, FILE_SHARE_READ);
    ASSERT_TRUE(writer.Holding());
    for (const wchar_t* name : {L"missing", L"folder", L"busy"}) {
        ReadOutcome outcome = ReadOutcome::Read;
        EXPECT_EQ(ReadWholeFile(At(name), &outcome), L"");
        EXPECT_EQ(outcome, ReadOutcome::NotOpened) << OutcomeName(outcome);
    }
}

// The holder itself: a failed open is reported, and the file is free again
// once the holder is gone.
TEST_F(Storage, AHeldFileIsFreeAgainWhenItsHolderEnds)
{
    MakeFile(L"held", "10");
    {
        FileHolder missing(At(L"missing"), GENERIC_READ, FILE_SHARE_READ);
        EXPECT_FALSE(missing.Holding()) << "the holder opens existing files only, by default";
    }
    EXPECT_FALSE(testenv::PathExists(At(L"missing")));
    {
        FileHolder exclusive(At(L"held"), GENERIC_READ, 0);
        ASSERT_TRUE(exclusive.Holding());
        EXPECT_EQ(ReadWholeFile(At(L"held")), L"");
        EXPECT_FALSE(WriteWholeFile(At(L"held"), "new"));
    }
    EXPECT_EQ(ReadWholeFile(At(L"held")), L"10");
    EXPECT_TRUE(WriteWholeFile(At(L"held"), "11"));
    EXPECT_EQ(testenv::ReadFileBytes(At(L"held")), "11");
    {
        FileHolder creator(At(L"created"), GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW);
        EXPECT_TRUE(creator.Holding());
    }
    EXPECT_EQ(testenv::FolderEntries(m_folder), (Names{L"created", L"held"}));
}

TEST_F(Storage, ReadingSharesTheFileWithOtherReaders)
{
    MakeFile(L"shared", "101");
    FileHolder reader(At(L"shared"), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.Holding());
    EXPECT_EQ(ReadWholeFile(At(L"shared")), L"101");
}

TEST_F(Storage, AShortReadAfterALongOneKeepsNothingOfTheLongOne)
{
    MakeFile(L"long", std::string(30, '7'));
    MakeFile(L"short", "12345");
    EXPECT_EQ(ReadWholeFile(At(L"long")), std::wstring(30, L'7'));
    EXPECT_EQ(ReadWholeFile(At(L"short")), L"12345");
}

TEST_F(Storage, FilesOfTheBufferSizeOrMoreAreRefused)
{
    // 2,077,000 bytes is the size of the one transfer buffer.
    std::string justFits(2076999, '1');
    justFits.back() = '9';
    MakeFile(L"fits", justFits);
    MakeFile(L"full", std::string(kInputFileSizeLimit, '1'));
    MakeFile(L"over", std::string(2077001, '1'));

    ReadOutcome outcome = ReadOutcome::Failed;
    const std::wstring text = ReadWholeFile(At(L"fits"), &outcome);
    EXPECT_EQ(outcome, ReadOutcome::Read);
    EXPECT_EQ(text.size(), justFits.size());
    EXPECT_EQ(text.back(), L'9');

    for (const wchar_t* name : {L"full", L"over"}) {
        outcome = ReadOutcome::Read;
        EXPECT_EQ(ReadWholeFile(At(name), &outcome), L"");
        EXPECT_EQ(outcome, ReadOutcome::TooLarge) << OutcomeName(outcome);
        EXPECT_TRUE(IsPlainFile(At(name))) << "a refused file stays";
    }
}

TEST_F(Storage, ReadingConvertsFromTheAnsiCodePage)
{
    if (::GetACP() != 1252)
        GTEST_SKIP() << "the expected text is that of code page 1252; GetACP() is " << ::GetACP();
    MakeFile(L"latin", "caf\xE9\x80");
    EXPECT_EQ(ReadWholeFile(At(L"latin")), L"caf\u00E9\u20AC");
}

// Double-byte text: trail bytes 0x5C (a backslash alone) and 0x7C must not
// split a character, and single-byte katakana stay single.
TEST_F(Storage, ShiftJisTextIsReadAndWrittenUnderCodePage932)
{
    if (::GetACP() != 932)
        GTEST_SKIP() << "Shift-JIS bytes are ANSI text only under code page 932; GetACP() is " << ::GetACP();
    struct Case {
        const wchar_t* name;
        const char* what;
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {L"\u30C6\u30B9\u30C8.txt", "\"テスト\"", "\x83\x65\x83\x58\x83\x67", L"\u30C6\u30B9\u30C8"},
        {L"\u8868\u793A.txt", "\"表示\", the first trail byte 0x5C", "\x95\x5C\x8E\xA6", L"\u8868\u793A"},
        {L"\u30BD.txt", "\"ソ\" between digits, trail byte 0x5C", "1\x83\x5C" "2", L"1\u30BD" "2"},
        {L"\u30FC.txt", "\"ー\", trail byte 0x5B", "\x81\x5B", L"\u30FC"},
        {L"\uFF71\uFF72.txt", "half-width \"ｱｲ\", one byte each", "\xB1\xB2", L"\uFF71\uFF72"},
        {L"lines.txt", "kanji lines with CR LF", "\x88\xEA\r\n\x93\xF1", L"\u4E00\r\n\u4E8C"},
        {L"stops-at-nul.txt", "a NUL after a double-byte character", std::string("\x82\xA0\0\x82\xA2", 5), L"\u3042"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MakeFile(c.name, c.bytes);
        EXPECT_EQ(ReadWholeFile(At(c.name)), c.text);

        const std::string narrow = NarrowToAnsi(c.text);
        EXPECT_EQ(narrow, c.bytes.substr(0, c.bytes.find('\0')));
        ASSERT_TRUE(WriteWholeFile(At(c.name), narrow));
        EXPECT_EQ(testenv::ReadFileBytes(At(c.name)), narrow);
        EXPECT_EQ(ReadWholeFile(At(c.name)), c.text);
    }
    EXPECT_EQ(testenv::FolderEntries(m_folder).size(), std::size(cases)) << "no temporary file is left";
}

// The documents folder comes as narrow text: a name survives when the ANSI
// code page can spell it.
TEST_F(Storage, TheDocumentsFolderKeepsANameTheCodePageCanSpell)
{
    struct Case {
        const wchar_t* name;
        UINT codePage;  // 0: any
    };
    const Case cases[] = {
        {L"Documents", 0},
        {L"Dokument\u00E9", 1252},
        {L"\u30C9\u30AD\u30E5\u30E1\u30F3\u30C8", 932},
        {L"\u8868\u30BD", 932},  // both end in the trail byte 0x5C
    };
    int checked = 0;
    for (const Case& c : cases) {
        if (c.codePage != 0 && c.codePage != ::GetACP())
            continue;
        SCOPED_TRACE(testing::Message() << c.name);
        const std::wstring folder = At(c.name);
        MakeFolder(c.name);
        DocumentsFolderOverride documents(folder);
        g_documentsDir.clear();
        QueryDocumentsDir();
        EXPECT_EQ(g_documentsDir, folder);
        EXPECT_TRUE(IsFolder(JoinPath(g_documentsDir, L"")));
        ++checked;
    }
    g_documentsDir.clear();
    if (checked == 1)
        GTEST_SKIP() << "only the ASCII name applies to code page " << ::GetACP();
}

TEST_F(Storage, WritingLeavesExactlyTheBytesAndNoTemporaryFile)
{
    struct Case {
        const char* what;
        std::string before;  // empty: no file before
        std::string bytes;
    };
    const Case cases[] = {
        {"settings bytes", "", "1\r\n1"},
        {"an empty string gives a 0-byte file", "", ""},
        {"a longer file is replaced whole", "0\r\n0 and more text", "1\r\n0"},
        {"an existing file is truncated to nothing", "old", ""},
        {"bytes pass unchanged, NUL and high bytes included", "", std::string("a\0\xFF\n", 4)},
    };
    for (const Case& c : cases) {
        const std::wstring target = At(L"BivoA.tmp");
        ::DeleteFileW(target.c_str());
        if (!c.before.empty())
            MakeFile(L"BivoA.tmp", c.before);
        EXPECT_TRUE(WriteWholeFile(target, c.bytes)) << c.what;
        EXPECT_TRUE(IsPlainFile(target)) << c.what;
        EXPECT_EQ(testenv::ReadFileBytes(target), c.bytes) << c.what;
        EXPECT_EQ(testenv::FolderEntries(m_folder), Names{L"BivoA.tmp"}) << c.what;
    }
}

TEST_F(Storage, WritingFailsWithoutChangingAnything)
{
    MakeFolder(L"folder");
    MakeFile(L"readonly", "ro");
    ASSERT_TRUE(::SetFileAttributesW(At(L"readonly").c_str(), FILE_ATTRIBUTE_READONLY));
    MakeFile(L"held-by-writer", "w1");
    MakeFile(L"held-by-reader", "r1");
    {
        FileHolder writer(At(L"held-by-writer"), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
        FileHolder reader(At(L"held-by-reader"), GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(writer.Holding() && reader.Holding());
        EXPECT_FALSE(WriteWholeFile(At(L"held-by-writer"), "new"));
        EXPECT_FALSE(WriteWholeFile(At(L"held-by-reader"), "new")) << "the reader allowed no writers";
    }
    EXPECT_FALSE(WriteWholeFile(At(L"readonly"), "new"));
    EXPECT_FALSE(WriteWholeFile(At(L"folder"), "new"));
    EXPECT_FALSE(WriteWholeFile(At(L"missing\\BivoA.tmp"), "new"));

    EXPECT_EQ(testenv::ReadFileBytes(At(L"held-by-writer")), "w1");
    EXPECT_EQ(testenv::ReadFileBytes(At(L"held-by-reader")), "r1");
    EXPECT_EQ(testenv::ReadFileBytes(At(L"readonly")), "ro");
    EXPECT_TRUE(IsFolder(At(L"folder")));
    EXPECT_TRUE(testenv::FolderEntries(At(L"folder")).empty());
    EXPECT_EQ(testenv::FolderEntries(m_folder), (Names{L"folder", L"held-by-reader", L"held-by-writer", L"readonly"}))
        << "no temporary file and no missing folder made";
    ::SetFileAttributesW(At(L"readonly").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The read-only flag of a held input is cleared only for its removal: a
// removal that the system refuses puts it back. A view of the file mapped
// keeps it from being removed, as a running image does on Windows.
TEST_F(Storage, ARemovalThatIsRefusedLeavesAReadOnlyFileReadOnly)
{
    MakeFile(L"mapped", "12\r\n");
    ASSERT_TRUE(::SetFileAttributesW(At(L"mapped").c_str(), FILE_ATTRIBUTE_READONLY));
    CFile held;
    ReadOutcome outcome = ReadOutcome::Failed;
    EXPECT_EQ(ReadAndHoldFile(At(L"mapped"), held, &outcome), L"12\r\n");
    ASSERT_STREQ(OutcomeName(outcome), "Read");
    HANDLE mapping = ::CreateFileMappingW(held.m_hFile, nullptr, PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    EXPECT_FALSE(RemoveHeldFile(held));
    ::CloseHandle(mapping);
    EXPECT_EQ(testenv::ReadFileBytes(At(L"mapped")), "12\r\n");
    const DWORD attributes = ::GetFileAttributesW(At(L"mapped").c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u) << std::hex << attributes;
    ::SetFileAttributesW(At(L"mapped").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The program makes its folders one level at a time (MakeFolderLevel): a
// level that exists, or whose parent is missing, is not made.
TEST_F(Storage, NarrowFolderCreationMakesOneLevelOfAPathTheCodePageCanSpell)
{
    struct Case {
        const wchar_t* name;
        UINT codePage;  // 0: any
    };
    const Case cases[] = {
        {L"Result", 0},
        {L"Dokument\u00E9", 1252},
        {L"\u8868\u30BD", 932},  // both end in the trail byte 0x5C
        {L"\u4F5C\u696D\u30D5\u30A9\u30EB\u30C0", 932},
    };
    for (const Case& c : cases) {
        if (c.codePage != 0 && c.codePage != ::GetACP())
            continue;
        SCOPED_TRACE(testing::Message() << c.name);
        EXPECT_TRUE(MakeFolderLevel(At(c.name)));
        EXPECT_TRUE(IsFolder(At(c.name)));
        EXPECT_FALSE(MakeFolderLevel(At(c.name))) << "it exists already";
        EXPECT_FALSE(MakeFolderLevel(At(std::wstring(c.name) + L"\\missing\\deeper"))) << "one level only";
        EXPECT_TRUE(testenv::FolderEntries(At(c.name)).empty());
    }
}

// Wide paths: Japanese names work under every code page.
TEST_F(Storage, JapaneseNamesAreWrittenReadAndRemoved)
{
    const std::wstring tree = L"\u8868\u793A";  // 0x5C trail bytes in code page 932
    const std::wstring files[] = {tree + L"\\\u8A2D\u5B9A.tmp", tree + L"\\\u30BD\\\uFF71.txt"};
    ASSERT_TRUE(MakeFolderLevel(At(tree))) << "as the program makes its folders";
    MakeFolder(tree + L"\\\u30BD");
    for (const std::wstring& file : files) {
        SCOPED_TRACE(testing::Message() << file);
        EXPECT_TRUE(WriteWholeFile(At(file), "1\r\n0"));
        EXPECT_TRUE(IsPlainFile(At(file)));
        EXPECT_EQ(ReadWholeFile(At(file)), L"1\r\n0");
    }
    EXPECT_EQ(testenv::FolderEntries(At(tree)), (Names{L"\u30BD", L"\u8A2D\u5B9A.tmp"})) << "no temporary file is left";
    EXPECT_TRUE(RemoveFolderTree(At(tree)));
    EXPECT_TRUE(testenv::FolderEntries(m_folder).empty());
}

TEST_F(Storage, RemovingWhatIsNoFolderFailsAndChangesNothing)
{
    MakeFile(L"plain", "1");
    EXPECT_FALSE(RemoveFolderTree(At(L"missing")));
    EXPECT_FALSE(RemoveFolderTree(At(L"plain")));
    EXPECT_EQ(testenv::FolderEntries(m_folder), Names{L"plain"});
    EXPECT_EQ(testenv::ReadFileBytes(At(L"plain")), "1");
}

TEST_F(Storage, RemovingATreeTakesEverythingInItAndNothingBeside)
{
    struct Case {
        const char* what;
        std::vector<std::wstring> folders;
        std::vector<std::wstring> files;
    };
    const Case cases[] = {
        {"an empty folder", {L"tree"}, {}},
        {"one file (the last entry listed)", {L"tree"}, {L"tree\\only"}},
        {"files and nested folders",
         {L"tree", L"tree\\a", L"tree\\a\\b", L"tree\\a\\b\\c", L"tree\\d"},
         {L"tree\\1", L"tree\\a\\2", L"tree\\a\\b\\3", L"tree\\a\\b\\4", L"tree\\d\\5", L"tree\\z"}},
    };
    for (const Case& c : cases) {
        for (const std::wstring& folder : c.folders)
            MakeFolder(folder);
        for (const std::wstring& file : c.files)
            MakeFile(file);
        MakeFolder(L"tree2");
        MakeFile(L"tree2\\beside");
        MakeFile(L"tree.txt");

        EXPECT_TRUE(RemoveFolderTree(At(L"tree"))) << c.what;
        EXPECT_EQ(testenv::FolderEntries(m_folder), (Names{L"tree.txt", L"tree2"})) << c.what;
        EXPECT_EQ(testenv::FolderEntries(At(L"tree2")), Names{L"beside"}) << c.what;
        ::DeleteFileW(At(L"tree2\\beside").c_str());
        ::RemoveDirectoryW(At(L"tree2").c_str());
        ::DeleteFileW(At(L"tree.txt").c_str());
    }
}

TEST_F(Storage, ARemovalThatCannotDeleteAFileKeepsItsFolderChain)
{
    MakeFolder(L"tree");
    MakeFolder(L"tree\\keep");
    MakeFolder(L"tree\\keep\\deeper");
    MakeFolder(L"tree\\other");
    MakeFile(L"tree\\keep\\deeper\\readonly", "ro");
    MakeFile(L"tree\\keep\\deeper\\plain");
    MakeFile(L"tree\\keep\\plain");
    MakeFile(L"tree\\other\\plain");
    MakeFile(L"tree\\plain");
    ASSERT_TRUE(::SetFileAttributesW(At(L"tree\\keep\\deeper\\readonly").c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_TRUE(RemoveFolderTree(At(L"tree")));
    EXPECT_EQ(testenv::FolderEntries(At(L"tree")), Names{L"keep"});
    EXPECT_EQ(testenv::FolderEntries(At(L"tree\\keep")), Names{L"deeper"});
    EXPECT_EQ(testenv::FolderEntries(At(L"tree\\keep\\deeper")), Names{L"readonly"});
    EXPECT_EQ(testenv::ReadFileBytes(At(L"tree\\keep\\deeper\\readonly")), "ro");
    ::SetFileAttributesW(At(L"tree\\keep\\deeper\\readonly").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Storage, ARemovalSkipsEntriesWhosePathDoesNotFitMaxPath)
{
    MakeFolder(L"tree");
    MakeFile(L"tree\\short");
    const std::wstring tree = At(L"tree");
    const size_t nameLength = std::min<size_t>(255, MAX_PATH + 5 - tree.size());
    ASSERT_GE(tree.size() + 1 + nameLength, static_cast<size_t>(MAX_PATH));
    const std::wstring longName(nameLength, L'n');
    ASSERT_TRUE(testenv::WriteFileBytes(L"\\\\?\\" + tree + L"\\" + longName, "long"));

    EXPECT_TRUE(RemoveFolderTree(tree));
    EXPECT_EQ(testenv::FolderEntries(tree), Names{longName});
    ::DeleteFileW((L"\\\\?\\" + tree + L"\\" + longName).c_str());
}

// Names the system reads as another path when joined to the folder: "..."
// as the folder's parent, and "a." and "b " as "a" and "b", since final dots
// and spaces are dropped. Windows makes such names only through "\\?\"
// paths; under Wine they are made as Unix names, which it lists as they are.
TEST_F(Storage, ARemovalSkipsNamesThatWouldReadAsAnotherPath)
{
    MakeFolder(L"tree");
    for (const wchar_t* file : {L"tree\\a", L"tree\\b", L"tree\\..x", L"beside"})
        MakeFile(file);
    const std::string tree = testenv::UnixPathOf(At(L"tree"));
    if (tree.empty() || !testenv::RunUnixCommand({"mkdir", tree + "/..."}))
        GTEST_SKIP() << "no such names can be made here";
    for (const char* name : {"/.../inside", "/a.", "/b "})
        ASSERT_TRUE(testenv::RunUnixCommand({"touch", tree + name}));

    EXPECT_TRUE(RemoveFolderTree(At(L"tree")));
    EXPECT_EQ(testenv::FolderEntries(m_folder), (Names{L"beside", L"tree"})) << "nothing outside the folder goes";
    EXPECT_EQ(testenv::FolderEntries(At(L"tree")), (Names{L"...", L"a.", L"b "}));
    EXPECT_TRUE(testenv::RunUnixCommand({"test", "-f", tree + "/.../inside"}));
    testenv::RunUnixCommand({"rm", "-rf", tree});
}

// Under Wine a Unix link to a file does not show as a reparse point, so a
// file link inside the tree can only be checked on Windows; folders are
// checked here.
TEST_F(Storage, ARemovalLeavesFolderLinksAndWhatTheyPointTo)
{
    struct Case {
        const char* what;
        std::vector<std::wstring> outsideFiles;
    };
    const Case cases[] = {
        {"an empty outside folder", {}},
        {"an outside folder with files", {L"a", L"b"}},
    };
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring base = std::to_wstring(++run) + L"\\";
        MakeFolder(std::to_wstring(run));
        MakeFolder(base + L"outside");
        for (const std::wstring& file : c.outsideFiles)
            MakeFile(base + L"outside\\" + file, "kept");
        MakeFolder(base + L"tree");
        MakeFolder(base + L"tree\\sub");
        MakeFile(base + L"tree\\plain");
        MakeFile(base + L"tree\\sub\\plain");
        const std::wstring link = At(base + L"tree\\sub\\link");
        ASSERT_TRUE(testenv::MakeFolderLink(link, At(base + L"outside"))) << "no folder link could be made";
        LinkRemover remover{link};

        EXPECT_TRUE(RemoveFolderTree(At(base + L"tree")));
        EXPECT_EQ(testenv::FolderEntries(At(base + L"outside")), c.outsideFiles);
        for (const std::wstring& file : c.outsideFiles)
            EXPECT_EQ(testenv::ReadFileBytes(At(base + L"outside\\" + file)), "kept");
        EXPECT_EQ(testenv::FolderEntries(At(base + L"tree")), Names{L"sub"});
        EXPECT_EQ(testenv::FolderEntries(At(base + L"tree\\sub")), Names{L"link"}) << "the link stays";

        // Given the link itself, nothing is removed either.
        EXPECT_FALSE(RemoveFolderTree(link));
        EXPECT_EQ(testenv::FolderEntries(At(base + L"outside")), c.outsideFiles);
    }
}

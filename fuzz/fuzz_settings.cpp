// Differential target for ParseSettingsText, IsSettingOn and
// IsGatedMessageAllowed against a simple split of the text into lines.
//
// Input: a control byte, a parameter byte, then the text.
//   control bit 0: the text is one character per byte (a single-byte code
//     page; bytes 0x80..0xFF become characters that must be dropped) when
//     set, UTF-16 code units when clear (the double-byte characters a
//     Japanese code page gives);
//   control bits 1 and 7 both set: pad the text to 9,990..10,009 characters
//     with a character chosen by the parameter, so the length limit is
//     crossed both ways without huge inputs (two bits, so that these slow
//     runs stay a small share);
//   control bits 2-3: where the split starts: 0, a few lines in or near the
//     end of the table (the program splits once, from 0, but the table's
//     bound must hold from anywhere); the lines before must stay as they were;
//   control bits 4-6: the show-messages check state, -2..5 (0 unchecked,
//     1 checked, 2 indeterminate, and values no box reports).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "storage/SettingsText.h"
#include "storage/StorageState.h"

namespace {

constexpr size_t kLengthLimit = 10000;  // texts this long are ignored

// Split at every LF before the first NUL; a final LF of the whole text opens
// no line; CR and characters above 0x7F are dropped. Hands each line to
// visit, which returns false to stop; reuses one string, since a padded text
// has thousands of lines.
template <class Visit>
void ForEachReferenceLine(const std::wstring& text, Visit visit)
{
    const size_t nul = text.find(L'\0');
    const size_t end = nul == std::wstring::npos ? text.size() : nul;
    std::wstring line;
    for (size_t i = 0; i < end; ++i) {
        const wchar_t c = text[i];
        if (c == L'\n') {
            if (i + 1 == text.size())
                break;  // only a final LF of the whole text, not one before a NUL
            if (!visit(line))
                return;
            line.clear();
        } else if (c != L'\r' && static_cast<uint32_t>(c) < 0x80) {
            line.push_back(c);
        }
    }
    visit(line);
}

bool ReferenceOn(const std::wstring& line) { return !(line.size() == 1 && line[0] == L'0'); }

const std::wstring kEarlier = L"earlier";

// Clears what a run can have touched, so the next starts from a clean table.
void ResetTable(size_t from, size_t to)
{
    for (size_t i = from; i < to && i < static_cast<size_t>(kSettingLineCapacity); ++i)
        g_settingLines[i].clear();
    g_settingLineCount = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t control = data[0];
    const uint8_t parameter = data[1];
    std::wstring text = (control & 1) ? ByteChars(data + 2, size - 2) : Utf16Units(data + 2, size - 2);
    if ((control & 0x82) == 0x82) {
        const wchar_t pads[] = {L'x', L'\n', L'0', L'\r', L'\x80', L'\x65E5', L'1', L'\0'};
        const size_t length = kLengthLimit - 10 + parameter % 20;
        if (text.size() < length)
            text.append(length - text.size(), pads[parameter >> 5]);
    }
    const size_t capacity = static_cast<size_t>(kSettingLineCapacity);
    size_t start = 0;
    switch ((control >> 2) & 3) {
    case 1: start = parameter % 4; break;
    case 2: start = capacity - 1 - parameter % 8; break;
    default: break;
    }
    const int checkState = ((control >> 4) & 7) - 2;

    // A few lines before the start hold something; they must stay as they were.
    const size_t marked = start < 4 ? 0 : start - 4;
    for (size_t i = marked; i < start; ++i)
        g_settingLines[i] = kEarlier;
    g_settingLineCount = static_cast<int32_t>(start);

    ParseSettingsText(text);

    const size_t count = static_cast<size_t>(g_settingLineCount);
    for (size_t i = marked; i < start; ++i)
        FUZZ_CHECK(g_settingLines[i] == kEarlier);
    // The text's lines follow, for as long as the table has room.
    size_t expected = start;
    if (text.size() < kLengthLimit) {
        ForEachReferenceLine(text, [&](const std::wstring& line) {
            FUZZ_CHECK(expected < count);
            FUZZ_CHECK(g_settingLines[expected] == line);
            FUZZ_CHECK(IsSettingOn(g_settingLines[expected]) == ReferenceOn(line));
            return ++expected < capacity;
        });
    }
    FUZZ_CHECK(count == expected);
    // Nothing written past the stored lines (a sample: the whole table
    // would cost more than the run).
    for (size_t i = count; i < count + 2 && i < capacity; ++i)
        FUZZ_CHECK(g_settingLines[i].empty());

    // The gate reads line 1, as the program does, and the raw text too.
    FUZZ_CHECK(IsGatedMessageAllowed(checkState, g_settingLines[1]) ==
               (checkState != 0 && ReferenceOn(g_settingLines[1])));
    FUZZ_CHECK(IsSettingOn(text) == ReferenceOn(text));
    FUZZ_CHECK(IsGatedMessageAllowed(checkState, text) == (checkState != 0 && ReferenceOn(text)));

    ResetTable(marked, count + 2);
    return 0;
}

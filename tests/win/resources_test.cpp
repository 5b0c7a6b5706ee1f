// The resources compiled into Numvera.exe, read from the file itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/DlgInitData.h"
#include "res/resource.h"
#include "tests/win/NumveraTestEnvironment.h"

namespace {

class NumveraResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_module = ::LoadLibraryExW(testenv::NumveraExe().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override { ::FreeLibrary(m_module); }

    std::string Bytes(const wchar_t* type, const wchar_t* name, WORD language = 0) const
    {
        HRSRC resource = language != 0 ? ::FindResourceExW(m_module, type, name, language)
                                       : ::FindResourceW(m_module, name, type);
        if (resource == nullptr)
            return std::string();
        const char* data = static_cast<const char*>(::LockResource(::LoadResource(m_module, resource)));
        return std::string(data, ::SizeofResource(m_module, resource));
    }

    HMODULE m_module = nullptr;
};

const WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

TEST_F(NumveraResources, DialogsAreJapanese)
{
    EXPECT_FALSE(Bytes(RT_DIALOG, MAKEINTRESOURCEW(IDD_MAIN), kJapanese).empty());
    EXPECT_FALSE(Bytes(RT_DIALOG, MAKEINTRESOURCEW(IDD_ABOUTBOX), kJapanese).empty());
}

TEST_F(NumveraResources, VersionBlockNamesTheProduct)
{
    const std::wstring exe = testenv::NumveraExe();
    DWORD ignored = 0;
    std::vector<char> block(::GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x000C000Cu);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010002u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x000C000Cu);

    const struct {
        const wchar_t* key;
        const wchar_t* value;  // null: the maker's own text, present
    } strings[] = {
        {L"FileVersion", L"1.2.12.12"}, {L"ProductVersion", L"1.2.12.12"}, {L"ProductName", L"Binarok"},
        {L"FileDescription", L"Numvera"}, {L"InternalName", L"Numvera.exe"}, {L"OriginalFilename", L"Numvera.exe"},
        {L"CompanyName", nullptr},      {L"LegalCopyright", nullptr},
    };
    for (const auto& entry : strings) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\041104B0\\") + entry.key;
        wchar_t* value = nullptr;
        UINT length = 0;
        ASSERT_TRUE(::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << "missing " << std::string(query.begin(), query.end());
        if (entry.value != nullptr)
            EXPECT_STREQ(value, entry.value);
        else
            EXPECT_GT(wcslen(value), 0u);
    }
    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &size));
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(NumveraResources, IconGroupHoldsEverySizeAndDepth)
{
    const std::string group = Bytes(RT_GROUP_ICON, MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_GE(group.size(), 6u);
    const WORD count = *reinterpret_cast<const WORD*>(group.data() + 4);
    ASSERT_EQ(group.size(), 6u + count * sizeof(GroupIconEntry));
    std::vector<std::pair<int, int>> images;  // (size, bits)
    for (WORD i = 0; i < count; ++i) {
        const auto* entry = reinterpret_cast<const GroupIconEntry*>(group.data() + 6 + i * sizeof(GroupIconEntry));
        images.emplace_back(entry->width == 0 ? 256 : entry->width, entry->bitCount);
        EXPECT_EQ(Bytes(RT_ICON, MAKEINTRESOURCEW(entry->id)).size(), entry->bytes) << "image " << i;
    }
    for (int size : {16, 24, 32, 48})
        for (int bits : {4, 8, 32})
            EXPECT_EQ(std::count(images.begin(), images.end(), std::make_pair(size, bits)), 1) << size << "px " << bits << " bit";
    EXPECT_EQ(std::count(images.begin(), images.end(), std::make_pair(256, 32)), 1);
    EXPECT_EQ(count, 13);
}

TEST_F(NumveraResources, ManifestAsksForCommonControls6AsInvokerAndDpiAwareness)
{
    const std::string manifest = Bytes(RT_MANIFEST, MAKEINTRESOURCEW(1));
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "processorArchitecture=\"amd64\" publicKeyToken=\"6595b64144ccf1df\"",
                             "level=\"asInvoker\" uiAccess=\"false\"",
                             // per-monitor v2, with per-monitor and system-aware fallbacks
                             ">PerMonitorV2, PerMonitor</dpiAwareness>", ">true/pm</dpiAware>"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

TEST_F(NumveraResources, StyledControlsCarryTheirInitialProperties)
{
    const std::string bytes = Bytes(MAKEINTRESOURCEW(240), MAKEINTRESOURCEW(IDD_MAIN));
    const std::vector<DlgInitItem> items =
        ParseDlgInitResource(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    ASSERT_EQ(items.size(), 4u);
    const int ids[] = {IDC_ABOUT, IDC_CONVERT, IDC_SHOP_LINK, IDC_SITE_LINK};
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].controlId, ids[i]);
        EXPECT_EQ(items[i].message, kInitControlMessage);
    }
    for (size_t button : {0u, 1u}) {
        const std::string& properties = items[button].data;
        EXPECT_EQ(FindControlProperty(properties, "MFCButton_Style"), "4");
        EXPECT_EQ(FindControlProperty(properties, "MFCButton_Autosize"), "FALSE");
        EXPECT_EQ(FindControlProperty(properties, "MFCButton_FullTextTool"), "TRUE");
        EXPECT_EQ(FindControlProperty(properties, "MFCButton_CursorType"), "11");
        EXPECT_EQ(FindControlProperty(properties, "MFCButton_ImageType"), "8");
        EXPECT_EQ(FindControlProperty(properties, "MFCButton_ImageOnTop"), "FALSE");
        EXPECT_EQ(FindControlProperty(properties, "MFCButton_ImageOnRight"), "FALSE");
        EXPECT_NE(properties.find("<MFCButton_Tooltip></MFCButton_Tooltip>"), std::string::npos);
    }
    for (size_t link : {2u, 3u}) {
        const std::string& properties = items[link].data;
        for (const char* empty : {"<MFCLink_Url></MFCLink_Url>", "<MFCLink_UrlPrefix></MFCLink_UrlPrefix>",
                                  "<MFCLink_Tooltip></MFCLink_Tooltip>"})
            EXPECT_NE(properties.find(empty), std::string::npos) << empty;
        EXPECT_EQ(FindControlProperty(properties, "MFCLink_FullTextTooltip"), "FALSE");
    }
}

}  // namespace

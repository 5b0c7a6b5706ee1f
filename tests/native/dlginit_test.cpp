#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/DlgInitData.h"

namespace {

void AppendItem(std::vector<unsigned char>& bytes, uint16_t id, uint16_t message, const std::string& data)
{
    const uint32_t length = static_cast<uint32_t>(data.size());
    const unsigned char header[] = {
        static_cast<unsigned char>(id), static_cast<unsigned char>(id >> 8),
        static_cast<unsigned char>(message), static_cast<unsigned char>(message >> 8),
        static_cast<unsigned char>(length), static_cast<unsigned char>(length >> 8),
        static_cast<unsigned char>(length >> 16), static_cast<unsigned char>(length >> 24),
    };
    bytes.insert(bytes.end(), header, header + sizeof header);
    bytes.insert(bytes.end(), data.begin(), data.end());
}

}  // namespace

TEST(ParseDlgInitResource, ReadsItemsUpToTheTerminator)
{
    std::vector<unsigned char> bytes;
    AppendItem(bytes, 1001, 0x037C, std::string("<A>1</A>\0", 9) + "x");
    AppendItem(bytes, 1010, 0x037C, "<MFCLink_Url></MFCLink_Url>");
    bytes.push_back(0);
    bytes.push_back(0);
    AppendItem(bytes, 1011, 0x037C, "after the terminator");

    const std::vector<DlgInitItem> items = ParseDlgInitResource(bytes.data(), bytes.size());
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].controlId, 1001);
    EXPECT_EQ(items[0].message, 0x037C);
    EXPECT_EQ(items[0].data, std::string("<A>1</A>\0x", 10));
    EXPECT_EQ(items[1].controlId, 1010);
    EXPECT_EQ(items[1].data, "<MFCLink_Url></MFCLink_Url>");
}

TEST(ParseDlgInitResource, StopsAtATruncatedItem)
{
    std::vector<unsigned char> bytes;
    AppendItem(bytes, 1001, 0x037C, "complete");
    AppendItem(bytes, 1002, 0x037C, "cut short");
    const size_t cuts[] = {bytes.size() - 1, bytes.size() - 9 - 1, 8 + 8 + 3};
    for (size_t size : cuts) {
        const std::vector<DlgInitItem> items = ParseDlgInitResource(bytes.data(), size);
        ASSERT_EQ(items.size(), 1u) << "size " << size;
        EXPECT_EQ(items[0].data, "complete");
    }
    EXPECT_TRUE(ParseDlgInitResource(bytes.data(), 0).empty());
    EXPECT_TRUE(ParseDlgInitResource(bytes.data(), 7).empty());
}

TEST(FindControlProperty, ReturnsTheTextBetweenTheTags)
{
    const std::string properties =
        "<MFCLink_Url>https://a.example.com/</MFCLink_Url><MFCLink_UrlPrefix></MFCLink_UrlPrefix>"
        "<MFCButton_Style>4</MFCButton_Style><Open>no close";
    const struct {
        const char* tag;
        const char* value;
    } cases[] = {
        {"MFCLink_Url", "https://a.example.com/"},
        {"MFCLink_UrlPrefix", ""},
        {"MFCButton_Style", "4"},
        {"MFCLink_Tooltip", ""},  // absent
        {"Open", ""},             // never closed
        {"Style", ""},            // only whole tags match
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindControlProperty(properties, c.tag), c.value) << c.tag;
}

#include "framework/DlgInitData.h"

namespace {

uint16_t ReadWord(const unsigned char* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

uint32_t ReadDword(const unsigned char* at)
{
    return static_cast<uint32_t>(ReadWord(at)) | (static_cast<uint32_t>(ReadWord(at + 2)) << 16);
}

}  // namespace

std::vector<DlgInitItem> ParseDlgInitResource(const unsigned char* bytes, size_t size)
{
    std::vector<DlgInitItem> items;
    size_t at = 0;
    constexpr size_t kHeader = 2 + 2 + 4;  // id, message, length
    while (at + 2 <= size) {
        const uint16_t id = ReadWord(bytes + at);
        if (id == 0 || at + kHeader > size)
            break;
        const uint16_t message = ReadWord(bytes + at + 2);
        const uint32_t length = ReadDword(bytes + at + 4);
        at += kHeader;
        if (length > size - at)
            break;
        items.push_back({id, message, std::string(reinterpret_cast<const char*>(bytes + at), length)});
        at += length;
    }
    return items;
}

std::string FindControlProperty(const std::string& properties, const std::string& tag)
{
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    const size_t start = properties.find(open);
    if (start == std::string::npos)
        return std::string();
    const size_t valueStart = start + open.size();
    const size_t end = properties.find(close, valueStart);
    if (end == std::string::npos)
        return std::string();
    return properties.substr(valueStart, end - valueStart);
}

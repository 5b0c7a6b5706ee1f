// The dialog-init resource: per control, a message and a block of bytes that
// the dialog sends to the control when it is initialised. For the styled
// controls the block is a sequence of <Tag>value</Tag> properties.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/DlgInitIds.h"

struct DlgInitItem {
    uint16_t controlId;
    uint16_t message;
    std::string data;
};

// Items in resource order; parsing stops at the terminating zero id or at the
// first item that does not fit in the given bytes.
std::vector<DlgInitItem> ParseDlgInitResource(const unsigned char* bytes, size_t size);

// The value between <tag> and </tag>; empty when the tag is absent.
std::string FindControlProperty(const std::string& properties, const std::string& tag);

// The message number of the styled controls' initial properties.
constexpr unsigned kInitControlMessage = NUMVERA_WM_INIT_CONTROL;

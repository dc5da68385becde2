#pragma once
#include "core/net/PacketHeader.h"

namespace zel {

// True when the code is one the server accepts from a client and the length
// fits its table entry (fixed, or within the bounds of a text packet).
bool IsValidClientHeader(const PacketHeader& header);

} // namespace zel

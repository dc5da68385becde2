#pragma once
#include <cstdint>
#include <string>

namespace zel {

// The status-bar clock: "hh:mm:ss" on a 12-hour dial for a time mark in ms
// since midnight. Hours 13..23 read 01..11, hour 0 reads 00, 12 stays 12.
std::string ClockText(std::int32_t msSinceMidnight);

} // namespace zel

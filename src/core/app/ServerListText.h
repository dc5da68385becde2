#pragma once
#include <string_view>

namespace zel {

struct HostInfo;

// The server-list text of the configuration exchange: fields each ended by
// "\#": advhost, advport, the count of game servers and that many host/port
// pairs, the count of banner links and that many addresses, then notetype and
// notemsg1..3 (the notice fields may be missing). At least one game server.
class ServerListText {
public:
    // Parses `text` into `out`'s server, link and notice fields; the banner
    // file count and sizes are left alone. Counts above HostInfo's capacity
    // keep the first entries. Returns false, leaving `out` untouched, when a
    // field is missing or a number or port is out of range.
    static bool Parse(std::string_view text, HostInfo& out);
};

} // namespace zel

#pragma once
#include <cstdint>
#include <string>

#include "server/ServerCore.h"

namespace zel {

// The operator's line commands on the admin port. Every command gets one
// reply line beginning "ok" or "error". Ids and texts arrive in UTF-8.
//   kick <id>            close that user's game connection at once
//   bye <id>             send 20040 (the server ends the connection)
//   refuse <ms>          close new game connections at once for that long
//   silence <id> <ms>    send nothing to that user for that long
//   users | grace        connected users / dropped users kept: "ok id:user:room ..."
//   notice <text>        23030 to everyone
//   quit                 stop the server
class TAdminConsole {
public:
    explicit TAdminConsole(TServerCore& core) : core_(core) {}

    std::string Execute(const std::string& line, std::uint64_t now);
    bool QuitRequested() const { return quit_; }

    static constexpr std::size_t kMaxLine = 4096;

private:
    TServerCore& core_;
    bool quit_ = false;
};

} // namespace zel

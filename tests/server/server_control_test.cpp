#include <gtest/gtest.h>

#include <vector>

#include "core/net/PacketCodes.h"
#include "server/AdminConsole.h"
#include "server/ClientHeaderRules.h"
#include "server/ServerOptions.h"
#include "ServerTestIo.h"

namespace zel {
namespace {

TEST(ClientHeaderRules, AcceptsWhatClientsSendAndNothingElse)
{
    struct Row {
        std::uint16_t code, length;
        bool valid;
    } rows[] = {
        {pk::Login, 38, true},
        {pk::Login, 37, false},
        {pk::Leave, 6, true},
        {pk::PrivateText, 12, true},
        {pk::PrivateText, 2060, true},
        {pk::PrivateText, 2061, false},
        {pk::PrivateText, 11, false},
        {pk::RoomText, 6, true},
        {pk::RoomText, 2055, false},
        {pk::MakeRoom, 60, true},
        {pk::EnterRoom, 8, true},
        {pk::RoomInviteRefuse, 42, true},
        {pk::UserArrives, 38, false},
        {pk::Greeting, 6, false},
        {pk::LoginAccepted, 12, false},
        {0, 6, false},
        {65535, 6, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(IsValidClientHeader({r.code, r.length, 0}), r.valid) << r.code << "/" << r.length;
}

TEST(ServerOptions, CommandLine)
{
    TServerOptions o;
    std::string error;
    const char* args[] = {"zelserver",    "--host", "0.0.0.0",      "--game-port", "0",      "--config-port", "9",
                          "--admin-port", "7000",   "--table-size", "50",          "--conf", "x.conf",        "--log"};
    ASSERT_TRUE(o.Parse(14, args, error)) << error;
    EXPECT_EQ(o.host, "0.0.0.0");
    EXPECT_EQ(o.gamePort, 0);
    EXPECT_EQ(o.configPort, 9);
    EXPECT_EQ(o.adminPort, 7000);
    EXPECT_EQ(o.tableSize, 50);
    EXPECT_EQ(o.confPath, "x.conf");
    EXPECT_TRUE(o.log);
    EXPECT_TRUE(o.redisHost.empty());

    const char* multi[] = {"zelserver", "--redis", "::1:6380", "--node", "3"};
    TServerOptions m;
    ASSERT_TRUE(m.Parse(5, multi, error)) << error;
    EXPECT_EQ(m.redisHost, "::1");
    EXPECT_EQ(m.redisPort, 6380);
    EXPECT_EQ(m.node, 3);

    std::vector<std::vector<const char*>> bad = {
        {"zelserver", "--game-port"},
        {"zelserver", "--game-port", "65536"},
        {"zelserver", "--table-size", "1"},
        {"zelserver", "--table-size", "16385"},
        {"zelserver", "--admin-port", "-1"},
        {"zelserver", "--verbose", "1"},
        {"zelserver", "--config-port", "8x"},
        {"zelserver", "--redis", "127.0.0.1:6379"},
        {"zelserver", "--node", "2"},
        {"zelserver", "--redis", "6379", "--node", "1"},
        {"zelserver", "--redis", "h:0", "--node", "1"},
        {"zelserver", "--redis", "h:1", "--node", "0"},
    };
    for (const auto& argv : bad) {
        TServerOptions b;
        EXPECT_FALSE(b.Parse(static_cast<int>(argv.size()), argv.data(), error)) << argv.back();
    }
}

TEST(AdminConsole, CommandsAndReplies)
{
    test::RecordingIo io;
    TServerCore core(io, {8, 1000, 60000});
    TAdminConsole admin(core);
    struct Row {
        const char* line;
        const char* reply;
    } rows[] = {
        {"users", "ok"},
        {"kick nobody", "error not connected: nobody"},
        {"kick", "error usage: kick <id>"},
        {"refuse 100\r", "ok refuse 100"},
        {"refuse soon", "error usage: refuse <ms>"},
        {"silence x", "error usage: silence <id> <ms>"},
        {"notice hello all", "ok notice"},
        {"dance", "error unknown command: dance"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(admin.Execute(r.line, 0), r.reply) << r.line;
    EXPECT_FALSE(admin.QuitRequested());
    EXPECT_EQ(admin.Execute("quit", 0), "ok quit");
    EXPECT_TRUE(admin.QuitRequested());
}

} // namespace
} // namespace zel

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/app/ConfigExchange.h"
#include "core/app/ServerListText.h"
#include "support/Fakes.h"
#include "support/MemoryFileStore.h"

namespace zel {
namespace {

using test::FakeTransport;
using test::MemoryFileStore;
using test::MemorySettings;

std::string Fields(std::initializer_list<long> values)
{
    std::string out;
    char buffer[32];
    for (long v : values) {
        std::snprintf(buffer, sizeof buffer, "%10ld", v);
        out += buffer;
    }
    return out + '\0';
}

const std::string kList = "10.0.0.1\\#9000\\#2\\#10.0.0.2\\#7000\\#10.0.0.3\\#7001\\#1\\#http://x/\\#"
                          "2\\#first\\#second\\#third\\#";

struct ConfigFixture : ::testing::Test {
    ConfigFixture() : status(settings), exchange(link, files, status)
    {
        link.Open("127.0.0.1", 8080);
        link.PeerAccepts();
        exchange.Start();
    }
    TConfigExchange::Result Feed(const std::string& bytes)
    {
        return exchange.Feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::string Sent() const { return std::string(link.sent.begin(), link.sent.end()); }

    MemorySettings settings;
    TZelStatus status;
    FakeTransport link;
    MemoryFileStore files;
    TConfigExchange exchange;
};

TEST_F(ConfigFixture, NothingNewAnswersZeroAndCloses)
{
    EXPECT_EQ(Feed(Fields({0})), TConfigExchange::Result::Finished);
    EXPECT_EQ(Sent(), std::string("         0") + '\0');
    EXPECT_FALSE(link.IsOpen());
    EXPECT_FALSE(exchange.Downloaded());
}

TEST_F(ConfigFixture, DownloadsSplitsAndStoresTheServerList)
{
    const std::string gif1 = "GIF89a-one", gif2 = "GIF-two";
    std::string reply =
        Fields({1, 3, static_cast<long>(kList.size()), static_cast<long>(gif1.size()), static_cast<long>(gif2.size())});
    std::string files3 = kList + gif1 + gif2;
    // One byte at a time: the header and the files may arrive in any pieces.
    for (char c : reply)
        ASSERT_EQ(Feed(std::string(1, c)), TConfigExchange::Result::Pending);
    EXPECT_EQ(Sent(), std::string("       500         0") + '\0');
    for (std::size_t i = 0; i + 1 < files3.size(); ++i)
        ASSERT_EQ(Feed(std::string(1, files3[i])), TConfigExchange::Result::Pending);
    // Bytes beyond the announced files are ignored.
    EXPECT_EQ(Feed(files3.substr(files3.size() - 1) + "trailing junk"), TConfigExchange::Result::Finished);

    EXPECT_EQ(files.files["ADVInfoA.gif"], kList);
    EXPECT_EQ(files.files["ADVInfoB.gif"], gif1);
    EXPECT_EQ(files.files["ADVInfoC.gif"], gif2);
    EXPECT_FALSE(files.Exists("ADVFile.Tmp"));
    EXPECT_TRUE(exchange.Downloaded());
    EXPECT_EQ(Sent(), std::string("       500         0") + '\0' + std::string("         0") + '\0');
    EXPECT_FALSE(link.IsOpen());

    const HostInfo& h = status.host;
    EXPECT_EQ(h.advHost, "10.0.0.1");
    EXPECT_EQ(h.advPort, 9000);
    EXPECT_EQ(h.hostCount, 2);
    EXPECT_EQ(h.hosts[1], "10.0.0.3");
    EXPECT_EQ(h.ports[1], 7001);
    EXPECT_EQ(h.adUrls[0], "http://x/");
    EXPECT_EQ(h.adFileCount, 3);
    EXPECT_EQ(h.adSizes[2], static_cast<std::int32_t>(gif2.size()));
    EXPECT_EQ(h.noteMsgs[1], "second");
    // Saved, so that the next start compares against these sizes.
    EXPECT_EQ(settings.values["ADV & Host Info"]["zelhost2"], "10.0.0.3");
    EXPECT_EQ(settings.values["ADV & Host Info"]["nadfile"], "3");
}

TEST_F(ConfigFixture, UnchangedFilesAreNotFetchedAgain)
{
    status.host.adFileCount = 2;
    status.host.adSizes[0] = 4;
    status.host.adSizes[1] = 3;
    files.files["ADVInfoA.gif"] = "list";
    files.files["ADVInfoB.gif"] = "gif";
    EXPECT_EQ(Feed(Fields({1, 2, 4, 3})), TConfigExchange::Result::Finished);
    EXPECT_EQ(Sent(), std::string("         0") + '\0');
    EXPECT_EQ(files.writes, 0);

    // A banner file of another size on disk is fetched again.
    files.files["ADVInfoB.gif"] = "gi";
    link.Open("h", 1);
    link.PeerAccepts();
    link.sent.clear();
    exchange.Start();
    EXPECT_EQ(Feed(Fields({1, 2, 4, 3})), TConfigExchange::Result::Pending);
    EXPECT_EQ(Sent(), std::string("       500         0") + '\0');
}

TEST_F(ConfigFixture, GarbledOrOversizedHeadersFailWithoutTouchingSettings)
{
    const HostInfo before = status.host;
    const std::string rows[] = {
        std::string("abc") + '\0',                        // not a number
        std::string("         1") + '\0',                 // no file count
        Fields({1, 2, 10}),                               // fewer sizes than announced
        Fields({1, 1, 10, 10}),                           // more sizes than announced
        Fields({1, 11, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}), // more files than the table holds
        Fields({1, 1, 10L * 1024 * 1024 + 1}),            // a file above 10 MB
        Fields({1, 1, -5}),                               // a negative size
        Fields({1, -1}),                                  // a negative count
        std::string("        1") + '\0',                  // a field of 9 characters
        std::string(200, '1'),                            // no terminator within bounds
    };
    for (const std::string& row : rows) {
        link.Open("h", 1);
        link.PeerAccepts();
        link.sent.clear();
        exchange.Start();
        EXPECT_EQ(Feed(row), TConfigExchange::Result::Failed) << row;
        EXPECT_FALSE(link.IsOpen());
        EXPECT_TRUE(link.sent.empty());
        EXPECT_FALSE(exchange.Running());
        EXPECT_EQ(status.host.hosts, before.hosts);
        EXPECT_EQ(status.host.adSizes, before.adSizes);
        // Later bytes are ignored.
        EXPECT_EQ(Feed(Fields({0})), TConfigExchange::Result::Pending);
    }
    EXPECT_EQ(files.writes, 0);
}

TEST_F(ConfigFixture, ACutShortDownloadStoresNothing)
{
    const HostInfo before = status.host;
    EXPECT_EQ(Feed(Fields({1, 2, 100, 100})), TConfigExchange::Result::Pending);
    EXPECT_EQ(Feed(std::string(150, 'x')), TConfigExchange::Result::Pending);
    exchange.Abandon();
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(status.host.adFileCount, before.adFileCount);
}

TEST(ServerListText, BoundsAndRefusals)
{
    HostInfo host;
    host.advHost = "old";
    // Twelve servers and twelve links: the first ten of each are kept.
    std::string many = "a\\#1\\#12\\#";
    for (int i = 1; i <= 12; ++i)
        many += "h" + std::to_string(i) + "\\#" + std::to_string(i) + "\\#";
    many += "12\\#";
    for (int i = 1; i <= 12; ++i)
        many += "u" + std::to_string(i) + "\\#";
    ASSERT_TRUE(ServerListText::Parse(many, host));
    EXPECT_EQ(host.hostCount, 10);
    EXPECT_EQ(host.hosts[9], "h10");
    EXPECT_EQ(host.adUrls[9], "u10");

    const char* bad[] = {
        "",                             // nothing
        "a\\#1\\#1\\#h\\#",             // port of a game server missing
        "a\\#1\\#1\\#h\\#70000\\#0\\#", // port out of range
        "a\\#x\\#1\\#h\\#1\\#0\\#",     // configuration port not a number
        "a\\#1\\#0\\#0\\#",             // no game server at all
        "a\\#1\\#1\\#h\\#1\\#3\\#u\\#", // fewer links than announced
        "a\\#1\\#999999\\#",            // an absurd count
    };
    HostInfo kept = host;
    for (const char* text : bad) {
        EXPECT_FALSE(ServerListText::Parse(text, host)) << text;
        EXPECT_EQ(host.hosts, kept.hosts);
        EXPECT_EQ(host.advHost, kept.advHost);
    }
    // The notice fields may be missing.
    ASSERT_TRUE(ServerListText::Parse("a\\#1\\#1\\#h\\#2\\#0\\#", host));
    EXPECT_EQ(host.hosts[0], "h");
    EXPECT_EQ(host.hosts[1], "");
}

} // namespace
} // namespace zel

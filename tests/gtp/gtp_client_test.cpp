// The controller's side: command lines with ids and replies cut from the
// engine's output however it arrives.
#include <gtest/gtest.h>

#include <string>

#include "core/gtp/GtpClient.h"

namespace zel {
namespace {

TEST(GtpClient, CommandLines)
{
    TGtpClient client;
    EXPECT_EQ(client.CommandLine("name"), "1 name\n");
    EXPECT_EQ(client.CommandLine("play b D4"), "2 play b D4\n");
    EXPECT_EQ(client.CommandLine(""), "");
    EXPECT_EQ(client.CommandLine("   "), "");
    EXPECT_EQ(client.CommandLine("play b D4\nquit"), "") << "a command must not carry a second one";
    EXPECT_EQ(client.CommandLine("name\r"), "");
    EXPECT_EQ(client.LastId(), 2);
}

TEST(GtpClient, Replies)
{
    struct Row {
        const char* what;
        std::string output;
        TGtpReadStatus status;
        bool ok;
        long id;
        const char* text;
    };
    const Row rows[] = {
        {"plain", "=1 2\n\n", TGtpReadStatus::Reply, true, 1, "2"},
        {"empty success", "= \n\n", TGtpReadStatus::Reply, true, -1, ""},
        {"error", "?7 unknown command\n\n", TGtpReadStatus::Reply, false, 7, "unknown command"},
        {"several lines", "=3 \nA B\nC D\n\n", TGtpReadStatus::Reply, true, 3, "\nA B\nC D"},
        {"CR LF line ends", "=4 ok\r\n\r\n", TGtpReadStatus::Reply, true, 4, "ok"},
        {"blank lines before", "\n\n=5 x\n\n", TGtpReadStatus::Reply, true, 5, "x"},
        {"unfinished", "=6 half", TGtpReadStatus::Incomplete, false, -1, ""},
        {"one LF only", "=6 half\n", TGtpReadStatus::Incomplete, false, -1, ""},
        {"garbage", "hello\n\n", TGtpReadStatus::Malformed, false, -1, ""},
        {"largest id", "=999999999 x\n\n", TGtpReadStatus::Reply, true, 999999999, "x"},
        {"id beyond the largest", "=1000000000 x\n\n", TGtpReadStatus::Malformed, false, -1, ""},
        {"endless id", "=123456789012345678901234567890 x\n\n", TGtpReadStatus::Malformed, false, -1, ""},
        {"no end in sight", "=1 " + std::string(TGtpClient::kMaxReplyBytes + 1, 'x'), TGtpReadStatus::Overflow, false,
         -1, ""},
    };
    for (const Row& r : rows) {
        TGtpClient whole, byteWise;
        whole.Feed(r.output);
        for (char c : r.output)
            byteWise.Feed(std::string_view(&c, 1));
        for (TGtpClient* client : {&whole, &byteWise}) {
            TGtpReply reply;
            EXPECT_EQ(client->NextReply(reply), r.status) << r.what;
            if (r.status != TGtpReadStatus::Reply)
                continue;
            EXPECT_EQ(reply.Ok, r.ok) << r.what;
            EXPECT_EQ(reply.Id, r.id) << r.what;
            EXPECT_EQ(reply.Text, r.text) << r.what;
        }
    }
}

TEST(GtpClient, RepliesInOrder)
{
    TGtpClient client;
    client.Feed("=1 a\n\n?2 b\n\n=3");
    TGtpReply reply;
    ASSERT_EQ(client.NextReply(reply), TGtpReadStatus::Reply);
    EXPECT_EQ(reply.Text, "a");
    ASSERT_EQ(client.NextReply(reply), TGtpReadStatus::Reply);
    EXPECT_EQ(reply.Id, 2);
    EXPECT_FALSE(reply.Ok);
    EXPECT_EQ(client.NextReply(reply), TGtpReadStatus::Incomplete);
    client.Feed(" c\n\n");
    ASSERT_EQ(client.NextReply(reply), TGtpReadStatus::Reply);
    EXPECT_EQ(reply.Text, "c");
}

} // namespace
} // namespace zel

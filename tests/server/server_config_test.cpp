#include <gtest/gtest.h>

#include <string>

#include "core/base/Cp949.h"
#include "server/ConfigService.h"
#include "server/GifWriter.h"
#include "server/ServerConfig.h"
#include "ServerTestIo.h"

namespace zel {
namespace {

TEST(ServerConfig, ParsesKeysAndRefusesBadLines)
{
    TServerConfig config;
    std::string error;
    ASSERT_TRUE(config.Parse("# comment\nadvhost = h.example\nadvport=9000\ngameserver = g:5554\n"
                             "gameserver=10.0.0.1:6000\nlink = http://a/\nnotemsg2 = 안녕 \\# 하세요\n"
                             "configflag = 0\ngracems = 500\n",
                             error))
        << error;
    EXPECT_EQ(config.advHost, "h.example");
    EXPECT_EQ(config.advPort, 9000);
    ASSERT_EQ(config.gameServers.size(), 2u);
    EXPECT_EQ(config.gameServers[1].host, "10.0.0.1");
    EXPECT_EQ(config.gameServers[1].port, 6000);
    EXPECT_EQ(config.noteMsg[1], KS("안녕  하세요")); // the separator cannot hide in a field
    EXPECT_EQ(config.configFlag, 0);
    EXPECT_EQ(config.graceMs, 500u);

    const char* bad[] = {"advport = 0\n", "advport = 70000\n", "gameserver = nohost\n", "frob = 1\n",
                         "just text\n",   "configflag = 2\n",  "advport = 12x\n"};
    for (const char* text : bad) {
        TServerConfig c;
        EXPECT_FALSE(c.Parse(text, error)) << text;
        EXPECT_FALSE(error.empty());
    }
    std::string many;
    for (int i = 0; i < 11; ++i)
        many += "link = x\n";
    TServerConfig c;
    EXPECT_FALSE(c.Parse(many, error));
}

TEST(ServerConfig, ServerListFieldsFallBackToTheListeners)
{
    TServerConfig config;
    config.links = {"http://a/", "http://b/"};
    config.noteMsg[0] = KS("공지");
    std::string list = config.ServerList("127.0.0.1", 5554, 8080);
    EXPECT_EQ(list,
              "127.0.0.1\\#8080\\#1\\#127.0.0.1\\#5554\\#2\\#http://a/\\#http://b/\\#1\\#" + KS("공지") + "\\#\\#\\#");
}

// Decodes the first frame of a GIF written by EncodeGif: enough of a reader
// to prove the LZW stream gives back the pixels.
std::vector<std::uint8_t> DecodeFirstFrame(const std::vector<std::uint8_t>& gif, int& width, int& height)
{
    width = gif[6] | (gif[7] << 8);
    height = gif[8] | (gif[9] << 8);
    std::size_t at = 13 + 3 * (std::size_t{2} << (gif[10] & 7));
    while (gif.at(at) == 0x21) { // extensions
        at += 2;
        while (gif.at(at) != 0)
            at += gif[at] + 1u;
        ++at;
    }
    EXPECT_EQ(gif.at(at), 0x2C);
    at += 10;
    int minCode = gif.at(at++);
    std::vector<std::uint8_t> data;
    while (gif.at(at) != 0) {
        data.insert(data.end(), gif.begin() + static_cast<std::ptrdiff_t>(at + 1),
                    gif.begin() + static_cast<std::ptrdiff_t>(at + 1 + gif[at]));
        at += gif[at] + 1u;
    }
    int clear = 1 << minCode, end = clear + 1;
    int width_bits = minCode + 1, next = end + 1;
    std::vector<std::vector<std::uint8_t>> table;
    auto reset = [&]() {
        table.assign(static_cast<std::size_t>(end + 1), {});
        for (int i = 0; i < clear; ++i)
            table[static_cast<std::size_t>(i)] = {static_cast<std::uint8_t>(i)};
        width_bits = minCode + 1;
        next = end + 1;
    };
    reset();
    std::vector<std::uint8_t> out, prev;
    std::size_t bit = 0;
    while (bit + static_cast<std::size_t>(width_bits) <= data.size() * 8) {
        int code = 0;
        for (int i = 0; i < width_bits; ++i, ++bit)
            code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
        if (code == clear) {
            reset();
            prev.clear();
            continue;
        }
        if (code == end)
            break;
        std::vector<std::uint8_t> entry;
        if (code < next && !table[static_cast<std::size_t>(code)].empty())
            entry = table[static_cast<std::size_t>(code)];
        else {
            entry = prev;
            entry.push_back(prev.at(0));
        }
        out.insert(out.end(), entry.begin(), entry.end());
        if (!prev.empty()) {
            auto added = prev;
            added.push_back(entry[0]);
            table.push_back(added);
            ++next;
            if (next == (1 << width_bits) && width_bits < 12)
                ++width_bits;
        }
        prev = entry;
    }
    return out;
}

TEST(GifWriter, PixelsSurviveTheRoundTrip)
{
    TGifPicture p;
    p.width = 37;
    p.height = 5;
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 37 * 5; ++i)
        pixels.push_back(static_cast<std::uint8_t>((i * 7 + i / 3) % 16));
    p.frames.push_back(pixels);
    std::vector<std::uint8_t> gif = EncodeGif(p);
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    EXPECT_EQ(gif.back(), 0x3B);
    int w = 0, h = 0;
    EXPECT_EQ(DecodeFirstFrame(gif, w, h), pixels);
    EXPECT_EQ(w, 37);
    EXPECT_EQ(h, 5);
}

TEST(GifWriter, BannersAreStableValidPictures)
{
    auto banners = MakeBanners();
    ASSERT_EQ(banners.size(), 4u);
    EXPECT_EQ(banners, MakeBanners());
    for (const auto& gif : banners) {
        int w = 0, h = 0;
        auto pixels = DecodeFirstFrame(gif, w, h);
        EXPECT_EQ(pixels.size(), static_cast<std::size_t>(w * h));
    }
}

class ConfigServiceTest : public ::testing::Test {
protected:
    test::RecordingIo io;
    std::vector<std::vector<std::uint8_t>> files{{'a', 'b', 'c'}, std::vector<std::uint8_t>(12345, 7)};
    void Answer(TConfigService& s, ConnId conn, const std::string& text)
    {
        s.OnBytes(conn, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
};

TEST_F(ConfigServiceTest, AnnouncesSizesAndSendsFilesOnlyWhenAsked)
{
    TConfigService service(io, 1, files);
    service.OnConnected(1);
    EXPECT_EQ(io.RawText(1), std::string("         1         2         3     12345") + '\0');

    Answer(service, 1, std::string("       500         0") + '\0');
    std::string sent = io.RawText(1);
    EXPECT_EQ(sent.size(), 3u + 12345u);
    EXPECT_EQ(sent.substr(0, 3), "abc");
    Answer(service, 1, std::string("         0") + '\0'); // the closing field
    EXPECT_TRUE(io.RawText(1).empty());

    service.OnConnected(2);
    io.RawText(2);
    Answer(service, 2, std::string("         0") + '\0');
    EXPECT_TRUE(io.RawText(2).empty());
    EXPECT_FALSE(io.closed.count(2));
}

TEST_F(ConfigServiceTest, FlagZeroAndGarbage)
{
    TConfigService quiet(io, 0, files);
    quiet.OnConnected(1);
    EXPECT_EQ(io.RawText(1).substr(0, 10), "         0");
    Answer(quiet, 1, std::string("       500") + '\0');
    EXPECT_TRUE(io.RawText(1).empty());

    TConfigService service(io, 1, files);
    service.OnConnected(2);
    io.RawText(2);
    Answer(service, 2, std::string(200, '5')); // no end in sight
    EXPECT_TRUE(io.closed.count(2));
    EXPECT_TRUE(io.RawText(2).empty());
}

} // namespace
} // namespace zel

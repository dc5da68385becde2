#include <gtest/gtest.h>

#include <vector>

#include "core/app/LoginRecord.h"
#include "core/base/Bytes.h"
#include "core/base/Cp949.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

TEST(LoginRecord, IdAndNicknameAreNormalised)
{
    EXPECT_EQ(LoginRecord::NormaliseId("ab"), "abAAAA");
    EXPECT_EQ(LoginRecord::NormaliseId(""), "AAAA");
    EXPECT_EQ(LoginRecord::NormaliseId("abcd"), "abcd");
    EXPECT_EQ(LoginRecord::NormaliseId("abcdefghij"), "abcdefgh");
    EXPECT_EQ(LoginRecord::NormaliseNickname(""), "A");
    EXPECT_EQ(LoginRecord::NormaliseNickname("abcdefghij"), "abcdefgh");
    // Five Korean characters are 10 bytes: cut to 8 without splitting one.
    std::string korean = Utf8ToCp949("가나다라마");
    ASSERT_EQ(korean.size(), 10u);
    EXPECT_EQ(LoginRecord::NormaliseNickname(korean), Utf8ToCp949("가나다라"));
    // An odd cut point keeps whole characters only.
    std::string mixed = "a" + Utf8ToCp949("가나다라");
    EXPECT_EQ(LoginRecord::NormaliseNickname(mixed), "a" + Utf8ToCp949("가나다"));
}

TEST(LoginRecord, BytesOfLoginReLoginAndCheck)
{
    LoginInfo login;
    login.userId = "abAAAA";
    login.nickname = "nick";
    login.level = 21;
    login.inviteOn = true;
    login.profile = false;

    std::vector<std::uint8_t> rec(LoginRecord::kSize, 0xEE);
    LoginRecord::Fill(rec.data(), 20010, login, 0, 0);
    EXPECT_EQ(GetU16(&rec[0]), 20010);
    EXPECT_EQ(GetU16(&rec[2]), 38);
    EXPECT_EQ(rec[4], 20);
    EXPECT_EQ(rec[5], 30);
    EXPECT_EQ(rec[6], 21);
    EXPECT_EQ(GetU16(&rec[10]), 0);
    EXPECT_EQ(GetU16(&rec[12]), 0);
    for (int i : {7, 8, 9, 14, 15, 16, 17, 18, 19})
        EXPECT_EQ(rec[static_cast<std::size_t>(i)], 0) << i;
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&rec[20]), 8), std::string("abAAAA\0\0", 8));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&rec[28]), 10), std::string("nick\0\0\0\0\0\0", 10));

    login.inviteOn = false;
    login.profile = true;
    LoginRecord::Fill(rec.data(), 20020, login, 7, 3);
    EXPECT_EQ(GetU16(&rec[0]), 20020);
    EXPECT_EQ(rec[4], 10);
    EXPECT_EQ(rec[5], 10);
    EXPECT_EQ(GetU16(&rec[10]), 7);
    EXPECT_EQ(GetU16(&rec[12]), 3);
}

TEST(LoginRecord, RankTexts)
{
    EXPECT_EQ(OwnRankText(0), "18K");
    EXPECT_EQ(OwnRankText(17), "1K");
    EXPECT_EQ(OwnRankText(18), "1D");
    EXPECT_EQ(OwnRankText(29), "12D");
    EXPECT_EQ(OwnRankText(32), "3P");
}

} // namespace
} // namespace zel

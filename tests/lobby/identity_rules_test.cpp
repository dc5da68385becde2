#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Cp949.h"
#include "core/lobby/IdentityRules.h"

namespace zel {
namespace {

TEST(IdentityRules, IdFilter)
{
    const std::string refused = KS("아이디는 영문자와 숫자만 가능합니다");
    struct Row {
        std::string typed, text;
        bool refusedNotice;
    };
    const std::vector<Row> rows = {
        {"ABc1", "abc1", false},
        {"Zz09", "zz09", false},
        {"ab_c", "abc", true},
        {"a b", "ab", true},
        {KS("김a"), "a", true},                  // double-byte characters are refused whole
        {std::string("ab\x01", 3), "ab", false}, // control characters vanish silently
        {"", "", false},
    };
    for (const Row& r : rows) {
        FilteredText f = FilterIdText(r.typed);
        SCOPED_TRACE(r.typed);
        EXPECT_EQ(f.text, r.text);
        EXPECT_EQ(f.notice, r.refusedNotice ? refused : "");
    }
}

TEST(IdentityRules, NicknameFilter)
{
    struct Row {
        std::string typed, text, notice;
    };
    const std::vector<Row> rows = {
        {KS("바둑Go7"), KS("바둑Go7"), ""},
        {"a!b", "ab", "'!'" + KS(" 는 대화명에 사용할 수 없습니다.")},
        {"a b#", "ab", "' '" + KS(" 는 대화명에 사용할 수 없습니다.")}, // first refusal is reported
        {KS("바") + "\xB1", KS("바"), ""},                              // a dangling lead byte is dropped
        {"x\ty", "xy", ""},
    };
    for (const Row& r : rows) {
        FilteredText f = FilterNicknameText(r.typed);
        SCOPED_TRACE(r.typed);
        EXPECT_EQ(f.text, r.text);
        EXPECT_EQ(f.notice, r.notice);
    }
}

TEST(IdentityRules, FinalNickname)
{
    EXPECT_EQ(FinalNickname("", "abc1"), "abc1");
    EXPECT_EQ(FinalNickname("abcdefghijkl", "abc1"), "abcdefghij");
    EXPECT_EQ(FinalNickname("abcdefghij", "abc1"), "abcdefghij");
    // Five Korean characters are exactly ten bytes; one ASCII letter in front
    // leaves room for only four of them.
    const std::string five = KS("가나다라마");
    EXPECT_EQ(FinalNickname(five + KS("바"), "id"), five);
    EXPECT_EQ(FinalNickname("a" + five, "id"), "a" + KS("가나다라"));
    EXPECT_TRUE(IsWellFormedCp949(FinalNickname("abc" + five, "id")));
}

TEST(IdentityRules, IdLength)
{
    EXPECT_FALSE(IdLengthOk("abc"));
    EXPECT_TRUE(IdLengthOk("abcd"));
    EXPECT_TRUE(IdLengthOk("abcdefgh"));
    EXPECT_FALSE(IdLengthOk("abcdefghi"));
    EXPECT_FALSE(IdLengthOk(""));
}

} // namespace
} // namespace zel

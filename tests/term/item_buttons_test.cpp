#include "core/term/ItemButtons.h"

#include <gtest/gtest.h>

#include "core/base/Cp949.h"

namespace zel {
namespace {

TTermLine LineOf(const std::string& text)
{
    TTermLine line = BlankLine(15, 10);
    for (std::size_t i = 0; i < text.size() && i < line.size(); ++i)
        line[i].ch = static_cast<std::uint8_t>(text[i]);
    return line;
}

std::vector<std::string> Texts(const std::vector<TItemButton>& buttons)
{
    std::vector<std::string> out;
    for (const auto& b : buttons)
        out.push_back(b.text);
    return out;
}

TEST(ItemButtons, DetectorsInOrder)
{
    struct Row {
        std::string text;
        std::vector<std::string> buttons;
    };
    const Row rows[] = {
        {"  [12] " + KS("대기실"), {"12"}},
        {"#123456789012345678 x", {"123456789012345678"}},
        {"1234567890123456789 x", {}},
        {"         7 too far", {}},
        {"1." + KS("대기실") + "  2." + KS("방목록") + "  Q.Quit", {"1", "2", "q"}},
        {"Welcome to the server.", {}},
        {"Select (Y/N, " + KS("엔터") + ") or 'y'", {"y", "n", "", "y"}},
        {"(go abc: watch, help) " + KS("도움말:h"), {"go abc", "help", "h"}},
        {"type go Tiger9 to watch", {"go tiger9"}},
        {"type go Tiger9! to watch", {}},
        {"press " + KS("리턴키") + " to continue", {""}},
        {"press enter to go on", {"go on"}},
        {"Press ENTER", {""}},
        {"^C Cancel ^q Quit", {"\x03", "\x11"}},
        {"just chatting", {}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Texts(FindItemButtons(LineOf(r.text), 80)), r.buttons) << Cp949ToUtf8(r.text);
}

TEST(ItemButtons, SpansAndBounds)
{
    auto b = FindItemButtons(LineOf("^c Cancel   ^q Quit"), 80);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[0].first, 1);
    EXPECT_EQ(b[0].last, 9);
    EXPECT_EQ(b[1].first, 13);
    EXPECT_EQ(b[1].last, 19);

    // The menu number spans the row; text is cut to 20 bytes; at most 30 buttons.
    b = FindItemButtons(LineOf("42 x"), 60);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].last, 60);
    b = FindItemButtons(LineOf("(" + std::string(30, 'w') + ")"), 80);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_EQ(b[0].text, std::string(20, 'w'));
    std::string many;
    for (int i = 0; i < 39; ++i)
        many += "^a";
    EXPECT_EQ(FindItemButtons(LineOf(many), 80).size(), kMaxItemButtons);
}

TEST(ItemButtons, MatchesOnlyWholeDoubleByteCharacters)
{
    // A trail byte that equals '(' must not open an option list.
    TTermLine line = LineOf("x");
    line[0].ch = 0xB0;
    line[1].ch = '(';
    line[2].ch = 'a';
    line[3].ch = ')';
    const auto b = FindItemButtons(line, 80);
    EXPECT_TRUE(b.empty());
}

} // namespace
} // namespace zel

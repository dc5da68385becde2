#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <filesystem>

#include "client/term/ChatTerm.h"
#include "client/term/EditPanel.h"
#include "client/term/FontLoader.h"
#include "client/term/QtHanjaPainter.h"
#include "client/term/Terminal.h"
#include "core/base/Cp949.h"
#include "QtTestApp.h"

namespace zel {
namespace {

using test::App;

std::filesystem::path BuildDir()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path();
}

// The eight ANSI colours as (bright, normal) pairs, COLORREF 0x00BBGGRR.
TBackDraw::Palette AnsiPalette()
{
    return {0x000000, 0x808080, 0x000000, 0x0000FF, 0x000080, 0x00FF00, 0x008000, 0x00FFFF, 0x008080, 0xFF0000,
            0x800000, 0xFF00FF, 0x800080, 0xFFFF00, 0x808000, 0xFFFFFF, 0xC0C0C0, 0xD8E9EC, 0x404040};
}

struct Fonts {
    QApplication& app = App();
    TBackDraw draw{AnsiPalette()};
    TQtHanjaPainter hanja;
    bool loaded = false;
    Fonts()
    {
        loaded = LoadBitmapFonts(draw, QString::fromStdString((BuildDir() / "src" / "client").string()));
        draw.SetHanjaPainter(&hanja);
    }
};

void Save(QWidget& w, const char* name)
{
    test::SaveScreenshot(w, name);
}

void Mouse(QWidget& w, QEvent::Type type, QPoint at)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent e(type, QPointF(at), QPointF(w.mapToGlobal(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

QPoint CellCentre(int row, int col)
{
    return QPoint((col - 1) * 8 + 4, (row - 1) * 16 + 8);
}

TEST(TermWidget, ServerTerminalShowsColoursAndHighlightsButtons)
{
    Fonts fonts;
    ASSERT_TRUE(fonts.loaded);
    TTerminal term(fonts.draw);
    term.resize(660 + term.ScrollBarWidth(), 20 * 16);
    term.SetCaretOn(true);
    std::vector<std::string> sent;
    term.OnSend = [&](const std::string& s) { sent.push_back(s); };

    std::string text = Utf8ToCp949("\x1b[1;33m  벨다 바둑 서버에 오신 것을 환영합니다 \x1b[0;2m 韓國棋院\r\n\r\n");
    for (int c = 0; c < 8; ++c)
        text += "\x1b[3" + std::to_string(c) + "m normal " + "\x1b[1;3" + std::to_string(c) + "m bright \x1b[0m\x1b[2m";
    text += "\r\n\x1b[44;37m blue back \x1b[41;30m red back \x1b[7m swapped \x1b[0m\r\n\r\n";
    text += Utf8ToCp949("1.대기실  2.방목록  3.사용자찾기\r\n");
    text += Utf8ToCp949("   계속하시겠습니까? (Y/N, 엔터)  도움말:h\r\n");
    text += Utf8ToCp949("★☆ ○● ◎ ◇◆ □■ △▲ → ← ↑ ↓ ㄱㄴㄷ ㅏㅑ 한글 漢字\r\n");
    text += Utf8ToCp949("^c 취소   ^q 끝내기\r\n> ");
    term.Feed(text);
    term.show();

    // Row 8 holds the option list; hover over "Y" and click it.
    ASSERT_NE(term.Model().RowText(8).find("(y/n"), std::string::npos + 1);
    const int yCol = static_cast<int>(term.Model().RowText(8).find('(')) + 2;
    Mouse(term, QEvent::MouseMove, CellCentre(8, yCol));
    ASSERT_EQ(term.HotRow(), 8);
    EXPECT_EQ(term.HotButton().text, "y");
    const QImage shot = term.grab().toImage();
    const QColor highlight = QColor::fromRgb(0xFF000000u | fonts.draw.Colour(6));
    EXPECT_EQ(shot.pixelColor(CellCentre(8, yCol) + QPoint(2, 5)), highlight);
    Save(term, "terminal.png");
    Mouse(term, QEvent::MouseButtonPress, CellCentre(8, yCol));
    Mouse(term, QEvent::MouseButtonRelease, CellCentre(8, yCol));

    // A plain click away from any button sends an empty text.
    Mouse(term, QEvent::MouseMove, CellCentre(12, 60));
    EXPECT_EQ(term.HotRow(), 0);
    Mouse(term, QEvent::MouseButtonPress, CellCentre(12, 60));
    Mouse(term, QEvent::MouseButtonRelease, CellCentre(12, 60));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], "y");
    EXPECT_EQ(sent[1], "");

    // Default colours on row 1's background, bright yellow ink somewhere on it.
    const QImage plain = term.Image();
    EXPECT_EQ(plain.pixelColor(700, 8), QColor::fromRgb(0xFF000000u | fonts.draw.Colour(10)));
    bool yellow = false;
    for (int x = 0; x < 400 && !yellow; ++x)
        for (int y = 0; y < 16 && !yellow; ++y)
            yellow = plain.pixelColor(x, y) == QColor(Qt::yellow);
    EXPECT_TRUE(yellow);
}

TEST(TermWidget, LocalNoticesStartTheirOwnLineAndAreNoPackets)
{
    Fonts fonts;
    TTerminal term(fonts.draw);
    std::vector<std::string> packets;
    term.OnPacket = [&](const std::string& s) { packets.push_back(s); };
    term.Feed(">M<half");
    term.PrintLine("   ### notice");
    term.Feed("next\r\n");
    EXPECT_EQ(term.Model().RowText(1), ">M<half");
    EXPECT_EQ(term.Model().RowText(2), "   ### notice");
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0], ">M<halfnext");
}

TEST(TermWidget, WithoutFontsTheSystemFontWrites)
{
    App();
    TBackDraw none(AnsiPalette());
    TTerminal term(none);
    term.show();
    term.resize(600, 300);
    QApplication::processEvents();
    EXPECT_TRUE(term.SmallFont());
    term.Feed("still readable");
    EXPECT_EQ(term.Model().RowText(1), "still readable");
}

TEST(TermWidget, SmallHeightSwitchesToTheSystemFont)
{
    Fonts fonts;
    TTerminal term(fonts.draw);
    term.show();
    term.resize(500, 70);
    QApplication::processEvents();
    EXPECT_TRUE(term.SmallFont());
    EXPECT_EQ(term.Rows(), 5);
    term.resize(500, 200);
    QApplication::processEvents();
    EXPECT_FALSE(term.SmallFont());
    EXPECT_EQ(term.Rows(), 12);
}

TEST(TermWidget, ChatViewWrapsLongLines)
{
    Fonts fonts;
    ASSERT_TRUE(fonts.loaded);
    TChatTerm chat(fonts.draw);
    chat.resize(642 + chat.ScrollBarWidth(), 10 * 16);
    chat.AddText(std::string(100, 'x'), true);
    chat.AddText(Utf8ToCp949("흑: 잘 부탁드립니다"), true);
    EXPECT_EQ(chat.Model().RowText(1), std::string(80, 'x'));
    EXPECT_EQ(chat.Model().RowText(2), std::string(20, 'x'));
    chat.show();
    Save(chat, "chat.png");
    chat.Clear();
    EXPECT_EQ(chat.Model().RowText(1), "");
}

void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent e(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &e);
}

TEST(TermWidget, ChatInputLinesHistoryAndControlKeys)
{
    App();
    TEditPanel panel;
    panel.resize(400, 60);
    std::vector<std::string> lines;
    panel.OnLine = [&](const std::string& s) { lines.push_back(s); };
    TZelEdit* in = panel.Input();
    for (QChar c : QString::fromUtf8("안녕 go"))
        Key(in, 0, Qt::NoModifier, QString(c));
    Key(in, Qt::Key_Return);
    Key(in, Qt::Key_Return);
    Key(in, Qt::Key_C, Qt::ControlModifier, QString(QChar(3)));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], Utf8ToCp949("안녕 go"));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "\x03");
    EXPECT_EQ(in->text(), "");

    in->setText("typing");
    Key(in, Qt::Key_Up);
    Key(in, Qt::Key_Up);
    EXPECT_EQ(in->text(), QString::fromUtf8("안녕 go"));
    EXPECT_EQ(panel.NextLine()->text(), "");
    Key(in, Qt::Key_Down);
    Key(in, Qt::Key_Down);
    EXPECT_EQ(in->text(), "typing");

    const int full = panel.height();
    panel.SetHideBack(true);
    EXPECT_LT(panel.height(), full);
    EXPECT_EQ(panel.height(), panel.hFont() + 4);
    panel.CancelComposition();
}

} // namespace
} // namespace zel

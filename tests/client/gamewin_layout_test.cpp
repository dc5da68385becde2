#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>

#include "GoMainTestKit.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/record/GoMainCommands.h"

namespace zel {
namespace {

using test::GoMainFixture;

QString Caption(TZelGoMainForm& form, int i)
{
    return form.CommandButton(i)->text();
}

TEST(GoMainCommands, PartnersAreMutual)
{
    // Toggling buttons go back and forth; everything else stays.
    const int pairs[][2] = {{4, 5}, {7, 8}, {15, 16}, {19, 26}, {28, 29}};
    for (auto [a, b] : pairs) {
        EXPECT_EQ(CommandPartner(a), b) << a;
        EXPECT_EQ(CommandPartner(b), a) << b;
    }
    int toggling = 0;
    for (int c = 0; c <= kLastCommand; ++c)
        toggling += CommandPartner(c) != 0;
    EXPECT_EQ(toggling, 10);
    EXPECT_STREQ(CommandCaption(35), "자동 지정");
    EXPECT_STREQ(CommandCaption(36), "");
    EXPECT_STREQ(CommandCaption(-1), "");
}

TEST(GoMainCommands, PlacementOfPlayingAndOtherLayouts)
{
    // Playing: three columns of three; the others: three columns of two
    // below the navigation row.
    struct Row {
        int layout, index, left, top;
        bool visible;
    } rows[] = {
        {1, 0, 6, 3, true},  {1, 4, 93, 29, true},  {1, 8, 180, 55, true}, {2, 0, 6, 31, true},
        {2, 1, 6, 57, true}, {5, 5, 180, 57, true}, {5, 6, 0, 0, false},   {7, 8, 0, 0, false},
    };
    for (const Row& r : rows) {
        const TButtonPlace p = CommandButtonPlace(r.layout, r.index);
        EXPECT_EQ(p.Visible, r.visible) << r.layout << "/" << r.index;
        if (r.visible) {
            EXPECT_EQ(p.Left, r.left) << r.layout << "/" << r.index;
            EXPECT_EQ(p.Top, r.top) << r.layout << "/" << r.index;
            EXPECT_EQ(p.Width, 85);
        }
    }
    EXPECT_FALSE(NavButtonPlace(1, 0).Visible);
    EXPECT_EQ(NavButtonPlace(3, 5).Left, 223);
    EXPECT_EQ(NavButtonPlace(3, 2).Width, 42);
}

TEST(GoMainWindow, LayoutsCaptionsAndScreenshots)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    form.show();
    QTest::qWait(20);
    const char* expected[8][9] = {
        {},
        {"참고 해설", "형세 분석", "물림 요청", "수순 표시", "대화 차단", "순서 넘김", "불계 선언", "중단 요청",
         "계가 요청"},
        {"참고 해설", "형세 분석", "수순 표시", "기보 저장", "관전 마침", "퇴실 하기"},
        {"기보 인쇄", "형세 분석", "표시 하기", "순서 넘김", "작성 취소", "작성 마침"},
        {"기보 인쇄", "형세 분석", "자동 진행", "추가 작성", "해설 삭제", "보기 마침"},
        {"참고 해설", "형세 분석", "수순 표시", "자동 진행", "기보 인쇄", "보기 마침"},
        {"참고 해설", "형세 분석", "수순 표시", "자율 진행", "참여 확인", "복기 마침"},
        {"참고 해설", "형세 분석", "수순 표시", "자동 진행", "관전 상태", "검토 마침"},
    };
    f.View(f.RecordText(test::TenMoves()));
    for (int i = 0; i < 7; ++i)
        form.ButtonClick(13);
    // The live layouts show the clock strip as a game would.
    TElmGoInfo& info = form.GameInfo()->Model();
    info.SetClock(1, 1800, 30, 5);
    info.SetClock(2, 1800, 30, 5);
    info.SetTmEnabled(true, 0);
    form.GameInfo()->Refresh();
    for (int layout = 1; layout <= 7; ++layout) {
        if (layout == 3) {
            info.SetTmEnabled(false, 0);
            form.GameInfo()->Refresh();
        }
        form.SetLayout(layout);
        for (int i = 0; i < 9; ++i) {
            const char* caption = expected[layout][i];
            EXPECT_EQ(form.CommandButton(i)->isVisibleTo(&form), caption != nullptr) << layout << "/" << i;
            if (caption) {
                EXPECT_EQ(Caption(form, i), QString::fromUtf8(caption)) << layout << "/" << i;
            }
        }
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(form.NavButton(i)->isVisibleTo(&form), layout != 1);
        QTest::qWait(5);
        test::SaveScreenshot(form, QString("gamewin_layout%1.png").arg(layout));
    }

    form.MultiGameHost = [] { return true; };
    form.SetLayout(kLayoutPlaying);
    EXPECT_EQ(Caption(form, 7), QString::fromUtf8("판 치우기"));
}

TEST(GoMainWindow, ToggleButtonsTurnIntoTheirPartner)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    int commands = 0;
    form.OnCommand = [&](int, int) { ++commands; };
    form.SetLayout(kLayoutPlaying);
    // Live mode: the session gets the command and the button still flips.
    form.ButtonClick(4);
    EXPECT_EQ(Caption(form, 4), QString::fromUtf8("대화 허용"));
    form.ButtonClick(4);
    EXPECT_EQ(Caption(form, 4), QString::fromUtf8("대화 차단"));
    EXPECT_EQ(commands, 2);

    f.View(f.RecordText(test::TenMoves()));
    for (int i = 0; i < 3; ++i)
        form.ButtonClick(13);
    form.ButtonClick(2);
    EXPECT_EQ(Caption(form, 2), QString::fromUtf8("수순 지움"));
    EXPECT_EQ(form.Board().Numbering().ShowNumbers, 1);
    EXPECT_EQ(form.GoPaintBox()->Mark(16, 4), 1);
    form.ButtonClick(13); // numbered on as it is played
    EXPECT_EQ(form.GoPaintBox()->Mark(4, 4), 4);
    form.ButtonClick(2);
    EXPECT_EQ(Caption(form, 2), QString::fromUtf8("수순 표시"));
    EXPECT_EQ(form.Board().Numbering().ShowNumbers, 0);
    EXPECT_EQ(form.GoPaintBox()->Mark(16, 4), 0);
    EXPECT_EQ(form.GoPaintBox()->Mark(4, 4), kMarkLastMove);
    EXPECT_EQ(commands, 2) << "viewing commands stay in the window";
}

TEST(GoMainWindow, BoardFitsItsPanel)
{
    // Board side and the control's corner for panel sizes.
    struct Row {
        int w, h, side;
    } rows[] = {{400, 400, 361}, {600, 400, 361}, {400, 420, 361}, {420, 420, 380}, {30, 30, 19}};
    for (const Row& r : rows)
        EXPECT_EQ(TZelGoMainForm::BoardSide(r.w, r.h), r.side) << r.w << "x" << r.h;

    GoMainFixture f;
    f.form->show();
    QWidget* panel = f.form->findChild<QWidget*>("GPBPanel");
    ASSERT_NE(panel, nullptr);
    panel->setMinimumSize(0, 0);
    panel->resize(400, 400);
    QCoreApplication::sendPostedEvents();
    panel->resize(400, 400);
    EXPECT_EQ(f.form->GoPaintBox()->szBoard(), 361);
    EXPECT_EQ(f.form->GoPaintBox()->pos(), QPoint(10, 10));
}

TEST(GoMainWindow, ChatLinesAreBoundedAndPaced)
{
    GoMainFixture f;
    std::vector<std::string> sent, remembered;
    int token = 1;
    f.form->OnGiboEvent = [&](int kind, const std::string& text) {
        if (kind == 0)
            sent.push_back(text);
    };
    f.form->FloodToken = [&] { return token; };
    f.form->RememberLine = [&](const std::string& line) { remembered.push_back(line); };

    f.form->SendChatLine(std::string(150, 'a'), false); // too long
    f.form->SendChatLine("", false);                    // empty
    f.form->SendChatLine(std::string(149, 'b'), false);
    f.form->SendChatLine("again", false); // same lobby tick
    token = 2;
    f.form->SendChatLine("hello", true);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], "hello");
    EXPECT_EQ(remembered.back(), "zel macro text");
}

TEST(GoMainWindow, TheLiveGamesTurnedButtonsComeBackAfterACommentary)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    form.OnCommand = [](int, int) {};
    form.UserPlays = [] { return true; };
    form.SetLayout(kLayoutPlaying);
    form.SetButtonCommand(kStopButton, kCmdDeadMarkDone); // marking dead stones: "지정 마침"
    form.ButtonClick(4);                                  // chat blocked: "대화 허용"
    TGoBoard game;
    for (auto [x, y] : test::TenMoves())
        game.PlayAt(x, y);
    TGoSnapshot snap;
    game.SaveSnapshot(snap);
    for (int way : {0, 1}) {
        SCOPED_TRACE(way);
        if (way == 0) {
            form.EnterMode(TZelGoMainForm::kWriting, snap);
            form.ButtonClick(4); // 작성 취소
        } else {
            form.EnterMode(TZelGoMainForm::kExamining, snap);
            form.ButtonClick(5); // 검토 마침
        }
        ASSERT_EQ(form.Mode(), TZelGoMainForm::kLive);
        EXPECT_EQ(Caption(form, 7), QString::fromUtf8("지정 마침"));
        EXPECT_EQ(Caption(form, 4), QString::fromUtf8("대화 허용"));
        EXPECT_EQ(Caption(form, 0), QString::fromUtf8("참고 해설"));
    }
}

TEST(GoMainWindow, MacroCellsSendTheirTexts)
{
    GoMainFixture f;
    f.status.environment.messages[3] = "macro three";
    std::vector<std::string> sent;
    f.form->OnGiboEvent = [&](int kind, const std::string& text) {
        if (kind == 0)
            sent.push_back(text);
    };
    f.form->show();
    QLabel* cell = f.form->StatusCell(2);
    QTest::mousePress(cell, Qt::LeftButton, {}, QPoint(1, 5)); // left of the hit area
    EXPECT_TRUE(sent.empty());
    QTest::mousePress(cell, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(cell->frameShadow(), QFrame::Sunken);
    QTest::mouseRelease(cell, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(cell->frameShadow(), QFrame::Raised);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "macro three");

    // The hint is the macro as it stands when the pointer rests there.
    f.status.environment.messages[3] = "changed";
    QHelpEvent hover(QEvent::ToolTip, QPoint(10, 5), cell->mapToGlobal(QPoint(10, 5)));
    QApplication::sendEvent(cell, &hover);
    EXPECT_EQ(cell->toolTip(), QString("changed"));
}

TEST(GoMainWindow, ClosingInAGameRoomIsRefused)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    f.View(f.RecordText(test::TenMoves()));
    bool inRoom = true;
    int nav = 0;
    form.InGameRoom = [&] { return inRoom; };
    form.OnNavEvent = [&](int code) { nav = code; };
    form.show();
    form.resize(700, 520);
    EXPECT_FALSE(form.close());
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kLive) << "viewing ends first";
    EXPECT_EQ(nav, 2);
    inRoom = false;
    EXPECT_TRUE(form.close());
    EXPECT_EQ(f.settings.Read("Go MainForm Info", "fpwidth").value_or("?"), "700");
}

TEST(GoMainWindow, BannerClicksOpenOnlyWebAddresses)
{
    GoMainFixture f;
    auto& host = f.status.host;
    host.adFileCount = 5;
    host.adUrls[2] = "http://zel.example/three";
    host.adUrls[4] = "file:///etc/passwd";
    std::vector<std::string> opened;
    f.form->OpenAddress = [&](const std::string& url) { opened.push_back(url); };
    f.form->BannerClick(3);
    f.form->BannerClick(5); // not a web address
    host.adFileCount = 2;
    f.form->BannerClick(3); // beyond the number of banners
    EXPECT_EQ(opened, std::vector<std::string>{"http://zel.example/three"});
}

} // namespace
} // namespace zel

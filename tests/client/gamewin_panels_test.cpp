#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QToolButton>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>

#include "GoMainTestKit.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/DMConfirmForm.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/game/GameRequestForm.h"
#include "client/game/GameSetForm.h"
#include "client/app/QtGameWindow.h"
#include "core/base/Cp949.h"

namespace zel {
namespace {

// Counts pixels close to `colour` inside r of an image (edges are smoothed).
int CountColour(const QImage& image, const QRect& r, QColor colour)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c(image.pixel(x, y));
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) <
                120)
                ++n;
        }
    return n;
}

TEST(GameInfoPanel, ClockFacesShowHandsOrTheRunningPeriod)
{
    test::App();
    // Hands: a thin line each; the byo-yomi sector fills half the face at
    // 30 seconds used.
    QImage hands(34, 34, QImage::Format_RGB32), sector(34, 34, QImage::Format_RGB32);
    hands.fill(Qt::gray);
    sector.fill(Qt::gray);
    {
        QPainter p(&hands);
        TElmGoInfoPanel::PaintClockFace(p, QRect(0, 0, 34, 34), Qt::white, Qt::red, 30, false);
    }
    {
        QPainter p(&sector);
        TElmGoInfoPanel::PaintClockFace(p, QRect(0, 0, 34, 34), Qt::white, Qt::red, 30, true);
    }
    const int handPixels = CountColour(hands, hands.rect(), Qt::red);
    const int sectorPixels = CountColour(sector, sector.rect(), Qt::red);
    EXPECT_GT(handPixels, 5);
    EXPECT_GT(sectorPixels, 5 * handPixels);
    // 30 seconds: the sector lies on the right half only.
    EXPECT_EQ(CountColour(sector, QRect(0, 0, 15, 34), Qt::red), 0);
    // 0 minutes 30 seconds: the second hand points down, the minute hand up,
    // nothing to the sides.
    auto reddish = [](const QImage& image, const QRect& r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += QColor(image.pixel(x, y)).red() - QColor(image.pixel(x, y)).green() > 60;
        return n;
    };
    EXPECT_GT(reddish(hands, QRect(15, 26, 4, 6)), 0);
    EXPECT_GT(reddish(hands, QRect(15, 6, 4, 6)), 0);
    EXPECT_EQ(reddish(hands, QRect(2, 15, 10, 4)) + reddish(hands, QRect(22, 15, 10, 4)), 0);
}

TEST(GameInfoPanel, RowsAndClockStrip)
{
    test::App();
    test::ManualClock clock(36000000);
    TElmGoInfoPanel panel(clock);
    panel.resize(273, 200);
    TElmGoInfo& m = panel.Model();
    m.Reset(9);
    m.BPlayer = KS("김철수(kim) 3단");
    m.WPlayer = KS("이영희(lee) 2단");
    m.nBSDied = " 3";
    m.nWSDied = "12";
    m.SetNowSeq("41");
    m.SetNowPut("16 D");
    m.SetNowTurn(KS("백"));
    // Black's captures are the white stones lost.
    EXPECT_EQ(panel.RowText(5), QString::fromUtf8("흑(12) / 백( 3)"));
    EXPECT_EQ(panel.RowText(4), QString::fromUtf8("41수 (16 D) 백차례"));
    EXPECT_EQ(TElmGoInfoPanel::RowLabel(9), QString::fromUtf8("시  간"));

    const int withoutClocks = panel.sizeHint().height();
    m.SetClock(1, 1800, 30, 5);
    m.SetClock(2, 1800, 30, 5);
    m.SetTmEnabled(true, 0);
    panel.Refresh();
    EXPECT_EQ(panel.sizeHint().height(), withoutClocks + 34);
    panel.resize(273, panel.sizeHint().height());
    panel.SetColours(0, 0xFFFF, 0xFF0000, 0xFFFFFF);
    test::SaveScreenshot(panel, "gamewin_info_panel.png");
    const QImage wide = panel.grab().toImage();
    // The faces: black's face at the left, white's at the right.
    const int left = (273 - 204) / 2;
    EXPECT_EQ(QColor(wide.pixel(left + 9, 12)), QColor(Qt::black));
    EXPECT_EQ(QColor(wide.pixel(left + 204 - 9, 12)), QColor(Qt::white));
    // Too narrow for faces: only the texts.
    panel.resize(200, panel.sizeHint().height());
    const QImage narrow = panel.grab().toImage();
    EXPECT_EQ(CountColour(narrow, QRect(0, 3, 30, 30), Qt::black), 0);
}

TEST(NegotiationDialogs, SettingsFollowTheRules)
{
    test::App();
    test::SeededRandom random(7);
    TGameSetModel model;
    model.BlackId = "me";
    model.WhiteId = "you";
    TGameSetForm form(model, random);
    form.show();
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("you 님에게 대국신청 설정"));
    EXPECT_TRUE(form.rbAuto->isChecked());
    EXPECT_EQ(form.cbDumV->value(), 6);
    form.cbHandi->setCurrentIndex(3);
    EXPECT_TRUE(form.rbBlack->isChecked()) << "a handicap makes the requester black";
    EXPECT_EQ(form.cbDumV->value(), 0);
    form.rbAuto->click();
    EXPECT_EQ(form.cbHandi->currentIndex(), 0) << "automatic colours reset the handicap";
    form.rbWhite->click();
    EXPECT_TRUE(form.rbWhite->isChecked());
    test::SaveScreenshot(form, "gamewin_game_set.png");
    form.Tabs->setCurrentIndex(1); // 무제한
    form.OkButtonClick();
    EXPECT_EQ(form.result(), 1);
    EXPECT_EQ(model.BlackId, "you");
    EXPECT_EQ(model.WhiteId, "me");
    EXPECT_EQ(model.TimeMode, 0);
    EXPECT_EQ(model.KBase, 30) << "the hidden tab keeps its values";
}

TEST(NegotiationDialogs, RequestClosesRefusedAfterTenSeconds)
{
    test::App();
    TGameRequestModel model;
    model.Black = "kim";
    model.White = "lee";
    model.Method = KS("호선(흑 6집 반 공제)");
    model.TimeLimit = KS("각 30분에 30초 초읽기 5회");
    std::int32_t now = 86399500; // across midnight
    TGameRequestForm form(model, [&] { return now; });
    form.show();
    EXPECT_EQ(form.PanelMethod->text(), QString::fromUtf8("호선(흑 6집 반 공제)"));
    test::SaveScreenshot(form, "gamewin_game_request.png");
    for (int i = 1; i <= 9; ++i) {
        now = (now + 1000) % 86400000;
        form.TimerTimer();
        EXPECT_EQ(form.Gauge->value(), i * 10);
    }
    EXPECT_TRUE(form.isVisible());
    now += 1000;
    form.TimerTimer();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), 2);
}

TEST(SessionWindow, LiveGameOnTheWindow)
{
    test::GoMainFixture f;
    TElmGoInfo sessionInfo;
    sessionInfo.BPlayer = "black";
    QtGameWindow window(*f.form, &sessionInfo);
    f.View(f.RecordText(test::TenMoves()));
    window.ShowSession(1);
    EXPECT_TRUE(window.ShowsLiveGame());
    EXPECT_EQ(f.form->Layout(), kLayoutPlaying);
    EXPECT_EQ(&f.form->GameInfo()->Model(), &sessionInfo);

    window.PointChanged(4, 4, 1, kBlack);
    window.PointChanged(16, 16, kMarkLastMove, kWhite);
    window.ShowCountdown(9);
    EXPECT_EQ(f.form->GoPaintBox()->Mark(16, 16), 9);
    EXPECT_EQ(f.form->GoPaintBox()->Colour(16, 16), kWhite);

    window.ShowDeadMarkButton();
    EXPECT_EQ(f.form->CommandButton(7)->text(), QString::fromUtf8("지정 마침"));
    int notices = 0;
    window.OnDeadMarkNotice = [&] { ++notices; };
    window.ShowDeadMarkNotice();
    EXPECT_EQ(notices, 1);

    // Commands and board clicks of the live game go to the session.
    std::vector<int> commands;
    f.form->OnCommand = [&](int, int command) { commands.push_back(command); };
    std::vector<std::pair<int, int>> clicks;
    f.form->OnBoardClick = [&](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) { clicks.emplace_back(x, y); };
    f.form->ButtonClick(5);
    f.form->BoardClick(Qt::LeftButton, {}, 3, 3);
    EXPECT_EQ(commands, std::vector<int>{9});
    ASSERT_EQ(clicks.size(), 1u);

    window.HideSession();
    EXPECT_NE(&f.form->GameInfo()->Model(), &sessionInfo);
    EXPECT_EQ(f.form->GoPaintBox()->Colour(4, 4), kEmpty);
}

TEST(NegotiationDialogs, DeadStoneNotice)
{
    test::App();
    TDMConfirmForm form;
    form.show();
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("사석지정 알림창"));
    test::SaveScreenshot(form, "gamewin_dead_mark_notice.png");
}

} // namespace
} // namespace zel

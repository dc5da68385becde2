#include <gtest/gtest.h>

#include <QLabel>
#include <QToolButton>

#include "GoMainTestKit.h"
#include "client/base/QtColours.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/ElmGoInfoPanel.h"
#include "client/app/DeadStoneAdvisor.h"
#include "client/app/GameWindowLink.h"
#include "client/app/QtGameWindow.h"
#include "client/term/ChatTerm.h"
#include "core/base/Cp949.h"
#include "core/gtp/AnalysisDeadStones.h"
#include "support/SessionDuo.h"

namespace zel {
namespace {

// Alice's session shown in a real game window; Bob is a bare session.
struct WindowedSession {
    WindowedSession()
        : clock(36000000), random(7), window(*f.form),
          alice(TSessionServices{clock, random, f.prompts, window, lobby, dialogs, f.store, f.form->HelpList()}),
          bob(clock, random, "bob"), advisor(alice, *f.form, std::make_unique<TAnalysisDeadStones>()),
          link(*f.form, alice, windowLobby, advisor)
    {
        window.SetSessionInfo(&alice.Info());
        alice.MyId = "alice";
        alice.OnSendGame = [this](const std::string& text) { outbox.push_back(text); };
        window.OnDeadMarkNotice = [] {};
        dialogs.setup = [](TGameSetModel& m) { m.Choice = TGameSetModel::Colour::Black; };
    }
    void Run(std::int32_t ms)
    {
        for (std::int32_t t = 0; t < ms; t += 50) {
            clock.Set((clock.Now() + 50) % kDayMs);
            alice.Tick(clock.Now());
            bob.session.Tick(clock.Now());
            while (sent < outbox.size())
                bob.session.OnGameData(test::SessionDuo::Handed(outbox[sent++]));
            while (bob.delivered < bob.outbox.size())
                alice.OnGameData(test::SessionDuo::Handed(bob.outbox[bob.delivered++]));
        }
    }
    void StartGame()
    {
        alice.RequestGame("bob");
        Run(1000);
        ASSERT_TRUE(alice.GameOpen());
    }
    QString Caption(int button) const { return f.form->CommandButton(button)->text(); }

    test::GoMainFixture f;
    test::ManualClock clock;
    test::SeededRandom random;
    test::RecordingLobby lobby;
    test::ScriptedDialogs dialogs;
    QtGameWindow window;
    TBBS2Zel alice;
    test::SessionSide bob;
    test::RecordingWindowLobby windowLobby;
    TDeadStoneAdvisor advisor;
    TGameWindowLink link;
    std::vector<std::string> outbox;
    std::size_t sent = 0;
};

bool TerminalBlank(TChatTerm& term)
{
    for (int row = 1; row <= term.Model().Rows(); ++row)
        if (term.Model().RowText(row).find_first_not_of(' ') != std::string::npos)
            return false;
    return true;
}

TEST(GameWindowBetweenGames, ChatOfAnEarlierGameIsClearedWhenASessionStarts)
{
    WindowedSession g;
    TChatTerm& term = *g.f.form->GoTerminal();
    term.AddText("left over from the last game", true);
    ASSERT_FALSE(TerminalBlank(term));
    g.StartGame();
    EXPECT_TRUE(TerminalBlank(term));
    // Lines of the new game stay.
    g.window.ChatLine("hello");
    EXPECT_EQ(term.Model().RowText(1).substr(0, 5), "hello");
}

TEST(GameWindowBetweenGames, ChatTerminalTakesWhiteOnTheChosenBackground)
{
    test::GoMainFixture f;
    f.status.environment.baseColor = 3;
    TZelGoMainForm form(f.status, f.prompts, f.draw, f.clock, f.printer);
    form.resize(820, 640);
    form.show();
    TChatTerm& term = *form.GoTerminal();
    EXPECT_EQ(term.Model().EmulFGC(), 15);
    EXPECT_EQ(term.Model().EmulBGC(), 3);
    term.AddText("abc", true);
    // The pixels of an empty cell and of the view around the text.
    EXPECT_EQ(term.Image().pixelColor(8 * 10 + 3, 5), PaletteQColor(3));
    EXPECT_EQ(term.Image().pixelColor(3, 16 * 3 + 5), PaletteQColor(3));
}

TEST(GameWindowBetweenGames, ChatLinesGoToTheChosenPartnerElseToTheRoom)
{
    WindowedSession g;
    g.StartGame();
    TZelGoMainForm& form = *g.f.form;
    struct Row {
        int partner;
        const char* line;
        bool toPartner;
    };
    const Row rows[] = {
        {-1, "to the room", false},
        {4, "to the partner", true},
        // A slash command is a command whoever is chosen.
        {4, "/elmzs", false},
    };
    for (const Row& row : rows) {
        g.windowLobby.partner = row.partner;
        g.windowLobby.partnerLines.clear();
        g.lobby.roomTexts.clear();
        form.SendChatLine(row.line, false);
        EXPECT_EQ(g.windowLobby.partnerLines.size(), row.toPartner ? 1u : 0u) << row.line;
        EXPECT_EQ(g.lobby.roomTexts.size(), row.toPartner ? 0u : 1u) << row.line;
    }
}

TEST(GameWindowBetweenGames, BoardInputComesBackWithTheLiveGame)
{
    WindowedSession g;
    g.StartGame();
    TZelGoMainForm& form = *g.f.form;
    ASSERT_TRUE(g.alice.IsMyTurn());
    ASSERT_TRUE(form.GoPaintBox()->HoverMode());

    // A commentary written and cancelled.
    ASSERT_EQ(g.Caption(0), QString::fromUtf8("참고 해설"));
    form.ButtonClick(0);
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kWriting);
    EXPECT_FALSE(form.GoPaintBox()->HoverMode());
    ASSERT_EQ(g.Caption(4), QString::fromUtf8("작성 취소"));
    form.ButtonClick(4);
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kLive);
    EXPECT_TRUE(form.GoPaintBox()->HoverMode());

    // Examining after a move of each side, then back.
    form.BoardClick(Qt::LeftButton, {}, 4, 4);
    g.Run(1000);
    g.bob.session.BoardClick(16, 16);
    g.Run(1000);
    ASSERT_TRUE(form.GoPaintBox()->HoverMode());
    form.ButtonClick(kNavBackOne);
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kExamining);
    EXPECT_FALSE(form.GoPaintBox()->HoverMode());
    form.ButtonClick(5); // "검토 마침"
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kLive);
    EXPECT_TRUE(form.GoPaintBox()->HoverMode());

    // Not the user's turn: no input comes back.
    form.BoardClick(Qt::LeftButton, {}, 4, 16);
    g.Run(1000);
    ASSERT_FALSE(g.alice.IsMyTurn());
    form.ButtonClick(0);
    form.ButtonClick(4);
    EXPECT_FALSE(form.GoPaintBox()->HoverMode());
}

TEST(GameWindowBetweenGames, OnlyTheMultiGameHostClearsBoards)
{
    struct Row {
        const char* host;
        const char* eighth;
    };
    for (const Row row : {Row{"", "중단 요청"}, Row{"alice", "판 치우기"}, Row{"carol", "중단 요청"}}) {
        WindowedSession g;
        g.alice.MultiHostId = row.host;
        g.f.form->SetLayout(kLayoutPlaying);
        EXPECT_EQ(g.Caption(kStopButton), QString::fromUtf8(row.eighth)) << row.host;
    }
}

TEST(GameWindowBetweenGames, LobbyClockShowsHoursAndMinutes)
{
    test::GoMainFixture f;
    struct Row {
        int cell;
        const char* text;
        const char* shown;
    };
    const Row rows[] = {
        {14, "01:05:09", "01:05"}, {14, "00:00:00", "00:00"},    {14, "", ""},
        {13, "a:b:c", "a:b:c"},    {12, "12:00:00", "12:00:00"},
    };
    for (const Row& row : rows) {
        f.form->SetStatusText(row.cell, QString::fromUtf8(row.text));
        EXPECT_EQ(f.form->StatusCell(row.cell)->text(), QString::fromUtf8(row.shown)) << row.text;
    }
}

TEST(GameWindowBetweenGames, InfoPanelClocksRunOnTheWindowsClock)
{
    test::GoMainFixture f;
    TElmGoInfo& model = f.form->GameInfo()->Model();
    model.SetClock(1, 600, 30, 3);
    model.SetClock(2, 600, 30, 3);
    model.SetTmEnabled(true, f.clock.Now());
    f.clock.Advance(7000);
    ZEL_WAIT_FOR(model.Side(1).Used == 7, 3000);
    EXPECT_EQ(model.Side(1).Used, 7);
    EXPECT_EQ(model.Side(2).Used, 0);
}

// The host opens a review through the session: the window reads the record
// from the record directory and every review button goes to the room.
TEST(GameWindowBetweenGames, ReviewOpenedByTheHostSendsItsMessagesToTheRoom)
{
    WindowedSession g;
    TZelGoMainForm& form = *g.f.form;
    const std::string name = "20261207kimlee.zel";
    g.f.store.files[name] = g.f.RecordText(test::TenMoves());
    std::vector<std::string> captions;
    form.ChooseRecordPath = [&](const std::string& caption) {
        captions.push_back(caption);
        return name;
    };
    ASSERT_TRUE(g.alice.OpenReview());
    EXPECT_EQ(captions, std::vector<std::string>{KS("기보 복기")});
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kReviewing);
    ASSERT_EQ(form.Layout(), kLayoutReviewing);
    EXPECT_TRUE(form.IsParticipant);
    EXPECT_EQ(g.lobby.reviewsStarted, 1);

    form.ButtonClick(kNavForwardOne);
    ASSERT_EQ(g.Caption(4), QString::fromUtf8("참여 확인"));
    form.ButtonClick(4);
    ASSERT_EQ(g.Caption(5), QString::fromUtf8("복기 마침"));
    form.ButtonClick(5);
    const std::vector<std::string> want = {"XAXXXXXXGBR" + name + "\\#", "XAXXXXXXGBS" + name + "\\#AB",
                                           "XAXXXXXXGBY" + name + "\\#alice\\#B",
                                           "XAXXXXXXGBP" + name + "\\#" + KS("마침: alice(alice)") + "\\#C"};
    EXPECT_EQ(g.outbox, want);
    EXPECT_EQ(g.lobby.reviewsEnded, 1);
    EXPECT_FALSE(g.alice.GameOpen());
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kLive);
}

} // namespace
} // namespace zel

#include <gtest/gtest.h>

#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include "GoMainTestKit.h"
#include "client/engine/GoPaintBox.h"
#include "client/game/ElmGoInfoPanel.h"
#include "core/base/Cp949.h"

namespace zel {
namespace {

using test::GoMainFixture;

// A commentary on move 4: two variation moves, one letter mark on (2, 2)
// and two lines of text.
std::string CommentaryBody()
{
    return NumToCode2(4) + NumToCode2(2) + "RRCQ" + "\\#" + NumToCode2(1) + "CC" + NumToCode2(600) + "\\#" +
           "first\\!second\\!:: kim";
}

// The body's first two letters are the line's number.
std::string CommentaryLine(const std::string& body)
{
    return "VH" + body + "\r\n";
}

TEST(GoMainViewing, LoadFillsInfoAndLayout)
{
    GoMainFixture f;
    f.View(f.RecordText(test::TenMoves()));
    TZelGoMainForm& form = *f.form;
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kViewing);
    EXPECT_EQ(form.Layout(), kLayoutViewing);
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("기보 보기"));
    const TElmGoInfo& info = form.GameInfo()->Model();
    EXPECT_EQ(info.BPlayer, "kim(kim) 3d");
    EXPECT_EQ(info.Method, KS("호선(흑 6집 반 공제)"));
    EXPECT_EQ(info.PlayName, "test");
    EXPECT_EQ(info.SeqRowText(), "0" + KS("수 ") + "(0 @) " + KS("흑차례"));
    EXPECT_EQ(form.Board().MoveCount(), 0);
    EXPECT_EQ(form.Record()->MoveNodeCount(), 10);
}

TEST(GoMainViewing, HandicapAndKomiFreeMethods)
{
    GoMainFixture f;
    TRecordHeader h;
    h.Black = "a";
    h.White = "b";
    h.Handicap = 3;
    f.View(RecordHeaderLine(h) + "\r\n");
    EXPECT_EQ(f.form->GameInfo()->Model().Method, HandicapName(3) + KS("(공제 없음)"));
    // The handicap stones stand and white is to move.
    EXPECT_EQ(f.form->Board().ColourToMove(), kWhite);
    EXPECT_EQ(f.form->GoPaintBox()->Colour(16, 4) + f.form->GoPaintBox()->Colour(4, 16), 2 * kBlack);
}

TEST(GoMainViewing, NavigationWalksTheRecord)
{
    GoMainFixture f;
    f.View(f.RecordText(test::TenMoves()));
    TZelGoMainForm& form = *f.form;
    struct Step {
        int tag, moves;
    } steps[] = {{13, 1}, {13, 2}, {14, 7}, {12, 6}, {11, 1}, {15, 10}, {13, 10}, {10, 1}, {12, 1}, {14, 6}};
    for (const Step& s : steps) {
        form.ButtonClick(s.tag);
        EXPECT_EQ(form.Board().MoveCount(), s.moves) << "after tag " << s.tag;
    }
    // The board control follows: move 5 was black's at (3, 14), move 6
    // white's at (17, 14).
    EXPECT_EQ(form.GoPaintBox()->Colour(3, 14), kBlack);
    EXPECT_EQ(form.GoPaintBox()->Colour(17, 14), kWhite);
    // Board clicks: left forward, right back.
    form.BoardClick(Qt::LeftButton, {}, 1, 1);
    EXPECT_EQ(form.Board().MoveCount(), 7);
    form.BoardClick(Qt::RightButton, {}, 1, 1);
    EXPECT_EQ(form.Board().MoveCount(), 6);
    EXPECT_EQ(form.GameInfo()->Model().NowSeq(), "6");
}

TEST(GoMainViewing, CommentaryNodeShowsVariationAndReturns)
{
    GoMainFixture f;
    f.status.environment.recvVHelp = true;
    f.View(f.RecordText(test::TenMoves(), CommentaryLine(CommentaryBody())));
    TZelGoMainForm& form = *f.form;
    for (int i = 0; i < 4; ++i)
        form.ButtonClick(13);
    ASSERT_EQ(form.Board().MoveCount(), 4);

    form.ButtonClick(13); // onto the commentary: move 4 is replaced
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kShowing);
    EXPECT_EQ(form.Layout(), kLayoutShowing);
    EXPECT_EQ(form.Board().MoveCount(), 5);
    EXPECT_EQ(form.GoPaintBox()->Colour(4, 4), kEmpty);
    EXPECT_EQ(form.GoPaintBox()->Colour(17, 17), kWhite);
    EXPECT_EQ(form.GoPaintBox()->Colour(2, 16), kBlack);
    EXPECT_EQ(form.GoPaintBox()->Mark(2, 2), 600);
    EXPECT_EQ(form.GoEdit()->toPlainText(), "first\nsecond\n:: kim");
    EXPECT_TRUE(form.GoEdit()->isReadOnly());
    EXPECT_TRUE(f.asked.empty()) << "the notice is for live games only";
    test::SaveScreenshot(form, "gamewin_commentary.png");

    form.ButtonClick(5); // 보기 마침
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kViewing);
    EXPECT_EQ(form.Layout(), kLayoutViewing);
    EXPECT_EQ(form.Board().MoveCount(), 4);
    EXPECT_EQ(form.GoPaintBox()->Colour(4, 4), kWhite);
    EXPECT_EQ(form.GoPaintBox()->Colour(17, 17), kEmpty);
    EXPECT_EQ(form.GoPaintBox()->Mark(2, 2), 0);

    // Back one from the commentary keeps move 4; the next back takes it.
    form.ButtonClick(12);
    EXPECT_EQ(form.Board().MoveCount(), 4);
    form.ButtonClick(12);
    EXPECT_EQ(form.Board().MoveCount(), 3);
    // Forward again passes the commentary only by showing it.
    form.ButtonClick(13);
    form.ButtonClick(13);
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kShowing);
    form.BoardClick(Qt::LeftButton, {}, 10, 10); // ends the display, then steps
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kViewing);
    EXPECT_EQ(form.Board().MoveCount(), 5);
}

TEST(GoMainViewing, AddingToAShownCommentaryStartsFromIt)
{
    GoMainFixture f;
    f.View(f.RecordText(test::TenMoves(), CommentaryLine(CommentaryBody())));
    TZelGoMainForm& form = *f.form;
    for (int i = 0; i < 5; ++i)
        form.ButtonClick(13);
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kShowing);
    form.ButtonClick(3); // 추가 작성
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kWriting);
    EXPECT_EQ(form.PreviousMode(), TZelGoMainForm::kViewing);
    EXPECT_EQ(form.Layout(), kLayoutWriting);
    EXPECT_FALSE(form.GoEdit()->isReadOnly());
    EXPECT_TRUE(form.GoEdit()->toPlainText().startsWith("first\nsecond")) << form.GoEdit()->toPlainText().toStdString();
    EXPECT_EQ(form.GoPaintBox()->Colour(17, 17), kWhite);
    form.ButtonClick(4); // 작성 취소
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kViewing);
    EXPECT_EQ(form.Board().MoveCount(), 4);
    EXPECT_EQ(form.GoPaintBox()->Colour(17, 17), kEmpty);
    EXPECT_EQ(form.Record()->NodeCount(), 11u) << "cancelling adds nothing";
}

TEST(GoMainViewing, DeletingACommentaryRewritesTheFileOnClose)
{
    GoMainFixture f;
    const std::string plain = f.RecordText(test::TenMoves());
    f.View(f.RecordText(test::TenMoves(), CommentaryLine(CommentaryBody())));
    TZelGoMainForm& form = *f.form;
    int navCode = 0;
    form.OnNavEvent = [&](int code) { navCode = code; };
    for (int i = 0; i < 5; ++i)
        form.ButtonClick(13);
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kShowing);
    form.ButtonClick(4); // 해설 삭제
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kViewing);
    form.ButtonClick(5); // 보기 마침
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kLive);
    EXPECT_EQ(navCode, 2);
    EXPECT_EQ(form.Record(), nullptr);
    EXPECT_EQ(f.store.files["20261207kimlee.zel"], plain);
}

TEST(GoMainViewing, HostileCommentariesAreRefusedOrBounded)
{
    GoMainFixture f;
    f.View(f.RecordText(test::TenMoves()));
    TZelGoMainForm& form = *f.form;
    form.ButtonClick(15);
    TGoSnapshot snap;
    form.Board().SaveSnapshot(snap);
    form.EnterMode(TZelGoMainForm::kShowing, snap);
    struct Row {
        std::string body;
        bool shown;
    } rows[] = {
        {"AFABQQ", true},                 // no separator: the rest is the variation
        {"AFACQQ\\#", false},             // count 2, one pair
        {"AAABQQ\\#AB\\#x", true},        // move 0: must not spin undoing an empty board
        {"AFABQQ\\#ABZZZZXC\\#x", true},  // a mark off the board is skipped
        {"AFAB\\#", false},               // no pair at all
        {"ZZAB!!\\#ABCCXC\\#text", true}, // move 675 and a pair of punctuation
    };
    for (const Row& r : rows) {
        EXPECT_EQ(form.ShowCommentary(r.body), r.shown) << r.body;
        EXPECT_LE(form.Board().MoveCount(), 10);
    }
}

TEST(GoMainViewing, AutomaticReplayRunsToTheEnd)
{
    GoMainFixture f;
    f.status.environment.autoTimeI = 3;
    f.View(f.RecordText({{4, 4}, {16, 16}, {0, 0}}));
    TZelGoMainForm& form = *f.form;
    form.ButtonClick(3); // 자동 진행
    EXPECT_TRUE(form.AutoTimer()->isActive());
    EXPECT_EQ(form.AutoTimer()->interval(), 3000);
    EXPECT_EQ(form.CommandButton(3)->text(), QString::fromUtf8("수동 진행"));
    for (int i = 0; i < 3; ++i)
        form.TimerTick();
    EXPECT_EQ(form.Board().MoveCount(), 3) << "a pass is a move too";
    form.TimerTick();
    EXPECT_FALSE(form.AutoTimer()->isActive());
    EXPECT_EQ(form.CommandButton(3)->text(), QString::fromUtf8("자동 진행"));
}

TEST(GoMainViewing, RecordThatCannotBeReadLeavesAnEmptyViewer)
{
    GoMainFixture f;
    f.form->CurrentRecordName = "../outside.zel";
    EXPECT_NE(f.form->LoadRecordFile("", true), RecordStatus::Ok);
    ASSERT_NE(f.form->Record(), nullptr);
    EXPECT_EQ(f.form->Record()->NodeCount(), 0u);
    for (int tag = 10; tag <= 15; ++tag)
        f.form->ButtonClick(tag);
    EXPECT_EQ(f.form->Board().MoveCount(), 0);
}

TEST(GoMainViewing, CommentaryStartingMidRecordDoesNotHangFirst)
{
    // A file whose first line after the header is a commentary on move 5.
    GoMainFixture f;
    TRecordHeader h;
    f.View(RecordHeaderLine(h) + "\r\n" + CommentaryLine("AGAB\\#"));
    f.form->ButtonClick(15);
    f.form->ButtonClick(10);
    EXPECT_EQ(f.form->Board().MoveCount(), 0);
}

TEST(GoMainWriting, CommentaryWrittenWhileViewingGoesIntoTheRecord)
{
    GoMainFixture f;
    f.View(f.RecordText(test::TenMoves()));
    TZelGoMainForm& form = *f.form;
    f.status.login.nickname = "kim";
    form.show();
    std::vector<int> kinds;
    form.OnGiboEvent = [&](int kind, const std::string&) { kinds.push_back(kind); };
    for (int i = 0; i < 4; ++i)
        form.ButtonClick(13);

    form.ButtonClick(0); // 참고 해설
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kWriting);
    EXPECT_EQ(form.Layout(), kLayoutWriting);
    EXPECT_TRUE(form.GoEdit()->isVisibleTo(&form));
    EXPECT_EQ(form.Board().MoveCount(), 3);
    form.BoardClick(Qt::LeftButton, {}, 17, 3);
    form.BoardClick(Qt::LeftButton, {}, 17, 4);
    form.BoardClick(Qt::RightButton, {}, 0, 0); // off the board: nothing
    EXPECT_EQ(form.Board().MoveCount(), 5);

    form.ButtonClick(2); // 표시 하기: letters
    EXPECT_TRUE(form.MarkerOpen());
    form.BoardClick(Qt::LeftButton, {}, 10, 10);
    form.BoardClick(Qt::LeftButton, {}, 11, 10);
    form.BoardClick(Qt::LeftButton, {}, 11, 10); // second click clears
    EXPECT_EQ(form.GoPaintBox()->Mark(10, 10), 600);
    EXPECT_EQ(form.GoPaintBox()->Mark(11, 10), 0);
    form.GoEdit()->setPlainText(QString::fromUtf8("<< 해 설 >>  좋은 수\\#"));
    test::SaveScreenshot(form, "gamewin_writing.png");

    form.ButtonClick(5); // 작성 마침
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kViewing);
    EXPECT_FALSE(form.MarkerOpen());
    EXPECT_TRUE(kinds.empty()) << "viewing alone tells nobody";
    EXPECT_TRUE(f.asked.empty());
    EXPECT_EQ(form.Board().MoveCount(), 4);
    EXPECT_EQ(form.GoPaintBox()->Mark(10, 10), 0);

    // The record now stands on the new commentary after move 4 (its
    // variation replaces move 4); stepping past it and back shows it again
    // with the variation, the mark and the text.
    TGoNode* node = form.Record()->Current();
    ASSERT_EQ(node->Kind, TGoNode::kCommentary);
    EXPECT_EQ(node->Number, 4);
    form.ButtonClick(13);
    EXPECT_EQ(form.Board().MoveCount(), 5);
    form.ButtonClick(12);
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kShowing);
    EXPECT_EQ(form.GoPaintBox()->Colour(4, 4), kEmpty);
    EXPECT_EQ(form.GoPaintBox()->Colour(17, 3), kWhite);
    EXPECT_EQ(form.GoPaintBox()->Colour(17, 4), kBlack);
    EXPECT_EQ(form.GoPaintBox()->Mark(10, 10), 600);
    EXPECT_TRUE(form.GoEdit()->toPlainText().endsWith(":: kim"));
    // A separator typed into the text cannot open a new field.
    EXPECT_TRUE(form.GoEdit()->toPlainText().contains(QString::fromUtf8("좋은 수\\ #")));
}

TEST(GoMainExamining, LastMoveReturnsToObserving)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    form.SetLayout(kLayoutObserving);
    TGoBoard game;
    for (auto [x, y] : test::TenMoves())
        game.PlayAt(x, y);
    TGoSnapshot snap;
    game.SaveSnapshot(snap);
    form.EnterMode(TZelGoMainForm::kExamining, snap);
    EXPECT_EQ(form.Layout(), kLayoutExamining);
    form.ButtonClick(11);
    form.ButtonClick(12);
    EXPECT_EQ(form.Board().MoveCount(), 4);
    form.ButtonClick(13);
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kExamining);
    form.ButtonClick(15);
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kLive);
    EXPECT_EQ(form.Layout(), kLayoutObserving);
    EXPECT_EQ(form.Board().MoveCount(), 10);
}

TEST(GoMainExamining, CommentaryFromExaminingIsSentAndPending)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    form.CurrentGameKey = "ABC";
    f.status.login.nickname = "lee";
    std::vector<std::pair<int, std::string>> events;
    form.OnGiboEvent = [&](int kind, const std::string& text) { events.emplace_back(kind, text); };
    TGoBoard game;
    for (auto [x, y] : test::TenMoves())
        game.PlayAt(x, y);
    TGoSnapshot snap;
    game.SaveSnapshot(snap);
    form.SetLayout(kLayoutObserving);
    form.EnterMode(TZelGoMainForm::kExamining, snap);
    form.ButtonClick(12);
    auto writeOne = [&](int x, int y) {
        form.ButtonClick(0);
        EXPECT_EQ(form.Mode(), TZelGoMainForm::kWriting);
        form.BoardClick(Qt::LeftButton, {}, x, y);
        form.ButtonClick(5);
    };

    // Asked once; ticking "다음부터 확인 안함" turns the question off.
    f.tickDontAsk = true;
    writeOne(5, 5);
    ASSERT_EQ(f.asked.size(), 1u);
    EXPECT_EQ(f.asked[0].Text, KS("다른 사람들에게 참고도를 보낼까요?"));
    EXPECT_FALSE(f.status.environment.sendVHelp);
    EXPECT_EQ(f.settings.Read("Environment Info", "sendvhelp").value_or("?"), "0");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].first, 1);
    EXPECT_TRUE(events[0].second.ends_with(":: lee")) << events[0].second;
    EXPECT_EQ(form.HelpList().Count(), 1);
    EXPECT_EQ(form.HelpList().Key(), "ABC");
    EXPECT_EQ(form.HelpList().Line(1), "VH" + events[0].second);
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kExamining);
    EXPECT_EQ(form.Layout(), kLayoutExamining);
    EXPECT_EQ(form.Board().MoveCount(), 9);
    EXPECT_EQ(form.Board().RedoLimit(), 10);

    writeOne(6, 6);
    EXPECT_EQ(f.asked.size(), 1u);
    EXPECT_EQ(events.size(), 2u);

    // Refusing to send behaves as cancelling.
    f.status.environment.sendVHelp = true;
    f.tickDontAsk = false;
    f.answer = false;
    writeOne(7, 7);
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(form.HelpList().Count(), 2);
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kExamining);
    EXPECT_TRUE(f.status.environment.sendVHelp);
}

// The window showing a player's live game "XYZ" of ten moves; the game's position.
TGoSnapshot LiveGameOfTenMoves(TZelGoMainForm& form)
{
    form.CurrentGameKey = "XYZ";
    form.UserPlays = [] { return true; };
    form.SetLayout(kLayoutPlaying);
    TGoBoard game;
    for (auto [x, y] : test::TenMoves())
        game.PlayAt(x, y);
    TGoSnapshot snap;
    game.SaveSnapshot(snap);
    return snap;
}

TEST(GoMainLive, ReceivedCommentaryIsNoticedAndKeptOnRequest)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    const TGoSnapshot snap = LiveGameOfTenMoves(form);
    const std::string body = NumToCode2(10) + NumToCode2(2) + "DDEE" + "\\#AA\\#nice\\!:: kim";
    form.ShowReceivedCommentary(body, snap);
    ASSERT_EQ(form.Mode(), TZelGoMainForm::kShowing);
    EXPECT_TRUE(form.CommentaryFromServer);
    ASSERT_EQ(f.asked.size(), 1u);
    EXPECT_TRUE(f.asked[0].Cancel.empty());
    EXPECT_EQ(form.Board().MoveCount(), 10);
    EXPECT_EQ(form.GoPaintBox()->Colour(3, 3), kWhite);

    form.ButtonClick(5); // 보기 마침 keeps the received body for the record
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kLive);
    EXPECT_EQ(form.Layout(), kLayoutPlaying);
    EXPECT_EQ(form.HelpList().Count(), 1);
    EXPECT_EQ(form.HelpList().Line(1), "VH" + body);
    EXPECT_EQ(form.Board().MoveCount(), 10);
    EXPECT_EQ(form.GoPaintBox()->Colour(3, 3), kEmpty);
    EXPECT_FALSE(form.CommentaryFromServer);
}

TEST(GoMainLive, ReceivedCommentaryThatCannotBeShownIsNotLost)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    const TGoSnapshot snap = LiveGameOfTenMoves(form);

    // Counts that do not match the variation: nothing shown, the game stays.
    form.ShowReceivedCommentary(NumToCode2(10) + NumToCode2(3) + "DDEE\\#", snap);
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kLive);
    EXPECT_EQ(form.Layout(), kLayoutPlaying);
    EXPECT_FALSE(form.CommentaryFromServer);

    // While the user writes a commentary of their own, a received one is
    // kept for the record rather than dropped.
    form.EnterMode(TZelGoMainForm::kWriting, snap);
    const std::string body = NumToCode2(10) + NumToCode2(1) + "DD\\#AA\\#x\\!:: kim";
    form.ShowReceivedCommentary(body, snap);
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kWriting);
    ASSERT_EQ(form.HelpList().Count(), 1);
    EXPECT_EQ(form.HelpList().Key(), "XYZ");
    EXPECT_EQ(form.HelpList().Line(1), "VH" + body);
}

TEST(GoMainReviewing, PositionsAreAnnouncedAndFollowed)
{
    GoMainFixture f;
    TZelGoMainForm& form = *f.form;
    f.store.files["r.zel"] = f.RecordText(test::TenMoves());
    form.CurrentRecordName = "r.zel";
    TGoSnapshot empty;
    EmptySnapshot(empty);
    form.EnterMode(TZelGoMainForm::kReviewing, empty);
    form.LoadRecordFile("lee", false);
    EXPECT_EQ(form.Layout(), kLayoutReviewing);
    EXPECT_TRUE(form.IsParticipant) << "the id inside white's label counts";
    std::vector<std::pair<int, std::string>> events;
    form.OnGiboEvent = [&](int kind, const std::string& text) { events.emplace_back(kind, text); };
    form.ButtonClick(14);
    form.ButtonClick(13);
    form.ButtonClick(13);
    form.ButtonClick(12);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0], std::make_pair(4, NumToCode2(5)));
    EXPECT_EQ(events[3], std::make_pair(4, NumToCode2(6)));

    form.ButtonClick(3); // 자율 진행: nothing is announced
    EXPECT_EQ(form.CommandButton(3)->text(), QString::fromUtf8("동시 진행"));
    form.ButtonClick(13);
    EXPECT_EQ(events.size(), 4u);
    form.SeekReviewPosition(2); // not followed while free
    EXPECT_EQ(form.Board().MoveCount(), 7);

    form.ButtonClick(3); // 동시 진행
    form.SeekReviewPosition(9);
    EXPECT_EQ(form.Board().MoveCount(), 9);
    form.SeekReviewPosition(3);
    EXPECT_EQ(form.Board().MoveCount(), 3);

    form.ButtonClick(5); // 복기 마침
    EXPECT_EQ(form.Mode(), TZelGoMainForm::kLive);
    EXPECT_EQ(events.back().first, 5);
}

} // namespace
} // namespace zel

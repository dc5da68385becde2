#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QToolButton>

#include "QtTestApp.h"
#include "client/app/NotifyForms.h"
#include "client/app/Zel4HvnForm.h"
#include "client/app/ZelClient.h"
#include "client/base/QtText.h"
#include "client/app/LobbyController.h"
#include "client/record/ZelGoMainForm.h"
#include "client/term/Terminal.h"
#include "core/base/Cp949.h"
#include "core/engine/GoBoard.h"
#include "core/record/RecordHeader.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"
#include "support/MemoryFileStore.h"

namespace zel {
namespace {

// Kim (black) and lee's record of two moves.
std::string TwoMoveRecord()
{
    TGoBoard board;
    board.PlayAt(16, 4);
    board.PlayAt(4, 16);
    TRecordHeader h;
    h.Black = "kim(kim) 3d";
    h.White = "lee(lee) 2d";
    h.DateLine = "2026-12-07 21:30";
    return RecordHeaderLine(h) + "\r\n" + board.RecordLinesText();
}

class GameWiringTest : public ::testing::Test {
protected:
    GameWiringTest() : status(settings, Defaults()) {}

    SettingsDefaults Defaults()
    {
        SettingsDefaults d;
        d.zelpath = FromQ(dir.path());
        return d;
    }
    // How many rows of the lobby terminal hold `text` (UTF-8).
    static int TerminalCount(TZel4HvnForm& form, const char* text)
    {
        int n = 0;
        TTermModel& model = form.Terminal().Model();
        for (int row = 1; row <= model.Rows(); ++row)
            n += model.RowText(row).find(Utf8ToCp949(text)) != std::string::npos ? 1 : 0;
        return n;
    }

    bool appReady = (test::App(), true);
    QTemporaryDir dir;
    test::MemorySettings settings;
    TZelStatus status;
    QtPrompts prompts;
};

TEST_F(GameWiringTest, GameCommandIsAnsweredInTheTerminal)
{
    TZelClient client(status, prompts, "x.zel");
    TZel4HvnForm& form = client.Form();
    form.show();
    client.Lobby().ChatLine("/c");
    EXPECT_EQ(TerminalCount(form, "'/c' 명령은 아직 지원되지 않습니다."), 1);
}

TEST_F(GameWiringTest, ReviewMessagesThatCannotTravelAreToldOncePerReview)
{
    TZelClient client(status, prompts, "x.zel");
    TZel4HvnForm& form = client.Form();
    form.show();
    TZelGoMainForm& go = client.GoMainForm();
    test::MemoryFileStore store;
    store.files["review.zel"] = TwoMoveRecord();
    go.SetRecordStore(&store);
    const char* notice = "함께 복기하기는 아직 지원되지 않아";
    for (int review = 1; review <= 2; ++review) {
        go.CurrentRecordName = "review.zel";
        TGoSnapshot empty;
        EmptySnapshot(empty);
        go.EnterMode(TZelGoMainForm::kReviewing, empty);
        ASSERT_EQ(go.LoadRecordFile("kim", false), RecordStatus::Ok);
        go.ButtonClick(kNavForwardOne); // the position
        go.ButtonClick(4);              // "참여 확인"
        EXPECT_EQ(TerminalCount(form, notice), review);
        go.ButtonClick(5); // "복기 마침"
        EXPECT_EQ(go.Mode(), TZelGoMainForm::kLive);
    }
}

} // namespace
} // namespace zel

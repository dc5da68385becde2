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

} // namespace
} // namespace zel

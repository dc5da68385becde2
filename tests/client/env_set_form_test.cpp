#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <memory>

#include "QtTestApp.h"
#include "client/app/EnvSetForm.h"
#include "client/app/LobbyController.h"
#include "client/app/NotifyForms.h"
#include "client/app/Zel4HvnForm.h"
#include "client/app/ZelClient.h"
#include "client/base/QtColours.h"
#include "client/base/QtText.h"
#include "client/engine/GoPaintBox.h"
#include "client/lobby/MemoForm.h"
#include "client/record/ZelGoMainForm.h"
#include "client/term/ChatTerm.h"
#include "client/term/Terminal.h"
#include "core/base/Cp949.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"

namespace zel {
namespace {

// The environment window as the lobby's button opens it, on a client that
// views a record (so nothing connects).
class EnvSetFormTest : public ::testing::Test {
protected:
    SettingsDefaults Defaults()
    {
        SettingsDefaults d;
        d.zelpath = FromQ(dir.path());
        return d;
    }
    void Start()
    {
        client.reset();
        status = std::make_unique<TZelStatus>(settings, Defaults());
        client = std::make_unique<TZelClient>(*status, prompts, "x.zel");
    }
    TEnvSetForm& Open()
    {
        client->Form().sbEnvS->click();
        return client->EnvSetForm();
    }
    std::string Stored(const char* key) { return settings.Read("Environment Info", key).value_or("?"); }

    bool appReady = (test::App(), true);
    QTemporaryDir dir;
    test::MemorySettings settings;
    QtPrompts prompts;
    std::unique_ptr<TZelStatus> status;
    std::unique_ptr<TZelClient> client;
};

// The terminal's picture at the right end of its first row and in its
// bottom-right corner, where no text is written.
QColor Background(const TTermView& view)
{
    const QImage& image = view.Image();
    const QColor top = image.pixelColor(image.width() - 2, 1);
    return top == image.pixelColor(image.width() - 2, image.height() - 2) ? top : QColor();
}

TEST_F(EnvSetFormTest, ThirdSwatchRecoloursAtOnceAndIsStored)
{
    Start();
    // Shown first: what is on the screen already changes colour.
    client->Form().show();
    ZEL_WAIT_FOR(client->Form().isVisible(), 5000);
    TEnvSetForm& env = Open();
    ASSERT_TRUE(env.isVisible());
    EXPECT_EQ(env.windowTitle(), QString::fromUtf8("환경 설정"));
    // The stored colour 10 is the first swatch.
    EXPECT_EQ(env.ColorBtns[0]->text(), QString::fromUtf8("바 탕 색"));
    QTest::mouseClick(env.ColorBtns[2], Qt::LeftButton);
    for (int i : {0, 1, 3, 4})
        EXPECT_TRUE(env.ColorBtns[static_cast<std::size_t>(i)]->text().isEmpty()) << i;
    EXPECT_EQ(env.ChosenColour(), 12);
    env.OkBtn->click();

    EXPECT_FALSE(env.isVisible());
    EXPECT_EQ(Stored("basecolor"), "12");
    const QColor twelve = PaletteQColor(12);
    EXPECT_EQ(Background(client->Terminal()), twelve);
    EXPECT_EQ(Background(*client->GoMainForm().GoTerminal()), twelve);
    TZel4HvnForm& form = client->Form();
    for (QTreeView* list : {form.SlotLBox, form.UserLBox}) {
        // What the list shows below its last row.
        const QImage shown = list->viewport()->grab().toImage();
        EXPECT_EQ(shown.pixelColor(shown.width() - 2, shown.height() - 2), twelve) << list->objectName().toStdString();
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(client->Lobby().Memo(i).mText->palette().color(QPalette::Base), twelve) << i;
}

TEST_F(EnvSetFormTest, CancelKeepsTheOldMacrosAndOkStoresTheFields)
{
    Start();
    TEnvSetForm& env = Open();
    env.MacroEdits[0]->setText(QString::fromUtf8("바뀐 인사"));
    env.TitleEdit->setText(QString::fromUtf8("한 판 둡시다"));
    env.CancelBtn->click();
    EXPECT_EQ(status->environment.messages[1], KS("안녕하세요."));
    EXPECT_EQ(status->environment.roomTitle, "");
    EXPECT_EQ(Stored("macrotext1"), KS("안녕하세요."));

    // Opened again, the window shows the settings, not the cancelled edits.
    Open();
    EXPECT_EQ(env.MacroEdits[0]->text(), QString::fromUtf8("안녕하세요."));
    env.MacroEdits[8]->setText(QString::fromUtf8("수고하셨습니다."));
    env.RejectEdit->setText(QString::fromUtf8("지금은 바쁩니다."));
    env.CountVoiceCheck->setChecked(false);
    env.OkBtn->click();
    EXPECT_EQ(Stored("macrotext9"), KS("수고하셨습니다."));
    // The lobby's macro cell shows the new text as its hint.
    EXPECT_EQ(client->Form().findChild<QLabel*>("Panel8")->toolTip(), QString::fromUtf8("수고하셨습니다."));
    EXPECT_EQ(Stored("rejectmsg"), KS("지금은 바쁩니다."));
    EXPECT_EQ(Stored("countvoice"), "0");
    EXPECT_EQ(Stored("macrotext1"), KS("안녕하세요."));
}

TEST_F(EnvSetFormTest, EnterMovesThroughTheMacrosAndThenToOk)
{
    Start();
    TEnvSetForm& env = Open();
    env.activateWindow();
    env.Pages->setCurrentIndex(TEnvSetForm::kMacroPage);
    // Macros 1..4 have their first-run texts: the focus goes to the first empty one.
    EXPECT_EQ(env.focusWidget(), env.MacroEdits[4]);
    env.MacroEdits[0]->setFocus();
    for (int i = 0; i < TEnvSetForm::kMacros; ++i) {
        ASSERT_EQ(env.focusWidget(), env.MacroEdits[static_cast<std::size_t>(i)]) << i;
        QTest::keyClick(env.MacroEdits[static_cast<std::size_t>(i)], Qt::Key_Return);
    }
    EXPECT_EQ(env.focusWidget(), env.OkBtn);
    EXPECT_TRUE(env.isVisible()) << "Enter in a field never closes the window";

    // Enter in the title field does nothing at all.
    env.Pages->setCurrentIndex(TEnvSetForm::kOtherPage);
    env.TitleEdit->setFocus();
    QTest::keyClick(env.TitleEdit, Qt::Key_Return);
    EXPECT_TRUE(env.isVisible());
    EXPECT_EQ(env.focusWidget(), env.TitleEdit);

    // With every macro filled in, the macro page gives OK the focus.
    for (QLineEdit* edit : env.MacroEdits)
        edit->setText("x");
    env.Pages->setCurrentIndex(TEnvSetForm::kMacroPage);
    EXPECT_EQ(env.focusWidget(), env.OkBtn);
}

// What the game window's painter shows with pattern `pattern`, drawn by a
// painter of its own at the same size.
QImage Reference(int pattern, int size)
{
    TGoPaintBox box;
    box.LoadDefaultPictures();
    box.SetSzBoard(size);
    box.SetBoardImage(TEnvSetForm::BoardPattern(pattern));
    return box.Canvas();
}

TEST_F(EnvSetFormTest, ChosenBoardPatternReachesThePainterAndSurvivesARestart)
{
    for (int n = 1; n <= TEnvSetForm::kPatterns; ++n)
        ASSERT_FALSE(TEnvSetForm::BoardPattern(n).isNull()) << n;
    ASSERT_NE(Reference(1, 380), Reference(3, 380));

    Start();
    TGoPaintBox* painter = client->GoMainForm().GoPaintBox();
    painter->SetSzBoard(380);
    EXPECT_EQ(painter->Canvas(), Reference(1, 380)) << "the stored pattern 1 at start";
    TEnvSetForm& env = Open();
    env.Pages->setCurrentIndex(TEnvSetForm::kBoardPage);
    QTest::mouseClick(env.findChild<QWidget*>("BoardImage3"), Qt::LeftButton);
    for (int i = 0; i < TEnvSetForm::kPatterns; ++i)
        EXPECT_EQ(env.BoardPanels[static_cast<std::size_t>(i)]->frameShadow(), i == 2 ? QFrame::Sunken : QFrame::Raised)
            << i;
    env.OkBtn->click();
    EXPECT_EQ(Stored("baseboard"), "3");
    EXPECT_EQ(painter->Canvas(), Reference(3, 380));

    // The next start applies the stored pattern before any game.
    Start();
    painter = client->GoMainForm().GoPaintBox();
    painter->SetSzBoard(380);
    EXPECT_EQ(painter->Canvas(), Reference(3, 380));
    EXPECT_EQ(Open().ChosenBoard(), 3);
}

} // namespace
} // namespace zel

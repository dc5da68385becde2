#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "QtTestApp.h"
#include "client/app/NotifyForms.h"
#include "client/base/QtText.h"
#include "core/base/Cp949.h"

namespace zel {
namespace {

const QString kCaption = QString::fromUtf8("벨다 알림 창");

class NotifyFormsTest : public ::testing::Test {
protected:
    NotifyFormsTest() { test::App(); }
};

// Presses `button` once the modal loop that follows has started.
void PressLater(QPushButton* button)
{
    QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
}

TEST_F(NotifyFormsTest, TimedNoticeClosesItselfAndNeverBlocks)
{
    QtPrompts prompts;
    TNotifyForm* form = prompts.notifyForm();
    prompts.Notify(KS("아이디는 영문자와 숫자만 가능합니다"), 60);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_TRUE(form->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form->windowTitle(), kCaption);
    EXPECT_EQ(form->lbMessage->text(), QString::fromUtf8("아이디는 영문자와 숫자만 가능합니다"));
    test::SaveScreenshot(*form, "notify_form.png");
    ZEL_WAIT_FOR(!form->isVisible(), 3000);

    // A second notice restarts the count instead of being cut short by the first.
    prompts.Notify("one", 150);
    QTest::qWait(100);
    prompts.Notify("two", 5000);
    QTest::qWait(150);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->lbMessage->text(), "two");
}

TEST_F(NotifyFormsTest, AlertWaitsForItsButton)
{
    QtPrompts prompts;
    TCNotifyForm* form = prompts.cNotifyForm();
    EXPECT_EQ(form->btnOk->text(), QString::fromUtf8("확 인"));
    form->SetText(QString::fromUtf8("아이디를 4 byte ~ 8 byte 로 입력하세요"));
    form->show();
    test::SaveScreenshot(*form, "cnotify_form.png");
    form->hide();

    PressLater(form->btnOk);
    prompts.Alert(KS("접속이 끊어졌습니다."));
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->lbMessage->text(), QString::fromUtf8("접속이 끊어졌습니다."));
    EXPECT_EQ(form->windowTitle(), kCaption);
}

TEST_F(NotifyFormsTest, ConfirmAnswersWithTheButtonPressed)
{
    QtPrompts prompts;
    TConfirmForm* form = prompts.confirmForm();
    const std::string question = KS("아이디가 변경되면 성적이 지워집니다.");

    PressLater(form->btnOk);
    EXPECT_TRUE(prompts.Confirm(question, KS("확 인"), KS("취 소")));
    EXPECT_EQ(form->btnOk->text(), QString::fromUtf8("확 인"));
    EXPECT_EQ(form->btnCancel->text(), QString::fromUtf8("취 소"));

    PressLater(form->btnCancel);
    EXPECT_FALSE(prompts.Confirm(question, KS("예"), KS("아니오")));
    EXPECT_EQ(form->btnOk->text(), QString::fromUtf8("예"));

    // Escape closes the window: not an OK.
    QTimer::singleShot(0, form, [form] { QTest::keyClick(form, Qt::Key_Escape); });
    EXPECT_FALSE(prompts.Confirm(question, KS("확 인"), KS("취 소")));

    form->lbMessage->setText(ToQ(question));
    form->adjustSize();
    form->show();
    test::SaveScreenshot(*form, "confirm_form.png");
    form->hide();
}

TEST_F(NotifyFormsTest, PromptsOutlivingTheirWindowDoNothing)
{
    auto* window = new QWidget;
    QtPrompts prompts(window);
    delete window;
    prompts.Notify("late", 10);
    prompts.Alert("late");
    EXPECT_FALSE(prompts.Confirm("late", "ok", "cancel"));
}

} // namespace
} // namespace zel

#include <gtest/gtest.h>

#include <QApplication>
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

// A second prompt asked from a timer inside the first one's loop, as the
// game session does from its ticks: it gets a dialog of its own, the first
// keeps its text, and each call returns what was clicked on its own dialog.
TEST_F(NotifyFormsTest, NestedPromptsStackAndKeepTheirOwnAnswers)
{
    struct Row {
        bool outerOk, innerOk;
    };
    for (const Row row : {Row{true, false}, Row{false, true}, Row{true, true}}) {
        QtPrompts prompts;
        bool inner = !row.innerOk;
        QDialog* firstDialog = nullptr;
        QDialog* secondDialog = nullptr;
        QString firstTextWhileSecond;
        QTimer::singleShot(0, [&] {
            auto* first = qobject_cast<TConfirmForm*>(QApplication::activeModalWidget());
            ASSERT_NE(first, nullptr);
            firstDialog = first;
            QTimer::singleShot(0, [&, first] {
                auto* second = qobject_cast<TConfirmForm*>(QApplication::activeModalWidget());
                ASSERT_NE(second, nullptr);
                secondDialog = second;
                firstTextWhileSecond = first->lbMessage->text();
                EXPECT_TRUE(first->isVisible());
                EXPECT_EQ(second->lbMessage->text(), "second");
                EXPECT_EQ(second->btnOk->text(), "yes");
                EXPECT_EQ(second->objectName(), "TConfirmForm");
                // Cascaded, so the question underneath stays in sight.
                EXPECT_GT(second->x(), first->x());
                EXPECT_GT(second->y(), first->y());
                QTest::mouseClick(row.innerOk ? second->btnOk : second->btnCancel, Qt::LeftButton);
            });
            inner = prompts.Confirm("second", "yes", "no");
            PressLater(row.outerOk ? first->btnOk : first->btnCancel);
        });
        EXPECT_EQ(prompts.Confirm("first", "ok", "cancel"), row.outerOk);
        EXPECT_EQ(inner, row.innerOk);
        EXPECT_NE(firstDialog, secondDialog);
        EXPECT_EQ(firstTextWhileSecond, "first");
    }

    // A notice with one button asked while another is open stacks the same way.
    QtPrompts prompts;
    QString outerText;
    bool innerShown = false;
    QTimer::singleShot(0, [&] {
        auto* first = qobject_cast<TCNotifyForm*>(QApplication::activeModalWidget());
        ASSERT_NE(first, nullptr);
        QTimer::singleShot(0, [&, first] {
            auto* second = qobject_cast<TCNotifyForm*>(QApplication::activeModalWidget());
            ASSERT_NE(second, nullptr);
            innerShown = second != first && second->lbMessage->text() == "two";
            outerText = first->lbMessage->text();
            QTest::mouseClick(second->btnOk, Qt::LeftButton);
        });
        prompts.Alert("two");
        EXPECT_TRUE(first->isVisible());
        PressLater(first->btnOk);
    });
    prompts.Alert("one");
    EXPECT_TRUE(innerShown);
    // An alert over an open question cascades; the same kept alert on its own
    // afterwards is placed by Qt again.
    QtPrompts mixed;
    QPoint questionAt, alertAt;
    QTimer::singleShot(0, [&] {
        auto* question = qobject_cast<TConfirmForm*>(QApplication::activeModalWidget());
        ASSERT_NE(question, nullptr);
        questionAt = question->pos();
        QTimer::singleShot(0, [&] {
            auto* alert = qobject_cast<TCNotifyForm*>(QApplication::activeModalWidget());
            ASSERT_NE(alert, nullptr);
            alertAt = alert->pos();
            QTest::mouseClick(alert->btnOk, Qt::LeftButton);
        });
        mixed.Alert("over");
        PressLater(question->btnOk);
    });
    EXPECT_TRUE(mixed.Confirm("under", "ok", "cancel"));
    EXPECT_EQ(alertAt, questionAt + QPoint(28, 28));
    EXPECT_TRUE(mixed.cNotifyForm()->property("zelCascaded").toBool());
    QTimer::singleShot(0, [&] { PressLater(mixed.cNotifyForm()->btnOk); });
    mixed.Alert("alone");
    EXPECT_FALSE(mixed.cNotifyForm()->property("zelCascaded").toBool());
    EXPECT_FALSE(mixed.cNotifyForm()->testAttribute(Qt::WA_Moved));
    EXPECT_EQ(outerText, "one");
    EXPECT_FALSE(prompts.cNotifyForm()->isVisible());
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

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "QtTestApp.h"
#include "client/lobby/LoginForm.h"
#include "core/base/Cp949.h"
#include "support/Fakes.h"

namespace zel {
namespace {

class LoginFormTest : public ::testing::Test {
protected:
    LoginFormTest() { test::App(); }

    // A store with the given login, loaded as on a later start.
    TZelStatus& Store(const std::string& id, const std::string& nickname)
    {
        settings.values["HvnZel Complie Info"]["version"] = "000308A";
        settings.values["Login Info"]["userid"] = id;
        settings.values["Login Info"]["nickname"] = nickname;
        status = std::make_unique<TZelStatus>(settings);
        return *status;
    }

    std::string StoredLogin(const std::string& key) { return settings.values["Login Info"][key]; }

    test::MemorySettings settings;
    test::RecordingPrompts prompts;
    std::unique_ptr<TZelStatus> status;
};

TEST_F(LoginFormTest, TypedIdIsLoweredAndOkSavesTheLogin)
{
    TZelStatus& st = Store("", "");
    st.host.noteMsgs[0] = KS("오늘 밤 12시부터 1시간 동안 서버 점검이 있습니다.\\!즐거운 대국 되세요.");
    TLoginForm form(st, prompts);
    form.show();
    QTest::keyClicks(form.eUser, "ABc1");
    EXPECT_EQ(form.eUser->text(), "abc1");
    test::Type(form.eAlias, QString::fromUtf8("바둑!왕"));
    EXPECT_EQ(form.eAlias->text(), QString::fromUtf8("바둑왕"));
    ASSERT_EQ(prompts.notices.size(), 1u);
    EXPECT_EQ(prompts.notices[0].first, "'!'" + KS(" 는 대화명에 사용할 수 없습니다."));
    EXPECT_EQ(prompts.notices[0].second, 1000);
    test::SaveScreenshot(form, "login_form.png");

    QTest::mouseClick(form.btnOk, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(status->login.userId, "abc1");
    EXPECT_EQ(StoredLogin("userid"), "abc1");
    EXPECT_EQ(StoredLogin("nickname"), KS("바둑왕"));
}

TEST_F(LoginFormTest, RefusedIdCharacterGivesTheIdNotice)
{
    TLoginForm form(Store("", ""), prompts);
    form.show();
    QTest::keyClicks(form.eUser, "ab_cd");
    EXPECT_EQ(form.eUser->text(), "abcd");
    ASSERT_EQ(prompts.notices.size(), 1u);
    EXPECT_EQ(prompts.notices[0].first, KS("아이디는 영문자와 숫자만 가능합니다"));
}

TEST_F(LoginFormTest, IdOfWrongLengthAlertsAndStaysOpen)
{
    for (const char* id : {"abc", "abcdefghi"}) {
        TLoginForm form(Store("", ""), prompts);
        form.show();
        int writes = settings.writes;
        QTest::keyClicks(form.eUser, id);
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
        SCOPED_TRACE(id);
        EXPECT_TRUE(form.isVisible());
        EXPECT_NE(form.result(), QDialog::Accepted);
        EXPECT_EQ(settings.writes, writes);
        ASSERT_FALSE(prompts.alerts.empty());
        EXPECT_EQ(prompts.alerts.back(), KS("아이디를 4 byte ~ 8 byte 로 입력하세요"));
    }
}

TEST_F(LoginFormTest, NicknameIsFinishedOnOk)
{
    struct Row {
        QString typed;
        std::string stored;
    };
    const std::vector<Row> rows = {
        {"", "kim1"},                                             // empty: the id
        {"abcdefghijkl", "abcdefghij"},                           // cut to 10 bytes
        {QString::fromUtf8("a가나다라마"), "a" + KS("가나다라")}, // not inside a character
    };
    for (const Row& r : rows) {
        TLoginForm form(Store("kim1", ""), prompts);
        form.show();
        test::Type(form.eAlias, r.typed);
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
        EXPECT_EQ(StoredLogin("nickname"), r.stored) << r.typed.toStdString();
    }
}

TEST_F(LoginFormTest, ShowFillsFieldsFocusesAndShowsTheNotice)
{
    struct Row {
        std::string id, nickname;
        const char* focused;
    };
    const std::vector<Row> rows = {
        {"kim1", "", "eAlias"},
        {"", "dol", "eUser"},
        {"kim1", "dol", "btnOk"},
    };
    for (const Row& r : rows) {
        TZelStatus& st = Store(r.id, r.nickname);
        st.host.noteMsgs[0] = KS("점검 안내\\!오늘 밤") + "\\!" + "end";
        TLoginForm form(st, prompts);
        form.show();
        SCOPED_TRACE(r.focused);
        EXPECT_EQ(form.eUser->text().toStdString(), r.id);
        ASSERT_NE(form.focusWidget(), nullptr);
        EXPECT_EQ(form.focusWidget()->objectName(), r.focused);
        EXPECT_EQ(form.mNotice->toPlainText(), QString::fromUtf8("점검 안내\n오늘 밤\nend"));
        EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(form.windowTitle(), QString::fromUtf8("바둑서비스 접속"));
    }
}

TEST_F(LoginFormTest, EnterMovesToTheNextField)
{
    TLoginForm form(Store("", ""), prompts);
    form.show();
    form.eUser->setFocus();
    QTest::keyClicks(form.eUser, "abcd");
    QTest::keyClick(form.eUser, Qt::Key_Return);
    EXPECT_EQ(form.focusWidget(), form.eAlias);
    QTest::keyClick(form.eAlias, Qt::Key_Enter);
    EXPECT_EQ(form.focusWidget(), form.btnOk);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(StoredLogin("userid"), "");
}

} // namespace
} // namespace zel

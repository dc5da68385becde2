#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sys/stat.h>

#include "QtTestApp.h"
#include "client/base/QtText.h"
#include "client/settings/ClientSettingsDefaults.h"
#include "client/settings/QtSettingsBackend.h"
#include "core/base/Cp949.h"
#include "core/settings/ZelStatus.h"

namespace zel {
namespace {

unsigned ModeOf(const QString& file)
{
    struct stat st {};
    if (stat(file.toLocal8Bit().constData(), &st) != 0)
        return 0xFFFF;
    return st.st_mode & 0777;
}

class QtSettingsBackendTest : public ::testing::Test {
protected:
    QtSettingsBackendTest() { test::App(); }
    QString Ini() const { return dir.filePath("HvnZel.ini"); }
    QTemporaryDir dir;
};

TEST_F(QtSettingsBackendTest, StoreSurvivesARestartWithEveryFriendKey)
{
    {
        QtSettingsBackend backend(Ini());
        TZelStatus st(backend);
        EXPECT_TRUE(st.FirstRun());
        st.login.userId = "abc1";
        st.login.nickname = KS("바둑왕");
        st.friends.count = 50;
        for (int n = 1; n <= 50; ++n) // suffixes '1'..'b'; entry 44 is a backslash
            st.friends.friends[static_cast<std::size_t>(n - 1)].id = "id" + std::to_string(n);
        st.Save("Login Info");
        st.Save("Friends Info");
    }
    QtSettingsBackend backend(Ini());
    TZelStatus st(backend);
    EXPECT_FALSE(st.FirstRun());
    EXPECT_EQ(st.login.nickname, KS("바둑왕"));
    for (int n = 1; n <= 50; ++n)
        EXPECT_EQ(st.friends.friends[static_cast<std::size_t>(n - 1)].id, "id" + std::to_string(n)) << n;
    EXPECT_EQ(st.color.baseColors[16], 0x8000000Fu);
    EXPECT_EQ(st.environment.messages[1], KS("안녕하세요."));
}

TEST_F(QtSettingsBackendTest, ValuesRoundTripAsCp949)
{
    QtSettingsBackend backend(Ini());
    const std::string korean = KS("꾸벅~ 잘 부탁 드립니다.");
    for (const std::string& value : {korean, std::string("a, b"), std::string("@x"), std::string("")}) {
        backend.Write("Environment Info", "macrotext3", value);
        backend.Flush();
        QtSettingsBackend again(Ini());
        EXPECT_EQ(again.Read("Environment Info", "macrotext3"), value);
    }
    EXPECT_EQ(backend.Read("Environment Info", "nothing"), std::nullopt);
    // "friendid\" and "friendid/" are keys of their own, not groups.
    backend.Write("Friends Info", "friendid\\", "x");
    backend.Write("Friends Info", "friendid", "y");
    EXPECT_EQ(backend.Read("Friends Info", "friendid\\"), "x");
    EXPECT_EQ(backend.Read("Friends Info", "friendid/"), std::nullopt);
}

TEST_F(QtSettingsBackendTest, FileIsReadableByItsOwnerOnly)
{
    {
        QtSettingsBackend backend(Ini());
        EXPECT_EQ(ModeOf(Ini()), 0600u);
        TZelStatus st(backend);
        st.login.password = "secret";
        st.Save("Login Info");
        EXPECT_EQ(ModeOf(Ini()), 0600u);
    }
    EXPECT_EQ(ModeOf(Ini()), 0600u);
    // A file that others could read is closed to them on the next write.
    chmod(Ini().toLocal8Bit().constData(), 0644);
    QtSettingsBackend backend(Ini());
    backend.Write("Login Info", "password", "other");
    backend.Flush();
    EXPECT_EQ(ModeOf(Ini()), 0600u);
}

TEST_F(QtSettingsBackendTest, SettingsDirectoryFromTheEnvironment)
{
    QString sub = dir.filePath("nested/settings");
    qputenv("ZEL_SETTINGS_DIR", sub.toLocal8Bit());
    {
        QtSettingsBackend backend;
        EXPECT_EQ(backend.FileName(), sub + "/HvnZel.ini");
        TZelStatus st(backend, ClientSettingsDefaults());
        EXPECT_EQ(st.critical.gibodir, FromQ(sub) + "/Gibo");
        EXPECT_EQ(st.critical.advhdir, FromQ(sub) + "/ADVH");
        EXPECT_EQ(st.critical.hanfont, FromQ(QCoreApplication::applicationDirPath()) + "/ZelH00.FNT");
        st.login.userId = "abc1";
        st.Save("Login Info");
    }
    qunsetenv("ZEL_SETTINGS_DIR");
    QtSettingsBackend backend(sub + "/HvnZel.ini");
    EXPECT_EQ(backend.Read("Login Info", "userid"), "abc1");
}

} // namespace
} // namespace zel

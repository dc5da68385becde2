#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Cp949.h"
#include "core/settings/ZelStatus.h"
#include "support/Fakes.h"

namespace zel {
namespace {

using test::MemorySettings;

SettingsDefaults Defaults()
{
    SettingsDefaults d;
    d.zelpath = "/opt/zel";
    d.gibodir = "/home/u/.local/share/Zel/Gibo";
    return d;
}

std::string Stored(MemorySettings& m, const std::string& section, const std::string& key)
{
    return m.Read(section, key).value_or("<missing>");
}

// A store as an earlier start left it.
MemorySettings Installed(const std::string& version)
{
    MemorySettings m;
    m.values["HvnZel Complie Info"]["version"] = version;
    m.values["Login Info"]["userid"] = "kim";
    m.values["Login Info"]["totalt"] = "7";
    m.values["MainForm Info"]["fpwidth"] = "1024";
    m.values["ADV & Host Info"]["ngohost"] = "2";
    m.values["ADV & Host Info"]["zelhost1"] = "10.0.0.1";
    m.values["ADV & Host Info"]["zelhost2"] = "10.0.0.2";
    m.values["ADV & Host Info"]["zelport1"] = "7000";
    return m;
}

TEST(ZelStatusLoad, FirstRunWritesEverySectionWithDefaults)
{
    MemorySettings m;
    TZelStatus st(m, Defaults());

    EXPECT_TRUE(st.FirstRun());
    EXPECT_EQ(Stored(m, "HvnZel Complie Info", "version"), "000308A");
    for (const char* section : {"Critical Info", "MainForm Info", "ADV & Host Info", "Print Option Info", "Color Info",
                                "Go MainForm Info", "Login Info", "Environment Info", "Friends Info"})
        EXPECT_FALSE(m.values[section].empty()) << section;

    EXPECT_EQ(Stored(m, "Critical Info", "dzelver"), "000308A");
    EXPECT_EQ(Stored(m, "Critical Info", "hanfont"), "/opt/zel/ZelH00.FNT");
    // The installation's directories are never written.
    EXPECT_EQ(Stored(m, "Critical Info", "zelpath"), "<missing>");
    EXPECT_EQ(st.critical.gibodir, "/home/u/.local/share/Zel/Gibo");
    EXPECT_EQ(st.critical.advhdir, "/opt/zel/ADVH");

    EXPECT_EQ(Stored(m, "Login Info", "savepass"), "1");
    EXPECT_EQ(Stored(m, "Login Info", "belowc"), "0");
    EXPECT_EQ(Stored(m, "MainForm Info", "fpwidth"), "800");
    EXPECT_EQ(Stored(m, "Go MainForm Info", "lengtha"), "91");
    EXPECT_EQ(Stored(m, "Print Option Info", "color"), "0");
    EXPECT_EQ(Stored(m, "Environment Info", "macrotext1"), KS("안녕하세요."));
    EXPECT_EQ(Stored(m, "Environment Info", "macrotext9"), "");
    EXPECT_EQ(Stored(m, "Friends Info", "nfriends"), "0");
    EXPECT_EQ(Stored(m, "ADV & Host Info", "zelhost1"), "127.0.0.1");
    EXPECT_EQ(Stored(m, "ADV & Host Info", "zelport1"), "5554");
    EXPECT_EQ(Stored(m, "ADV & Host Info", "advport"), "8080");
    EXPECT_EQ(Stored(m, "ADV & Host Info", "adfsize5"), "4923");
    EXPECT_EQ(Stored(m, "ADV & Host Info", "adfsize6"), "<missing>");
    // 0x8000000F kept as the signed 32-bit value it is.
    EXPECT_EQ(Stored(m, "Color Info", "basecolor17"), "-2147483633");
    EXPECT_EQ(Stored(m, "Color Info", "terminalfc"), "15");
}

TEST(ZelStatusLoad, FirstRunKeepsInstalledDirectories)
{
    MemorySettings m;
    m.values["Critical Info"]["zelpath"] = "/srv/zel";
    TZelStatus st(m, Defaults());
    EXPECT_EQ(st.critical.zelpath, "/srv/zel");
    EXPECT_EQ(st.critical.convert, "/srv/zel/Convert.Tbl");
    EXPECT_EQ(Stored(m, "Critical Info", "sbsfont"), "/srv/zel/ZelSBS.FNT");
}

TEST(ZelStatusLoad, ReloadGivesBackWhatTheFirstRunStored)
{
    MemorySettings m;
    TZelStatus first(m, Defaults());
    first.color.baseColors[16] = 0x8000000F;
    first.Save("Color Info");
    TZelStatus second(m, Defaults());
    EXPECT_TRUE(second.FirstRun());
    EXPECT_EQ(second.environment.messages[3], KS("꾸벅~ 잘 부탁 드립니다."));
    EXPECT_EQ(second.color.baseColors, first.color.baseColors);
    EXPECT_EQ(second.host.adSizes, first.host.adSizes);
    EXPECT_EQ(second.host.hosts[0], "127.0.0.1");
    EXPECT_EQ(second.printOption.perPage, 2);
}

TEST(ZelStatusLoad, SameVersionReadsEverythingAndWritesNothing)
{
    MemorySettings m = Installed("000308A");
    TZelStatus st(m, Defaults());
    EXPECT_EQ(m.writes, 0);
    EXPECT_FALSE(st.FirstRun());
    EXPECT_EQ(st.login.userId, "kim");
    EXPECT_EQ(st.login.counters[0][0], 7);
    EXPECT_EQ(st.mainForm.width, 1024);
    EXPECT_EQ(st.host.hostCount, 2);
    EXPECT_EQ(st.host.hosts[1], "10.0.0.2");
    EXPECT_EQ(st.host.ports[0], 7000);
    EXPECT_EQ(st.host.ports[1], 5554); // missing: read default
}

TEST(ZelStatusLoad, VersionUpdateResetsOnlyTheServerList)
{
    MemorySettings m = Installed("000207B");
    TZelStatus st(m, Defaults());
    EXPECT_EQ(Stored(m, "HvnZel Complie Info", "version"), "000308A");
    EXPECT_EQ(Stored(m, "Critical Info", "dzelver"), "000308A");
    EXPECT_EQ(st.critical.dzelver, "000308A");
    EXPECT_EQ(st.host.hostCount, 1);
    EXPECT_EQ(st.host.hosts[0], "127.0.0.1");
    EXPECT_EQ(st.host.ports[0], 5554);
    EXPECT_EQ(Stored(m, "ADV & Host Info", "ngohost"), "1");
    // Everything else is kept.
    EXPECT_EQ(st.login.userId, "kim");
    EXPECT_EQ(st.login.counters[0][0], 7);
    EXPECT_EQ(st.mainForm.width, 1024);
    EXPECT_FALSE(st.FirstRun());
}

TEST(ZelStatusRead, BadNumbersFallBackToReadDefaults)
{
    struct Row {
        const char* section;
        const char* key;
        const char* stored;
    };
    const std::vector<Row> rows = {
        {"MainForm Info", "fpwidth", "abc"},  {"MainForm Info", "fpheight", ""},
        {"MainForm Info", "lengtha", "12x"},  {"MainForm Info", "fontsize", "99999999999"},
        {"Login Info", "savepass", "yes"},    {"Print Option Info", "tmargin", "-"},
        {"Color Info", "basecolor3", "blue"},
    };
    for (const Row& r : rows) {
        MemorySettings m = Installed("000308A");
        m.values[r.section][r.key] = r.stored;
        TZelStatus st(m, Defaults());
        SCOPED_TRACE(std::string(r.key) + "=" + r.stored);
        EXPECT_EQ(st.mainForm.width, std::string(r.key) == "fpwidth" ? 800 : 1024);
        EXPECT_EQ(st.mainForm.height, 600);
        EXPECT_EQ(st.mainForm.lengthA, 139);
        EXPECT_EQ(st.mainForm.fontSize, 10);
        EXPECT_TRUE(st.login.savePass);
        EXPECT_EQ(st.printOption.tMargin, 500);
        EXPECT_EQ(st.color.baseColors[2], 0x8000000Fu);
    }
}

TEST(ZelStatusRead, NumbersAndFlags)
{
    MemorySettings m = Installed("000308A");
    m.values["MainForm Info"]["fptop"] = " -20 ";
    m.values["Login Info"]["inviteon"] = "0";
    m.values["Login Info"]["profile"] = "2";
    m.values["Color Info"]["basecolor1"] = "2147483663"; // unsigned form of 0x8000000F
    m.values["Color Info"]["basecolor2"] = "-2147483633";
    TZelStatus st(m, Defaults());
    EXPECT_EQ(st.mainForm.top, -20);
    EXPECT_FALSE(st.login.inviteOn);
    EXPECT_TRUE(st.login.profile);
    EXPECT_EQ(st.color.baseColors[0], 0x8000000Fu);
    EXPECT_EQ(st.color.baseColors[1], 0x8000000Fu);
}

TEST(ZelStatusRead, TableIndicesStayInTheirTables)
{
    MemorySettings m = Installed("000308A");
    m.values["Environment Info"]["basecolor"] = "40";
    m.values["Environment Info"]["baseboard"] = "0";
    m.values["Environment Info"]["autotimei"] = "500";
    TZelStatus st(m, Defaults());
    EXPECT_EQ(st.environment.baseColor, 10);
    EXPECT_EQ(st.environment.baseBoard, 1);
    EXPECT_EQ(st.environment.autoTimeI, 100);
    EXPECT_EQ(PaletteColor(40), StandardPalette[10]);
    EXPECT_EQ(PaletteColor(-1), StandardPalette[10]);
    EXPECT_EQ(PaletteColor(15), 0xFFFFFFu);
}

TEST(ZelStatusRead, SpokenCountdownIsOnUnlessSwitchedOff)
{
    struct Row {
        const char* stored; // nullptr: settings written before the switch existed
        bool on;
    };
    const Row rows[] = {{nullptr, true}, {"0", false}, {"1", true}, {"x", true}};
    for (const Row& row : rows) {
        MemorySettings m = Installed("000308A");
        m.values["Environment Info"]["basecolor"] = "12";
        if (row.stored)
            m.values["Environment Info"]["countvoice"] = row.stored;
        TZelStatus st(m, Defaults());
        EXPECT_EQ(st.environment.countVoice, row.on) << (row.stored ? row.stored : "missing");
        EXPECT_EQ(st.environment.baseColor, 12);
    }
}

TEST(ZelStatusRead, TabDockIsAlwaysOnAfterLoad)
{
    MemorySettings m = Installed("000308A");
    {
        TZelStatus st(m, Defaults());
        st.mainForm.tabDock = false;
        st.Save("MainForm Info");
    }
    EXPECT_EQ(Stored(m, "MainForm Info", "tabdock"), "0");
    TZelStatus again(m, Defaults());
    EXPECT_TRUE(again.mainForm.tabDock);
}

TEST(ZelStatusFriends, EntryKeysUseCharacterSuffixes)
{
    MemorySettings m = Installed("000308A");
    TZelStatus st(m, Defaults());
    st.friends.count = 50;
    for (int n = 1; n <= 50; ++n) {
        st.friends.friends[static_cast<std::size_t>(n - 1)].id = "f" + std::to_string(n);
        st.friends.friends[static_cast<std::size_t>(n - 1)].wins = n;
    }
    st.Save("Friends Info");

    const auto& f = m.values["Friends Info"];
    EXPECT_EQ(f.at("friendid1"), "f1");
    EXPECT_EQ(f.at("friendid9"), "f9");
    EXPECT_EQ(f.at("friendid:"), "f10");
    EXPECT_EQ(f.at("friendid;"), "f11");
    EXPECT_EQ(f.at("friendid<"), "f12");
    EXPECT_EQ(f.at("friendsn<"), "12");
    EXPECT_EQ(f.at("friendidb"), "f50");
    EXPECT_EQ(f.count("friendidc"), 0u);

    TZelStatus again(m, Defaults());
    EXPECT_EQ(again.friends.count, 50);
    EXPECT_EQ(again.friends.friends[43].id, "f44"); // suffix '\'
    EXPECT_EQ(again.friends.friends[49].wins, 50);
}

TEST(ZelStatusFriends, OnlyTheUsedEntriesAreRead)
{
    MemorySettings m = Installed("000308A");
    m.values["Friends Info"]["nfriends"] = "1";
    m.values["Friends Info"]["friendid1"] = "lee";
    m.values["Friends Info"]["friendid2"] = "park";
    TZelStatus st(m, Defaults());
    EXPECT_EQ(st.friends.count, 1);
    EXPECT_EQ(st.friends.friends[0].id, "lee");
    EXPECT_EQ(st.friends.friends[1].id, "");
}

TEST(ZelStatusCounts, StoredCountsAreClampedToTheTables)
{
    struct Row {
        const char* nfriends;
        const char* ngohost;
        const char* nadfile;
        int friends, hosts, adFiles;
    };
    const std::vector<Row> rows = {
        {"51", "11", "11", 50, 10, 10},
        {"70000", "2147483647", "99", 50, 10, 10},
        {"-1", "-5", "-2147483648", 0, 0, 0},
        {"50", "10", "10", 50, 10, 10},
    };
    for (const Row& r : rows) {
        MemorySettings m = Installed("000308A");
        m.values["Friends Info"]["nfriends"] = r.nfriends;
        m.values["ADV & Host Info"]["ngohost"] = r.ngohost;
        m.values["ADV & Host Info"]["nadfile"] = r.nadfile;
        TZelStatus st(m, Defaults());
        SCOPED_TRACE(r.nfriends);
        EXPECT_EQ(st.friends.count, r.friends);
        EXPECT_EQ(st.host.hostCount, r.hosts);
        EXPECT_EQ(st.host.adFileCount, r.adFiles);
    }
}

TEST(ZelStatusCounts, SavingAnOversizedCountWritesOnlyTheTable)
{
    MemorySettings m = Installed("000308A");
    TZelStatus st(m, Defaults());
    st.friends.count = 1000;
    st.host.hostCount = -3;
    st.host.adFileCount = 11;
    st.Save("Friends Info");
    st.Save("ADV & Host Info");
    EXPECT_EQ(Stored(m, "Friends Info", "nfriends"), "50");
    EXPECT_EQ(Stored(m, "ADV & Host Info", "ngohost"), "0");
    EXPECT_EQ(Stored(m, "ADV & Host Info", "nadfile"), "10");
    EXPECT_EQ(Stored(m, "ADV & Host Info", "adfsize:"), "0");
    EXPECT_EQ(Stored(m, "ADV & Host Info", "adfsize;"), "<missing>");
}

TEST(ZelStatusSync, UnknownSectionReportsAndChangesNothing)
{
    MemorySettings m = Installed("000308A");
    std::vector<std::string> errors;
    TZelStatus st(m, Defaults(), [&](const std::string& e) { errors.push_back(e); });
    ASSERT_TRUE(errors.empty());
    int writes = m.writes;
    st.login.userId = "changed";
    for (const char* name : {"Login info", "LoginInfo", "", "Login Info "})
        st.SyncSection(name, 2, true);
    EXPECT_EQ(errors, std::vector<std::string>(4, "Wrong Sectiontion name"));
    EXPECT_EQ(m.writes, writes);
    EXPECT_EQ(st.login.userId, "changed");
}

TEST(ZelStatusSync, ResetAndReadPutsBackStoredValues)
{
    MemorySettings m = Installed("000308A");
    TZelStatus st(m, Defaults());
    st.login.userId = "other";
    st.login.counters[3][2] = 4;
    st.SyncSection("Login Info", 1, true);
    EXPECT_EQ(st.login.userId, "kim");
    EXPECT_EQ(st.login.counters[3][2], 0);
    st.login.counters[2][1] = 9;
    st.Save("Login Info");
    EXPECT_EQ(Stored(m, "Login Info", "equala"), "9");
}

} // namespace
} // namespace zel

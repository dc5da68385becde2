#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "client/settings/ClientSettingsDefaults.h"

using namespace zel;

namespace {

void Touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

// Which directory a client in <root>/usr/bin reads its data from, for the
// files present under <root>/usr/share/zel.
TEST(ProgramDir, InstalledDataOnlyWhenComplete)
{
    struct Row {
        const char* name;
        std::vector<const char*> shared; // files under usr/share/zel
        bool installed;                  // expect usr/share/zel, else usr/bin
    };
    const Row rows[] = {
        {"fonts and table installed", {"Convert.tbl", "ZelH00.FNT", "ZelE00.FNT"}, true},
        {"no data directory", {}, false},
        {"table without fonts", {"Convert.tbl"}, false},
        {"fonts without table", {"ZelH00.FNT"}, false},
        {"only the help page", {"help.html"}, false},
    };
    for (const Row& row : rows) {
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QString bin = root.path() + "/usr/bin";
        QDir().mkpath(bin);
        for (const char* file : row.shared)
            Touch(root.path() + "/usr/share/zel/" + file);
        const QString expected = row.installed ? root.path() + "/usr/share/zel" : bin;
        EXPECT_EQ(ProgramDir(bin), expected) << row.name;
        EXPECT_EQ(ProgramDir(bin + "/"), expected) << row.name << " (trailing separator)";
    }
}

// A build tree keeps its data next to the executable; the path comes back clean.
TEST(ProgramDir, BuildTreeKeepsItsOwnDirectory)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString exe = root.path() + "/build/src/client";
    Touch(exe + "/Convert.tbl");
    Touch(exe + "/ZelH00.FNT");
    EXPECT_EQ(ProgramDir(exe), exe);
    EXPECT_EQ(ProgramDir(root.path() + "/build/src/./client"), exe);
}

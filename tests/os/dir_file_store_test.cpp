#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/base/Cp949.h"
#include "core/record/SafeName.h"
#include "os/DirFileStore.h"

namespace zel {
namespace {
namespace fs = std::filesystem;

class DirFileStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = fs::temp_directory_path() / ("zel_store_" + std::to_string(::getpid()) + "_" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base);
        root = base / "Gibo";
    }
    void TearDown() override { fs::remove_all(base); }

    fs::path base;
    fs::path root;
};

TEST(SafeName, AcceptsBareNamesAndRefusesEverythingElse)
{
    struct Row {
        std::string name;
        bool bare;
    };
    const Row rows[] = {
        {"20261207alicebobABC.zel", true},
        {KS("홍길동.zel"), true},
        {"a b.zel", true},
        {"", false},
        {".", false},
        {"..", false},
        {"../x.zel", false},
        {"a..b.zel", false},
        {"dir/x.zel", false},
        {"dir\\x.zel", false},
        {"C:x.zel", false},
        {"/etc/passwd", false},
        {std::string("a\0b.zel", 7), false},
        {"a\nb.zel", false},
        {"a\x7f.zel", false},
        {".hidden", false},
        {"name.", false},
        {" name", false},
        {"NUL", false},
        {"con.zel", false},
        {"com1.txt", false},
        {"Lpt9", false},
        {"console.zel", true},
        {"a*.zel", false},
        {"\xb0", false},
        {std::string(kMaxBareNameLength, 'a'), true},
        {std::string(kMaxBareNameLength + 1, 'a'), false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(IsBareName(row.name), row.bare) << '"' << row.name << '"';
}

TEST_F(DirFileStoreTest, WritesReadsAndReplacesInsideItsDirectory)
{
    DirFileStore store(root);
    EXPECT_EQ(store.Size("a.zel"), -1);
    std::string data("line one\r\nline \0two\r\n", 21);
    ASSERT_TRUE(store.Write("a.zel", data));
    std::string back;
    ASSERT_TRUE(store.Read("a.zel", back));
    EXPECT_EQ(back, data);
    EXPECT_EQ(store.Size("a.zel"), 21);

    ASSERT_TRUE(store.Write("a.zel", "short"));
    ASSERT_TRUE(store.Read("a.zel", back));
    EXPECT_EQ(back, "short");
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(root))
        ++files;
    EXPECT_EQ(files, 1);

    EXPECT_TRUE(store.Remove("a.zel"));
    EXPECT_FALSE(store.Exists("a.zel"));
    EXPECT_FALSE(store.Remove("a.zel"));
    EXPECT_FALSE(store.Read("a.zel", back));
}

TEST_F(DirFileStoreTest, KoreanNamesAreUtf8OnDiskAndCp949InTheCore)
{
    DirFileStore store(root);
    const std::string name = KS("기보.zel");
    ASSERT_TRUE(store.Write(name, "x"));
    EXPECT_TRUE(fs::exists(root / "기보.zel"));
    ASSERT_EQ(store.List(".ZEL").size(), 1u);
    EXPECT_EQ(store.List(".zel")[0], name);
}

TEST_F(DirFileStoreTest, RefusesNamesThatLeaveTheDirectory)
{
    DirFileStore store(root);
    fs::create_directories(root);
    std::ofstream(base / "outside.zel") << "secret";
    std::string out = "untouched";
    for (const std::string name : {"../outside.zel", "..", "/tmp/x.zel", "sub/x.zel", "..\\outside.zel", "C:x"}) {
        EXPECT_FALSE(store.Write(name, "evil")) << name;
        EXPECT_FALSE(store.Read(name, out)) << name;
        EXPECT_FALSE(store.Remove(name)) << name;
        EXPECT_FALSE(store.Exists(name)) << name;
        EXPECT_EQ(store.Size(name), -1) << name;
    }
    EXPECT_EQ(out, "untouched");
    std::string secret;
    std::ifstream(base / "outside.zel") >> secret;
    EXPECT_EQ(secret, "secret");
    EXPECT_FALSE(fs::exists(base / "x.zel"));

    // A link inside the directory does not lead out of it.
    fs::create_symlink(base / "outside.zel", root / "link.zel");
    EXPECT_FALSE(store.Read("link.zel", out));
    EXPECT_FALSE(store.Exists("link.zel"));
    EXPECT_TRUE(store.List(".zel").empty());
    ASSERT_TRUE(store.Write("link.zel", "replaced"));
    std::ifstream(base / "outside.zel") >> secret;
    EXPECT_EQ(secret, "secret");
}

TEST_F(DirFileStoreTest, ListsOnlyMatchingFilesSorted)
{
    DirFileStore store(root);
    EXPECT_TRUE(store.List(".zel").empty()); // directory missing
    for (const char* name : {"b.zel", "a.ZEL", "c.tmp", "d.zel.bak"})
        ASSERT_TRUE(store.Write(name, "x"));
    fs::create_directories(root / "dir.zel");
    EXPECT_EQ(store.List(".zel"), (std::vector<std::string>{"a.ZEL", "b.zel"}));
    EXPECT_EQ(store.List("").size(), 4u);
}

TEST_F(DirFileStoreTest, WriteFailsAfterBoundedAttempts)
{
    // A directory standing where the file should go can never be replaced.
    DirFileStore store(root, 2);
    fs::create_directories(root / "busy.zel");
    EXPECT_FALSE(store.Write("busy.zel", "data"));
    EXPECT_TRUE(fs::is_directory(root / "busy.zel"));
    std::string out;
    EXPECT_FALSE(store.Read("busy.zel", out));
}

} // namespace
} // namespace zel

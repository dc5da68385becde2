#pragma once
// A shell script standing in for a GTP engine: written, executable, into a
// directory of the test's own and removed with it.
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

namespace zel::test {

class ScriptEngineTest : public ::testing::Test {
protected:
    // Writes `text` as "engine.sh" into a fresh directory named after
    // `prefix`, this process and the running test.
    void WriteEngine(const char* prefix, const char* text)
    {
        dir =
            std::filesystem::temp_directory_path() / (std::string(prefix) + std::to_string(::getpid()) + "_" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        script = (dir / "engine.sh").string();
        std::ofstream(script) << text;
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    }
    void TearDown() override
    {
        if (!dir.empty())
            std::filesystem::remove_all(dir);
    }

    std::filesystem::path dir;
    std::string script;
};

} // namespace zel::test

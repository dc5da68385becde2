#pragma once
#include <string>
#include <vector>

#include "core/app/GameLink.h"

namespace zel::test {

// The program around the link: commands are kept, the date is fixed.
struct RecordingLinkHost : TGameLinkHost {
    void RunCommand(const std::string& line) override { commands.push_back(line); }
    std::string DateText() const override { return date; }
    std::string DateSuffix() const override { return suffix; }
    void GameSessionStarted() override { ++started; }
    void GameSessionEnded(int) override { ++ended; }

    std::vector<std::string> commands;
    std::string date = "2026-12-07", suffix = "zel";
    int started = 0, ended = 0;
};

} // namespace zel::test

#pragma once
// Runs GNU Go as a child process over GTP for the tests' external checks.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/GtpEngine.h"

namespace zel::test {

// Path of the gnugo program, or "" when it is not installed.
inline std::string GnuGoProgram()
{
    const char* path = GnuGoPath();
    return path ? path : "";
}

// The answers of one GTP session fed with `commands`, in order; each answer
// without its leading "= ". An error answer starts "?".
inline std::vector<std::string> RunGtp(const std::vector<std::string>& commands)
{
    std::vector<std::string> answers;
    GtpEngine engine;
    if (!engine.Running())
        return answers;
    for (const auto& command : commands) {
        bool ok = false;
        std::string reply = engine.Ask(command, &ok);
        answers.push_back(ok ? (reply.empty() ? " " : reply) : "? " + reply);
    }
    return answers;
}

// GTP vertices ("Q16 D4") as (X, Y) points, X from the left, Y from the top.
inline std::set<std::pair<int, int>> GtpPoints(const std::string& answer)
{
    static const std::string letters = "ABCDEFGHJKLMNOPQRST";
    std::set<std::pair<int, int>> points;
    std::size_t pos = 0;
    while (pos < answer.size()) {
        while (pos < answer.size() && (answer[pos] == ' ' || answer[pos] == '\n'))
            ++pos;
        const std::size_t end = answer.find_first_of(" \n", pos);
        const std::string vertex = answer.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? answer.size() : end;
        if (vertex.size() < 2)
            continue;
        const auto column = letters.find(vertex[0]);
        if (column == std::string::npos)
            continue;
        points.insert({static_cast<int>(column) + 1, 20 - std::stoi(vertex.substr(1))});
    }
    return points;
}

} // namespace zel::test

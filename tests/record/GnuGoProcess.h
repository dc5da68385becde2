#pragma once
// Runs GNU Go as a child process over GTP for the tests' external checks.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zel::test {

// Path of the gnugo program, or "" when it is not installed.
inline std::string GnuGoProgram()
{
    for (const char* candidate : {"/usr/games/gnugo", "/usr/bin/gnugo", "/usr/local/bin/gnugo"})
        if (std::filesystem::exists(candidate))
            return candidate;
    return "";
}

// The answers of one GTP session fed with `commands` (one per line), in
// order; each answer without its leading "= ". An error answer starts "?".
inline std::vector<std::string> RunGtp(const std::vector<std::string>& commands)
{
    const auto script = std::filesystem::temp_directory_path() /
                        ("zel_gtp_" + std::to_string(reinterpret_cast<std::uintptr_t>(&commands)) + ".txt");
    {
        std::ofstream out(script);
        for (const auto& c : commands)
            out << c << "\n";
        out << "quit\n";
    }
    std::vector<std::string> answers;
    const std::string command = GnuGoProgram() + " --mode gtp < " + script.string() + " 2>/dev/null";
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::string current;
        std::array<char, 4096> buffer;
        while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe)) {
            std::string line(buffer.data());
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.pop_back();
            if (line.empty()) {
                if (!current.empty())
                    answers.push_back(current);
                current.clear();
                continue;
            }
            if (current.empty() && line.size() >= 2 && line[0] == '=' && line[1] == ' ')
                line = line.substr(2);
            else if (current.empty() && line == "=")
                line = " ";
            current += current.empty() ? line : "\n" + line;
        }
        if (!current.empty())
            answers.push_back(current);
        ::pclose(pipe);
    }
    std::filesystem::remove(script);
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

// Feeds arbitrary game messages to a session that is playing a game.
// Input: lines. A line beginning with '!' is handed over as it is; one
// beginning with '>' is a room line (game-state pieces); any other line gets
// the running game's key and the opponent's session in front. Each line is
// followed by a few timer ticks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "SessionStubs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzstubs::TFuzzSession fuzz(200);
    zel::TBBS2Zel& session = fuzz.session;
    auto tick = [&](int n) { fuzz.Tick(n); };
    session.OnGameData("KEYpeeGSRbob\\#AAalice\\#bob\\#AAAGBBEBEAF\\#a\\#b\\#B");
    tick(3);

    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty()) {
        std::size_t end = input.find('\n');
        std::string line(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        if (!line.empty() && line[0] == '!')
            session.OnGameData(line.substr(1));
        else if (!line.empty() && line[0] == '>')
            session.ReceiveChunk(line);
        else if (line == "click")
            session.BoardClick(static_cast<int>(size % 19) + 1, static_cast<int>(input.size() % 19) + 1);
        else if (line.size() == 2 && line[0] == '#')
            session.Command(line[1] - 'A');
        else
            session.OnGameData("KEYpee" + line);
        tick(2);
    }
    tick(20);
    return 0;
}

// zelbot: a computer player. Logs into a server with the client's own lobby
// and game session, waits in a room of its own and plays every game it is
// offered with a GTP engine.
#include "ZelBot.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "core/base/Cp949.h"

namespace {

const char* kHelp = R"(usage: zelbot [options]
  --host H             game server (default 127.0.0.1)
  --port P             game port (default 5554)
  --config-port P      configuration server port on the same host (default 8080)
  --id ID              login id (4..8 letters, default zelbot)
  --nick NICK          nickname (UTF-8, default 바둑봇)
  --level N            level 0..38 shown to others (default 18)
  --engine "CMD ARGS"  GTP engine command line (default: gnugo --mode gtp --level N)
  --gnugo-level N      level of the default engine (default 6)
  --engine-timeout-ms MS  time allowed for one engine answer (default 30000)
  --data-dir DIR       where records and adjourned games are kept (default ./zelbot-data)
  --room TITLE         title of the bot's room (UTF-8, default 컴퓨터 대국실)
  --resign-from N      resign a lost game only from move N on (default 150)
  --resign-margin M    lost: the engine's estimate M points behind (default 60)
  --no-resign          play every game to the end (the engine's resignation is a pass)
Every event is printed as one line on standard output.
)";

zel::bot::TZelBot* running = nullptr;

void OnSignal(int)
{
    if (running)
        running->Stop();
}

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

} // namespace

int main(int argc, char** argv)
{
    zel::bot::TBotOptions options;
    std::string engine;
    std::string nick = "바둑봇";
    std::string room = "컴퓨터 대국실";
    int gnugoLevel = 6;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zelbot: %s needs a value\n", a.c_str());
                std::exit(64);
            }
            return argv[++i];
        };
        auto number = [&](int low, int high) {
            const std::string v = value();
            char* end = nullptr;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || n < low || n > high) {
                std::fprintf(stderr, "zelbot: %s wants a number %d..%d\n", a.c_str(), low, high);
                std::exit(64);
            }
            return static_cast<int>(n);
        };
        if (a == "--help" || a == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        } else if (a == "--host") {
            options.host = value();
        } else if (a == "--port") {
            options.port = static_cast<std::uint16_t>(number(1, 65535));
        } else if (a == "--config-port") {
            options.configPort = static_cast<std::uint16_t>(number(0, 65535));
        } else if (a == "--id") {
            options.id = value();
        } else if (a == "--nick") {
            nick = value();
        } else if (a == "--level") {
            options.level = number(0, 38);
        } else if (a == "--engine") {
            engine = value();
        } else if (a == "--gnugo-level") {
            gnugoLevel = number(0, 10);
        } else if (a == "--engine-timeout-ms") {
            options.engineTimeoutMs = number(100, 600000);
        } else if (a == "--data-dir") {
            options.dataDir = value();
        } else if (a == "--resign-from") {
            options.resignFromMove = number(0, 500);
        } else if (a == "--resign-margin") {
            options.resignMargin = number(1, 361);
        } else if (a == "--no-resign") {
            options.mayResign = false;
        } else if (a == "--room") {
            room = value();
        } else {
            std::fprintf(stderr, "zelbot: unknown option %s\n%s", a.c_str(), kHelp);
            return 64;
        }
    }
    if (options.id.size() < 4 || options.id.size() > 8) {
        std::fprintf(stderr, "zelbot: the id must have 4 to 8 characters\n");
        return 64;
    }
    const std::string nickname = zel::Utf8ToCp949(nick);
    options.nickname = nickname.substr(0, zel::Cp949PrefixLength(nickname, 8));
    options.roomTitle = zel::Utf8ToCp949(room);
    options.engine = engine.empty() ? zel::GnuGoCommand(gnugoLevel) : Words(engine);
    if (options.engine.empty()) {
        std::fprintf(stderr, "zelbot: empty engine command\n");
        return 64;
    }
    std::signal(SIGPIPE, SIG_IGN);
    zel::bot::TZelBot bot(options);
    running = &bot;
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    const int status = bot.Run();
    running = nullptr;
    return status;
}
